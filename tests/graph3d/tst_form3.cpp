#include <QtTest>
#include <QtWidgets>

#include "graph3d/graph_redraw.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/sandbox.h"
#include "windowing/form3_design.h"
#include "windowing/form4_design.h"
#include "windowing/form_slot.h"
#include "windowing/picture_box.h"
#include "workspace/application_folder.h"
#include "workspace/form1.h"
#include "workspace/numbers.h"

namespace kestrane {

class Form3Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installGraph(form<form1>()); }

    void dragTurnsTheGraph() {
        form1& main = form<form1>();
        QStringList seen;
        const double degree = degreesToRadians(1);
        main.setRedraw(
            [&] { seen << QString("%1 %2").arg(main.angleA / degree).arg(main.angleR / degree); });
        const auto restore = qScopeGuard([&main] { installGraph(main); });
        // Each row goes on from the one before: button 1 (left) or 2 (right) pressed at the first
        // point, moved to the second and the third and released there (picture box pixels, the
        // canvas starting at 2, 2), then xx, yy, mx, my, mx2, my2, and the view's angles in degrees
        // at each redraw.
        const std::tuple<int, QList<QPoint>, QList<int>, QStringList> rows[] = {
            {1, {{102, 202}, {132, 92}, {142, 82}}, {100, 200, -40, 120, -40, 120}, {"-40 120"}},
            {2, {{102, 102}, {107, 205}, {107, 205}}, {100, 200, -40, 120, -45, 117}, {}},
        };
        for (const auto& [button, path, angles, redraws] : rows) {
            QTest::mousePress(form<Form3Design>().Picture1, Qt::MouseButton(button), {}, path[0]);
            QTest::mouseMove(form<Form3Design>().Picture1, path[1]);
            QTest::mouseMove(form<Form3Design>().Picture1, path[2]);
            QTest::mouseRelease(form<Form3Design>().Picture1, Qt::MouseButton(button), {}, path[2]);
            QCOMPARE((QList<int>{main.xx, main.yy, main.mx, main.my, main.mx2, main.my2}), angles);
            QCOMPARE(std::exchange(seen, {}), redraws);
        }
    }

    void redrawPaintsTheBackgroundOfTheGraphBox() {
        for (const bool checked : {true, false}) {
            form<Form3Design>().Check1->setChecked(checked);
            form<Form4Design>().Check1->setChecked(!checked);
            redraw(form<form1>());
            QCOMPARE(form<Form3Design>().Picture1->bitmap().pixel(0, 0),
                     checked ? 0xFF00007Fu : 0xFF000000u);
        }
    }

    // Each text goes into the compression box, which then reads as given with the bar's value
    // after it, and the canvas is saved as q<text>.jpg.
    void saveWritesTheCanvasAsJpegWholeOrNotAtAll() {
        const testing::Sandbox sandbox;
        Form3Design& graph = form<Form3Design>();
        QVERIFY(graph.Picture1->bitmap().load(KESTRANE_TEST_DATA "/open_640x480.gif"));
        testing::ModalAnswerer answerer;
        const std::pair<QString, QString> rows[] = {
            {"90", "90 90"}, {"10", "10 10"},  {"150", "100 100"}, {"-3", "0 0"},    {"7.5", "8 8"},
            {"2", "2 2"},    {"2.5", "2.5 2"}, {"abc", "0 0"},     {"abc", "abc 0"},
        };
        for (const auto& [text, after] : rows) {
            graph.Text2->setText(text);
            QCOMPARE(graph.Text2->text() + ' ' + QString::number(graph.HScroll1->value()), after);
            graph.Text1->setText("q" + text);
            graph.Command2->click();
        }
        QCOMPARE(QImage(sandbox.file("q90.jpg"), "JPEG").size(), QSize(640, 480));
        QVERIFY(QFile(sandbox.file("q10.jpg")).size() < QFile(sandbox.file("q90.jpg")).size());
        // A link at the temporary bitmap's name is replaced, not written through; on a full disk
        // the bitmap and the JPEG stay as they were and the failure is shown.
        sandbox.write("elsewhere", "kept");
        QVERIFY(QFile::remove(sandbox.file("3Dtemp.bmp")));
        QVERIFY(QFile::link(sandbox.file("elsewhere"), sandbox.file("3Dtemp.bmp")));
        graph.Command2->click();
        QCOMPARE(sandbox.read("elsewhere"), QByteArray("kept"));
        const auto saved = [&] { return sandbox.read("3Dtemp.bmp") + sandbox.read("qabc.jpg"); };
        const QByteArray before = saved();
        QVERIFY(before.startsWith("BM") && before.contains("\xFF\xD8\xFF"));
        graph.Picture1->bitmap().fill(Qt::white);
        {
            const testing::FileSizeLimit diskFull(1000);
            graph.Command2->click();
        }
        QCOMPARE(saved(), before);
        QCOMPARE(answerer.messages().size(), 1u);
        // No folder can be made below a plain file: the bitmap goes through TMPDIR instead, and
        // the letters save at 0 like -3.
        setApplicationFolder(sandbox.file("q90.jpg/folder"));
        const auto restore = qScopeGuard([old = qgetenv("TMPDIR")] { qputenv("TMPDIR", old); });
        qputenv("TMPDIR", sandbox.path().toLocal8Bit());
        graph.Picture1->bitmap().load(KESTRANE_TEST_DATA "/open_640x480.gif");
        graph.Command2->click();
        QCOMPARE(sandbox.read("qabc.jpg"), sandbox.read("q-3.jpg"));
        QCOMPARE(QDir(sandbox.path()).entryList({"3Dtemp-*"}), QStringList());
        graph.Text1->setText("missing/graph");
        graph.Command2->click();
        QCOMPARE(answerer.messages().size(), 2u);
        for (const testing::SeenMessage& message : answerer.messages()) {
            QCOMPARE(std::tuple(message.title, message.text, message.icon),
                     std::tuple(QString("警告"), QString("JPEGファイルを保存できませんでした。"),
                                QMessageBox::Critical));
        }
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::Form3Test)
#include "tst_form3.moc"
