#pragma once
// One "Enregistrement": the slip's picture, its PDF beside it, and its row in
// the archive, landing together or not at all.
//
// Both files are first written whole under temporary names; then the row is
// put in an open transaction, the files are renamed into place, and only
// then is the row committed. When any step fails, the transaction is rolled
// back and a file already renamed gets its earlier content back (or goes, if
// there was none): the folder and the archive are left as they were, and the
// error is raised with its French text.

#include "archive/sliparchive.h"

#include <QByteArray>
#include <QString>
#include <optional>

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
