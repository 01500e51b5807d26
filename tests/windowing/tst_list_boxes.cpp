#include <QtTest>

#include "tests/support/sandbox.h"
#include "windowing/dir_list_box.h"
#include "windowing/drive_list_box.h"
#include "windowing/file_list_box.h"

namespace kestrane {

class ListBoxesTest : public QObject {
    Q_OBJECT

    const testing::Sandbox sandbox_;

    static QStringList texts(const QListWidget& list) {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
        return texts;
    }

    // Shows the list and clicks the entry in row, twice for a double click.
    static void click(QListWidget& list, int row, bool twice) {
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QPoint centre = list.visualItemRect(list.item(row)).center();
        twice ? QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre)
              : QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
    }

private slots:
    void initTestCase() {
        QDir().mkdir("alpha");
        for (const char* name : {"b.gif", "a.GIF", "c.jpg", "README"}) sandbox_.write(name, "x");
    }

    // An arrow key moves the cursor, then the key (none: a double click) opens the folder; a file
    // is no folder to open, even one that may be run.
    void directoryListOpensByKeysAndDoubleClick() {
        DirListBox list(nullptr);
        QSignalSpy changes(&list, &DirListBox::Change);
        const std::tuple<Qt::Key, Qt::Key, QString> moves[]{{Qt::Key_Down, Qt::Key_Enter, "alpha"},
                                                            {Qt::Key_Up, Qt::Key_Return, "."},
                                                            {Qt::Key_Down, Qt::Key(0), "alpha"}};
        for (const auto& [arrow, open, folder] : moves) {
            QTest::keyClick(&list, arrow);
            open == 0 ? click(list, list.currentRow(), true) : QTest::keyClick(&list, open);
            QCOMPARE(list.path(), QDir::cleanPath(sandbox_.file(folder)));
        }
        QVERIFY(QFile::setPermissions("README", QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(!list.setPath(sandbox_.file("README")));
        QCOMPARE(std::pair(list.path(), changes.count()),
                 std::pair(sandbox_.file("alpha"), qsizetype(3)));
    }

    void fileListMatchesIgnoringCaseAndSelectsOnClick() {
        FileListBox list(nullptr, "*.gif");
        QCOMPARE(texts(list), QStringList({"a.GIF", "b.gif"}));
        QSignalSpy clicks(&list, &FileListBox::Click);
        click(list, 1, false);
        QCOMPARE(std::pair(list.fileName(), clicks.count()),
                 std::pair(QString("b.gif"), qsizetype(1)));
        list.setPattern("*.*");  // ALL TYPE: names without a dot too
        QCOMPARE(texts(list), QStringList({"a.GIF", "b.gif", "c.jpg", "README"}));
    }

    void driveListOffersTheRoots() {
        const DriveListBox drives(nullptr);
        QCOMPARE(std::pair(drives.count(), drives.drive()), std::pair(1, QString("/")));
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::ListBoxesTest)
#include "tst_list_boxes.moc"
