#pragma once

#include <utility>
#include <vector>

#include <QWidget>

#include "ProgramOptions.h"

class QCheckBox;
class QFormLayout;
class QLayout;
class QSpinBox;

// A page of the Options dialog: its check boxes and number fields each
// bound to an option, loaded from and stored into an option set; every
// change of a field after loading is announced.
class OptionsPage : public QWidget {
    Q_OBJECT

public:
    explicit OptionsPage(QWidget *parent = nullptr) : QWidget(parent) {}

    virtual void load(const ProgramOptions &options);
    virtual void store(ProgramOptions &options) const;

signals:
    void changed();

protected:
    QCheckBox *addCheck(QLayout *layout, const QString &text, bool ProgramOptions::*option);
    QSpinBox *addSpin(QFormLayout *form, const QString &label, int ProgramOptions::*option, int minimum, int maximum);

private:
    std::vector<std::pair<QCheckBox *, bool ProgramOptions::*>> checks_;
    std::vector<std::pair<QSpinBox *, int ProgramOptions::*>> spins_;
};
