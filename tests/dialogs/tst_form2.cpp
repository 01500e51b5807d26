#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <optional>

#include "dialogs/form2.h"
#include "tests/support/sandbox.h"
#include "windowing/dir_list_box.h"
#include "windowing/file_list_box.h"
#include "windowing/form_slot.h"

namespace kestrane {

class Form2Test : public QObject {
    Q_OBJECT

    std::optional<testing::Sandbox> sandbox_;

    // The settings line for a folder below the sandbox.
    QByteArray lineFor(const QString& folder) const {
        return QFile::encodeName(QDir::cleanPath(sandbox_->file(folder))) + "/\r\n";
    }

private slots:
    // Every dialog starts in a folder of its own, with no settings file yet.
    void init() {
        sandbox_.emplace();
        QDir().mkdir("start");
        QDir::setCurrent("start");
    }
    // The dialog goes while the sandbox is still the application folder it writes into.
    void cleanup() {
        FormSlot<Form2>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        sandbox_.reset();
    }

    // The first dialog records where it started; "読み込む" only hides, キャンセル records the
    // browsed folder; the next dialog starts in the application folder, and its close box records
    // the browsed folder as well.
    void patternsAndEndings() {
        Form2& dialog = form<Form2>();
        QCOMPARE(sandbox_->read("Kestrane.ini"), lineFor("start"));
        QVERIFY(dialog.Option1[0]->isChecked());
        for (const auto& [option, pattern] :
             {std::pair<int, QString>{1, "*.jpg"}, {2, "*.*"}, {0, "*.gif"}}) {
            dialog.Option1[option]->click();
            QCOMPARE(dialog.File1->pattern(), pattern);
        }
        dialog.showModeless();
        dialog.Dir1->setPath(sandbox_->path());
        dialog.Command1->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(FormSlot<Form2>::existing(), &dialog);
        QCOMPARE(sandbox_->read("Kestrane.ini"), lineFor("start"));
        dialog.Command2->click();
        QCOMPARE(sandbox_->read("Kestrane.ini"), lineFor("."));
        Form2& next = form<Form2>();
        QCOMPARE(next.Dir1->path(), sandbox_->path());
        next.Dir1->setPath(sandbox_->file("start"));
        next.close();
        QCOMPARE(sandbox_->read("Kestrane.ini"), lineFor("start"));
    }

    void restoresTheRecordedFolder_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("entered");  // none: the failure path
        QTest::newRow("root") << QByteArray("//\r\n") << "/";
        QTest::newRow("binary") << QByteArray("\x01\xFF\xFE\x00\x80/\r\n", 8) << "";
        QTest::newRow("a file") << QByteArray(KESTRANE_TEST_DATA "/open_300x200.gif\r\n") << "";
    }
    // The failure path records the dialog's start and goes to the application folder.
    void restoresTheRecordedFolder() {
        QFETCH(QByteArray, content);
        QFETCH(QString, entered);
        sandbox_->write("Kestrane.ini", content);
        form<Form2>();
        QCOMPARE(QDir::currentPath(), entered.isEmpty() ? sandbox_->path() : entered);
        QCOMPARE(sandbox_->read("Kestrane.ini"), entered.isEmpty() ? lineFor("start") : content);
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::Form2Test)
#include "tst_form2.moc"
