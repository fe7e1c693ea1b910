#include "datafolder/startup.h"

#include "archive/slipsave.h"
#include "common/errors.h"
#include "common/journal.h"
#include "datafolder/backup.h"
#include "datafolder/folderlayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace startup {

QString lockFileName() { return QStringLiteral(".berlivo.lock"); }

FolderLock::FolderLock(const QString &programFolder) : m_lock(QDir(programFolder).filePath(lockFileName()))
{
    // Held for the whole run, which may last days: only a lock whose
    // program is gone is stale, never one merely old.
    m_lock.setStaleLockTime(0);
}

FolderLock::State FolderLock::take()
{
    if (m_lock.tryLock(0))
        return State::Taken;
    // tryLock() takes over the lock of a program that is not running any
    // more; a lock still there is held by a running one.
    return m_lock.error() == QLockFile::LockFailedError ? State::HeldByAnother : State::Failed;
}

bool makePrivate(const QString &programFolder)
{
    ::umask(S_IRWXG | S_IRWXO);
    if (!QDir().mkpath(programFolder))
        return false;
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                           QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    const QFileDevice::Permissions now = QFile::permissions(programFolder);
    return (now & ~owner) == 0 || QFile::setPermissions(programFolder, now & owner);
}

namespace {
// Files written whole but never put in place, and unpacked backups no
// journal speaks of: a program stopped before its change was decided.
// Returns what the user is told of them.
QStringList removeLeftovers(const QString &programFolder)
{
    QStringList said;
    const QDir dir(programFolder);
    const QStringList unpacked =
        dir.entryList({backup::stagingPrefix + '*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : unpacked)
        QDir(dir.filePath(name)).removeRecursively();
    if (!unpacked.isEmpty()) {
        // The dated folder such a restore made and left empty.
        for (const QString &name : dir.entryList({backup::keptPrefix + '*'}, QDir::Dirs | QDir::NoDotAndDotDot))
            dir.rmdir(name);
        said << texts::restoreNotBegun();
    }
    const QStringList staged{'*' + journal::stagedSuffix()};
    for (const QString &name : dir.entryList(staged, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
    // A slip's picture or PDF written but never put in place.
    const QDir pictures(dir.filePath(folder::pictures));
    const QStringList slips = pictures.entryList(staged, QDir::Files | QDir::Hidden);
    for (const QString &name : slips)
        QFile::remove(pictures.filePath(name));
    if (!slips.isEmpty())
        said << texts::slipSaveNotBegun();
    return said;
}
} // namespace

Report prepare(const QString &programFolder, const QString &firstRates)
{
    Report report;
    try {
        if (const std::optional<journal::Entry> entry = journal::read(programFolder)) {
            if (entry->kind == backup::journalKind)
                report.messages << backup::settleInterrupted(programFolder, *entry);
            else if (entry->kind == slipSaveJournalKind)
                report.messages << settleInterruptedSlipSave(programFolder, *entry);
            else
                throw RuntimeError(texts::journalUnreadable(QDir::toNativeSeparators(programFolder)));
        }
    } catch (const RuntimeError &e) {
        report.errors << texts::folderNotPrepared(e.message());
        report.ready = false;
        return report;
    }
    report.messages << removeLeftovers(programFolder);
    try {
        folder::layOut(programFolder, firstRates);
    } catch (const RuntimeError &e) {
        report.errors << e.message();
    }
    return report;
}

} // namespace startup
