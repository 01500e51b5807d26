#include "selection/region_selection.h"

#include <QAction>
#include <QLineEdit>

#include "selection/height_map_builder.h"
#include "selection/point_profiles.h"
#include "selection/selection_rules.h"
#include "windowing/form4_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"
#include "workspace/numbers.h"

namespace kestrane {

namespace {

// The settings dialog's boxes: start x and y, then end x and y.
constexpr int kStartBoxes = 0;
constexpr int kEndBoxes = 2;

// Writing a box creates the settings dialog, hidden, when it is not there yet; a changed text
// enables its "適用" button.
void showCorner(int firstBox, CanvasPoint corner) {
    Form4Design& settings = form<Form4Design>();
    settings.Text1[firstBox]->setText(QString::number(corner.x));
    settings.Text1[firstBox + 1]->setText(QString::number(corner.y));
}

CanvasPoint typedCorner(int firstBox) {
    const Form4Design& settings = form<Form4Design>();
    return {typedCoordinate(settings.Text1[firstBox]->text()),
            typedCoordinate(settings.Text1[firstBox + 1]->text())};
}

void takeArea(form1& main, const SelectionRect& rect) {
    main.regionHeights =
        filledHeightMap(main.basePix, rect.minX, rect.minY, main.regionWidth, main.regionHeight);
    main.angleA = kStartAngleA;
    main.angleR = kStartAngleR;
    main.mx = main.mx2 = kStartTurnDegrees;
    main.my = main.my2 = kStartTiltDegrees;
    // Renders the region into viewPix and brings the graph window up with it; the main canvas
    // keeps the last frame of the rubber band.
    main.redraw();
    main.save1->setEnabled(true);
}

void takePoint(form1& main) {
    main.save1->setEnabled(false);
    gridToPicture(*main.Picture1, main.basePix);
    showPointProfiles(main, main.anchorX, main.anchorY);
}

}  // namespace

void Picture1_MouseDown(form1& main, int, int, float x, float y) {
    const CanvasPoint anchor = clampToSelection(x, y);
    main.anchorX = anchor.x;
    main.anchorY = anchor.y;
    showCorner(kStartBoxes, anchor);
}

void Picture1_MouseMove(form1& main, int button, int, float x, float y) {
    if (button == 0) {
        return;
    }
    drawRubberBand(main.basePix, {main.anchorX, main.anchorY}, clampToSelection(x, y),
                   main.viewPix);
    gridToPicture(*main.Picture1, main.viewPix);
}

void Picture1_MouseUp(form1& main, int, int, float x, float y) {
    const CanvasPoint corner = clampToSelection(x, y);
    showCorner(kEndBoxes, corner);
    const SelectionRect rect = selectionRect({main.anchorX, main.anchorY}, corner);
    main.regionWidth = rect.width();
    main.regionHeight = rect.height();
    if (rect.isArea()) {
        takeArea(main, rect);
    } else {
        takePoint(main);
    }
}

void redraw2(form1& main) {
    const CanvasPoint start = typedCorner(kStartBoxes);
    const CanvasPoint anchor = clampToSelection(start.x, start.y);
    main.anchorX = anchor.x;
    main.anchorY = anchor.y;
    const CanvasPoint end = typedCorner(kEndBoxes);
    Picture1_MouseMove(main, vbLeftButton, 0, end.x, end.y);
    Picture1_MouseUp(main, vbLeftButton, 0, end.x, end.y);
}

void installSelection(form1& main) {
    main.setRedraw2([&main] { redraw2(main); });
    QObject::connect(main.Picture1, &PictureBox::MouseDown, &main,
                     [&main](int button, int shift, float x, float y) {
                         Picture1_MouseDown(main, button, shift, x, y);
                     });
    QObject::connect(main.Picture1, &PictureBox::MouseMove, &main,
                     [&main](int button, int shift, float x, float y) {
                         Picture1_MouseMove(main, button, shift, x, y);
                     });
    QObject::connect(main.Picture1, &PictureBox::MouseUp, &main,
                     [&main](int button, int shift, float x, float y) {
                         Picture1_MouseUp(main, button, shift, x, y);
                     });
}

}  // namespace kestrane
