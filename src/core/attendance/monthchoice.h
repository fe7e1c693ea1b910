#pragma once
// The month the review window shows: chosen by any date of it in a calendar,
// it gives the month key that selects the records, the first and last dates
// shown beside "du" and "au", and the table filter on that key.

#include <QDate>
#include <QList>
#include <QString>

namespace review {

struct MonthChoice {
    QString key; // MMYY, as the records carry it in `Moan`
    QDate first;
    QDate last;
};

// The month of a date written in the short date form DD/MM/YYYY. The parts
// are taken at fixed character positions (month 4-5, year 7-10), so a text
// in another form gives a wrong month or fails with the runtime's integer or
// date conversion error ("'%s' n'est pas une date correcte").
MonthChoice monthOf(const QString &shortDateText);

// The last day of a month as text ("28" to "31"); a year divisible by 4 and
// not by 100, or by 400, gives February its 29th.
QString lastDayText(int month, int year);

// The filter expression that keeps the records of one month: Moan ='0302'.
QString monthFilter(const QString &key);

// The table fields the review grid shows, in order: every field but `Moan`.
QList<int> gridFields();

} // namespace review
