#pragma once
// The French public holidays of a year (jours fériés, Code du travail
// L3133-1): eleven national days, and in Alsace-Moselle (Bas-Rhin, Haut-Rhin,
// Moselle) two more by their local law. Four of them follow Easter Sunday,
// the rest fall on fixed days. Which days are holidays is the table in
// publicholidays.cpp; the code only works out the dates.

#include <QDate>
#include <QList>
#include <QString>

namespace legal {

struct PublicHoliday {
    QDate date;
    QString name; // as a French calendar names it: "Lundi de Pâques"
    friend bool operator==(const PublicHoliday &, const PublicHoliday &) = default;
};

// Easter Sunday of a Gregorian year (1583 on); a null date before.
QDate easterSunday(int year);

// The year's holidays in date order; with `alsaceMoselle`, Good Friday and
// 26 December too.
QList<PublicHoliday> publicHolidays(int year, bool alsaceMoselle);

// Those falling between `from` and `to`, both included, in date order.
QList<PublicHoliday> publicHolidays(QDate from, QDate to, bool alsaceMoselle);

} // namespace legal
