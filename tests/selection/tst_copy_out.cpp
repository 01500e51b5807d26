#include <QClipboard>
#include <QMimeData>
#include <QtTest>

#include "graph3d/form3.h"
#include "graph3d/graph_redraw.h"
#include "selection/form5.h"
#include "selection/region_selection.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"
#include "workspace/height_tables.h"

namespace kestrane {

// A selection on the main picture: an area from the first corner to the second, or a point where
// both corners meet.
struct Selection {
    QPointF from, to;
};

class CopyOutTest : public QObject {
    Q_OBJECT

    static void select(form1& main, Selection selection) {
        const auto [from, to] = selection;
        Picture1_MouseDown(main, vbLeftButton, 0, float(from.x()), float(from.y()));
        Picture1_MouseMove(main, vbLeftButton, 0, float(to.x()), float(to.y()));
        Picture1_MouseUp(main, vbLeftButton, 0, float(to.x()), float(to.y()));
    }

private slots:
    // Height 3 * ((x + y) % 32) at grid cell [x, y].
    void initTestCase() {
        form1& main = form<form1>();
        for (int y = 0; y < PixelGrid::kSize; ++y) {
            for (int x = 0; x < PixelGrid::kSize; ++x)
                main.basePix(x, y).red = std::uint8_t(7 + 8 * ((x + y) % 32));
        }
        gridToPicture(*main.Picture1, main.basePix);
        installSelection(main);
        installGraph(main);
    }
    void cleanupTestCase() {
        setEndProgramAction([] {});
        FormSlot<Form5>::unload();
        FormSlot<Form3Design>::unload();
        FormSlot<form1>::unload();
    }

    // Ctrl+C in the window after the selections; the copy holds what that window showed when
    // the first selection had just drawn it.
    void copy_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QList<Selection>>("selections");
        const Selection area{{20, 30}, {60, 50}}, point{{100, 200}, {100, 200}};
        QTest::newRow("graph") << "graph" << QList{area};
        QTest::newRow("graph, one column") << "graph" << QList{Selection{{20, 30}, {20, 60}}};
        QTest::newRow("graph, a point since") << "graph" << QList{area, point};
        QTest::newRow("profiles") << "profiles" << QList{point};
        QTest::newRow("profiles, an area since") << "profiles" << QList{point, area};
    }
    void copy() {
        QFETCH(QString, window);
        QFETCH(QList<Selection>, selections);
        form1& main = form<form1>();
        select(main, selections[0]);
        QImage picture = form<Form3Design>().Picture1->bitmap().copy();
        QByteArray text =
            regionHeightsTable(main.regionHeights, main.regionWidth, main.regionHeight);
        QWidget* target = &form<Form3Design>();
        if (window == "profiles") {
            // The upper chart's rows, then the lower chart's.
            target = FormSlot<Form5>::existing();
            const Form5& profiles = *FormSlot<Form5>::existing();
            picture = QImage(512, 234, QImage::Format_RGB32);
            for (int y = 0; y < 234; ++y) {
                const QImage& chart = (y < 117 ? profiles.Picture1 : profiles.Picture2)->bitmap();
                std::memcpy(picture.scanLine(y), chart.constScanLine(y % 117), 512 * 4);
            }
            text = pointProfilesTable(main.regionHeights, 100, 200);
        }
        for (const Selection& later : selections.mid(1)) select(main, later);
        QGuiApplication::clipboard()->clear();
        QApplication::setActiveWindow(target);
        QTest::keySequence(target, QKeySequence::Copy);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied != nullptr);
        QCOMPARE(copied->formats(), (QStringList{"image/png", "text/plain"}));
        QCOMPARE(copied->data("text/plain"), text);
        const QImage png = QImage::fromData(copied->data("image/png"), "PNG");
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), picture);
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::CopyOutTest)
#include "tst_copy_out.moc"
