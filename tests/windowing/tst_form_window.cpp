#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

#include "tests/support/modal_answerer.h"
#include "windowing/form_slot.h"
#include "windowing/message_box.h"

namespace kestrane {

namespace {

QStringList events;

// A window with one control of each notifying kind; every handler logs itself.
class ProbeForm : public FormWindow {
public:
    ProbeForm() : FormWindow("Probe", 200, 120) {
        Text1 = new QLineEdit("design", this);
        Check1 = new QCheckBox(this);
        Check1->setChecked(true);
        HScroll1 = new QScrollBar(Qt::Horizontal, this);
        HScroll1->setRange(0, 100);
        HScroll1->setValue(90);
        connect(Text1, &QLineEdit::textChanged, this, [] { events << "Text1_Change"; });
        connect(Check1, &QCheckBox::stateChanged, this, [this] {
            events << "Check1_Click begin";
            Text1->setText(Check1->isChecked() ? "on" : "off");
            events << "Check1_Click end";
        });
        connect(HScroll1, &QScrollBar::valueChanged, this, [] { events << "HScroll1_Change"; });
    }
    void Form_Load() override { events << "Form_Load"; }
    void Form_Unload() override { events << "Form_Unload"; }

    QLineEdit* Text1;
    QCheckBox* Check1;
    QScrollBar* HScroll1;
};

class OtherForm : public FormWindow {
public:
    OtherForm() : FormWindow("Other", 200, 120) {
        Command1 = new QPushButton("OK", this);
        Command1->setGeometry(10, 10, 80, 30);
        connect(Command1, &QPushButton::clicked, this, [this] { ++clicks; });
    }
    QPushButton* Command1;
    int clicks = 0;
};

class PlacedForm : public FormWindow {
public:
    PlacedForm() : FormWindow("Placed", 100, 50) {
        setFirstPlacement([](QSize client) { return QPoint(client.width(), client.height()); });
    }
};

}  // namespace

class FormWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { events.clear(); }
    void cleanup() {
        FormSlot<ProbeForm>::unload();
        FormSlot<OtherForm>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void firstAccessCreatesHiddenAndLoadsOnce() {
        QVERIFY(FormSlot<ProbeForm>::existing() == nullptr);
        form<ProbeForm>().Text1->setText("one");
        form<ProbeForm>().Text1->setText("two");
        QCOMPARE(events, QStringList({"Form_Load", "Text1_Change", "Text1_Change"}));
        QVERIFY(!form<ProbeForm>().isVisible());
        form<ProbeForm>().showModeless();
        form<ProbeForm>().showModeless();
        QCOMPARE(events.count("Form_Load"), 1);
    }

    void unloadedWindowComesBackFromItsDesign_data() {
        QTest::addColumn<bool>("byCloseBox");
        QTest::newRow("unload") << false;
        QTest::newRow("close box") << true;
    }
    void unloadedWindowComesBackFromItsDesign() {
        QFETCH(bool, byCloseBox);
        ProbeForm& first = form<ProbeForm>();
        first.showModeless();
        first.Text1->setText("typed");
        if (byCloseBox) {
            first.close();
        } else {
            first.unload();
        }
        QVERIFY(FormSlot<ProbeForm>::existing() == nullptr);
        QCOMPARE(form<ProbeForm>().Text1->text(), QString("design"));
        QCOMPARE(events, QStringList({"Form_Load", "Text1_Change", "Form_Unload", "Form_Load"}));
    }

    void movedWindowComesBackWhereTheUserLeftIt() {
        form<PlacedForm>().showModeless();
        QCOMPARE(form<PlacedForm>().pos(), QPoint(100, 50));
        form<PlacedForm>().move(70, 80);
        FormSlot<PlacedForm>::unload();
        form<PlacedForm>().showModeless();
        QCOMPARE(form<PlacedForm>().pos(), QPoint(70, 80));
        FormSlot<PlacedForm>::unload();
    }

    void assignmentsRaiseNestedNotificationsOnlyOnChange() {
        ProbeForm& probe = form<ProbeForm>();
        events.clear();
        probe.Check1->setChecked(false);
        QCOMPARE(events, QStringList({"Check1_Click begin", "Text1_Change", "Check1_Click end"}));
        events.clear();
        probe.Check1->setChecked(false);
        probe.HScroll1->setValue(90);
        probe.Text1->setText("off");
        QVERIFY(events.isEmpty());
        probe.HScroll1->setValue(91);
        QCOMPARE(events, QStringList({"HScroll1_Change"}));
    }

    void modalShowWaitsAndBlocksOtherWindows_data() {
        QTest::addColumn<bool>("endByUnload");
        QTest::newRow("hidden") << false;
        QTest::newRow("unloaded") << true;
    }
    void modalShowWaitsAndBlocksOtherWindows() {
        QFETCH(bool, endByUnload);
        OtherForm& other = form<OtherForm>();
        other.showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        bool answered = false;
        testing::ModalAnswerer answerer([&](QWidget* modal) {
            QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {},
                              other.Command1->geometry().center());
            answered = true;
            auto* probe = static_cast<ProbeForm*>(modal);
            if (endByUnload) {
                probe->unload();
            } else {
                probe->hide();
            }
        });
        form<ProbeForm>().showModal();
        QVERIFY(answered);
        QCOMPARE(other.clicks, 0);
        QCOMPARE(FormSlot<ProbeForm>::existing() == nullptr, endByUnload);
    }

    void endingTheProgramRunsNoUnloadHandler() {
        int endings = 0;
        setEndProgramAction([&] { ++endings; });
        form<ProbeForm>().showModeless();
        endProgram();
        QCOMPARE(endings, 1);
        QVERIFY(!events.contains("Form_Unload"));
        setEndProgramAction([] {});
    }

    void messageBoxShowsTextTitleAndIcon_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("icon");
        QTest::newRow("stop") << int(vbCritical) << int(QMessageBox::Critical);
        QTest::newRow("information") << int(vbInformation) << int(QMessageBox::Information);
    }
    void messageBoxShowsTextTitleAndIcon() {
        QFETCH(int, style);
        QFETCH(int, icon);
        testing::ModalAnswerer answerer;
        MsgBox("ピクチャが不正です。", MsgBoxStyle(style), "警告");
        QCOMPARE(answerer.messages().size(), 1u);
        QCOMPARE(answerer.messages()[0].text, QString("ピクチャが不正です。"));
        QCOMPARE(answerer.messages()[0].title, QString("警告"));
        QCOMPARE(int(answerer.messages()[0].icon), icon);
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::FormWindowTest)
#include "tst_form_window.moc"
