#pragma once
// Backing up the program folder into one zip file, and restoring it.
//
// A backup holds the rates file, the parameter file, the family's particulars
// (folder::settingsFiles), the day-record tables
// and the slip archive (each copied through SQLite's online backup API, so
// the copy is consistent even while a window holds a table), the slip
// pictures, and a manifest: the program's version, the date, and each file's
// size and SHA-256. A restore checks all of it before anything is touched and
// keeps the data it replaces in a dated folder inside the program folder.
// Every failure is raised as a RuntimeError with a French text the user can
// act on.
//
// A picture's name is kept whatever its bytes: inside the archive a byte
// that is not part of a UTF-8 character, a control character and "%" itself
// are written "%XX", and a restore writes the name's own bytes back.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace journal {
struct Entry;
}

namespace backup {

// The manifest's name inside the archive.
inline const QString manifestName = QStringLiteral("sauvegarde-berlivo.json");

struct Contents {
    QString programVersion;
    QDateTime created;
    QStringList files; // names inside the archive: Taux.txt, bulljpg/Léa0306.jpg...
    qint64 bytes = 0;  // their total size
    // What a backup left out, and why, in French: a damaged slip archive
    // does not keep the rest of the data from being backed up.
    QStringList leftOut;
    // The whole note to show after the backup's success (texts::backupLeftOut):
    // each file left out with what the backup therefore lacks.
    QString leftOutNote;
};

// The name under which a file of the program folder is kept in a backup
// (see above), and back.
QString archiveName(const QByteArray &relativePath);
std::optional<QByteArray> folderName(const QString &archiveName);

// The hidden folder a restore unpacks into, inside the program folder: one
// left by a stopped program is removed at the next start.
inline const QString stagingPrefix = QStringLiteral(".restauration-");
// The dated folder a restore keeps the replaced data in begins so.
inline const QString keptPrefix = QStringLiteral("Avant restauration ");

// Brings a restore the program was stopped in to one end, from the journal
// it left: returns what the user is told.
QString settleInterrupted(const QString &programFolder, const journal::Entry &entry);
inline const QString journalKind = QStringLiteral("restauration");

// Writes a backup of `programFolder` to `zipPath`, readable by its owner
// alone. A file already at that path is replaced only once the new archive is
// complete; the archive is then read back and checked whole before success
// is reported. A symbolic link among the pictures refuses the backup, naming
// it; a damaged slip archive is left out and said in `leftOut`.
Contents create(const QString &programFolder, const QString &zipPath);

// Reads the archive whole and checks its manifest and every checksum without
// unpacking anything.
Contents check(const QString &zipPath);

// A restore in two steps, so that the user confirms between them.
class Restore {
public:
    // Reads the archive, checks its manifest, every checksum and every table,
    // and unpacks it into a hidden folder beside the data. A damaged or
    // foreign archive is refused with nothing left behind.
    Restore(const QString &programFolder, const QString &zipPath);
    // Removes whatever was unpacked and not put in place.
    ~Restore();
    Restore(const Restore &) = delete;
    Restore &operator=(const Restore &) = delete;

    const Contents &contents() const { return m_contents; }

    // Moves the current data into a dated folder inside the program folder
    // and puts the backup's files in its place; returns the dated folder.
    // The moves are listed in a journal first: a program stopped among them
    // finishes them at its next start.
    // A table still open (the month review) or locked by another program
    // refuses the restore with nothing changed; a failure while moving puts
    // everything back as it was.
    QString apply();

private:
    QString m_folder;
    QString m_zipPath;
    std::unique_ptr<QTemporaryDir> m_staging;
    Contents m_contents;
    bool m_applied = false;
};

} // namespace backup
