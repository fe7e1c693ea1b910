// The two settings files read and replaced together: both or neither, the
// damaged file kept aside, a missing rates file never costing the children.

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
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settingsfiles.moc"
