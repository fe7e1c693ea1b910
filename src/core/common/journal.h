#pragma once
// Putting several files in place so that a crash cannot leave half of them.
//
// A change that replaces more than one file (a restore, a slip's picture
// with its PDF and its archive row) first writes every new file whole and
// flushed under a staged name, then writes a journal listing every move,
// flushed, and only then renames. Once the journal is on disk the change is
// decided: a start that finds one finishes it (every move not made yet is
// made) before anything else touches the folder, and removes the journal.
// Without a journal the staged files are leftovers, and a start removes them.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

namespace journal {

// The journal's name in the program folder.
QString fileName();
// The ending of a file written whole but not yet put in place.
QString stagedSuffix();

// Writes `bytes` to the file `path` (its bytes as the system names it), with
// `mode` permissions before the umask, and flushes it to the disk unless
// `flush` is false (many files flushed at once by syncFileSystem()). Returns
// 0, or the system's error number; no file is left behind a failure.
int writeFlushed(const QByteArray &path, const QByteArray &bytes, unsigned mode = 0666, bool flush = true);
// Flushes a folder's entries (the renames done in it) to the disk.
void syncFolder(const QString &folder);
void syncFolder(const QByteArray &folder);
// Flushes everything written on the disk that holds `folder`, files and
// folders alike: one wait for hundreds of files. False when it failed.
bool syncFileSystem(const QString &folder);

struct Move {
    QString from, to; // relative to the folder
    // A move into a place that was empty is made once its target exists;
    // any other once its source is gone (a staged file leaves only by it).
    bool intoEmptyPlace = false;
};

struct Entry {
    QString kind; // who wrote it, to finish it: "restauration", "bulletin"
    QList<Move> moves;
    QJsonObject details; // what that owner needs besides the moves
};

// Writes the journal into `folder` (ending with "/") as one flushed file
// put in place by a rename. Returns false when it could not be written.
bool write(const QString &folder, const Entry &entry);
// Removes the journal; the change it described is complete.
void remove(const QString &folder);
// The journal left in `folder`, if any. A journal that cannot be read raises.
std::optional<Entry> read(const QString &folder);

bool isMade(const QString &folder, const Move &move);
// Renames `move.from` to `move.to` inside `folder`; false when it failed.
bool make(const QString &folder, const Move &move);

enum class Outcome { Finished, Undone };
// Brings the folder to one end of the change: every move not made yet is
// made when each one still can be (its source is there); otherwise the moves
// made are undone, last first. A rename that fails raises. The journal stays:
// its owner removes it once its own part is done.
Outcome settle(const QString &folder, const Entry &entry);

} // namespace journal
