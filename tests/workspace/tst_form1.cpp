#include <QMenuBar>
#include <QtTest>

#include "tests/support/modal_answerer.h"
#include "tests/support/sandbox.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/form1.h"

namespace kestrane {

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init() {
        setEndProgramAction([this] { ++endings_; });
    }
    void cleanup() {
        FormSlot<form1>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        endings_ = 0;
    }

    // The canvas lies below the menu bar, blank, taking no selection and with nothing to save.
    void stateAtStart() {
        form1& main = form<form1>();
        QVERIFY(main.isVisible());
        QCOMPARE(main.Picture1->parentWidget()->y(), main.menuBar->height());
        QVERIFY(!main.Picture1->isEnabled());
        QVERIFY(!main.save1->isEnabled());
        const PixelGrid zero;
        QVERIFY(main.basePix == zero && main.viewPix == zero);
    }

    // One temporary file is present and the other missing; the close box deletes both, 終了
    // neither.
    void endingTheProgram_data() {
        QTest::addColumn<QString>("present");
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("close box, temp.bmp") << "temp.bmp" << true;
        QTest::newRow("close box, 3Dtemp.bmp") << "3Dtemp.bmp" << true;
        QTest::newRow("終了, 3Dtemp.bmp") << "3Dtemp.bmp" << false;
    }
    void endingTheProgram() {
        QFETCH(QString, present);
        QFETCH(bool, byCloseBox);
        testing::Sandbox sandbox;
        sandbox.write(present, "x");
        sandbox.write("other.bmp", "x");
        testing::ModalAnswerer answerer;
        byCloseBox ? void(form<form1>().close()) : form<form1>().end1->trigger();
        QCOMPARE(QFile::exists(sandbox.file(present)), !byCloseBox);
        QVERIFY(QFile::exists(sandbox.file("other.bmp")));
        QCOMPARE(endings_, 1);
        QVERIFY(answerer.messages().empty());
    }

private:
    int endings_ = 0;
};

}  // namespace kestrane

QTEST_MAIN(kestrane::Form1Test)
#include "tst_form1.moc"
