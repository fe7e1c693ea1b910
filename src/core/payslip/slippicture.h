#pragma once
// The saved slip picture as a file, and the sizes it is printed and shown at.
//
// A slip is kept only as its picture: program folder + "bulljpg/" + the
// child's first name + the month key + ".jpg". Saving goes in two steps so
// that another record can be written between them and both land together:
// write() puts the whole JPEG into a temporary file beside the final one,
// commit() renames it over the final name in one step. Until the rename the
// earlier picture of that month is untouched, and a save abandoned before it
// leaves no file behind.

#include <QByteArray>
#include <QImage>
#include <QSaveFile>
#include <QSize>
#include <QString>

// The file of a child's slip for a month, in `programFolder` (which ends
// with "/"). The first name is used exactly as held, blanks, accents and case
// included. A first name that would lead out of "bulljpg/" (one holding "/"
// or "\", or "." or "..") raises "Impossible de créer le fichier %s" with the
// full name: no file is written anywhere.
QString slipPicturePath(const QString &programFolder, const QString &firstName, const QString &monthKey);

class PendingSlipPicture {
public:
    explicit PendingSlipPicture(const QString &path);
    PendingSlipPicture(const PendingSlipPicture &) = delete;
    PendingSlipPicture &operator=(const PendingSlipPicture &) = delete;

    // Writes the whole file under a temporary name in the same folder. The
    // folder is never created: when it is missing, or the file can't be
    // created or is marked read-only (even for root), "Impossible de créer
    // le fichier %s"; a full disk "Disque plein".
    void write(const QByteArray &jpeg);
    // Puts the written file in place of any earlier one of the same name.
    void commit();

    const QString &path() const { return m_path; }

private:
    QString m_path;
    QSaveFile m_file;
};

// Encodes the picture and saves it under `path`, replacing an earlier file.
void saveSlipPicture(const QString &path, const QImage &picture);

// The picture of a file the user picked in the slip viewer. The format is
// chosen by the file name's extension: ".jpg" and ".jpeg" (any case) are the
// JPEG pictures the program saves; any other extension, or none, raises
// "Extension de fichier image inconnue (.%s)". A file that can't be opened
// raises "Impossible d'ouvrir le fichier %s", one that is not a JPEG the
// decoder's "Erreur JPEG #%d".
QImage loadSlipPicture(const QString &path);

// The size a picture is shown at in the viewer's area: its own size when it
// fits, otherwise reduced to fit with its proportions kept, each side cut to
// a whole pixel.
QSize fittedPictureSize(QSize picture, QSize area);

// The size in printer dots of a picture printed at its physical size: each
// side times the printer's dots per inch divided by the screen's, worked out
// on 64 bits and rounded to the nearest dot (halves away from zero).
QSize printedPictureSize(QSize picture, int printerDpiX, int printerDpiY, int screenDpiX, int screenDpiY);
