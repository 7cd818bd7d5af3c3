#include "SearchDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "DateRangeBox.h"
#include "KestProject.h"
#include "SizeRangeText.h"
#include "dialogs/QueryValidation.h"

namespace {

// Whether wildcards are added to the address; the choice lasts for the program's run.
bool addWildcards = true;

const QString kUnlimited = QStringLiteral("Unlimited");
const QString kSomeResults = QStringLiteral("1000");

QLineEdit *namedField(const QString &name, QWidget *parent) {
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

// A title query of "*" or nothing asks for no title.
bool titleGiven(const QString &title) { return !title.isEmpty() && title != QStringLiteral("*"); }

}  // namespace

std::optional<SearchCriteria> SearchDialog::ask(QWidget *parent, KestProject &project, const SearchCriteria &start) {
    SearchDialog dialog(project, start, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.criteria();
}

SearchDialog::SearchDialog(KestProject &project, const SearchCriteria &start, QWidget *parent)
    : QDialog(parent),
      project_(project),
      criteria_(start),
      pages_(new QTabWidget(this)),
      general_(new QWidget(this)),
      advanced_(new QWidget(this)),
      address_(namedField(QStringLiteral("address"), this)),
      body_(namedField(QStringLiteral("bodyText"), this)),
      title_(namedField(QStringLiteral("title"), this)),
      type_(new QComboBox(this)),
      queued_(new QCheckBox(QStringLiteral("Queued"), this)),
      success_(new QCheckBox(QStringLiteral("Success"), this)),
      error_(new QCheckBox(QStringLiteral("Error"), this)),
      wildcards_(new QCheckBox(QStringLiteral("Add wildcards automatically"), this)),
      size_(namedField(QStringLiteral("size"), this)),
      limitResults_(new QCheckBox(QStringLiteral("Max Results"), this)),
      maxResults_(namedField(QStringLiteral("maxResults"), this)),
      downloaded_(new DateRangeBox(QStringLiteral("          File Download Date  "), this)),
      modified_(new DateRangeBox(QStringLiteral("          File Modification Date  "), this)) {
    setWindowTitle(QStringLiteral("Search in Retrieved Files"));
    type_->setObjectName(QStringLiteral("fileType"));
    // In the order of the resource types: "OTHER" is 5, "TEXT" 6.
    type_->addItems({QStringLiteral("ALL"), QStringLiteral("HTML"), QStringLiteral("GIF"), QStringLiteral("JPEG"),
                     QStringLiteral("BMP"), QStringLiteral("OTHER"), QStringLiteral("TEXT")});
    downloaded_->setObjectName(QStringLiteral("downloadDate"));
    modified_->setObjectName(QStringLiteral("modificationDate"));
    pages_->addTab(generalPage(), QStringLiteral("General"));
    pages_->addTab(advancedPage(), QStringLiteral("Advanced Search"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    search_ = buttons->button(QDialogButtonBox::Ok);
    search_->setText(QStringLiteral("Search"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SearchDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);

    connect(&project_, &KestProject::afterOpen, this, &SearchDialog::followProject);
    connect(&project_, &KestProject::afterClose, this, &SearchDialog::followProject);
    followProject();
    showCriteria(start);
}

QWidget *SearchDialog::generalPage() {
    auto *files = new QGroupBox(QStringLiteral("Search for files "), general_);
    auto *fields = new QVBoxLayout(files);
    fields->addWidget(new QLabel(QStringLiteral("URL or mask:"), files));
    fields->addWidget(address_);
    fields->addWidget(
        new QLabel(QStringLiteral("Containing text (you may join keywords with boolean operators):"), files));
    fields->addWidget(body_);
    fields->addWidget(new QLabel(QStringLiteral("Title or mask:"), files));
    fields->addWidget(title_);
    fields->addWidget(new QLabel(QStringLiteral("FileType:"), files));
    fields->addWidget(type_);

    auto *state = new QGroupBox(QStringLiteral("State"), general_);
    auto *states = new QHBoxLayout(state);
    for (QCheckBox *box : {queued_, success_, error_}) states->addWidget(box);

    auto *layout = new QVBoxLayout(general_);
    layout->addWidget(files);
    layout->addWidget(state);
    layout->addWidget(wildcards_);
    layout->addStretch();
    return general_;
}

QWidget *SearchDialog::advancedPage() {
    auto *sizes = new QHBoxLayout;
    sizes->addWidget(new QLabel(QStringLiteral("Max Size or Min Size - Max Size :"), advanced_));
    sizes->addWidget(size_);
    auto *results = new QHBoxLayout;
    results->addWidget(limitResults_);
    results->addWidget(maxResults_);
    maxResults_->setValidator(new QIntValidator(1, SearchCriteria::kNoMaximumSize, maxResults_));
    connect(limitResults_, &QCheckBox::toggled, this, [this](bool limited) {
        maxResults_->setEnabled(limited);
        maxResults_->setText(limited ? kSomeResults : kUnlimited);
    });

    auto *layout = new QVBoxLayout(advanced_);
    layout->addLayout(sizes);
    layout->addLayout(results);
    layout->addWidget(downloaded_);
    layout->addWidget(modified_);
    layout->addStretch();
    return advanced_;
}

void SearchDialog::showCriteria(const SearchCriteria &criteria) {
    address_->setText(criteria.addressPattern);
    body_->setText(criteria.bodyText);
    title_->setText(criteria.titlePattern);
    type_->setCurrentIndex(criteria.type >= 0 && criteria.type < type_->count() ? criteria.type : 0);
    queued_->setChecked(criteria.states & SearchCriteria::Queued);
    success_->setChecked(criteria.states & SearchCriteria::WithoutErrors);
    error_->setChecked(criteria.states & SearchCriteria::WithErrors);
    wildcards_->setChecked(addWildcards);
    size_->setText(sizeRangeText({criteria.minSize, criteria.maxSize}));
    const bool limited = criteria.maxResults > 0;
    limitResults_->setChecked(limited);
    maxResults_->setEnabled(limited);
    maxResults_->setText(limited ? QString::number(criteria.maxResults) : kUnlimited);
    downloaded_->setRange(criteria.doneFrom, criteria.doneTo);
    modified_->setRange(criteria.modifiedFrom, criteria.modifiedTo);
}

void SearchDialog::followProject() { search_->setEnabled(project_.active()); }

void SearchDialog::accept() {
    const std::optional<SearchCriteria> criteria = fields();
    if (!criteria) return;
    criteria_ = *criteria;
    addWildcards = wildcards_->isChecked();
    QDialog::accept();
}

std::optional<SearchCriteria> SearchDialog::fields() {
    SearchCriteria criteria;
    const std::optional<SizeRange> sizes = readSizeRange(size_->text());
    if (!sizes) {
        failOn(advanced_, size_, QStringLiteral("The size range is not valid."));
        return std::nullopt;
    }
    criteria.minSize = sizes->min;
    criteria.maxSize = sizes->max;
    if (limitResults_->isChecked()) {
        bool number = false;
        criteria.maxResults = maxResults_->text().toInt(&number);
        if (!number || criteria.maxResults < 1) {
            failOn(advanced_, maxResults_, QStringLiteral("The maximum number of results is not valid."));
            return std::nullopt;
        }
    }
    criteria.bodyText = body_->text().trimmed();
    if (!criteria.bodyText.isEmpty() && !validSearchQuery(this, criteria.bodyText)) {
        failOn(general_, body_, {});
        return std::nullopt;
    }
    criteria.titlePattern = title_->text().trimmed();
    if (titleGiven(criteria.titlePattern) && !validSearchQuery(this, criteria.titlePattern)) {
        failOn(general_, title_, {});
        return std::nullopt;
    }
    criteria.addressPattern = address_->text().trimmed();
    if (wildcards_->isChecked()) criteria.addressPattern = withWildcards(criteria.addressPattern);
    criteria.type = type_->currentIndex();
    criteria.states = static_cast<int16_t>((queued_->isChecked() ? SearchCriteria::Queued : 0) |
                                           (error_->isChecked() ? SearchCriteria::WithErrors : 0) |
                                           (success_->isChecked() ? SearchCriteria::WithoutErrors : 0));
    std::tie(criteria.doneFrom, criteria.doneTo) = downloaded_->range();
    std::tie(criteria.modifiedFrom, criteria.modifiedTo) = modified_->range();
    return criteria;
}

void SearchDialog::failOn(QWidget *page, QWidget *field, const QString &message) {
    if (!message.isEmpty()) QMessageBox::critical(this, QStringLiteral("Sitelark"), message);
    pages_->setCurrentWidget(page);
    field->setFocus();
}
