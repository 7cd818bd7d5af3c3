#include "TaskFilterOptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "AddressSuggestions.h"

namespace {

constexpr uint32_t kAnyLinks = 14449;

}  // namespace

TaskFilterOptionsDialog::TaskFilterOptionsDialog(const QString &address, QWidget *parent)
    : QDialog(parent),
      onlyFrom_(new QRadioButton(QStringLiteral("Download links only from (recomended):"), this)),
      anywhere_(new QRadioButton(QStringLiteral("Download links from anywhere"), this)),
      patterns_(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Task Filter Options"));
    const AddressSuggestions suggestions = AddressSuggestions::of(address);
    patterns_->setEditable(true);
    patterns_->addItem(suggestions.directory);
    if (suggestions.host != suggestions.directory) patterns_->addItem(suggestions.host);
    onlyFrom_->setChecked(true);
    connect(onlyFrom_, &QRadioButton::toggled, patterns_, &QWidget::setEnabled);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(onlyFrom_);
    layout->addWidget(patterns_);
    layout->addWidget(anywhere_);
    layout->addWidget(buttons);
}

FilterEntry TaskFilterOptionsDialog::entry() const {
    if (onlyFrom_->isChecked()) return {kAnyLinks | filter_masks::kOnlyFrom, 0, 0, patterns_->currentText()};
    return {kAnyLinks, 0, 0, QStringLiteral("*")};
}

std::optional<QByteArray> TaskFilterOptionsDialog::linkFilter(QWidget *parent, const QString &address, uint32_t depth,
                                                              const QByteArray &filter) {
    const bool web = address.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
                     address.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
    if (coversLinks(parseFilter(filter)) || depth == 0 || !web) return filter;
    const std::optional<FilterEntry> links = ask(parent, address);
    if (!links) return std::nullopt;
    return composeFilter({*links});
}

std::optional<FilterEntry> TaskFilterOptionsDialog::ask(QWidget *parent, const QString &address) {
    TaskFilterOptionsDialog dialog(address, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.entry();
}
