#include "archive/slipsave.h"

#include "common/errors.h"
#include "common/journal.h"
#include "settings/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <memory>

#include <cerrno>

QString slipPdfPath(const QString &picturePath)
{
    QString path = picturePath;
    if (path.endsWith(QLatin1String(".jpg")))
        path.chop(4);
    return path + QStringLiteral(".pdf");
}

namespace {
// A file about to be replaced, with what it held, so that it can be put back.
struct Replaced {
    QString path;
    std::optional<QByteArray> before;
    bool done = false;

    explicit Replaced(const QString &p) : path(p)
    {
        QFile f(p);
        if (f.exists() && f.open(QIODevice::ReadOnly))
            before = f.readAll();
    }
    // Best effort: runs while a save is already failing.
    void undo() noexcept
    {
        if (!done)
            return;
        if (!before) {
            QFile::remove(path);
            return;
        }
        QSaveFile f(path);
        if (f.open(QIODevice::WriteOnly) && f.write(*before) == before->size())
            f.commit();
    }
};

QString writeFailure(int error, const QString &path)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG ? rtl::diskFull() : rtl::cannotCreateFile(path);
}

// A file written whole and flushed under its staged name, removed unless
// it was put in place.
struct Staged {
    QString path;
    QString staged;
    bool placed = false;

    Staged(const QString &p, const QByteArray &bytes) : path(p), staged(p + journal::stagedSuffix())
    {
        // The rename would quietly replace a file marked read-only, even for
        // root: refused here for all. The folder is never created: a missing
        // one fails as the file that cannot be made.
        if (isMarkedReadOnly(path))
            throw RuntimeError(rtl::cannotCreateFile(path));
        if (const int error = journal::writeFlushed(QFile::encodeName(staged), bytes))
            throw RuntimeError(writeFailure(error, path));
    }
    ~Staged()
    {
        if (!placed)
            QFile::remove(staged);
    }
};
} // namespace

void saveSlip(const QString &programFolder, const SlipSave &save)
{
    const QDir folder(programFolder);
    Staged picture(save.picturePath, save.jpeg);
    Staged pdf(slipPdfPath(save.picturePath), save.pdf);

    std::unique_ptr<SlipArchive> archive;
    if (save.row) {
        archive = std::make_unique<SlipArchive>(programFolder + SlipArchive::fileName());
        archive->begin();
    }
    const QList<journal::Move> moves = {
        {folder.relativeFilePath(picture.staged), folder.relativeFilePath(picture.path), false},
        {folder.relativeFilePath(pdf.staged), folder.relativeFilePath(pdf.path), false}};
    QJsonObject details{{QStringLiteral("image"), QFileInfo(picture.path).fileName()}};
    if (save.row)
        details.insert(QStringLiteral("ligne"), toJson(*save.row));
    errno = 0;
    // From here on the save is decided: a program stopped before its end
    // finishes it at its next start.
    if (!journal::write(programFolder, {slipSaveJournalKind, moves, details})) {
        const int error = errno;
        if (archive)
            archive->rollback();
        throw RuntimeError(writeFailure(error, picture.path));
    }
    Replaced oldPicture(picture.path), oldPdf(pdf.path);
    try {
        if (archive)
            archive->put(*save.row);
        Staged *const files[] = {&picture, &pdf};
        Replaced *const earlier[] = {&oldPicture, &oldPdf};
        for (int i = 0; i < 2; ++i) {
            errno = 0;
            if (!journal::make(programFolder, moves[i]))
                throw RuntimeError(writeFailure(errno, files[i]->path));
            files[i]->placed = true;
            earlier[i]->done = true;
        }
        journal::syncFolder(QFileInfo(picture.path).path());
        if (archive)
            archive->commit();
    } catch (...) {
        if (archive)
            archive->rollback();
        oldPdf.undo();
        oldPicture.undo();
        journal::remove(programFolder);
        throw;
    }
    journal::remove(programFolder);
}

QString settleInterruptedSlipSave(const QString &programFolder, const journal::Entry &entry)
{
    const QString picture = entry.details.value(QStringLiteral("image")).toString();
    const journal::Outcome outcome = journal::settle(programFolder, entry);
    if (outcome == journal::Outcome::Undone) {
        journal::remove(programFolder);
        return texts::slipSaveUndone(picture);
    }
    QString said = texts::slipSaveFinished(picture);
    if (entry.details.contains(QStringLiteral("ligne"))) {
        const std::optional<ArchivedSlip> row =
            archivedSlipFromJson(entry.details.value(QStringLiteral("ligne")).toObject());
        try {
            if (!row)
                throw RuntimeError(texts::journalUnreadable(QDir::toNativeSeparators(programFolder)));
            SlipArchive archive(programFolder + SlipArchive::fileName());
            archive.begin();
            archive.put(*row);
            archive.commit();
        } catch (const RuntimeError &e) {
            // The files are in place; the figures are said lost, not hidden.
            said = texts::slipSaveUndone(picture) + '\n' + e.message();
        }
    }
    journal::remove(programFolder);
    return said;
}
