#include <QtTest>
#include <QtWidgets>

#include "windowing/form3_design.h"
#include "windowing/form4_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"

namespace kestrane {

// The controls in tab order: caption, text or value, place within the window or frame, and whether
// checked (on) or disabled (off).
static QStringList controls(QWidget* window) {
    QStringList rows;
    for (QWidget* c = window->nextInFocusChain(); c != window; c = c->nextInFocusChain()) {
        rows << c->property("text").toString() + c->property("title").toString() +
                    c->property("value").toString() +
                    QString::asprintf(" %d,%d %dx%d", c->x(), c->y(), c->width(), c->height()) +
                    (c->property("checked").toBool() ? " on" : "") + (c->isEnabled() ? "" : " off");
    }
    return rows;
}

class WindowDesignsTest : public QObject {
    Q_OBJECT

private slots:
    void windowsAreBuiltAsDesigned() {
        // Writing an end box before the settings dialog exists creates it, hidden.
        form<Form4Design>().Text1[2]->setText("120");
        QVERIFY(!form<Form4Design>().isVisible());
        QCOMPARE(
            controls(&form<Form3Design>()),
            QStringList({" 8,8 454x454", "モノクロ表示 16,472 89x17 on", "ファイル名 136,472 73x25",
                         "3D 208,472 113x18", "保存 344,472 105x25", "圧縮率 8,504 49x17",
                         "90 56,504 25x18", "90 88,504 249x17", "閉じる 344,504 105x25"}));
        QCOMPARE(controls(&form<Form4Design>()),
                 QStringList({"表示 8,8 241x57", "モノクロ表示 16,24 97x17 on", "OK 16,224 97x25",
                              "座標 8,72 241x145", " 24,32 105x18", " 24,56 105x18",
                              "120 24,96 105x18", " 24,120 105x18", "X 8,32 17x17", "Y 8,56 17x17",
                              "X 8,96 17x17", "Y 8,120 17x17", "始点 8,16 49x17", "終点 8,80 49x17",
                              "適用 144,224 97x25 off"}));
        QCOMPARE(form<Form3Design>().Picture1->bitmap().size(), QSize(450, 450));
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::WindowDesignsTest)
#include "tst_window_designs.moc"
