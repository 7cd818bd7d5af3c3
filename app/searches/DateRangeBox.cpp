#include "DateRangeBox.h"

#include <QDateTimeEdit>
#include <QFormLayout>

#include "base/DateTime.h"
#include "views/TaskRow.h"

namespace {

double engineDays(const QDateTime &time) {
    const QDate day = time.date();
    const QTime clock = time.time();
    return eng::dateOf(day.year(), day.month(), day.day(), clock.hour(), clock.minute(), clock.second()).value_or(0);
}

QDateTimeEdit *dateField(QWidget *parent) {
    auto *field = new QDateTimeEdit(parent);
    field->setCalendarPopup(true);
    field->setDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm:ss"));
    return field;
}

}  // namespace

DateRangeBox::DateRangeBox(const QString &title, QWidget *parent)
    : QGroupBox(title, parent), from_(dateField(this)), to_(dateField(this)) {
    setCheckable(true);
    auto *layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("From :"), from_);
    layout->addRow(QStringLiteral("To :"), to_);
}

void DateRangeBox::setRange(double from, double to) {
    const bool set = from != 0 || to != 0;
    const QDateTime now = QDateTime::currentDateTime();
    from_->setDateTime(set ? engineDate(from) : now.addDays(-1));
    to_->setDateTime(set ? engineDate(to) : now);
    setChecked(set);
}

std::pair<double, double> DateRangeBox::range() const {
    if (!isChecked()) return {0, 0};
    return {engineDays(from_->dateTime()), engineDays(to_->dateTime())};
}
