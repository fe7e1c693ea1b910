#include "legal/publicholidays.h"

#include <algorithm>

namespace legal {

namespace {
// A holiday falls either on a fixed day of the year or a number of days
// after Easter Sunday (`month` 0).
struct Rule {
    int month;
    int day; // of the month, or days from Easter Sunday
    bool alsaceMoselleOnly;
    const char *name;
};

// Every public holiday, in one place.
constexpr Rule rules[] = {
    {1, 1, false, "Jour de l'an"},
    {0, -2, true, "Vendredi saint"},
    {0, 1, false, "Lundi de Pâques"},
    {5, 1, false, "Fête du Travail"},
    {5, 8, false, "Victoire 1945"},
    {0, 39, false, "Ascension"},
    {0, 50, false, "Lundi de Pentecôte"},
    {7, 14, false, "Fête nationale"},
    {8, 15, false, "Assomption"},
    {11, 1, false, "Toussaint"},
    {11, 11, false, "Armistice 1918"},
    {12, 25, false, "Noël"},
    {12, 26, true, "Saint-Étienne"},
};
} // namespace

QDate easterSunday(int year)
{
    if (year < 1583)
        return {};
    // The anonymous Gregorian computus (Meeus/Jones/Butcher): the golden
    // number, the century's corrections of the lunar and solar cycles, the
    // epact, then the Sunday after the paschal full moon.
    const int a = year % 19;
    const int b = year / 100, c = year % 100;
    const int d = b / 4, e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return {year, month, day};
}

QList<PublicHoliday> publicHolidays(int year, bool alsaceMoselle)
{
    QList<PublicHoliday> out;
    const QDate easter = easterSunday(year);
    if (!easter.isValid())
        return out;
    for (const Rule &r : rules) {
        if (r.alsaceMoselleOnly && !alsaceMoselle)
            continue;
        const QDate d = r.month == 0 ? easter.addDays(r.day) : QDate(year, r.month, r.day);
        out << PublicHoliday{d, QString::fromUtf8(r.name)};
    }
    std::sort(out.begin(), out.end(), [](const PublicHoliday &x, const PublicHoliday &y) { return x.date < y.date; });
    return out;
}

QList<PublicHoliday> publicHolidays(QDate from, QDate to, bool alsaceMoselle)
{
    QList<PublicHoliday> out;
    if (!from.isValid() || !to.isValid())
        return out;
    for (int year = from.year(); year <= to.year(); ++year)
        for (const PublicHoliday &h : publicHolidays(year, alsaceMoselle))
            if (h.date >= from && h.date <= to)
                out << h;
    return out;
}

} // namespace legal
