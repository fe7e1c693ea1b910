#include "common/monthkey.h"

#include <algorithm>

namespace {
const QString monthNames[12] = {
    QStringLiteral("Janvier"),   QStringLiteral("Février"), QStringLiteral("Mars"),     QStringLiteral("Avril"),
    QStringLiteral("Mai"),       QStringLiteral("Juin"),    QStringLiteral("Juillet"),  QStringLiteral("Août"),
    QStringLiteral("Septembre"), QStringLiteral("Octobre"), QStringLiteral("Novembre"), QStringLiteral("Décembre"),
};

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
} // namespace

std::optional<MonthKey> MonthKey::fromText(const QString &text)
{
    if (text.size() != 4 || !std::all_of(text.begin(), text.end(), isDigit))
        return std::nullopt;
    const int month = keyMonthText(text).toInt();
    if (month < 1 || month > 12)
        return std::nullopt;
    return MonthKey(month, text.mid(2, 2).toInt());
}

MonthKey MonthKey::of(int month, int year) { return MonthKey(month, year % 100); }

QString MonthKey::text() const
{
    return QStringLiteral("%1%2").arg(m_month, 2, 10, QLatin1Char('0')).arg(m_yy, 2, 10, QLatin1Char('0'));
}

QString MonthKey::title() const { return monthName(m_month) + QLatin1Char(' ') + QString::number(year()); }

QString monthKey(const QString &date) { return date.mid(3, 2) + date.mid(8, 2); }

QString keyMonthText(const QString &key) { return key.left(2); }

QString keyYearText(const QString &key) { return QStringLiteral("20") + key.mid(2, 2); }

QString monthName(int month) { return month >= 1 && month <= 12 ? monthNames[month - 1] : QString(); }

QString slipMonthName(int month) { return month == 8 ? QStringLiteral("Aôut") : monthName(month); }
