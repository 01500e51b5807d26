#include <QMenu>
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

    void menuBarAtStart() {
        form1& main = form<form1>();
        const QList<QAction*> top = main.menuBar->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0]->text(), QString("ファイル(&F)"));
        QCOMPARE(top[1], main.edit1);
        QCOMPARE(main.edit1->text(), QString("設定(&E)"));
        QStringList items;
        for (const QAction* item : main.file1->actions()) {
            items << (item->isSeparator() ? "-" : item->text());
        }
        QCOMPARE(items,
                 QStringList({"読み込み(&O)", "-", "指定範囲データ保存(&S)", "-", "終了(&Q)"}));
        QVERIFY(main.open1->isEnabled());
        QVERIFY(!main.save1->isEnabled());
    }

    void canvasAndStateAtStart() {
        form1& main = form<form1>();
        QCOMPARE(main.windowTitle(), QString("Kestrane"));
        QVERIFY(main.isVisible());
        const QWidget* client = main.Picture1->parentWidget();
        QCOMPARE(client->size(), QSize(529, 529));
        QCOMPARE(client->y(), main.menuBar->height());
        QCOMPARE(main.Picture1->geometry(), QRect(8, 8, 516, 516));
        QCOMPARE(main.Picture1->contentsRect().size(), QSize(512, 512));
        QCOMPARE(main.Picture1->bitmap().size(), QSize(512, 512));
        QVERIFY(!main.Picture1->isEnabled());
        const PixelGrid zero;
        QVERIFY(main.basePix == zero && main.viewPix == zero);
        QCOMPARE(main.outWi(), 0);
        QCOMPARE(main.outHei(), 0);
        QCOMPARE(main.profilePix.size(), 0u);
    }

    void closingDeletesTheTemporaryFilesAndEnds_data() {
        QTest::addColumn<bool>("tempPresent");
        QTest::addColumn<bool>("graphTempPresent");
        QTest::newRow("both") << true << true;
        QTest::newRow("only the graph bitmap") << false << true;
        QTest::newRow("only temp.bmp") << true << false;
        QTest::newRow("neither") << false << false;
    }
    void closingDeletesTheTemporaryFilesAndEnds() {
        QFETCH(bool, tempPresent);
        QFETCH(bool, graphTempPresent);
        testing::Sandbox sandbox;
        if (tempPresent) {
            sandbox.write("temp.bmp", "x");
        }
        if (graphTempPresent) {
            sandbox.write("3Dtemp.bmp", "x");
        }
        sandbox.write("other.bmp", "x");
        testing::ModalAnswerer answerer;
        form<form1>().close();
        QVERIFY(!QFile::exists(sandbox.file("temp.bmp")));
        QVERIFY(!QFile::exists(sandbox.file("3Dtemp.bmp")));
        QVERIFY(QFile::exists(sandbox.file("other.bmp")));
        QCOMPARE(endings_, 1);
        QVERIFY(answerer.messages().empty());
    }

    void quitEndsAtOnceAndKeepsTheGraphBitmap() {
        testing::Sandbox sandbox;
        sandbox.write("3Dtemp.bmp", "x");
        form<form1>().end1->trigger();
        QCOMPARE(endings_, 1);
        QVERIFY(QFile::exists(sandbox.file("3Dtemp.bmp")));
    }

private:
    int endings_ = 0;
};

}  // namespace kestrane

QTEST_MAIN(kestrane::Form1Test)
#include "tst_form1.moc"
