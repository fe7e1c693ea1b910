#include "environment.h"

#include "common/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>

// Where the installed files lie, relative to the installed executable's
// folder; the install rules give it.
#ifndef BERLIVO_INSTALLED_FILES
#define BERLIVO_INSTALLED_FILES "../share/berlivo-paye"
#endif

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

namespace {
QString withSlash(const QString &folder)
{
    const QString f = QDir::cleanPath(QDir(folder).absolutePath());
    return f.endsWith('/') ? f : f + '/';
}

// The installed package's shared folder beside `executableFolder`, or "".
QString installedShare(const QString &executableFolder)
{
    const QString share = withSlash(executableFolder + QStringLiteral("/" BERLIVO_INSTALLED_FILES));
    return QFileInfo(share + folder::ratesFile).isFile() ? share : QString();
}

QString executableFolder() { return withSlash(QCoreApplication::applicationDirPath()); }
} // namespace

QString chooseProgramFolder(const QString &executableFolder, const QString &perUserFolder)
{
    const QFileInfo exe(executableFolder);
    const bool writable = exe.isDir() && exe.isWritable() && (exe.permissions() & QFileDevice::WriteOwner);
    // An installed executable shares its folder (/usr/bin) with every other
    // program, even when root may write there.
    if (writable && installedShare(executableFolder).isEmpty())
        return withSlash(executableFolder);
    return withSlash(perUserFolder);
}

QString installedFilesFolder(const QString &executableFolder)
{
    const QString share = installedShare(executableFolder);
    return share.isEmpty() ? withSlash(executableFolder) : share;
}

QString installedFilesFolder() { return installedFilesFolder(executableFolder()); }

namespace {
QString perUserFolder() { return withSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)); }
} // namespace

QString programFolder()
{
    if (!folderOverride().isEmpty())
        return withSlash(folderOverride());
    // Chosen once: the folder cannot change while the program runs.
    static const QString chosen = chooseProgramFolder(executableFolder(), perUserFolder());
    return chosen;
}

bool programFolderIsPerUser() { return folderOverride().isEmpty() && programFolder() == perUserFolder(); }

QString helpFolder(const QString &programFolder, const QString &executableFolder)
{
    const QString own = withSlash(programFolder) + folder::help + '/';
    const QString share = installedShare(executableFolder);
    return share.isEmpty() || QFileInfo(own).isDir() ? own : share + folder::help + '/';
}

QString helpFolder() { return helpFolder(programFolder(), executableFolder()); }

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

QString hoursMinutesFormat() { return QStringLiteral("HH:mm"); }
QString shortDateFormat() { return QStringLiteral("dd/MM/yyyy"); }

QString shortDate(const QDate &date) { return date.toString(shortDateFormat()); }

QString clockFormat() { return QStringLiteral("HH:mm:ss"); }

QString isoDateFormat() { return QStringLiteral("yyyy-MM-dd"); }
