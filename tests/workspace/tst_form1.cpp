#include <QtTest>

#include "tests/support/drop.h"
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

    // Dropped on the main window: URLs of the sandbox's names (a.gif and b.gif are files,
    // "pictures" a folder) or of another address, or plain text. announced: the file the window
    // passes on, empty for none.
    void drop_data() {
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<bool>("duringModalBox");
        QTest::addColumn<QString>("announced");
        QTest::newRow("several files") << QStringList{"b.gif", "a.gif"} << false << "b.gif";
        QTest::newRow("a folder, then a file")
            << QStringList{"pictures", "a.gif"} << false << "a.gif";
        QTest::newRow("a remote URL") << QStringList{"https://example.org/a.gif"} << false << "";
        QTest::newRow("a file on another host") << QStringList{"file://host/a.gif"} << false << "";
        QTest::newRow("plain text") << QStringList{} << false << "";
        QTest::newRow("during a modal box") << QStringList{"a.gif"} << true << "";
    }
    void drop() {
        QFETCH(QStringList, urls);
        QFETCH(bool, duringModalBox);
        QFETCH(QString, announced);
        const testing::Sandbox sandbox;
        sandbox.write("a.gif", "a");
        sandbox.write("b.gif", "b");
        QDir().mkdir("pictures");
        QMimeData data;
        QList<QUrl> dropped;
        for (const QString& url : urls) {
            dropped << (url.contains(':') ? QUrl(url) : QUrl::fromLocalFile(sandbox.file(url)));
        }
        dropped.isEmpty() ? data.setText(sandbox.file("a.gif")) : data.setUrls(dropped);
        form1& main = form<form1>();
        QSignalSpy announcements(&main, &form1::pictureDropped);
        std::pair<bool, bool> taken;  // as the drag entered, and the drop
        if (duringModalBox) {
            FormWindow box("box", 100, 50);
            testing::ModalAnswerer answerer([&](QWidget*) {
                taken = testing::dropOn(main, data);
                box.hide();
            });
            box.showModal();
        } else {
            taken = testing::dropOn(main, data);
        }
        const bool loads = !announced.isEmpty();
        QCOMPARE(taken, std::pair(loads, loads));
        QCOMPARE(announcements.size(), int(loads));
        if (loads) QCOMPARE(announcements[0][0].toString(), sandbox.file(announced));
    }

private:
    int endings_ = 0;
};

}  // namespace kestrane

QTEST_MAIN(kestrane::Form1Test)
#include "tst_form1.moc"
