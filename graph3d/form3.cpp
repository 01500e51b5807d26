#include "graph3d/form3.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <optional>

#include "graph3d/graph_rules.h"
#include "windowing/copy_shortcut.h"
#include "windowing/form4_design.h"
#include "windowing/form_slot.h"
#include "windowing/message_box.h"
#include "windowing/picture_box.h"
#include "windowing/window_placement.h"
#include "workspace/application_folder.h"
#include "workspace/file_replacement.h"
#include "workspace/form1.h"
#include "workspace/height_tables.h"
#include "workspace/imgctl_util.h"
#include "workspace/numbers.h"

namespace kestrane {

namespace {

DragAngles dragAngles(const form1& main) {
    return {main.outxx(), main.outyy(), main.outmx(), main.outmy(), main.outmx2(), main.outmy2()};
}

void storeDragAngles(form1& main, const DragAngles& angles) {
    main.inxx(angles.xx);
    main.inyy(angles.yy);
    main.inmx(angles.mx);
    main.inmy(angles.my);
    main.inmx2(angles.mx2);
    main.inmy2(angles.my2);
}

}  // namespace

Form3::Form3(form1& main) : main_(main) {
    setFirstPlacement([&main](QSize client) { return placeBeside(main, client, 0); });
    connect(Check1, &QCheckBox::toggled, this, &Form3::Check1_Click);
    connect(Picture1, &PictureBox::MouseDown, this, &Form3::Picture1_MouseDown);
    connect(Picture1, &PictureBox::MouseMove, this, &Form3::Picture1_MouseMove);
    connect(Picture1, &PictureBox::MouseUp, this, &Form3::Picture1_MouseUp);
    connect(HScroll1, &QScrollBar::valueChanged, this, &Form3::HScroll1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form3::Text2_Change);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    // A click on the graph takes the focus from the text boxes, so that Ctrl+C copies the graph.
    Picture1->setFocusPolicy(Qt::ClickFocus);
    installCopyShortcut(*this, [this] {
        // Before the first render, or for a region the map does not cover, the canvas shows only
        // its background and no heights.
        const QByteArray heights =
            shownLastX_ < 0 ? QByteArray()
                            : regionHeightsTable(shownHeights_, shownLastX_, shownLastY_);
        return CopiedContent{Picture1->bitmap(), heights};
    });
}

void Form3::setShownRegion(const HeightMap& heights, int lastX, int lastY) {
    const bool covered =
        lastX >= 0 && lastY >= 0 && lastX <= heights.lastX() && lastY <= heights.lastY();
    shownHeights_ = covered ? heights : HeightMap();
    shownLastX_ = covered ? lastX : -1;
    shownLastY_ = covered ? lastY : -1;
}

void Form3::Form_Load() { Check1->setChecked(form<Form4Design>().Check1->isChecked()); }

void Form3::Check1_Click() {
    form<Form4Design>().Check1->setChecked(Check1->isChecked());
    main_.redraw();
}

void Form3::Picture1_MouseDown(int button, int, float x, float y) {
    if (button == vbLeftButton) {
        storeDragAngles(main_, startDrag(dragAngles(main_), x, y));
    }
}

void Form3::Picture1_MouseMove(int button, int, float x, float y) {
    if (button == 0) {
        return;
    }
    const DragAngles moved = moveDrag(dragAngles(main_), x, y);
    storeDragAngles(main_, moved);
    main_.inA(degreesToRadians(moved.mx2));
    main_.inR(degreesToRadians(moved.my2));
}

void Form3::Picture1_MouseUp(int button, int, float, float) {
    if (button == vbLeftButton) {
        storeDragAngles(main_, commitDrag(dragAngles(main_)));
        main_.redraw();
    }
}

void Form3::HScroll1_Change() { Text2->setText(QString::number(HScroll1->value())); }

// Each write below runs HScroll1_Change or this handler again, nested, when it changes something;
// the exchange ends with the first write that changes nothing.
void Form3::Text2_Change() {
    if (textValue(Text2->text()) < 0) {
        Text2->setText("0");
    }
    if (textValue(Text2->text()) > 100) {
        Text2->setText("100");
    }
    HScroll1->setValue(compressionValue(Text2->text()));
}

void Form3::Command2_Click() {
    if (!saveAsJpeg()) {
        MsgBox("JPEGファイルを保存できませんでした。", vbCritical, "警告");
    }
}

void Form3::Command1_Click() { unload(); }

// The canvas as last shown goes to the JPEG file through a temporary bitmap, beside the program or
// in the user's cache folder. When that cannot be written, a private folder in the system's
// temporary folder serves instead; it is removed again when the save is done.
bool Form3::saveAsJpeg() {
    const QImage& canvas = Picture1->bitmap();
    QString bitmapFile = temporaryFileNamed("3Dtemp.bmp");
    bool bitmapWritten = replaceFileWithImage(bitmapFile, canvas, "BMP");
    std::optional<QTemporaryDir> fallback;
    if (!bitmapWritten) {
        fallback.emplace(QDir(QDir::tempPath()).filePath("3Dtemp-XXXXXX"));
        bitmapFile = fallback->filePath("3Dtemp.bmp");
        bitmapWritten = fallback->isValid() && replaceFileWithImage(bitmapFile, canvas, "BMP");
    }
    Text1->setText(jpegFileName(Text1->text()));
    return bitmapWritten &&
           convertBmpFileToJpg(Text1->text(), bitmapFile, compressionValue(Text2->text()), 0);
}

}  // namespace kestrane
