// Where the program keeps its files, and laying out a fresh program folder.

#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/errors.h"
#include "datafolder/folderlayout.h"

#include "storedrows.h"
#include "testfiles.h"
#include "raised.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestFolderLayout : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString original() const { return QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt"); }

private slots:
    void cleanup()
    {
        // Leave every folder writable so the next test and the clean-up can use it.
        QDirIterator it(m_dir.path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            QFile::setPermissions(it.next(), QFileDevice::Permissions(0x7700));
        for (const QString &e : QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
            QFileInfo(path(e)).isDir() ? QDir(path(e)).removeRecursively() : QFile::remove(path(e));
    }

    void programFolderChoice_data()
    {
        QTest::addColumn<QString>("layout"); // how the executable's folder is set up
        QTest::addColumn<bool>("perUser");
        QTest::newRow("built, writable: beside the executable") << "writable" << false;
        QTest::newRow("read-only folder: per user") << "read-only" << true;
        QTest::newRow("installed, even where root may write: per user") << "installed" << true;
        QTest::newRow("no such folder: per user") << "missing" << true;
    }
    void programFolderChoice()
    {
        QFETCH(QString, layout);
        QFETCH(bool, perUser);
        const QString exe = path("prefix/bin");
        const QString user = path("home/.local/share/Berlivo");
        if (layout != "missing")
            QVERIFY(QDir().mkpath(exe));
        if (layout == "installed") {
            QVERIFY(QDir().mkpath(path("prefix/share/berlivo-paye")));
            QVERIFY(copyFirstRates(path("prefix/share/berlivo-paye/Taux.txt")));
        }
        if (layout == "read-only")
            QVERIFY(QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::ExeOwner));

        QCOMPARE(chooseProgramFolder(exe, user), (perUser ? user : exe) + '/');
        // The files installed with the program are found in the shared
        // folder once installed, beside the executable otherwise.
        const QString shared = layout == "installed" ? path("prefix/share/berlivo-paye/") : exe + '/';
        QCOMPARE(installedFilesFolder(exe), shared);
    }

    void helpFolderOfAnInstalledProgramIsTheSharedOne()
    {
        // An installed program's data folder holds no help: it must read the
        // installed one, or it would say at every start that the help is missing.
        const QString exe = path("prefix/bin");
        const QString data = path("home/.local/share/Berlivo");
        QVERIFY(QDir().mkpath(exe));
        QVERIFY(QDir().mkpath(data));
        QCOMPARE(helpFolder(data, exe), data + "/Aide/"); // not installed: the program folder's, there or not
        QVERIFY(QDir().mkpath(path("prefix/share/berlivo-paye")));
        QVERIFY(copyFirstRates(path("prefix/share/berlivo-paye/Taux.txt")));
        QCOMPARE(helpFolder(data, exe), path("prefix/share/berlivo-paye/Aide/"));
        QVERIFY(QDir(data).mkdir("Aide")); // a portable copy's own help comes first
        QCOMPARE(helpFolder(data, exe), data + "/Aide/");
    }

    void freshFolderIsLaidOut()
    {
        // The installed original is read-only; the user's copy must not be.
        QVERIFY(QDir().mkpath(path("share")));
        QVERIFY(copyFirstRates(path("share/Taux.txt")));
        QVERIFY(QFile::setPermissions(path("share/Taux.txt"), QFileDevice::ReadOwner | QFileDevice::ReadOther));
        const QString folder = path("home/.local/share/Berlivo");

        const QStringList created = folder::layOut(folder, path("share/Taux.txt"));

        QCOMPARE(created.size(), 7);
        QCOMPARE(readBytes(folder + "/Taux.txt"), readBytes(original()));
        QVERIFY(QFileInfo(folder + "/Taux.txt").permissions() & QFileDevice::WriteOwner);
        QVERIFY(QFileInfo(folder + "/bulljpg").isDir());
        for (const QString &table : folder::dayTables()) {
            DayTable t;
            t.setFolder(folder + '/');
            t.setTableName(table);
            t.open(); // raises unless it is a day-record table
            QCOMPARE(t.model()->rowCount(), 0);
        }
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 7);
    }

    void userFilesAreNeverReplaced()
    {
        const QString folder = m_dir.path();
        folder::layOut(folder, original());
        writeBytes(path("Taux.txt"), "the user's own rates\r\n");
        writeBytes(path("bulljpg/Léa0306.jpg"), "picture");
        DayTable t;
        t.setFolder(folder + '/');
        t.setTableName("Enf2.db");
        day::Record r;
        r.fill("Faux");
        r[day::Date] = "14/03/2026";
        r[day::Heure1] = r[day::Heure2] = r[day::Heure3] = r[day::Heure4] = r[day::Duree] = QString();
        r[day::Moan] = "0326";
        t.storeMonth({r});
        const QByteArray table2 = readBytes(path("Enf2.db"));
        QVERIFY(QFile::remove(path("Enf4.db")));

        QCOMPARE(folder::layOut(folder, original()), QStringList{path("Enf4.db")});
        QCOMPARE(readBytes(path("Taux.txt")), QByteArray("the user's own rates\r\n"));
        QCOMPARE(readBytes(path("Enf2.db")), table2);
        QCOMPARE(storedRows(path("Enf2.db")).size(), 1);
        QCOMPARE(readBytes(path("bulljpg/Léa0306.jpg")), QByteArray("picture"));
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("message");
        QTest::newRow("no original rates: the rest is still laid out")
            << "no original"
            << "Impossible d'ouvrir le fichier " + path("nowhere/Taux.txt");
        QTest::newRow("a file where the folder should be") << "file in the way"
                                                           << "Impossible de créer le fichier " + path("data");
    }
    void failuresAreReported()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, message);
        const QString rates = obstacle == "no original" ? path("nowhere/Taux.txt") : original();
        if (obstacle == "file in the way")
            writeBytes(path("data"), "not a folder");
        QCOMPARE(raised([&] { folder::layOut(path("data"), rates); }), message);
        if (obstacle == "no original") {
            QVERIFY(QFileInfo(path("data/Enf5.db")).isFile());
            QVERIFY(QFileInfo(path("data/bulljpg")).isDir());
            QVERIFY(!QFileInfo::exists(path("data/Taux.txt")));
        }
    }

    // The dated tables are the program's: a later version's edition replaces
    // an older one as shipped, never one the user edited.
    void legalTableFollowsNewerEditions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("magic");
        QTest::addColumn<QByteArray>("present"); // "" for none
        QTest::addColumn<bool>("replaced");
        const QList<std::pair<QString, QByteArray>> tables = {
            {folder::legalTable, "BERLIVO VALEURS LEGALES"}, {folder::contributionTable, "BERLIVO COTISATIONS"}};
        for (const auto &[name, magic] : tables) {
            const QByteArray older = legalTableFile("smic_horaire_brut;11.88;2024-11-01;D\n", 1, magic);
            QByteArray edited = older;
            edited.replace("11.88", "11.99");
            const QByteArray row = name.toUtf8() + ": ";
            QTest::newRow(row + "none yet") << name << magic << QByteArray() << true;
            QTest::newRow(row + "older edition as shipped") << name << magic << older << true;
            QTest::newRow(row + "older edition edited") << name << magic << edited << false;
            QTest::newRow(row + "a newer edition")
                << name << magic << legalTableFile("smic_horaire_brut;12.02;2026-01-01;D\n", 3, magic) << false;
            QTest::newRow(row + "the other table's header")
                << name << magic
                << legalTableFile("smic_horaire_brut;11.88;2024-11-01;D\n", 1,
                                  magic == "BERLIVO COTISATIONS" ? "BERLIVO VALEURS LEGALES" : "BERLIVO COTISATIONS")
                << false;
        }
    }
    void legalTableFollowsNewerEditions()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, magic);
        QFETCH(QByteArray, present);
        QFETCH(bool, replaced);
        const QByteArray shipped = legalTableFile("smic_horaire_brut;12.02;2026-01-01;D\n", 2, magic);
        QVERIFY(QDir().mkpath(path("share")));
        QVERIFY(copyFirstRates(path("share/Taux.txt")));
        writeBytes(path("share/" + name), shipped);
        QVERIFY(QDir().mkpath(path("data")));
        if (!present.isEmpty())
            writeBytes(path("data/" + name), present);
        const QStringList created = folder::layOut(path("data"), path("share/Taux.txt"));
        QCOMPARE(created.contains(path("data/" + name)), replaced);
        QCOMPARE(readBytes(path("data/" + name)), replaced ? shipped : present);
    }
};

QTEST_GUILESS_MAIN(TestFolderLayout)
#include "tst_folderlayout.moc"
