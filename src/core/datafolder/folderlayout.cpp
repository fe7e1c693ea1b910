#include "datafolder/folderlayout.h"

#include "archive/sliparchive.h"
#include "attendance/daytable.h"
#include "contract/contractstore.h"
#include "common/counts.h"
#include "common/errors.h"
#include "legal/contributions.h"
#include "legal/legaltable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace folder {

QStringList dayTables()
{
    QStringList names;
    for (int slot = 1; slot <= ChildCount; ++slot)
        names << dayTable(slot);
    return names;
}

const QList<Database> &databaseFiles()
{
    static const QList<Database> list = [] {
        QList<Database> l;
        for (const QString &table : dayTables())
            l.append({table, &DayTable::schema, true});
        l.append({slipArchive, &SlipArchive::schema, false, &SlipArchive::upgrade});
        l.append({contracts, &contract::schema, false, &contract::upgrade, &contract::schemaOf});
        return l;
    }();
    return list;
}

QStringList settingsFiles() { return {ratesFile, paramFile, familyFile}; }

QStringList databases()
{
    QStringList names;
    for (const Database &d : databaseFiles())
        names << d.name;
    return names;
}

QFileDevice::Permissions underUmask(QFileDevice::Permissions wanted)
{
    // The umask can only be read by setting it: put straight back.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QFileDevice::Permissions p = wanted;
    const auto drop = [&](mode_t bit, QFileDevice::Permissions qt) {
        if (mask & bit)
            p &= ~qt;
    };
    drop(S_IRGRP, QFileDevice::ReadGroup);
    drop(S_IWGRP, QFileDevice::WriteGroup);
    drop(S_IXGRP, QFileDevice::ExeGroup);
    drop(S_IROTH, QFileDevice::ReadOther);
    drop(S_IWOTH, QFileDevice::WriteOther);
    drop(S_IXOTH, QFileDevice::ExeOther);
    return p;
}

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
    // The dated tables shipped beside the first rates file: a newer edition
    // replaces one nobody edited.
    const std::pair<QString, QByteArray> datedTables[] = {{legalTable, legal::legalValuesMagic},
                                                          {contributionTable, legal::contributionsMagic}};
    for (const auto &[name, magic] : datedTables) {
        const QString shippedPath = QFileInfo(firstRates).dir().filePath(name);
        if (!QFileInfo(shippedPath).isFile())
            continue;
        const QString path = dir.filePath(name);
        QFile shipped(shippedPath), present(path);
        const QByteArray shippedBytes = shipped.open(QIODevice::ReadOnly) ? shipped.readAll() : QByteArray();
        const QByteArray presentBytes = present.open(QIODevice::ReadOnly) ? present.readAll() : QByteArray();
        present.close();
        if (!shippedBytes.isEmpty() &&
            (!QFileInfo::exists(path) || legal::shippedReplaces(presentBytes, shippedBytes, magic))) {
            // Replaced only once the new text is whole.
            QSaveFile out(path);
            if (!out.open(QIODevice::WriteOnly) || out.write(shippedBytes) != shippedBytes.size() || !out.commit())
                fail(path);
            created << path;
        }
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
        // Under the umask as any new file: the private data folder keeps
        // its rates to its owner, though the original is readable by all.
        QFile::setPermissions(rates,
                              underUmask(QFile::permissions(rates) | QFileDevice::WriteOwner | QFileDevice::ReadOwner |
                                         QFileDevice::WriteUser | QFileDevice::ReadUser));
        created << rates;
    }
    return created;
}

} // namespace folder
