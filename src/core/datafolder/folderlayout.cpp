#include "datafolder/folderlayout.h"

#include "attendance/daytable.h"
#include "common/counts.h"
#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace folder {

QStringList dayTables()
{
    QStringList names;
    for (int slot = 1; slot <= ChildCount; ++slot)
        names << dayTable(slot);
    return names;
}

QStringList databases() { return dayTables() << slipArchive; }

QStringList layOut(const QString &programFolder, const QString &firstRates)
{
    const QDir dir(programFolder);
    auto fail = [](const QString &path) { throw RuntimeError(rtl::cannotCreateFile(QDir::toNativeSeparators(path))); };
    if (!QDir().mkpath(dir.path()))
        fail(dir.path());

    QStringList created;
    for (const QString &table : dayTables()) {
        const QString path = dir.filePath(table);
        if (DayTable::createEmpty(path))
            created << path;
    }
    const QString pics = dir.filePath(pictures);
    if (!QFileInfo(pics).isDir()) {
        if (!dir.mkdir(pictures))
            fail(pics);
        created << pics;
    }
    // The rates file last: a missing original must not keep the tables and
    // the picture folder from being laid out.
    const QString rates = dir.filePath(ratesFile);
    if (!QFileInfo::exists(rates)) {
        if (!QFileInfo(firstRates).isFile())
            throw RuntimeError(rtl::cannotOpenFile(QDir::toNativeSeparators(firstRates)));
        // Copied under a temporary name and renamed once whole, so that an
        // interrupted first start never leaves a short rates file behind.
        const QString partial = rates + QStringLiteral(".part");
        QFile::remove(partial);
        if (!QFile::copy(firstRates, partial) || !QFile::rename(partial, rates)) {
            QFile::remove(partial);
            fail(rates);
        }
        // A copy keeps the original's permissions; the installed read-only
        // original must still give the user a rates file they may edit.
        QFile::setPermissions(rates, QFile::permissions(rates) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
        created << rates;
    }
    return created;
}

} // namespace folder
