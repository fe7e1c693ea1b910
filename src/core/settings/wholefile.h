#pragma once
// Writing a file whole, the way the settings files are kept.
//
// The new contents go to a temporary file beside the old one, which replaces
// it only once everything is written and flushed: a failed or interrupted
// write leaves the previous file as it was. A failure is raised with the
// runtime's input/output text.

#include <QByteArray>
#include <QList>
#include <QString>

// Replaces the file at `path` by `bytes`. A file the user marked read-only
// (no write permission for its owner, even for a user the system would let
// through) or a name taken by a folder raises "Accès au fichier refusé"; a
// full disk "Disque plein"; anything else "Erreur E/S %d".
void writeWholeFile(const QString &path, const QByteArray &bytes);

// True when the user marked the file read-only: its owner may not write it.
bool isMarkedReadOnly(const QString &path);

// The runtime's input/output error number for a system error number (errno):
// 3 path not found, 4 too many open files, 5 access denied, 101 disk full,
// otherwise 29 (write fault).
int ioCodeForErrno(int error);

// One file of a set replaced together.
struct FileReplacement {
    QString path;
    QByteArray bytes;
    // The file in place is kept beside it as `path` + ".bak" (an older backup
    // is replaced) before the new one takes its place.
    bool keepOld = false;
};

// Replaces every file of the set, or none of them. Each new file, and each
// backup, is first written whole and flushed to a temporary file in the
// target's folder; only when all of them are complete are they renamed into
// place, backups first. A failure at any step removes what was staged and
// leaves every old file as it was; it raises the same texts as
// writeWholeFile().
void replaceFiles(const QList<FileReplacement> &files);
