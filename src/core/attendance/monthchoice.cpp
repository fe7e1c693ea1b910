#include "monthchoice.h"

#include "attendance/dayrecord.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "common/numbers.h"

namespace review {

namespace {
// The text converted with the short date form, as the runtime's StrToDate does.
QDate dateFromShortText(const QString &text)
{
    const QDate d = QDate::fromString(text, shortDateFormat());
    if (!d.isValid())
        throw RuntimeError(rtl::notADate(text));
    return d;
}
} // namespace

QString lastDayText(int month, int year)
{
    if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return leap ? QStringLiteral("29") : QStringLiteral("28");
    }
    // Up to July the odd months have 31 days, from August on the even ones.
    const bool longMonth = month <= 7 ? month % 2 == 1 : month % 2 == 0;
    return longMonth ? QStringLiteral("31") : QStringLiteral("30");
}

MonthChoice monthOf(const QString &shortDateText)
{
    const QString mm = shortDateText.mid(3, 2);
    const QString yyyy = shortDateText.mid(6, 4);
    const int month = parseInt(mm);
    MonthChoice m;
    m.key = monthKey(shortDateText);
    m.first = dateFromShortText(QStringLiteral("01/") + mm + '/' + yyyy);
    const QString lastDay = lastDayText(month, parseInt(yyyy));
    m.last = dateFromShortText(lastDay + '/' + mm + '/' + yyyy);
    return m;
}

QString monthFilter(const QString &key) { return QStringLiteral("Moan ='") + key + '\''; }

QList<int> gridFields()
{
    QList<int> fields;
    for (int f = day::Date; f < day::FieldCount; ++f)
        if (f != day::Moan)
            fields << f;
    return fields;
}

} // namespace review
