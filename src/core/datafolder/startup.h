#pragma once
// What a start does to the data folder before any window opens.
//
// One program at a time works in a data folder: a second one would put back
// what the first had just written. The folder is reserved by a lock file
// held for the whole run; a lock left by a program that died is taken over.
// Then a change a stopped program left half done (a restore, a slip's save)
// is brought to one end from its journal, the leftovers of changes that
// never began are removed, and only then is anything missing laid out.
//
// The user's own data folder holds the childminder's social security number,
// both addresses and every salary: it is made readable by its owner alone
// (the folder 0700, and every file the program writes 0600, through the
// process's umask), and a looser folder is tightened. The portable folder
// beside a build keeps the rights its owner gave it.

#include <QLockFile>
#include <QString>
#include <QStringList>

namespace startup {

// The lock file's name in the data folder.
QString lockFileName();

class FolderLock {
public:
    explicit FolderLock(const QString &programFolder);
    enum class State { Taken, HeldByAnother, Failed };
    // Takes the lock without waiting; a lock whose program is no longer
    // running is taken over. The lock is held until this object goes.
    State take();

private:
    QLockFile m_lock;
};

// Makes the program's files private to their owner from now on (the
// process's umask) and creates the folder, or tightens it, to 0700.
// Returns false when the folder could not be made.
bool makePrivate(const QString &programFolder);

// What a start found and did, for the user.
struct Report {
    QStringList messages; // shown one after the other, in French
    QStringList errors;
    // False when the folder was left as found, with a change it could not
    // finish: nothing was laid out over it.
    bool ready = true;
};

// Finishes what a stopped program left, removes leftovers, and lays out what
// is missing from `programFolder` (ending with "/"), `firstRates` being the
// rates file the program is installed with.
Report prepare(const QString &programFolder, const QString &firstRates);

} // namespace startup
