// The settings files read and replaced together: all or none, the damaged
// file kept aside, a missing rates file never costing the children.

#include "settings/settingsfiles.h"
#include "settings/wholefile.h"

#include "common/environment.h"
#include "common/errors.h"

#include "raised.h"
#include "smalldisk.h"
#include "testfiles.h"
#include "required.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {
ParamSlots fiveChildren()
{
    ParamSlots s;
    for (int n = 1; n <= SlotCount; ++n) {
        s.record(n).prenom3 = QStringLiteral("Enfant%1").arg(n);
        s.record(n).nom1 = QStringLiteral("Nounou%1").arg(n);
        s.record(n).datenaiss = 40000 + n;
    }
    return s;
}

// Files of the folder, hidden ones included: nothing staged may be left.
QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString rates() const { return m_dir.filePath("Taux.txt"); }
    QString params() const { return m_dir.filePath("Paramtre.bvp"); }

private slots:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        setProgramFolder(m_dir.path());
    }

    void bothReplacedOrNeither_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing wrong") << ""
                                       << "";
        QTest::newRow("second file read-only") << "read-only"
                                               << "Accès au fichier refusé";
        QTest::newRow("second name taken by a folder") << "folder"
                                                       << "Accès au fichier refusé";
        QTest::newRow("first file read-only") << "first read-only"
                                              << "Accès au fichier refusé";
    }
    void bothReplacedOrNeither()
    {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        const QString first = m_dir.filePath("a.txt"), second = m_dir.filePath("b.bin");
        writeBytes(first, "old a\r\n");
        if (fault == "folder")
            QVERIFY(QDir().mkdir(second));
        else
            writeBytes(second, "old b");
        if (fault == "read-only")
            QVERIFY(QFile::setPermissions(second, QFileDevice::ReadOwner));
        if (fault == "first read-only")
            QVERIFY(QFile::setPermissions(first, QFileDevice::ReadOwner));
        const QStringList before = listing(m_dir.path());

        QCOMPARE(raised([&] { replaceFiles({{first, "new a"}, {second, QByteArray(6000, 'b')}}); }), message);
        QCOMPARE(listing(m_dir.path()), before);
        if (message.isEmpty()) {
            QCOMPARE(readBytes(first), QByteArray("new a"));
            QCOMPARE(readBytes(second), QByteArray(6000, 'b'));
        } else {
            QCOMPARE(readBytes(first), QByteArray("old a\r\n"));
            if (fault != "folder")
                QCOMPARE(readBytes(second), QByteArray("old b"));
        }
    }

    void fullDiskLeavesBothFiles()
    {
        SmallDisk disk(64);
        if (!disk.isMounted())
            SKIP_UNLESS_CI(disk.reason());
        const QString first = disk.path() + "/Taux.txt", second = disk.path() + "/Paramtre.bvp";
        writeBytes(first, "old rates");
        writeBytes(second, QByteArray(5680, 'p'));
        // 4 kB left: room for the new rates file, not for the parameter file.
        QVERIFY(disk.fillLeaving(4096));
        const QStringList before = listing(disk.path());
        QCOMPARE(raised([&] {
                     replaceFiles({{first, QByteArray(600, 'r')}, {second, QByteArray(5680, 'q')}});
                 }),
                 QString("Disque plein"));
        QCOMPARE(readBytes(first), QByteArray("old rates"));
        QCOMPARE(readBytes(second), QByteArray(5680, 'p'));
        QCOMPARE(listing(disk.path()), before);
    }

    void keptFileBesideItsReplacement()
    {
        const QString file = m_dir.filePath("Paramtre.bvp");
        writeBytes(file + ".bak", "an older backup");
        writeBytes(file, QByteArray(1135, 'o'));
        writeBytes(rates(), "rates");
        replaceFiles({{rates(), "new rates", false}, {file, QByteArray(5680, 'n'), true}});
        QCOMPARE(readBytes(file + ".bak"), QByteArray(1135, 'o'));
        QCOMPARE(readBytes(file), QByteArray(5680, 'n'));
        QVERIFY(!QFile::exists(rates() + ".bak"));
        // Nothing to keep when there was no file.
        replaceFiles({{m_dir.filePath("new.txt"), "x", true}});
        QVERIFY(!QFile::exists(m_dir.filePath("new.txt.bak")));
    }

    void missingRatesFileKeepsTheChildren()
    {
        SettingsFiles state;
        RatesList list;
        ParamSlots slotSet = fiveChildren();
        saveSettings(state, RatesList(QStringList{"RDS :"}), slotSet);
        QVERIFY(QFile::remove(rates()));

        ParamSlots readBack;
        const QStringList errors = loadSettings(state, list, readBack);
        QCOMPARE(errors, QStringList{"Impossible d'ouvrir le fichier " + QDir::toNativeSeparators(rates())});
        QCOMPARE(list.lines(), QStringList(rates::LineCount, QString()));
        for (int n = 1; n <= SlotCount; ++n)
            QCOMPARE(paramrecord::encode(readBack.record(n)), paramrecord::encode(slotSet.record(n)));
        QVERIFY(!state.keepRates); // nothing there to keep
        QVERIFY(!state.keepParams);
    }

    void damagedParameterFileKeptOnce()
    {
        SettingsFiles state;
        RatesList list;
        ParamSlots slotSet;
        writeBytes(rates(), "RDS :\r\n");
        writeBytes(params(), QByteArray(1135, '\x07'));
        QCOMPARE(loadSettings(state, list, slotSet), QStringList{"Lecture au-delà de la fin de fichier"});
        QVERIFY(state.keepParams);
        QVERIFY(!state.keepRates);
        saveSettings(state, list, slotSet);
        QCOMPARE(readBytes(params() + ".bak"), QByteArray(1135, '\x07'));
        QCOMPARE(readBytes(params()).size(), 5 * 1136);
        // The next confirmation replaces a good file: the backup stays as it was.
        QVERIFY(!state.keepParams);
        saveSettings(state, list, fiveChildren());
        QCOMPARE(readBytes(params() + ".bak"), QByteArray(1135, '\x07'));
    }

    // The family's particulars ride with the other two files: written when
    // they changed, a damaged file kept aside, a later version's never replaced.
    void familyFile_data()
    {
        QTest::addColumn<QByteArray>("present"); // "" for no file
        QTest::addColumn<QString>("why"); // the damage, "newer" for a later version's file
        QTest::addColumn<bool>("replaced");
        QTest::addColumn<bool>("kept"); // as Famille.txt.bak
        const QByteArray v1 = "BERLIVO FAMILLE;1\nressources;2500.5\nenfants_a_charge;2\n";
        QTest::newRow("none yet") << QByteArray() << "" << true << false;
        QTest::newRow("version 1") << v1 << "" << true << false;
        QTest::newRow("damaged") << QByteArray("BERLIVO FAMILLE;1\nenfants_a_charge;deux\n")
                                 << "valeur illisible « deux » pour enfants_a_charge" << true << true;
        QTest::newRow("later version") << QByteArray(v1).replace(";1\n", ";2\n").append("revenus_n2;40000\n")
                                       << "newer" << false << false;
    }
    void familyFile()
    {
        QFETCH(QByteArray, present);
        QFETCH(QString, why);
        QFETCH(bool, replaced);
        QFETCH(bool, kept);
        const QString path = m_dir.filePath("Famille.txt");
        writeBytes(rates(), "RDS :\r\n");
        if (!present.isEmpty())
            writeBytes(path, present);
        SettingsFiles state;
        RatesList list;
        ParamSlots slotSet;
        Family f;
        const QStringList errors = loadSettings(state, list, slotSet, {}, &f);
        const QString shown = QDir::toNativeSeparators(path);
        const QString message = why.isEmpty()   ? QString()
                                : why == "newer" ? aidmsg::familyFileTooNew(shown)
                                                 : aidmsg::familyFileDamaged(shown, 2, why);
        QCOMPARE(errors.filter("Famille.txt"), message.isEmpty() ? QStringList() : QStringList{message});
        if (present.contains("2500.5"))
            QCOMPARE(f.resources, std::optional<qint64>(250050));

        // Unchanged, a sound file is left alone, and no file is made.
        saveSettings(state, list, slotSet, &f);
        QCOMPARE(QFile::exists(path), !present.isEmpty());
        if (!present.isEmpty())
            QCOMPARE(readBytes(path) == present, !kept);

        f.children = 3;
        f.child[1].sharedCustody = true;
        saveSettings(state, list, slotSet, &f);
        QCOMPARE(QFile::exists(path + ".bak"), kept);
        if (!replaced) {
            QCOMPARE(readBytes(path), present);
            return;
        }
        Family back;
        loadSettings(state, list, slotSet, {}, &back);
        QCOMPARE(back, f);
    }

    void familyParticulars_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("cents"); // -1 for none
        QTest::newRow("whole") << " 3000 " << qint64(300000);
        QTest::newRow("comma") << "2500,5" << qint64(250050);
        QTest::newRow("point, two decimals") << "1234.56" << qint64(123456);
        QTest::newRow("blank") << "" << qint64(-1);
        QTest::newRow("three decimals") << "12.345" << qint64(-1);
        QTest::newRow("negative") << "-10" << qint64(-1);
        QTest::newRow("grouped") << "3 000" << qint64(-1);
    }
    void familyParticulars()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, cents);
        QCOMPARE(family::typedCents(typed), cents < 0 ? std::nullopt : std::optional(cents));
        if (cents >= 0)
            QCOMPARE(family::typedCents(family::centsText(cents)), std::optional(cents));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settingsfiles.moc"
