#include "graph3d/graph_redraw.h"

#include <QCheckBox>

#include "graph3d/form3.h"
#include "graph3d/surface_renderer.h"
#include "windowing/form4_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"

namespace kestrane {

void redraw(form1& main) {
    Form3Design& graph = form<Form3Design>();
    const QSize canvasSize = graph.Picture1->bitmap().size();
    SurfaceView view;
    view.angleA = main.angleA;
    view.angleR = main.angleR;
    view.canvasWidth = canvasSize.width();
    view.canvasHeight = canvasSize.height();
    view.monochromeBackground = graph.Check1->isChecked();
    view.monochromeDots = form<Form4Design>().Check1->isChecked();
    // The renderer clears the canvas to the background before it paints.
    renderSurface(main.regionHeights, main.regionWidth, main.regionHeight, view, main.viewPix);
    graph.showModeless();
    gridToPicture(*graph.Picture1, main.viewPix);
    if (auto* window = qobject_cast<Form3*>(&graph)) {
        window->setShownRegion(main.regionHeights, main.regionWidth, main.regionHeight);
    }
}

void installGraph(form1& main) {
    main.setRedraw([&main] { redraw(main); });
    FormSlot<Form3Design>::setFactory([&main] { return std::make_unique<Form3>(main); });
}

}  // namespace kestrane
