#include <QtTest>

#include "windowing/picture_box.h"

namespace kestrane {

// On a screen at twice the density every canvas pixel covers 2 x 2 device pixels: each of them
// shows exactly that pixel's colour, and a press on any of them reports that pixel.
class PictureBoxScaledTest : public QObject {
    Q_OBJECT

private slots:
    void pressLandsOnThePixelUnderThePointer() {
        constexpr int kWidth = 6, kHeight = 5;
        QWidget window;
        window.resize(40, 40);
        PictureBox* box = new PictureBox(&window, 10, 20, kWidth, kHeight, Qt::black);
        for (int i = 0; i < kWidth * kHeight; ++i) {
            box->bitmap().setPixel(i % kWidth, i / kWidth, qRgb(8 * i, 0, 200));
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.devicePixelRatio(), 2.0);
        // The drawing area starts at (10, 20) + 2 border pixels, device pixel (24, 44); every pixel
        // in the bitmap has its own colour.
        const std::tuple<const char*, QPoint, QPoint> rows[] = {
            {"last device pixel of the first", {25, 45}, {0, 0}},
            {"next pixel right and down", {26, 46}, {1, 1}},
            {"last device pixel", {23 + 2 * kWidth, 43 + 2 * kHeight}, {kWidth - 1, kHeight - 1}},
        };
        for (const auto& [name, device, canvas] : rows) {
            QVERIFY2(window.grab().toImage().pixel(device) == box->bitmap().pixel(canvas), name);
            // What the window receives for a pointer at that device pixel, with Ctrl held.
            const QPointF at = QPointF(device) / 2;
            QSignalSpy down(box, &PictureBox::MouseDown);
            for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent event(type, at, window.mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                  Qt::ControlModifier);
                QApplication::sendEvent(window.windowHandle(), &event);
            }
            QCOMPARE(
                down,
                (QList<QVariantList>{{vbLeftButton, 2, float(canvas.x()), float(canvas.y())}}));
        }
    }
};

}  // namespace kestrane

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    kestrane::PictureBoxScaledTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_picture_box_scaled.moc"
