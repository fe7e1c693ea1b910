#include "duration.h"

#include "common/environment.h"
#include "common/numbers.h"

#include <cmath>

namespace {
constexpr double msPerDay = 86400000.0;

double dayFraction(QTime t) { return t.msecsSinceStartOfDay() / msPerDay; }
} // namespace

QString dayDuration(QTime h1, QTime h2, QTime h3, QTime h4)
{
    // Fractions of a day, as the pickers' date-time numbers hold the times.
    const double d = (dayFraction(h2) - dayFraction(h1)) + (dayFraction(h4) - dayFraction(h3));
    const qint64 ms = std::llround(std::fabs(d) * msPerDay) % qint64(msPerDay);
    return QTime::fromMSecsSinceStartOfDay(int(ms)).toString(clockFormat());
}

double durationHours(const QString &duration)
{
    const int hours = parseInt(duration.mid(0, 2));
    const int minutes = parseInt(duration.mid(3, 2));
    return hours + minutes / 60.0;
}

double durationHoursExtended(const QString &duration)
{
    const qint32 hours = parseInt(duration.mid(0, 2));
    const qint32 minutes = parseInt(duration.mid(3, 2));
    return double(hours + minutes / 60.0L);
}

QString cutTwoDecimals(double value)
{
    QString text = formatGeneral(value, 15);
    const qsizetype point = text.indexOf(decimalSeparator());
    if (point >= 0)
        text.truncate(point + 3);
    return text;
}
