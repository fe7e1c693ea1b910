#include "environment.h"

#include <QCoreApplication>
#include <QDir>
#include <cmath>

namespace {
QString &folderOverride()
{
    static QString f;
    return f;
}
QDateTime &fixedNow()
{
    static QDateTime t;
    return t;
}
const QDate epoch(1899, 12, 30);
constexpr double msPerDay = 86400000.0;
} // namespace

QString programFolder()
{
    QString f = folderOverride().isEmpty() ? QCoreApplication::applicationDirPath() : folderOverride();
    f = QDir::cleanPath(QDir(f).absolutePath());
    return f.endsWith('/') ? f : f + '/';
}

void setProgramFolder(const QString &folder) { folderOverride() = folder; }

QDateTime now() { return fixedNow().isValid() ? fixedNow() : QDateTime::currentDateTime(); }
void setNowForTests(const QDateTime &fixed) { fixedNow() = fixed; }

double toDateNumber(const QDateTime &dt)
{
    const double days = double(epoch.daysTo(dt.date()));
    const double frac = dt.time().msecsSinceStartOfDay() / msPerDay;
    // Before the epoch the fraction still counts forward from midnight, so
    // the number's magnitude grows by it (-1.25 is 29 December 1899, 06:00).
    return days >= 0 ? days + frac : days - frac;
}

QDateTime fromDateNumber(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        days = 0;
    const double whole = std::trunc(days);
    const double frac = std::fabs(days - whole);
    qint64 ms = qint64(std::llround(frac * msPerDay));
    qint64 d = qint64(whole);
    if (ms >= qint64(msPerDay)) { // a fraction that rounds up to the next midnight
        ms = 0;
        d += days >= 0 ? 1 : -1;
    }
    return QDateTime(epoch.addDays(d), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QString shortDate(const QDate &date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }
