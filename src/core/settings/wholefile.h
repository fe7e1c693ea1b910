#pragma once
// Writing a file whole, the way the settings files are kept.
//
// The new contents go to a temporary file beside the old one, which replaces
// it only once everything is written and flushed: a failed or interrupted
// write leaves the previous file as it was. A failure is raised with the
// runtime's input/output text.

#include <QByteArray>
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
