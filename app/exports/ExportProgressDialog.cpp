#include "ExportProgressDialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "KestProject.h"
#include "views/ProgressTexts.h"

ExportProgressDialog::ExportProgressDialog(KestProject &project, const QString &caption, QWidget *parent)
    : QDialog(parent),
      name_(new QLabel(this)),
      state_(new QLabel(this)),
      bar_(new QProgressBar(this)),
      file_(new QLabel(this)),
      elapsed_(new QLabel(elapsedText(0), this)),
      remaining_(new QLabel(elapsedText(0), this)),
      totalLabel_(new QLabel(QStringLiteral("Total"), this)),
      total_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    created_.start();
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    for (QLabel *label : {name_, state_, file_}) label->setTextFormat(Qt::PlainText);
    name_->setObjectName(QStringLiteral("name"));
    state_->setObjectName(QStringLiteral("state"));
    file_->setObjectName(QStringLiteral("file"));
    bar_->setTextVisible(false);
    total_->setTextVisible(false);
    auto *times = new QFormLayout;
    times->addRow(QStringLiteral("Time Elapsed:"), elapsed_);
    times->addRow(QStringLiteral("Time Remaining:"), remaining_);
    auto *layout = new QVBoxLayout(this);
    for (QWidget *line : std::initializer_list<QWidget *>{name_, state_, bar_, file_}) layout->addWidget(line);
    layout->addLayout(times);
    layout->addWidget(totalLabel_);
    layout->addWidget(total_);
    layout->addWidget(cancel_, 0, Qt::AlignRight);
    totalLabel_->hide();
    total_->hide();
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        cancel_->setEnabled(false);
    });
    connect(&project, &KestProject::exportProgress, this, &ExportProgressDialog::showProgress);
    resize(420, sizeHint().height());
}

void ExportProgressDialog::setName(const QString &name) {
    name_->setText(name.size() > 40 ? name.left(40) + QStringLiteral("...") : name);
}

void ExportProgressDialog::showTotal(int count) {
    totalLabel_->show();
    total_->show();
    total_->setRange(0, count);
    cancel_->setVisible(count > 1);
}

void ExportProgressDialog::setTotalPosition(int done) { total_->setValue(done); }

void ExportProgressDialog::run(const std::function<void()> &work) {
    show();
    QApplication::processEvents();
    running_ = true;
    work();
    running_ = false;
    hide();
}

void ExportProgressDialog::showProgress(const EngExportProgressRecord &progress) {
    if (progress.phase == ENG_EXPORT_STARTED || progress.phase == ENG_EXPORT_COLLECTING)
        state_->setText(QStringLiteral("Preparing"));
    else if (progress.phase == ENG_EXPORT_WRITING)
        state_->setText(QStringLiteral("Exporting"));
    else
        return;
    files_ = progress.total;
    bar_->setRange(0, std::max(progress.total, 0));
    bar_->setValue(std::clamp(progress.current, 0, std::max(progress.total, 0)));
    file_->setText(QStringLiteral("File %1 of %2").arg(progress.current).arg(progress.total));
    const qint64 seconds = created_.elapsed() / 1000;
    elapsed_->setText(elapsedText(seconds));
    const qint64 left = progress.current > 0 ? (progress.total - progress.current) * seconds / progress.current : 0;
    remaining_->setText(elapsedText(std::max<qint64>(left, 0)));
    // The dialog is modal: only its own Cancel reaches the program meanwhile.
    QApplication::processEvents();
}

void ExportProgressDialog::reject() {
    if (!running_) QDialog::reject();
}
