#pragma once

#include <QGroupBox>

class QDateTimeEdit;

// A range of dates and times in the search dialog: a group whose check box
// says whether the range counts, with "From :" and "To :" fields. Dates are
// the engine's (days since 30 December 1899); 0 is none.
class DateRangeBox : public QGroupBox {
    Q_OBJECT

public:
    DateRangeBox(const QString &title, QWidget *parent);

    // Shows the range; a range without both ends shows yesterday to today at
    // this time of day, unchecked.
    void setRange(double from, double to);
    // The range shown while checked; both 0 when unchecked.
    std::pair<double, double> range() const;

    QDateTimeEdit *from() const { return from_; }
    QDateTimeEdit *to() const { return to_; }

private:
    QDateTimeEdit *from_;
    QDateTimeEdit *to_;
};
