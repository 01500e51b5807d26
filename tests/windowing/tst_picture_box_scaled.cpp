#include <QtTest>

#include "windowing/picture_box.h"

namespace kestrane {

// On a screen at twice the density every canvas pixel covers 2 x 2 device pixels: each of them
// shows exactly that pixel's colour, and a press on any of them reports that pixel.
class PictureBoxScaledTest : public QObject {
    Q_OBJECT

    static constexpr int kWidth = 6;
    static constexpr int kHeight = 5;

private slots:
    void initTestCase() {
        window_.resize(40, 40);
        box_ = new PictureBox(&window_, 10, 20, kWidth, kHeight, Qt::black);
        for (int x = 0; x < kWidth; ++x) {
            for (int y = 0; y < kHeight; ++y) {
                box_->bitmap().setPixel(x, y, qRgb(40 * x, 40 * y, 200));
            }
        }
        window_.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window_));
        QCOMPARE(window_.devicePixelRatio(), 2.0);
    }

    void pressLandsOnThePixelUnderThePointer_data() {
        QTest::addColumn<QPoint>("device");
        QTest::addColumn<QPoint>("canvas");
        // The drawing area starts at (10, 20) + 2 border pixels, device pixel (24, 44).
        QTest::newRow("first device pixel") << QPoint(24, 44) << QPoint(0, 0);
        QTest::newRow("last device pixel of the first") << QPoint(25, 45) << QPoint(0, 0);
        QTest::newRow("next pixel right") << QPoint(26, 45) << QPoint(1, 0);
        QTest::newRow("next pixel down") << QPoint(25, 46) << QPoint(0, 1);
        QTest::newRow("last device pixel")
            << QPoint(23 + 2 * kWidth, 43 + 2 * kHeight) << QPoint(kWidth - 1, kHeight - 1);
    }
    void pressLandsOnThePixelUnderThePointer() {
        QFETCH(QPoint, device);
        QFETCH(QPoint, canvas);
        QCOMPARE(window_.grab().toImage().pixel(device), box_->bitmap().pixel(canvas));

        // What the window receives for a pointer at that device pixel.
        const QPointF at = QPointF(device) / 2;
        QSignalSpy down(box_, &PictureBox::MouseDown);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, window_.mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(window_.windowHandle(), &event);
        }
        QCOMPARE(down.size(), 1);
        QCOMPARE(down[0][2].toFloat(), float(canvas.x()));
        QCOMPARE(down[0][3].toFloat(), float(canvas.y()));
    }

private:
    QWidget window_;
    PictureBox* box_ = nullptr;
};

}  // namespace kestrane

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    kestrane::PictureBoxScaledTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_picture_box_scaled.moc"
