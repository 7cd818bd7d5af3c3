#include "FilterEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include "QueryValidation.h"

namespace {

constexpr int kMaskRole = Qt::UserRole;

QString sizeText(const FilterEntry &entry) {
    if (entry.minSize != entry.maxSize) return QStringLiteral("%1-%2").arg(entry.minSize).arg(entry.maxSize);
    return entry.maxSize ? QString::number(entry.maxSize) : QString();
}

void readSize(const QString &text, FilterEntry &entry) {
    const qsizetype dash = text.indexOf(u'-');
    entry.minSize = dash < 0 ? 0 : text.left(dash).trimmed().toUInt();
    entry.maxSize = text.mid(dash + 1).trimmed().toUInt();
}

}  // namespace

FilterEditor::FilterEditor(QWidget *parent)
    : QWidget(parent),
      categories_(new QTreeWidget(this)),
      onlyFromMode_(new QRadioButton(QStringLiteral("Retrieve only from:"), this)),
      noneMode_(new QRadioButton(QStringLiteral("Do not retrieve"), this)),
      patternMode_(new QRadioButton(QStringLiteral("Download only URLs that match the following patterns: "), this)),
      onlyFrom_(new QComboBox(this)),
      patterns_(new QPlainTextEdit(this)),
      size_(new QLineEdit(this)) {
    categories_->header()->hide();
    auto *root = new QTreeWidgetItem(categories_, {QStringLiteral("Filter Types")});
    root->setFlags(Qt::ItemIsEnabled);
    const std::pair<QString, uint32_t> kinds[] = {{QStringLiteral("Links"), filter_masks::kLinks},
                                                  {QStringLiteral("Images"), filter_masks::kImages},
                                                  {QStringLiteral("Embedded Objects"), filter_masks::kEmbedded}};
    for (const auto &[name, mask] : kinds) (new QTreeWidgetItem(root, {name}))->setData(0, kMaskRole, mask);
    root->setExpanded(true);
    categories_->setItemsExpandable(false);
    categories_->setRootIsDecorated(false);
    // Wide enough for the longest category's name.
    categories_->setMinimumWidth(150);
    categories_->setMaximumWidth(160);
    onlyFrom_->setEditable(true);
    patterns_->setObjectName(QStringLiteral("patterns"));
    size_->setObjectName(QStringLiteral("size"));

    auto *modes = new QGridLayout;
    modes->addWidget(onlyFromMode_, 0, 0);
    modes->addWidget(onlyFrom_, 1, 0);
    modes->addWidget(noneMode_, 2, 0);
    modes->addWidget(patternMode_, 3, 0);
    modes->addWidget(new QLabel(QStringLiteral("Join URL patterns with boolean operators. Join different URL patterns "
                                               "with OR. Click Help for examples."),
                                this),
                     4, 0);
    modes->addWidget(patterns_, 5, 0);
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("Max Size or Min Size - Max Size : "), this));
    sizeRow->addWidget(size_);
    modes->addLayout(sizeRow, 6, 0);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(categories_);
    layout->addLayout(modes, 1);

    for (QRadioButton *mode : {onlyFromMode_, noneMode_, patternMode_})
        connect(mode, &QRadioButton::toggled, this, &FilterEditor::followMode);
    connect(categories_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *now, QTreeWidgetItem *before) {
        if (moving_ || !now) return;
        if (before == current_ && current_ && !storeEntry()) {
            moving_ = true;  // the expression does not parse: the selection stays
            categories_->setCurrentItem(current_);
            moving_ = false;
            return;
        }
        current_ = now;
        showEntry();
    });
    selectCategory(0);
}

void FilterEditor::selectCategory(int category) {
    categories_->setCurrentItem(categories_->topLevelItem(0)->child(category));
}

void FilterEditor::addCategory(const QString &name, uint32_t mask) {
    (new QTreeWidgetItem(categories_->topLevelItem(0), {name}))->setData(0, kMaskRole, mask);
}

uint32_t FilterEditor::categoryMask() const { return current_ ? current_->data(0, kMaskRole).toUInt() : 0; }

void FilterEditor::setFilter(const QByteArray &text) {
    entries_ = parseFilter(text);
    showEntry();
}

void FilterEditor::addSuggestions(const QStringList &patterns) {
    for (const QString &pattern : patterns)
        if (!pattern.isEmpty() && onlyFrom_->findText(pattern) < 0) onlyFrom_->addItem(pattern);
    followMode();
}

void FilterEditor::showEntry() {
    const uint32_t mask = categoryMask();
    noneMode_->setEnabled(mask != filter_masks::kLinks);
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [mask](const FilterEntry &entry) { return (entry.mask & mask) != 0; });
    const FilterEntry entry = found == entries_.end() ? FilterEntry{} : *found;
    const bool onlyFrom = entry.mask & filter_masks::kOnlyFrom;
    const bool none = onlyFrom && entry.expression == QStringLiteral("not *");
    (none ? noneMode_ : onlyFrom ? onlyFromMode_ : patternMode_)->setChecked(true);
    onlyFrom_->setEditText(onlyFrom && !none ? entry.expression : QString());
    patterns_->setPlainText(onlyFrom ? QString() : entry.expression);
    size_->setText(onlyFrom ? QString() : sizeText(entry));
    followMode();
}

void FilterEditor::followMode() {
    onlyFrom_->setEnabled(onlyFromMode_->isChecked());
    patterns_->setEnabled(patternMode_->isChecked());
    size_->setEnabled(patternMode_->isChecked());
    if (onlyFrom_->isEnabled() && onlyFrom_->currentText().isEmpty() && onlyFrom_->count() > 0)
        onlyFrom_->setEditText(onlyFrom_->itemText(0));
}

bool FilterEditor::storeEntry() {
    const uint32_t mask = categoryMask();
    const QString expression = patterns_->toPlainText().trimmed();
    if (patternMode_->isChecked() && !expression.isEmpty() && !validFilterExpression(this, expression)) return false;
    std::optional<FilterEntry> entry;
    if (noneMode_->isChecked()) {
        entry = FilterEntry{mask | filter_masks::kOnlyFrom, 0, 0, QStringLiteral("not *")};
    } else if (onlyFromMode_->isChecked()) {
        if (!onlyFrom_->currentText().isEmpty())
            entry = FilterEntry{mask | filter_masks::kOnlyFrom, 0, 0, onlyFrom_->currentText()};
    } else if (!expression.isEmpty() || !size_->text().trimmed().isEmpty()) {
        entry = FilterEntry{mask, 0, 0, expression};
        readSize(size_->text(), *entry);
    }
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [mask](const FilterEntry &old) { return (old.mask & mask) != 0; });
    if (found != entries_.end() && entry)
        *found = *entry;
    else if (found != entries_.end())
        entries_.erase(found);
    else if (entry)
        entries_.push_back(*entry);
    return true;
}

std::optional<QByteArray> FilterEditor::filter() {
    if (!storeEntry()) return std::nullopt;
    return composeFilter(entries_);
}
