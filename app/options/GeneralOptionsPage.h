#pragma once

#include "OptionsPage.h"

class QCheckBox;
class QLineEdit;

// The "General" page: connection limits and times, what happens at start,
// the free-disk-space limit and the use of the browser cache.
class GeneralOptionsPage : public OptionsPage {
    Q_OBJECT

public:
    explicit GeneralOptionsPage(QWidget *parent = nullptr);

    void load(const ProgramOptions &options) override;
    void store(ProgramOptions &options) const override;

private:
    QCheckBox *diskLimited_;
    QLineEdit *diskSize_;
};
