#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "tests/support/modal_answerer.h"
#include "windowing/form_slot.h"

namespace kestrane {

namespace {

QStringList events;

// A window whose load and unload handlers log themselves.
class ProbeForm : public FormWindow {
public:
    ProbeForm() : FormWindow("Probe", 200, 120) {}
    void Form_Load() override { events << "Form_Load"; }
    void Form_Unload() override { events << "Form_Unload"; }

    QLineEdit* Text1 = new QLineEdit("design", this);
};

// First shown at the point its client size names; its button counts the clicks that reach it.
class OtherForm : public FormWindow {
public:
    OtherForm() : FormWindow("Other", 100, 50) {
        setFirstPlacement([](QSize client) { return QPoint(client.width(), client.height()); });
        Command1->setGeometry(10, 10, 80, 30);
        connect(Command1, &QPushButton::clicked, this, [this] { ++clicks; });
    }
    QPushButton* Command1 = new QPushButton("OK", this);
    int clicks = 0;
};

}  // namespace

class FormWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        FormSlot<ProbeForm>::unload();
        FormSlot<OtherForm>::unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Access creates the window hidden and loads it once; unloading, or the close box, discards
    // it.
    void unloadedWindowComesBackFromItsDesign() {
        for (const bool byCloseBox : {false, true}) {
            events.clear();
            ProbeForm& first = form<ProbeForm>();
            QVERIFY(!first.isVisible());
            form<ProbeForm>().showModeless();
            first.Text1->setText("typed");
            byCloseBox ? void(first.close()) : first.unload();
            QCOMPARE(form<ProbeForm>().Text1->text(), QString("design"));
            QCOMPARE(events, QStringList({"Form_Load", "Form_Unload", "Form_Load"}));
            cleanup();
        }
    }

    // A window unloaded before it was ever shown leaves no position behind.
    void movedWindowComesBackWhereTheUserLeftIt() {
        form<OtherForm>();
        FormSlot<OtherForm>::unload();
        form<OtherForm>().showModeless();
        QCOMPARE(form<OtherForm>().pos(), QPoint(100, 50));
        form<OtherForm>().move(70, 80);
        FormSlot<OtherForm>::unload();
        form<OtherForm>().showModeless();
        QCOMPARE(form<OtherForm>().pos(), QPoint(70, 80));
    }

    // Hidden or unloaded, the modal window ends the wait; clicks elsewhere meanwhile are lost.
    void modalShowWaitsAndBlocksOtherWindows() {
        OtherForm& other = form<OtherForm>();
        other.showModeless();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        for (const bool endByUnload : {false, true}) {
            testing::ModalAnswerer answerer([&](QWidget* modal) {
                QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {},
                                  other.Command1->geometry().center());
                endByUnload ? static_cast<ProbeForm*>(modal)->unload() : modal->hide();
            });
            form<ProbeForm>().showModal();
            QCOMPARE(FormSlot<ProbeForm>::existing() == nullptr, endByUnload);
        }
        QCOMPARE(other.clicks, 0);
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::FormWindowTest)
#include "tst_form_window.moc"
