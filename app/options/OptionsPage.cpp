#include "OptionsPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSpinBox>

void OptionsPage::load(const ProgramOptions &options) {
    for (const auto &[check, option] : checks_) check->setChecked(options.*option);
    for (const auto &[spin, option] : spins_) spin->setValue(options.*option);
}

void OptionsPage::store(ProgramOptions &options) const {
    for (const auto &[check, option] : checks_) options.*option = check->isChecked();
    for (const auto &[spin, option] : spins_) options.*option = spin->value();
}

QCheckBox *OptionsPage::addCheck(QLayout *layout, const QString &text, bool ProgramOptions::*option) {
    auto *check = new QCheckBox(text, this);
    layout->addWidget(check);
    checks_.emplace_back(check, option);
    connect(check, &QCheckBox::toggled, this, &OptionsPage::changed);
    return check;
}

QSpinBox *OptionsPage::addSpin(QFormLayout *form, const QString &label, int ProgramOptions::*option, int minimum,
                               int maximum) {
    auto *spin = new QSpinBox(this);
    spin->setRange(minimum, maximum);
    form->addRow(label, spin);
    spins_.emplace_back(spin, option);
    connect(spin, &QSpinBox::valueChanged, this, &OptionsPage::changed);
    return spin;
}
