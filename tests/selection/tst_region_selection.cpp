#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QtTest>

#include "dialogs/form4.h"
#include "graph3d/graph_redraw.h"
#include "selection/form5.h"
#include "selection/region_selection.h"
#include "windowing/form3_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/bitmap_transfer.h"
#include "workspace/form1.h"

namespace kestrane {

namespace {

// No pixel of the picture is white, so every white pixel on the canvas belongs to the band.
Pixel picturePixel(int x, int y) { return {std::uint8_t(x % 200), std::uint8_t(y % 200), 90, 0}; }

constexpr QRgb kWhite = 0xFFFFFFFFu;

form1& mainWindow() { return form<form1>(); }
Form4Design& settings() { return form<Form4Design>(); }

QStringList boxTexts() {
    QStringList texts;
    for (const QLineEdit* box : settings().Text1) texts << box->text();
    return texts;
}

// The boxes, the extents, and whether the selection was taken as an area or a point.
QString outcome() {
    const form1& main = mainWindow();
    return boxTexts().join(',') +
           QString(": %1 x %2 ").arg(main.regionWidth).arg(main.regionHeight) +
           (main.save1->isEnabled() ? "area" : "point");
}

// Canvas pixel (x, y) as a position on the canvas widget, inside its sunken border.
QPoint onCanvas(QPoint canvas) { return canvas + QPoint(PictureBox::kBorder, PictureBox::kBorder); }

void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(mainWindow().Picture1, button, {}, onCanvas(at));
}
void moveTo(QPoint at) { QTest::mouseMove(mainWindow().Picture1, onCanvas(at)); }
void release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(mainWindow().Picture1, button, {}, onCanvas(at));
}

// Canvas pixels that differ from the clean picture; grid row y shows on bitmap row y - 1.
int changedPixels() {
    const QImage& shown = mainWindow().Picture1->bitmap();
    int changed = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const Pixel p = picturePixel(x, y + 1);
            changed += shown.pixel(x, y) != qRgb(p.red, p.green, p.blue);
        }
    }
    return changed;
}

void typeInto(int box, const QString& text) { settings().Text1[box]->setText(text); }

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
            for (int x = 0; x < PixelGrid::kSize; ++x) {
                main.basePix(x, y) = picturePixel(x, y);
            }
        }
        gridToPicture(*main.Picture1, main.basePix);
        main.Picture1->setEnabled(true);
    }
    void cleanupTestCase() {
        setEndProgramAction([] {});
        FormSlot<form1>::unload();
    }

    void extents_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QString>("result");
        // Runs first, without a press: the anchor is still the origin.
        QTest::newRow("release alone") << QPoint() << QPoint(40, 20) << ",,40,20: 40 x 20 area";
        QTest::newRow("click") << QPoint(120, 130) << QPoint(120, 130)
                               << "120,130,120,130: 0 x 0 point";
        QTest::newRow("29 x 29 is a point")
            << QPoint(100, 100) << QPoint(129, 129) << "100,100,129,129: 29 x 29 point";
        QTest::newRow("30 x 0 is an area")
            << QPoint(100, 100) << QPoint(130, 100) << "100,100,130,100: 30 x 0 area";
        QTest::newRow("outside the canvas")
            << QPoint(600, 5) << QPoint(-20, -30) << "509,16,2,16: 507 x 0 area";
    }
    void extents() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QString, result);
        FormSlot<Form5>::unload();
        if (!from.isNull()) press(from);
        moveTo(to);
        release(to);
        QCOMPARE(outcome(), result);
        form1& main = mainWindow();
        const bool area = main.save1->isEnabled();
        QCOMPARE(FormSlot<Form5>::existing() != nullptr, !area);
        if (area) {
            QCOMPARE(main.regionHeights.lastX(), main.regionWidth);
            QCOMPARE(main.regionHeights.lastY(), main.regionHeight);
        } else {
            // The profiles run through the press point, across the clean picture.
            QCOMPARE(main.regionHeights.lastX(), 512);
            QCOMPARE(main.Picture1->bitmap().pixel(from.x(), 300), qRgb(255, 0, 0));
            QCOMPARE(main.Picture1->bitmap().pixel(300, from.y() - 1), qRgb(255, 0, 0));
            QCOMPARE(changedPixels(), 512 + 512 - 1);
        }
    }

    void dragDrawsTheBandAndShowsTheGraph() {
        form1& main = mainWindow();
        main.mx = main.my2 = 77;
        press({100, 50}, Qt::RightButton);
        moveTo({200, 150});
        moveTo({300, 400});
        // Rows 50 and 400 over 201 columns, columns 100 and 300 over 351 rows, corners once.
        QCOMPARE(changedPixels(), 2 * 201 + 2 * 351 - 4);
        QCOMPARE(main.Picture1->bitmap().pixel(100, 49), kWhite);
        QCOMPARE(main.Picture1->bitmap().pixel(300, 399), kWhite);
        release({300, 400}, Qt::RightButton);
        QCOMPARE(changedPixels(), 2 * 201 + 2 * 351 - 4);
        QCOMPARE(outcome(), QString("100,50,300,400: 200 x 350 area"));
        QCOMPARE(QList<int>({main.mx, main.mx2, main.my, main.my2}),
                 QList<int>({10, 10, 110, 110}));
        QVERIFY(form<Form3Design>().isVisible());
    }

    // What is typed into the four boxes and applied; the end boxes then show the corner taken.
    void replayFromTypedBoxes() {
        const std::pair<QStringList, QString> rows[] = {
            {{"12.9abc", "40", "100.7", "100"}, "12.9abc,40,100,100: 88 x 60 area"},
            {{"", "", "", ""}, ",,2,16: 0 x 0 point"},
            {{"-50", "-50", "1e999", "-0"}, "-50,-50,509,16: 507 x 0 area"},
            {{"100000", "100000", "100", "nan"}, "100000,100000,100,16: 409 x 494 area"},
            {{"１２", QString(300, '9'), "-", "e5"},
             "１２," + QString(300, '9') + ",2,16: 0 x 494 area"},
        };
        for (const auto& [typed, result] : rows) {
            for (int box = 0; box < 4; ++box) typeInto(box, typed[box]);
            settings().Command2->click();
            QCOMPARE(outcome(), result);
        }
    }

    void buttonsFollowSelectionTypingApplyAndOk() {
        FormSlot<Form4Design>::unload();
        form1& main = mainWindow();
        press({50, 60});
        release({150, 160});
        QVERIFY(!settings().isVisible());
        QVERIFY(settings().Command2->isEnabled());
        settings().Command2->click();
        QVERIFY(!settings().Command2->isEnabled());
        // OK with nothing to apply only hides.
        {
            const QSignalBlocker quiet(settings().Text1[2]);
            typeInto(2, "400");
        }
        main.edit1->trigger();
        QVERIFY(settings().isVisible());
        settings().Command1->click();
        QVERIFY(!settings().isVisible());
        QCOMPARE(main.regionWidth, 100);
        // Typing enables 適用, and OK replays before hiding.
        typeInto(2, "450");
        QVERIFY(settings().Command2->isEnabled());
        settings().Command1->click();
        QCOMPARE(main.regionWidth, 400);
        // The close box discards the dialog; the menu brings back a fresh one.
        main.edit1->trigger();
        settings().close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main.edit1->trigger();
        QVERIFY(settings().isVisible());
        QCOMPARE(boxTexts(), QStringList({"", "", "", ""}));
        QVERIFY(!settings().Command2->isEnabled());
        QVERIFY(settings().Check1->isChecked());
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::RegionSelectionTest)
#include "tst_region_selection.moc"
