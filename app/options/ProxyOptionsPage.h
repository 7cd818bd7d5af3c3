#pragma once

#include <memory>

#include "OptionsPage.h"

class ProxyFields;
class QRadioButton;

// The "Proxy" page: no proxy, the system's proxy settings, or proxies of
// the user's own for HTTP and FTP (the same for both while the box says so:
// the FTP row then follows the HTTP row and cannot be edited).
class ProxyOptionsPage : public OptionsPage {
    Q_OBJECT

public:
    explicit ProxyOptionsPage(QWidget *parent = nullptr);
    ~ProxyOptionsPage() override;

    void load(const ProgramOptions &options) override;
    void store(ProgramOptions &options) const override;

private:
    void followChoice();

    QRadioButton *noProxy_;
    QRadioButton *systemProxy_;
    QRadioButton *ownProxy_;
    QCheckBox *same_;
    std::unique_ptr<ProxyFields> http_;
    std::unique_ptr<ProxyFields> ftp_;
};
