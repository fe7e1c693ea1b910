#pragma once
// One "Enregistrement": the slip's picture, its PDF beside it, and its row in
// the archive, landing together or not at all.
//
// Both files are first written whole and flushed under staged names; then a
// journal listing the two renames and the row is written, flushed; then the
// row is put in an open transaction, the files are renamed into place, and
// only then is the row committed and the journal removed. When any step
// fails, the transaction is rolled back and a file already renamed gets its
// earlier content back (or goes, if there was none): the folder and the
// archive are left as they were, and the error is raised with its French
// text. A program stopped once the journal is written finishes the save at
// its next start (settleInterruptedSlipSave): the picture, the PDF and the
// row land together even across a crash.

#include "archive/sliparchive.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace journal {
struct Entry;
}

// bulljpg/<first name><month key>.pdf beside the picture.
QString slipPdfPath(const QString &picturePath);

struct SlipSave {
    QString picturePath; // as slipPicturePath() gives it
    QByteArray jpeg;
    QByteArray pdf;
    // The slip's figures; none for a slip that stopped on a bad text, whose
    // picture is still kept, as it always was.
    std::optional<ArchivedSlip> row;
};

// Saves into the archive Bulletins.db of `programFolder` (ending with "/").
void saveSlip(const QString &programFolder, const SlipSave &save);

// The journal of a save in progress is of this kind.
inline const QString slipSaveJournalKind = QStringLiteral("bulletin");
// Finishes a save the program was stopped in, from its journal: the files
// are put in place and the row stored. Returns what the user is told.
QString settleInterruptedSlipSave(const QString &programFolder, const journal::Entry &entry);
