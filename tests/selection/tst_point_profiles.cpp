#include <QPushButton>
#include <QtTest>

#include "selection/form5.h"
#include "selection/point_profiles.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"

namespace kestrane {

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kRed = 0xFFFF0000u;
constexpr QRgb kBlack = 0xFF000000u;

// Height 3 * ((x + y) % 32) at grid cell [x, y]; green marks the cell so pixels can be told apart.
Pixel diagonalRamp(int x, int y) {
    return Pixel{0, std::uint8_t(x % 200), std::uint8_t(7 + 8 * ((x + y) % 32)), 0};
}

QRgb shown(const Pixel& p) { return qRgb(p.red, p.green, p.blue); }

// The chart pixel on a chart row; the box shows chart row r on its bitmap row r - 1.
QRgb chart(const PictureBox* box, int column, int row) {
    return box->bitmap().pixel(column, row - 1);
}

}  // namespace

class PointProfilesTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        form1& main = form<form1>();
        for (int y = 0; y < PixelGrid::kSize; ++y) {
            for (int x = 0; x < PixelGrid::kSize; ++x) {
                main.basePix(x, y) = diagonalRamp(x, y);
            }
        }
        gridToPicture(*main.Picture1, main.basePix);
    }
    void cleanupTestCase() {
        setEndProgramAction([] {});
        FormSlot<form1>::unload();
    }

    void rebuildsTheWholeMapAndShowsAFreshWindow() {
        form1& main = form<form1>();
        showPointProfiles(main, 100, 200);
        QCOMPARE(main.regionHeights.lastX(), 512);
        QCOMPARE(main.regionHeights.lastY(), 512);
        QCOMPARE(int(main.regionHeights(40, 30)), 3 * (70 % 32));
        Form5* first = FormSlot<Form5>::existing();
        QVERIFY(first != nullptr && first->isVisible());
        QCOMPARE(first->windowTitle(), QString("断面図"));
        QCOMPARE(first->Picture1->bitmap().size(), QSize(512, 117));
        QCOMPARE(first->Picture2->geometry(), QRect(8, 184, 516, 121));
    }

    void chartColumns_data() {
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QRgb>("colour");
        // Along row 200 the heights are 24, 27, ...; along column 100 they are 12, 15, ...
        QTest::newRow("upper first column from row 110") << true << 0 << 110 << kWhite;
        QTest::newRow("upper crossing marker") << true << 100 << 50 << kRed;
        QTest::newRow("lower no upper curve left") << false << 0 << 86 << qRgb(64, 0, 0);
        QTest::newRow("lower crossing marker") << false << 200 << 50 << kRed;
        QTest::newRow("lower no marker at upper's column") << false << 100 << 50 << kBlack;
    }
    void chartColumns() {
        QFETCH(bool, upper);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QRgb, colour);
        showPointProfiles(form<form1>(), 100, 200);
        Form5& profiles = *FormSlot<Form5>::existing();
        QCOMPARE(chart(upper ? profiles.Picture1 : profiles.Picture2, column, row), colour);
    }

    void crosshairMarksTheMainPicture() {
        form1& main = form<form1>();
        showPointProfiles(main, 100, 200);
        const QImage& picture = main.Picture1->bitmap();
        // Grid row 200 shows as bitmap row 199; the column runs the whole height.
        for (const QPoint red :
             {QPoint(5, 199), QPoint(511, 199), QPoint(100, 0), QPoint(100, 511)}) {
            QCOMPARE(picture.pixel(red), kRed);
        }
        for (const QPoint clean :
             {QPoint(5, 198), QPoint(5, 200), QPoint(99, 10), QPoint(101, 10)}) {
            QCOMPARE(picture.pixel(clean), shown(diagonalRamp(clean.x(), clean.y() + 1)));
        }
    }

    void closeButtonDiscardsAndTheNextPointOpensANewWindow() {
        form1& main = form<form1>();
        showPointProfiles(main, 10, 20);
        FormSlot<Form5>::existing()->Command1->click();
        QVERIFY(FormSlot<Form5>::existing() == nullptr);
        showPointProfiles(main, 10, 20);
        QVERIFY(FormSlot<Form5>::existing() != nullptr);
        QVERIFY(FormSlot<Form5>::existing()->isVisible());
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::PointProfilesTest)
#include "tst_point_profiles.moc"
