#pragma once
// The month key MMYY under which the days are stored and the slips filed:
// "0302" is March 2002. The key keeps two digits of the year; the century is
// always 20.

#include <QString>
#include <optional>

class MonthKey {
public:
    // The key a text holds: exactly four digits, the month 01 to 12. Any
    // other text (the hours window shows "moan" before a validation) is none.
    static std::optional<MonthKey> fromText(const QString &text);
    // The key of a month (1 to 12) of a year; only the year's last two digits are kept.
    static MonthKey of(int month, int year);

    int month() const { return m_month; }
    int year() const { return 2000 + m_yy; }
    // "0302"
    QString text() const;
    // "Mars 2002", August spelt "Août".
    QString title() const;

    friend bool operator==(const MonthKey &, const MonthKey &) = default;

private:
    MonthKey(int month, int yy) : m_month(month), m_yy(yy) {}
    int m_month;
    int m_yy;
};

// The month key of a date written DD/MM/YYYY, taken at the date's fixed
// places whatever they hold: 05/01/2007 gives 0107.
QString monthKey(const QString &date);

// The month part of a key's text as written ("03" of "0302"), and its year
// as a slip shows it: "20" and the key's last two characters.
QString keyMonthText(const QString &key);
QString keyYearText(const QString &key);

// The name of a month number, "" outside 1 to 12.
QString monthName(int month);
// The slips' own name of a month: the eighth is spelt "Aôut" there.
QString slipMonthName(int month);
