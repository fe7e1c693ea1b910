// Backing up the program folder and restoring it: what comes back is what
// was there, even with a table held; a damaged or foreign archive changes
// nothing.

#include "datafolder/backup.h"
#include "settings/familyfile.h"
#include "contract/contractstore.h"
#include "hostilecontracts.h"
#include "programfolder.h"
#include "raised.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fixture;

namespace {
// A file whose name is the given bytes, as the system holds it.
void writeRaw(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
}

QByteArray readRaw(const QByteArray &path)
{
    QFile f;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0 || !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return "<unreadable>";
    return f.readAll();
}

// The names of a folder's entries, as the system holds them.
QList<QByteArray> rawNames(const QByteArray &folder)
{
    QList<QByteArray> names;
    QProcess ls;
    ls.start("ls", {"-1a", QFile::decodeName(folder)});
    ls.waitForFinished();
    for (const QByteArray &n : ls.readAllStandardOutput().split('\n'))
        if (!n.isEmpty() && n != "." && n != "..")
            names << n;
    return names;
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

    void fillFolder() { m_picture = fixture::fillFolder(m_data); }
    void changeFolder() { fixture::changeFolder(m_data); }

    // The bytes of the folder's empty day table Enf2.db once `sql` has run on a copy.
    QByteArray alteredTable(const char *sql)
    {
        const QString copy = m_dir->filePath("altered.db");
        QFile::remove(copy);
        if (!QFile::copy(data("Enf2.db"), copy))
            return {};
        {
            OtherProgram other(copy);
            if (!other.exec(sql))
                return {};
        }
        return readBytes(copy);
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
        contract::Contract c;
        c.kind = contract::Kind::CompleteYear;
        c.first = QDate(2025, 9, 1);
        c.plannedMinutes = {480, 480, 0, 480, 480, 0, 0};
        c.absences << contract::Absence{{QDate(2026, 1, 12), QDate(2026, 1, 14)}, contract::Reason::ChildSick};
        contract::storeContract(data(folder::contracts), 1, c);
        Family family;
        family.resources = 300000;
        family.children = 2;
        family.child[0].sharedCustody = true;
        writeBytes(data(folder::familyFile), family::fileBytes(family));
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
            QCOMPARE(saved.files,
                     QStringList({"Taux.txt", "Paramtre.bvp", "Famille.txt", "Enf1.db", "Enf2.db", "Enf3.db", "Enf4.db",
                                  "Enf5.db", "Bulletins.db", "Contrats.db", "bulljpg/Léa0126.jpg",
                                  "bulljpg/Tom0226.jpg"}));
        }
        changeFolder();
        QVERIFY(QFile::remove(data(folder::contracts)));
        const QMap<QString, QByteArray> changed = snapshot(m_data);

        backup::Restore restore(m_data, m_zip);
        const QString kept = restore.apply();

        const QString keptName = "Avant restauration 2026-03-14 10h00m00/";
        QCOMPARE(kept, data(keptName));
        const QMap<QString, QByteArray> after = snapshot(m_data);
        QCOMPARE(inside(after, keptName, false), before);
        QCOMPARE(inside(after, keptName), changed);
        for (const QString &table : {folder::legalTable, folder::contributionTable})
            QCOMPARE(readBytes(data(table)), readBytes(BERLIVO_SOURCE_DIR "/data/" + table));
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
        QCOMPARE(raised([&] { backup::create(m_data, m_zip); }),
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

    void oddPictureNamesComeBackByteForByte()
    {
        // A name in another code page, a control character, "%" and what
        // looks like an escape: each is kept as the bytes it is.
        const QList<QByteArray> odd = {"\xe9t\xe9 0126.jpg", "L\tea.jpg", "100%.jpg", "%41.jpg"};
        const QByteArray pictures = QFile::encodeName(data("bulljpg/"));
        for (const QByteArray &name : odd)
            writeRaw(pictures + name, "picture " + name);
        const QList<QByteArray> before = rawNames(pictures);
        const backup::Contents saved = backup::create(m_data, m_zip);
        QVERIFY(saved.files.contains("bulljpg/%E9t%E9 0126.jpg"));
        QVERIFY(saved.files.contains("bulljpg/%2541.jpg"));
        for (const QByteArray &name : odd)
            QVERIFY(QFile::remove(QFile::decodeName(pictures + name)) || ::unlink((pictures + name).constData()) == 0);

        backup::Restore(m_data, m_zip).apply();
        QCOMPARE(rawNames(pictures), before);
        for (const QByteArray &name : odd)
            QCOMPARE(readRaw(pictures + name), "picture " + name);
    }

    void slipArchiveOfAnOlderLayoutIsRestored()
    {
        {
            OtherProgram older(data("Bulletins.db"));
            QVERIFY(older.exec("DROP TABLE AidesGarde; ALTER TABLE Bulletins DROP COLUMN genre; "
                               "ALTER TABLE Bulletins DROP COLUMN heures_comp_centiemes; "
                               "ALTER TABLE Bulletins DROP COLUMN heures_maj_centiemes; PRAGMA user_version = 1"));
        }
        const QByteArray before = readBytes(data("Bulletins.db"));
        QVERIFY(backup::create(m_data, m_zip).files.contains("Bulletins.db"));
        backup::Restore(m_data, m_zip).apply();
        // Brought up to date by the archive when it is first opened.
        QCOMPARE(SlipArchive(data("Bulletins.db")).count(), 1);
        QVERIFY(before != readBytes(data("Bulletins.db")));
    }

    void symbolicLinkAmongThePicturesIsNamed()
    {
        QVERIFY(QFile::link(data("Taux.txt"), data("bulljpg/Léa0226.jpg")));
        QCOMPARE(raised([&] { backup::create(m_data, m_zip); }),
                 "Le fichier « " + data("bulljpg/Léa0226.jpg") +
                     " » est un lien symbolique : une sauvegarde ne garde que de vrais fichiers.\n"
                     "Mettez le fichier lui-même à sa place, ou ôtez-le, puis recommencez la sauvegarde.");
        QVERIFY(!QFileInfo::exists(m_zip));
    }

    void damagedSlipArchiveIsLeftOutAndSaid()
    {
        writeBytes(data("Bulletins.db"), randomBytes(8192, 9));
        const backup::Contents saved = backup::create(m_data, m_zip);
        QCOMPARE(saved.leftOut, QStringList{"Bulletins.db"});
        QCOMPARE(saved.leftOutNote, QString("Attention : Bulletins.db est endommagé et n'est pas dans la sauvegarde : "
                                            "les chiffres des bulletins enregistrés n'y sont donc pas ; leurs images "
                                            "et leurs PDF y sont."));
        QVERIFY(!saved.files.contains("Bulletins.db"));
        QVERIFY(saved.files.contains("bulljpg/Léa0126.jpg"));
        // Only its owner may read a backup: it holds every salary.
        QCOMPARE(int(QFile::permissions(m_zip) & 0x0077), 0);
        // Such a backup restores; the damaged archive goes with the old data.
        const QString kept = backup::Restore(m_data, m_zip).apply();
        QVERIFY(!QFileInfo::exists(data("Bulletins.db")));
        QCOMPARE(readBytes(kept + "Bulletins.db"), randomBytes(8192, 9));
    }

    void backupToAFolderThatCannotBeWritten()
    {
        const QString zip = m_dir->filePath("nowhere/sauvegarde.zip");
        QVERIFY(raised([&] {
                    backup::create(m_data, zip);
                }).startsWith("La sauvegarde n'a pas pu être écrite dans « " + zip + " » : "));
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
            QCOMPARE(raised([&] { restore.apply(); }),
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
        const QString broken =
            "La sauvegarde « %1 » est endommagée ou incomplète (%2) : elle ne peut pas être restaurée." + unchanged;
        const auto row = [&](const char *name, const QString &fault, const QString &why) {
            QTest::newRow(name) << fault << (why.isEmpty() ? foreign : broken.arg("%1", why));
        };
        row("truncated", "truncated", "archive illisible");
        row("one byte of a picture changed", "changed byte", "bulljpg/Léa0126.jpg altéré");
        row("a zip of unrelated files", "unrelated", "");
        row("not a zip at all", "text", "");
        row("a listed file missing", "missing file", "");
        row("a file not in the list", "unlisted file", "");
        row("a name leading out of the picture folder", "escape", "");
        row("an escaped name leading out of the picture folder", "escaped escape", "");
        row("a checksum that does not match", "wrong checksum", "Taux.txt altéré");
        row("a table that is not a database", "bad table", "table Enf1.db abîmée");
        row("a table announced larger than any real one", "huge table", "table Enf1.db trop grande");
        row("a table size of 9e18", "size 9e18", "table Enf1.db trop grande");
        row("a picture size of 1e300", "size 1e300", "bulljpg/Léa0126.jpg trop grand");
        row("a picture announced larger than any slip", "huge picture", "bulljpg/Léa0126.jpg trop grand");
        row("a size written as text", "size as text", "taille de Taux.txt illisible");
        row("a size with a fraction", "size 1.5", "taille de Taux.txt illisible");
        row("a table of another layout", "other layout", "table Enf2.db d'une autre forme");
        row("a table of 0 bytes", "empty table", "table Enf2.db d'une autre forme");
        row("a table carrying a trigger", "trigger", "table Enf2.db avec déclencheurs ou vues");
        row("a table carrying a view", "view", "table Enf2.db avec déclencheurs ou vues");
        row("a day table in place of the slip archive", "other archive", "table Bulletins.db d'une autre forme");
        row("a day table in place of the contracts", "other contracts", "table Contrats.db d'une autre forme");
        row("a backup holding only its manifest", "manifest only", "Taux.txt manquant");
        row("a backup without a day table", "no day table", "Enf4.db manquant");
        row("a rates file cut short", "short rates", "Taux.txt illisible");
        row("a parameter file cut short", "short parameters", "Paramtre.bvp illisible");
        row("a family file that does not read", "bad family", "Famille.txt illisible");
        row("a format version written as text", "version as text", "version de format illisible");
        row("a format version of 2.5", "version 2.5", "version de format illisible");
        row("no format version", "no version", "version de format illisible");
        QTest::newRow("from a newer version")
            << "newer"
            << "La sauvegarde « %1 » a été faite par une version plus récente de Berlivo Paye (9.1) : "
               "cette version ne sait pas la restaurer." +
                   unchanged;
    }
    void damagedOrForeignArchivesChangeNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        backup::create(m_data, m_zip);
        QByteArray zip = readBytes(m_zip);
        // The real backup's files, each fault made on them with a manifest
        // that matches unless the fault is the manifest's.
        Entries files = entriesOf(m_zip);
        QVERIFY(files.size() == 10);
        const auto replace = [&](const QString &name, const QByteArray &bytes) {
            for (auto &f : files)
                if (f.first == name)
                    f.second = bytes;
        };
        const auto drop = [&](const QString &name) {
            files.removeIf([&](const QPair<QString, QByteArray> &f) { return f.first == name; });
        };
        QJsonObject manifest;
        const auto setSize = [&](const QString &name, const QJsonValue &size) {
            QJsonArray list = manifest["files"].toArray();
            for (qsizetype i = 0; i < list.size(); ++i)
                if (list[i].toObject()["name"] == name) {
                    QJsonObject o = list[i].toObject();
                    o["size"] = size;
                    list[i] = o;
                }
            manifest["files"] = list;
        };
        if (fault == "truncated") {
            writeBytes(m_zip, zip.left(zip.size() / 2));
        } else if (fault == "changed byte") {
            // Pictures are stored as they are: their bytes lie in the archive.
            const qsizetype at = zip.indexOf(m_picture.mid(1000, 64)) + 32;
            QVERIFY(at > 32);
            zip[at] = char(zip[at] ^ 0x01);
            writeBytes(m_zip, zip);
        } else if (fault == "unrelated") {
            writeZip(m_zip, {{"notes.txt", "bonjour"}, {"photos/plage.jpg", m_picture}});
        } else if (fault == "text") {
            writeBytes(m_zip, "Taux.txt\r\n");
        } else {
            if (fault == "bad table")
                replace("Enf1.db", randomBytes(4096, 7));
            else if (fault == "other layout")
                replace("Enf2.db", alteredTable("ALTER TABLE Jours ADD COLUMN Extra TEXT"));
            else if (fault == "empty table")
                replace("Enf2.db", QByteArray());
            else if (fault == "trigger")
                replace("Enf2.db",
                        alteredTable("CREATE TRIGGER efface AFTER INSERT ON Jours BEGIN DELETE FROM Jours; END"));
            else if (fault == "view")
                replace("Enf2.db", alteredTable("CREATE VIEW tous AS SELECT * FROM Jours"));
            else if (fault == "other archive")
                replace("Bulletins.db", readBytes(data("Enf2.db")));
            else if (fault == "other contracts")
                files.append(QPair<QString, QByteArray>("Contrats.db", readBytes(data("Enf2.db"))));
            else if (fault == "manifest only")
                files.clear();
            else if (fault == "no day table")
                drop("Enf4.db");
            else if (fault == "short rates")
                replace("Taux.txt", "0.5\r\n0.7\r\n");
            else if (fault == "short parameters")
                replace("Paramtre.bvp", randomBytes(1000, 1));
            else if (fault == "bad family")
                files.append(QPair<QString, QByteArray>("Famille.txt", "BERLIVO FAMILLE;1\nenfants_a_charge;deux\n"));
            manifest = manifestFor(files, fault == "newer" ? 3 : 2);
            if (fault == "missing file")
                drop("Paramtre.bvp");
            else if (fault == "unlisted file")
                files.append(QPair<QString, QByteArray>("autre.txt", "x"));
            else if (fault == "escape" || fault == "escaped escape") {
                const Entries evil = {{fault == "escape" ? "bulljpg/../../evil.txt" : "bulljpg/%2E%2E/evil.txt", "x"}};
                files += evil;
                manifest = manifestFor(files);
            } else if (fault == "wrong checksum")
                replace("Taux.txt", "other\r\n");
            else if (fault == "huge table")
                setSize("Enf1.db", 300000000.0);
            else if (fault == "size 9e18")
                setSize("Enf1.db", 9e18);
            else if (fault == "size 1e300")
                setSize("bulljpg/Léa0126.jpg", 1e300);
            else if (fault == "huge picture")
                setSize("bulljpg/Léa0126.jpg", 100000000.0);
            else if (fault == "size as text")
                setSize("Taux.txt", "2000");
            else if (fault == "size 1.5")
                setSize("Taux.txt", 1.5);
            else if (fault == "version as text")
                manifest["formatVersion"] = "2";
            else if (fault == "version 2.5")
                manifest["formatVersion"] = 2.5;
            else if (fault == "no version")
                manifest.remove("formatVersion");
            writeBackup(m_zip, files, QJsonDocument(manifest).toJson());
        }
        // Each hostile backup is also a starting input of the backup fuzz target.
        const QString inputs = qEnvironmentVariable("BERLIVO_SAVE_BACKUP_INPUTS");
        if (!inputs.isEmpty()) {
            const QString name = "hostile-" + QString(QTest::currentDataTag()).replace(' ', '-') + ".zip";
            QFile::remove(inputs + '/' + name);
            QVERIFY(QFile::copy(m_zip, inputs + '/' + name));
        }
        const QMap<QString, QByteArray> before = snapshot(m_dir->path());

        QCOMPARE(raised([&] { backup::check(m_zip); }), message.arg(m_zip));
        QCOMPARE(raised([&] { backup::Restore restore(m_data, m_zip); }), message.arg(m_zip));
        QCOMPARE(snapshot(m_dir->path()), before);
    }

    // The hand-made contract files the program refuses to read are refused
    // inside a backup too, whatever the rest of the backup holds.
    void hostileContractFilesAreNotRestored_data()
    {
        QTest::addColumn<int>("index");
        const QList<hostile::ContractFile> files = hostile::contractFiles();
        // The restore judges the tables, not how a contract's own dates
        // agree: an end before the start is the store's to refuse.
        for (qsizetype i = 0; i < files.size(); ++i)
            if (QByteArray(files[i].name) != "end before start")
                QTest::newRow(files[i].name) << int(i);
    }
    void hostileContractFilesAreNotRestored()
    {
        QFETCH(int, index);
        const QString made = data("Contrats.db");
        QVERIFY(hostile::make(made, hostile::contractFiles().at(index)));
        // The live file is left out of a backup, and the note says what that costs.
        QCOMPARE(backup::create(m_data, m_zip).leftOutNote,
                 QString("Attention : Contrats.db est endommagé et n'est pas dans la sauvegarde : les contrats des "
                         "enfants n'y sont donc pas."));
        Entries files = entriesOf(m_zip);
        files.removeIf([](const QPair<QString, QByteArray> &f) { return f.first == "Contrats.db"; });
        files.append({"Contrats.db", readBytes(made)});
        writeBackup(m_zip, files, QJsonDocument(manifestFor(files)).toJson());
        const QMap<QString, QByteArray> before = snapshot(m_dir->path());
        const QString refused = raised([&] { backup::Restore restore(m_data, m_zip); });
        QVERIFY2(refused.contains("(table Contrats.db "), qPrintable(refused));
        QCOMPARE(snapshot(m_dir->path()), before);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
