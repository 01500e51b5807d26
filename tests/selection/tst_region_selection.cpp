#include <QtTest>
#include <QtWidgets>

#include "dialogs/form4.h"
#include "graph3d/graph_redraw.h"
#include "selection/form5.h"
#include "selection/region_selection.h"
#include "windowing/form3_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"
#include "workspace/height_tables.h"

namespace kestrane {

namespace {

// No pixel of the picture is white, so every white pixel on the canvas belongs to the band. The
// height at grid cell [x, y] is 3 * ((x + y) % 32).
Pixel picturePixel(int x, int y) {
    return {std::uint8_t(x % 200), std::uint8_t(y % 200), std::uint8_t(7 + 8 * ((x + y) % 32)), 0};
}

form1& mainWindow() { return form<form1>(); }
Form4Design& settings() { return form<Form4Design>(); }

// The boxes, the extents, whether the selection was taken as an area or a point, and how many
// canvas pixels differ from the clean picture (grid row y shows on bitmap row y - 1).
QString outcome() {
    const form1& main = mainWindow();
    QStringList boxes;
    for (const QLineEdit* box : settings().Text1) boxes << box->text();
    const QImage& shown = main.Picture1->bitmap();
    int changed = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const Pixel p = picturePixel(x, y + 1);
            changed += shown.pixel(x, y) != qRgb(p.red, p.green, p.blue);
        }
    }
    return boxes.join(',') + QString(": %1 x %2 ").arg(main.regionWidth).arg(main.regionHeight) +
           (main.save1->isEnabled() ? "area, " : "point, ") + QString::number(changed);
}

// Canvas pixel (x, y) as a position on the canvas widget, inside its sunken border.
QPoint onCanvas(QPoint canvas) { return canvas + QPoint(PictureBox::kBorder, PictureBox::kBorder); }

void typeInto(int box, const QString& text) { settings().Text1[box]->setText(text); }

void select(QLine selection) {
    QWidget* canvas = mainWindow().Picture1;
    QTest::mousePress(canvas, Qt::LeftButton, {}, onCanvas(selection.p1()));
    QTest::mouseMove(canvas, onCanvas(selection.p2()));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, onCanvas(selection.p2()));
}

}  // namespace

class RegionSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        form1& main = mainWindow();
        installSelection(main);
        installGraph(main);
        installSettingsDialog(main);
        for (int y = 0; y < PixelGrid::kSize; ++y) {
            for (int x = 0; x < PixelGrid::kSize; ++x) main.basePix(x, y) = picturePixel(x, y);
        }
        gridToPicture(*main.Picture1, main.basePix);
        main.Picture1->setEnabled(true);
    }
    void cleanupTestCase() {
        setEndProgramAction([] {});
        FormSlot<form1>::unload();
    }

    // Pressed with the button at the first point (the origin: no press), moved through the second
    // to the third and released there. A band covers 2 (w + 1) + 2 (h + 1) - 4 pixels; the
    // profiles' crosshair, through the press point, 512 + 512 - 1.
    void extents_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QList<QPoint>>("path");
        QTest::addColumn<QString>("result");
        // Runs first: the anchor is still the origin, and no band was drawn.
        QTest::newRow("release alone")
            << 1 << QList<QPoint>{{}, {}, {40, 20}} << ",,40,20: 40 x 20 area, 0";
        QTest::newRow("click") << 1 << QList<QPoint>{{120, 130}, {120, 130}, {120, 130}}
                               << "120,130,120,130: 0 x 0 point, 1023";
        QTest::newRow("29 x 29 is a point") << 1 << QList<QPoint>{{100, 100}, {0, 0}, {129, 129}}
                                            << "100,100,129,129: 29 x 29 point, 1023";
        QTest::newRow("30 x 0 is an area") << 1 << QList<QPoint>{{100, 100}, {0, 0}, {130, 100}}
                                           << "100,100,130,100: 30 x 0 area, 31";
        QTest::newRow("right button, band from the clean picture")
            << 2 << QList<QPoint>{{100, 50}, {200, 150}, {300, 400}}
            << "100,50,300,400: 200 x 350 area, 1100";
        QTest::newRow("outside the canvas")
            << 1 << QList<QPoint>{{600, 5}, {0, 0}, {-20, -30}} << "509,16,2,16: 507 x 0 area, 508";
    }
    void extents() {
        QFETCH(int, button);
        QFETCH(QList<QPoint>, path);
        QFETCH(QString, result);
        FormSlot<Form5>::unload();
        form1& main = mainWindow();
        QWidget* canvas = main.Picture1;
        if (!path[0].isNull())
            QTest::mousePress(canvas, Qt::MouseButton(button), {}, onCanvas(path[0]));
        QTest::mouseMove(canvas, onCanvas(path[1]));
        QTest::mouseMove(canvas, onCanvas(path[2]));
        QTest::mouseRelease(canvas, Qt::MouseButton(button), {}, onCanvas(path[2]));
        QCOMPARE(outcome(), result);
        const bool area = main.save1->isEnabled();
        QCOMPARE(FormSlot<Form5>::existing() != nullptr, !area);
        if (area) {
            QCOMPARE(std::pair(main.regionHeights.lastX(), main.regionHeights.lastY()),
                     std::pair(int(main.regionWidth), int(main.regionHeight)));
            QVERIFY(form<Form3Design>().isVisible());
        } else {
            QCOMPARE(main.regionHeights.lastX(), 512);
            QCOMPARE(main.Picture1->bitmap().pixel(path[0].x(), 300), qRgb(255, 0, 0));
            QCOMPARE(main.Picture1->bitmap().pixel(300, path[0].y() - 1), qRgb(255, 0, 0));
        }
    }

    // What is typed into the four boxes and applied; the end boxes then show the corner taken.
    void replayFromTypedBoxes() {
        const std::pair<QStringList, QString> rows[] = {
            {{"12.9abc", "40", "100.7", "100"}, "12.9abc,40,100,100: 88 x 60 area, 296"},
            {{"", "", "", ""}, ",,2,16: 0 x 0 point, 1023"},
            {{"-50", "-50", "1e999", "-0"}, "-50,-50,509,16: 507 x 0 area, 508"},
            {{"100000", "100000", "100", "nan"}, "100000,100000,100,16: 409 x 494 area, 1806"},
            {{"１２", QString(300, '9'), "-", "e5"},
             "１２," + QString(300, '9') + ",2,16: 0 x 494 area, 495"},
        };
        for (const auto& [typed, result] : rows) {
            for (int box = 0; box < 4; ++box) typeInto(box, typed[box]);
            settings().Command2->click();
            QCOMPARE(outcome(), result);
        }
    }

    // A fresh dialog starts with 適用 disabled; a selection's corners or typing enable it, and
    // OK replays before hiding.
    void buttonsFollowSelectionTypingApplyAndOk() {
        FormSlot<Form4Design>::unload();
        QVERIFY(!settings().Command2->isEnabled());
        QVERIFY(settings().Check1->isChecked());
        form1& main = mainWindow();
        select({50, 60, 150, 160});
        QVERIFY(!settings().isVisible());
        QVERIFY(settings().Command2->isEnabled());
        settings().Command2->click();
        QVERIFY(!settings().Command2->isEnabled());
        main.edit1->trigger();
        QVERIFY(settings().isVisible());
        typeInto(2, "450");
        QVERIFY(settings().Command2->isEnabled());
        settings().Command1->click();
        QVERIFY(!settings().isVisible());
        QCOMPARE(main.regionWidth, 400);
    }

    // A click shows the profiles through the point: along row 200 the heights start 24, 27, ...;
    // along column 100 they start 12, 15, ...
    void clickDrawsBothProfiles() {
        FormSlot<Form5>::unload();
        select({100, 200, 100, 200});
        const Form5& profiles = *FormSlot<Form5>::existing();
        const std::tuple<const char*, const PictureBox*, QPoint, QRgb> rows[] = {
            {"upper curve starts at height 24", profiles.Picture1, {0, 86}, 0xFFFFFFFFu},
            {"upper crossing marker", profiles.Picture1, {100, 50}, 0xFFFF0000u},
            {"lower curve starts at height 12", profiles.Picture2, {0, 98}, 0xFFFFFFFFu},
            {"lower drawn on a fresh box", profiles.Picture2, {0, 97}, 0xFF000000u},
            {"lower crossing marker", profiles.Picture2, {200, 50}, 0xFFFF0000u},
        };
        for (const auto& [name, box, at, colour] : rows) {
            // The box shows chart row r on its bitmap row r - 1.
            QVERIFY2(box->bitmap().pixel(at.x(), at.y() - 1) == colour, name);
        }
    }

    // Ctrl+C in the window after the selections; the copy holds what that window showed when
    // the first selection had just drawn it.
    void copy_data() {
        QTest::addColumn<bool>("profiles");
        QTest::addColumn<QList<QLine>>("selections");
        const QLine area(20, 30, 60, 50), point(100, 200, 100, 200);
        QTest::newRow("graph, one column") << false << QList{QLine(20, 30, 20, 60)};
        QTest::newRow("graph, a point since") << false << QList{area, point};
        QTest::newRow("profiles, an area since") << true << QList{point, area};
    }
    void copy() {
        QFETCH(bool, profiles);
        QFETCH(QList<QLine>, selections);
        const form1& main = mainWindow();
        select(selections[0]);
        QWidget* target = &form<Form3Design>();
        QImage picture = form<Form3Design>().Picture1->bitmap().copy();
        QByteArray text =
            regionHeightsTable(main.regionHeights, main.regionWidth, main.regionHeight);
        if (profiles) {
            // The upper chart's rows, then the lower chart's.
            const Form5& shown = *FormSlot<Form5>::existing();
            target = FormSlot<Form5>::existing();
            picture = QImage(512, 234, QImage::Format_RGB32);
            for (int y = 0; y < 234; ++y) {
                const QImage& chart = (y < 117 ? shown.Picture1 : shown.Picture2)->bitmap();
                std::memcpy(picture.scanLine(y), chart.constScanLine(y % 117), 512 * 4);
            }
            text = pointProfilesTable(main.regionHeights, 100, 200);
        }
        for (const QLine later : selections.mid(1)) select(later);
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

QTEST_MAIN(kestrane::RegionSelectionTest)
#include "tst_region_selection.moc"
