#include <QtTest>
#include <QtWidgets>

#include "dialogs/form4.h"
#include "graph3d/form3.h"
#include "graph3d/graph_redraw.h"
#include "windowing/form_slot.h"
#include "workspace/form1.h"

namespace kestrane {

static QStringList events;

// A window with its behaviour that logs when its load has run and, once its own click handler has
// returned, each change of its box (on, off): a line logged before another ran nested inside it.
template <class Window>
struct Logged : Window {
    using Window::Window;
    void Form_Load() override {
        this->connect(this->Check1, &QCheckBox::toggled,
                      [this](bool on) { events << this->windowTitle() + (on ? " on" : " off"); });
        Window::Form_Load();
        events << this->windowTitle() + " loaded";
    }
};

class Form4MirrorTest : public QObject {
    Q_OBJECT

private slots:
    void settingsBoxMirrorsIntoTheGraphBox() {
        form1& main = form<form1>();
        FormSlot<Form3Design>::setFactory([&] { return std::make_unique<Logged<Form3>>(main); });
        FormSlot<Form4Design>::setFactory([&] { return std::make_unique<Logged<Form4>>(main); });
        main.setRedraw([&] {
            redraw(main);
            events << (form<Form3Design>().isVisible() ? "redrawn, shown" : "redrawn, hidden");
        });
        // Cleared with no graph window: the write creates it, its load copies the box, and the
        // graph box's click handler writes back without a change and redraws.
        form<Form4Design>().Check1->setChecked(false);
        // Reopened, the dialog starts checked; clearing it leaves the graph box as it is.
        FormSlot<Form4Design>::unload();
        form<Form4Design>().Check1->setChecked(false);
        // Checked with both windows there.
        form<Form4Design>().Check1->setChecked(true);
        QCOMPARE(events, QStringList({"設定 loaded", "redrawn, shown", "グラフ off",
                                      "グラフ loaded", "設定 off", "設定 loaded", "設定 off",
                                      "redrawn, shown", "グラフ on", "設定 on"}));
    }
};

}  // namespace kestrane

QTEST_MAIN(kestrane::Form4MirrorTest)
#include "tst_form4_mirror.moc"
