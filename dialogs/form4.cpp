#include "dialogs/form4.h"

#include <QCheckBox>
#include <QPushButton>

#include "windowing/form3_design.h"
#include "windowing/form_slot.h"

namespace kestrane {

Form4::Form4() { connect(Check1, &QCheckBox::toggled, this, &Form4::Check1_Click); }

void Form4::Form_Load() { Command2->setEnabled(false); }

// Creates the graph window hidden if needed; its own click handler copies the value back, which
// changes nothing and so ends the exchange, and redraws the graph.
void Form4::Check1_Click() { form<Form3Design>().Check1->setChecked(Check1->isChecked()); }

void installSettingsDialog() {
    FormSlot<Form4Design>::setFactory([] { return std::make_unique<Form4>(); });
}

}  // namespace kestrane
