#include <QtTest>

#include "windowing/form3_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"

namespace kestrane {

class WindowDesignsTest : public QObject {
    Q_OBJECT

private slots:
    // The graph is laid out for the size of the canvas it is drawn on.
    void graphCanvasDrawsOn450By450() {
        QCOMPARE(form<Form3Design>().Picture1->bitmap().size(), QSize(450, 450));
        QCOMPARE(form<Form3Design>().Picture1->contentsRect().size(), QSize(450, 450));
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::WindowDesignsTest)
#include "tst_window_designs.moc"
