#include "dialogs/form4.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "windowing/form3_design.h"
#include "windowing/form_slot.h"
#include "windowing/window_placement.h"
#include "workspace/form1.h"

namespace kestrane {

Form4::Form4(form1& main) : main_(main) {
    setFirstPlacement([&main](QSize client) { return placeBeside(main, client, 0, Side::left); });
    for (int index = 0; index < int(Text1.size()); ++index) {
        connect(Text1[index], &QLineEdit::textChanged, this,
                [this, index] { Text1_Change(index); });
    }
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Check1, &QCheckBox::toggled, this, &Form4::Check1_Click);
}

void Form4::Form_Load() { Command2->setEnabled(false); }

// Typed by the user or written by a selection: either way there is something to apply.
void Form4::Text1_Change(int) { Command2->setEnabled(true); }

// The replay writes the end point back into the boxes, which enables this button again; it is
// disabled only once the replay is done.
void Form4::Command2_Click() {
    main_.redraw2();
    Command2->setEnabled(false);
}

void Form4::Command1_Click() {
    if (Command2->isEnabled()) {
        main_.redraw2();
    }
    hide();
}

// Creates the graph window hidden if needed; its own click handler copies the value back, which
// changes nothing and so ends the exchange, and redraws the graph.
void Form4::Check1_Click() { form<Form3Design>().Check1->setChecked(Check1->isChecked()); }

void edit1_Click() { form<Form4Design>().showModeless(); }

void installSettingsDialog(form1& main) {
    FormSlot<Form4Design>::setFactory([&main] { return std::make_unique<Form4>(main); });
    QObject::connect(main.edit1, &QAction::triggered, &main, [] { edit1_Click(); });
}

}  // namespace kestrane
