// Backing up the program folder and restoring it: what comes back is what
// was there, even with a table held; a damaged or foreign archive changes
// nothing.

#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/errors.h"
#include "datafolder/backup.h"
#include "datafolder/folderlayout.h"

#include "testfiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <sqlite3.h>

namespace {
// Every file under a folder with a digest of its bytes; the day tables by
// their SQL dump, the form in which two copies of a table compare. The
// program's own table of legal values is not data: backups leave it out and
// a restore leaves it where it is (restoreGivesBackWhatWasBackedUp checks it).
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder).relativeFilePath(path);
        if (name == folder::legalTable)
            continue;
        if (it.fileInfo().isDir()) {
            files[name + '/'] = "folder";
        } else if (name.endsWith(".db")) {
            QProcess dump;
            dump.start("sqlite3", {path, ".dump"});
            dump.waitForFinished();
            files[name] = dump.readAllStandardOutput();
        } else {
            files[name] = QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex();
        }
    }
    return files;
}

// The entries of a snapshot inside `prefix` (relative to it), or all the others.
QMap<QString, QByteArray> inside(const QMap<QString, QByteArray> &files, const QString &prefix, bool in = true)
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

QByteArray randomBytes(int size, quint32 draw)
{
    QRandomGenerator g(draw);
    QByteArray b(size, '\0');
    for (char &c : b)
        c = char(g.bounded(256));
    return b;
}

void storeDays(const QString &folder, const QString &table, QDate first, int count)
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

// A zip of the given entries, the manifest among them when one is given.
void writeZip(const QString &path, const QList<QPair<QString, QByteArray>> &entries)
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

QByteArray manifestFor(const QList<QPair<QString, QByteArray>> &files, int formatVersion = 1)
{
    QJsonArray list;
    for (const auto &[name, bytes] : files)
        list.append(QJsonObject{{"name", name},
                                {"size", double(bytes.size())},
                                {"sha256", QString(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}});
    return QJsonDocument(QJsonObject{{"format", "Berlivo Paye sauvegarde"},
                                     {"formatVersion", formatVersion},
                                     {"programVersion", "9.1"},
                                     {"created", "2026-03-14T10:00:00"},
                                     {"files", list}})
        .toJson();
}
} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data; // the program folder, ending with "/"
    QString m_zip;
    QByteArray m_picture;

    QString data(const QString &name) const { return m_data + name; }

    // A program folder as a user leaves it after a few months.
    void fillFolder()
    {
        folder::layOut(m_data, QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt"));
        writeBytes(data("Paramtre.bvp"), randomBytes(5680, 1));
        storeDays(m_data, "Enf1.db", QDate(2026, 1, 1), 59);
        storeDays(m_data, "Enf3.db", QDate(2025, 12, 20), 20);
        m_picture = randomBytes(40000, 2);
        writeBytes(data("bulljpg/Léa0126.jpg"), m_picture);
        writeBytes(data("bulljpg/Tom0226.jpg"), randomBytes(30000, 3));
        OtherProgram archive(data("Bulletins.db"));
        QVERIFY(archive.exec("CREATE TABLE Bulletins (mois TEXT, net INTEGER); INSERT INTO Bulletins VALUES ('0126', 61234)"));
    }

    // Changes of every kind a restore must undo.
    void changeFolder()
    {
        writeBytes(data("Taux.txt"), "changed\r\n");
        storeDays(m_data, "Enf1.db", QDate(2026, 3, 1), 3);
        QVERIFY(QFile::remove(data("Enf5.db")));
        QVERIFY(QFile::remove(data("bulljpg/Tom0226.jpg")));
        writeBytes(data("bulljpg/Zoé0326.jpg"), "new");
    }

    QString errorOf(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const RuntimeError &e) {
            return e.message();
        }
        return "no error";
    }

private slots:
    void initTestCase() { setNowForTests(QDateTime(QDate(2026, 3, 14), QTime(10, 0))); }
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir(m_dir->path()).mkdir("data"));
        m_data = m_dir->filePath("data/");
        m_zip = m_dir->filePath("Berlivo sauvegarde.zip");
        fillFolder();
    }

    void restoreGivesBackWhatWasBackedUp_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::newRow("nothing held") << "";
        QTest::newRow("the month review holds a table exclusively") << "review";
        QTest::newRow("another program reading a table") << "reading";
        QTest::newRow("another program in the middle of a write") << "writing";
    }
    void restoreGivesBackWhatWasBackedUp()
    {
        QFETCH(QString, holder);
        const QMap<QString, QByteArray> before = snapshot(m_data);
        {
            DayTable review;
            OtherProgram other(data("Enf1.db"));
            if (holder == "review") {
                review.setFolder(m_data);
                review.setTableName("Enf1.db");
                review.open(DayTable::Access::Exclusive);
                review.setMonthFilter("0226");
            } else if (holder == "reading") {
                QVERIFY(other.exec("BEGIN; SELECT count(*) FROM Jours;"));
            } else if (holder == "writing") {
                // Not committed: no part of the backup.
                QVERIFY(other.exec("BEGIN IMMEDIATE; DELETE FROM Jours;"));
            }
            const backup::Contents saved = backup::create(m_data, m_zip);
            QCOMPARE(saved.programVersion, QString("3.0"));
            QCOMPARE(saved.created, now());
            QCOMPARE(saved.files, QStringList({"Taux.txt", "Paramtre.bvp", "Enf1.db", "Enf2.db", "Enf3.db", "Enf4.db",
                                               "Enf5.db", "Bulletins.db", "bulljpg/Léa0126.jpg", "bulljpg/Tom0226.jpg"}));
        }
        changeFolder();
        const QMap<QString, QByteArray> changed = snapshot(m_data);

        backup::Restore restore(m_data, m_zip);
        const QString kept = restore.apply();

        const QString keptName = "Avant restauration 2026-03-14 10h00m00/";
        QCOMPARE(kept, data(keptName));
        const QMap<QString, QByteArray> after = snapshot(m_data);
        QCOMPARE(inside(after, keptName, false), before);
        QCOMPARE(inside(after, keptName), changed);
        QCOMPARE(readBytes(data(folder::legalTable)), readBytes(BERLIVO_SOURCE_DIR "/data/" + folder::legalTable));
    }

    void secondRestoreKeepsItsOwnDatedFolder()
    {
        backup::create(m_data, m_zip);
        backup::Restore(m_data, m_zip).apply();
        changeFolder();
        const QMap<QString, QByteArray> changed = snapshot(m_data);
        QCOMPARE(backup::Restore(m_data, m_zip).apply(), data("Avant restauration 2026-03-14 10h00m00 (2)/"));
        // The first kept folder is not data: it stays where it is.
        QCOMPARE(snapshot(data("Avant restauration 2026-03-14 10h00m00 (2)")),
                 inside(changed, "Avant restauration", false));
        QVERIFY(QFileInfo(data("Avant restauration 2026-03-14 10h00m00/Taux.txt")).isFile());
    }

    void backupRefusedWhileAnotherProgramHoldsATable()
    {
        writeBytes(m_zip, "the previous backup");
        OtherProgram other(data("Enf3.db"));
        QVERIFY(other.exec("BEGIN EXCLUSIVE"));
        QCOMPARE(errorOf([&] { backup::create(m_data, m_zip); }),
                 QString("La table Enf3.db est utilisée par un autre programme : la sauvegarde n'a pas été faite.\n"
                         "Fermez l'autre programme, puis recommencez."));
        // The archive of that name is the previous one, whole.
        QCOMPARE(readBytes(m_zip), QByteArray("the previous backup"));
    }

    void backupAmongThePicturesLeavesItselfOut()
    {
        const QString zip = data("bulljpg/sauvegarde.zip");
        backup::create(m_data, zip);
        const backup::Contents again = backup::create(m_data, zip);
        QCOMPARE(again.files.filter("bulljpg/"), QStringList({"bulljpg/Léa0126.jpg", "bulljpg/Tom0226.jpg"}));
    }

    void aPictureNameNoRestoreWouldTakeIsRefused()
    {
        writeBytes(data("bulljpg/L\tea.jpg"), "x");
        QCOMPARE(errorOf([&] { backup::create(m_data, m_zip); }),
                 "Le fichier « " + data("bulljpg/L\tea.jpg") +
                     " » a un nom qu'une sauvegarde ne peut pas garder : renommez-le, puis recommencez la sauvegarde.");
        QVERIFY(!QFileInfo::exists(m_zip));
    }

    void backupToAFolderThatCannotBeWritten()
    {
        const QString zip = m_dir->filePath("nowhere/sauvegarde.zip");
        QVERIFY(errorOf([&] { backup::create(m_data, zip); })
                    .startsWith("La sauvegarde n'a pas pu être écrite dans « " + zip + " » : "));
        QVERIFY(!QFileInfo::exists(zip));
    }

    void restoreRefusedWhileTheReviewHoldsATable()
    {
        backup::create(m_data, m_zip);
        changeFolder();
        const QMap<QString, QByteArray> changed = snapshot(m_data);
        {
            DayTable review;
            review.setFolder(m_data);
            review.setTableName("Enf2.db");
            review.open(DayTable::Access::Exclusive);
            backup::Restore restore(m_data, m_zip);
            QCOMPARE(errorOf([&] { restore.apply(); }),
                     QString("La table Enf2.db est ouverte (fenêtre « Revoir un mois » ou autre programme) : "
                             "fermez-la, puis recommencez la restauration.\nVos données n'ont pas été modifiées."));
        }
        QCOMPARE(snapshot(m_data), changed);
    }

    void damagedOrForeignArchivesChangeNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        const QString unchanged = "\nVos données n'ont pas été modifiées.";
        const QString foreign = "Le fichier « %1 » n'est pas une sauvegarde de Berlivo Paye." + unchanged;
        const QString broken = "La sauvegarde « %1 » est endommagée ou incomplète (%2) : elle ne peut pas être restaurée." + unchanged;
        QTest::newRow("truncated") << "truncated" << broken.arg("%1", "archive illisible");
        QTest::newRow("one byte of a picture changed") << "changed byte" << broken.arg("%1", "bulljpg/Léa0126.jpg altéré");
        QTest::newRow("a zip of unrelated files") << "unrelated" << foreign;
        QTest::newRow("not a zip at all") << "text" << foreign;
        QTest::newRow("a listed file missing") << "missing file" << foreign;
        QTest::newRow("a file not in the list") << "unlisted file" << foreign;
        QTest::newRow("a name leading out of the picture folder") << "escape" << foreign;
        QTest::newRow("a checksum that does not match") << "wrong checksum" << broken.arg("%1", "Taux.txt altéré");
        QTest::newRow("a table that is not a database") << "bad table" << broken.arg("%1", "table Enf1.db abîmée");
        QTest::newRow("a table announced larger than any real one") << "huge table" << broken.arg("%1", "table Enf1.db trop grande");
        QTest::newRow("from a newer version")
            << "newer" << "La sauvegarde « %1 » a été faite par une version plus récente de Berlivo Paye (9.1) : "
                          "cette version ne sait pas la restaurer." + unchanged;
    }
    void damagedOrForeignArchivesChangeNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        backup::create(m_data, m_zip);
        QByteArray zip = readBytes(m_zip);
        const QByteArray rates = readBytes(data("Taux.txt"));
        if (fault == "truncated") {
            writeBytes(m_zip, zip.left(zip.size() / 2));
        } else if (fault == "changed byte") {
            // Pictures are stored as they are: their bytes lie in the archive.
            const qsizetype at = zip.indexOf(m_picture.mid(20000, 64)) + 32;
            QVERIFY(at > 32);
            zip[at] = char(zip[at] ^ 0x01);
            writeBytes(m_zip, zip);
        } else if (fault == "unrelated") {
            writeZip(m_zip, {{"notes.txt", "bonjour"}, {"photos/plage.jpg", m_picture}});
        } else if (fault == "text") {
            writeBytes(m_zip, "Taux.txt\r\n");
        } else if (fault == "missing file") {
            writeZip(m_zip, {{"sauvegarde-berlivo.json", manifestFor({{"Taux.txt", rates}, {"Paramtre.bvp", "x"}})},
                             {"Taux.txt", rates}});
        } else if (fault == "unlisted file") {
            writeZip(m_zip, {{"sauvegarde-berlivo.json", manifestFor({{"Taux.txt", rates}})},
                             {"Taux.txt", rates}, {"autre.txt", "x"}});
        } else if (fault == "escape") {
            writeZip(m_zip, {{"sauvegarde-berlivo.json", manifestFor({{"bulljpg/../../evil.txt", "x"}})},
                             {"bulljpg/../../evil.txt", "x"}});
        } else if (fault == "wrong checksum") {
            writeZip(m_zip, {{"sauvegarde-berlivo.json", manifestFor({{"Taux.txt", rates}})}, {"Taux.txt", "other\r\n"}});
        } else if (fault == "bad table") {
            const QByteArray notATable = randomBytes(4096, 7);
            writeZip(m_zip, {{"sauvegarde-berlivo.json", manifestFor({{"Enf1.db", notATable}})}, {"Enf1.db", notATable}});
        } else if (fault == "huge table") {
            // A forged size: the check must refuse it before reading the table into memory.
            const QByteArray table = randomBytes(4096, 7);
            QByteArray manifest = manifestFor({{"Enf1.db", table}});
            QVERIFY(manifest.contains("\"size\": 4096"));
            manifest.replace("\"size\": 4096", "\"size\": 300000000");
            writeZip(m_zip, {{"sauvegarde-berlivo.json", manifest}, {"Enf1.db", table}});
        } else if (fault == "newer") {
            writeZip(m_zip, {{"sauvegarde-berlivo.json", manifestFor({{"Taux.txt", rates}}, 2)}, {"Taux.txt", rates}});
        }
        const QMap<QString, QByteArray> before = snapshot(m_dir->path());

        QCOMPARE(errorOf([&] { backup::check(m_zip); }), message.arg(m_zip));
        QCOMPARE(errorOf([&] { backup::Restore restore(m_data, m_zip); }), message.arg(m_zip));
        QCOMPARE(snapshot(m_dir->path()), before);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
