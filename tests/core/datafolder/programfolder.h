#pragma once
// A program folder as a user leaves it after a few months, and what a test
// compares two folders by. Shared by the backup and the start-up tests.

#include "archive/sliparchive.h"
#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/errors.h"
#include "datafolder/folderlayout.h"

#include "testfiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <sqlite3.h>

#include <functional>

namespace fixture {

// Every file under a folder with a digest of its bytes; the tables by their
// SQL dump, the form in which two copies of a table compare. The program's
// own dated tables (legal values, contribution lines) are not data: backups
// leave them out and a restore leaves them where they are
// (restoreGivesBackWhatWasBackedUp checks it).
inline QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder).relativeFilePath(path);
        if (name == folder::legalTable || name == folder::contributionTable)
            continue;
        if (it.fileInfo().isDir()) {
            files[name + '/'] = "folder";
        } else if (name.endsWith(".db")) {
            QProcess dump;
            dump.start("sqlite3", {"-readonly", path, ".dump"});
            dump.waitForFinished();
            files[name] = dump.readAllStandardOutput();
        } else {
            files[name] = QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex();
        }
    }
    return files;
}

// The entries of a snapshot inside `prefix` (relative to it), or all the others.
inline QMap<QString, QByteArray> inside(const QMap<QString, QByteArray> &files, const QString &prefix, bool in = true)
{
    QMap<QString, QByteArray> part;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const bool under = it.key().startsWith(prefix);
        if (under && in && it.key() != prefix)
            part[it.key().mid(prefix.size())] = it.value();
        else if (!under && !in)
            part[it.key()] = it.value();
    }
    return part;
}

// Bytes drawn at random from a fixed starting number: the same each run.
inline QByteArray randomBytes(int size, quint32 draw)
{
    QRandomGenerator g(draw);
    QByteArray b(size, '\0');
    for (char &c : b)
        c = char(g.bounded(256));
    return b;
}

inline void storeDays(const QString &folder, const QString &table, QDate first, int count)
{
    DayTable t;
    t.setFolder(folder);
    t.setTableName(table);
    QList<day::Record> days;
    for (int i = 0; i < count; ++i) {
        day::Record r;
        r.fill("Faux");
        r[day::Date] = shortDate(first.addDays(i));
        r[day::Heure1] = "08:00:00";
        r[day::Heure2] = "12:00:00";
        r[day::Heure3] = "13:30:00";
        r[day::Heure4] = "17:20:00";
        r[day::Duree] = "7.83";
        r[day::Dej] = "Vrai";
        r[day::Moan] = r[day::Date].mid(3, 2) + r[day::Date].mid(8, 2);
        days << r;
    }
    t.storeMonth(days);
}

// A raw SQLite connection standing for another program holding a table.
struct OtherProgram {
    sqlite3 *db = nullptr;
    explicit OtherProgram(const QString &path) { sqlite3_open(QFile::encodeName(path).constData(), &db); }
    ~OtherProgram() { sqlite3_close(db); }
    bool exec(const char *sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }
};

inline ArchivedSlip slipRow(const QString &firstName, const QString &monthKey, qint64 net)
{
    ArchivedSlip s;
    s.slot = 1;
    s.firstName = firstName;
    s.monthKey = monthKey;
    s.hours = 15200;
    s.salnet = net;
    s.net = net;
    s.picture = firstName + monthKey + ".jpg";
    s.savedAt = QDateTime(QDate(2026, 2, 1), QTime(9, 30));
    return s;
}

// A program folder after a few months: rates, parameters, days in two
// tables, two pictures and one archived slip. Returns the first picture.
inline QByteArray fillFolder(const QString &folder)
{
    folder::layOut(folder, QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt"));
    writeBytes(folder + "Paramtre.bvp", randomBytes(1136, 1).repeated(5));
    storeDays(folder, "Enf1.db", QDate(2026, 1, 1), 59);
    storeDays(folder, "Enf3.db", QDate(2025, 12, 20), 20);
    // Small, so that the backups made of the folder stay small starting
    // inputs for the fuzzer.
    const QByteArray picture = randomBytes(2000, 2);
    writeBytes(folder + "bulljpg/Léa0126.jpg", picture);
    writeBytes(folder + "bulljpg/Tom0226.jpg", randomBytes(1500, 3));
    SlipArchive archive(folder + SlipArchive::fileName());
    archive.begin();
    archive.put(slipRow("Léa", "0126", 61234));
    archive.commit();
    return picture;
}

// Changes of every kind a restore must undo.
inline void changeFolder(const QString &folder)
{
    writeBytes(folder + "Taux.txt", "changed\r\n");
    storeDays(folder, "Enf1.db", QDate(2026, 3, 1), 3);
    QVERIFY(QFile::remove(folder + "Enf5.db"));
    QVERIFY(QFile::remove(folder + "bulljpg/Tom0226.jpg"));
    writeBytes(folder + "bulljpg/Zoé0326.jpg", "new");
}

using Entries = QList<QPair<QString, QByteArray>>;

// A zip of the given entries, in order.
inline void writeZip(const QString &path, const Entries &entries)
{
    QuaZip zip(path);
    zip.setUtf8Enabled(true);
    QVERIFY(zip.open(QuaZip::mdCreate));
    for (const auto &[name, bytes] : entries) {
        QuaZipFile f(&zip);
        QVERIFY(f.open(QIODevice::WriteOnly, QuaZipNewInfo(name)));
        QCOMPARE(f.write(bytes), bytes.size());
        f.close();
    }
    zip.close();
}

// The entries of a backup, its manifest left out.
inline Entries entriesOf(const QString &path)
{
    Entries entries;
    QuaZip zip(path);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdUnzip))
        return entries;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile f(&zip);
        f.open(QIODevice::ReadOnly);
        const QString name = zip.getCurrentFileName();
        if (name != "sauvegarde-berlivo.json")
            entries.append({name, f.readAll()});
    }
    return entries;
}

// A manifest listing `files` with their true sizes and checksums.
inline QJsonObject manifestFor(const Entries &files, int formatVersion = 2)
{
    QJsonArray list;
    for (const auto &[name, bytes] : files)
        list.append(
            QJsonObject{{"name", name},
                        {"size", double(bytes.size())},
                        {"sha256", QString(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}});
    return QJsonObject{{"format", "Berlivo Paye sauvegarde"},
                       {"formatVersion", formatVersion},
                       {"programVersion", "9.1"},
                       {"created", "2026-03-14T10:00:00"},
                       {"files", list}};
}

// Writes a backup of `entries` with the manifest `manifest` (as text) first.
inline void writeBackup(const QString &path, const Entries &entries, const QByteArray &manifest)
{
    writeZip(path, Entries{{"sauvegarde-berlivo.json", manifest}} + entries);
}

} // namespace fixture
