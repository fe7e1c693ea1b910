#include "settings/paramfile.h"
#include "settings/ratesfile.h"

#include "common/environment.h"
#include "common/errors.h"

#include "testfiles.h"
#include "raised.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A slot told apart from the others by its names.
ParamRecord named(const QString &first, double date = 100.5)
{
    ParamRecord r;
    r.prenom3 = first;
    r.nom1 = first + " nanny";
    r.datenaiss = date;
    r.Netbrut = 1;
    r.lineTick[2] = 1;
    return r;
}

// The rates file a user might have after a few confirmations.
RatesList sampleRates()
{
    QStringList l;
    for (int i = 0; i < 9; ++i)
        l << QStringLiteral("Line %1 :").arg(i + 1);
    for (int i = 0; i < 9; ++i)
        l << QStringLiteral("0.0%1").arg(i + 1);
    for (int i = 0; i < 9; ++i)
        l << QStringLiteral("%1.50").arg(i + 1);
    for (int i = 0; i < 9; ++i)
        l << QStringLiteral("%1").arg(90 + i);
    l << "8.10"
      << "10.38"
      << "2.50"
      << "3.20"
      << "12.5"
      << "1.25"
      << "0.76"
      << "2.29"
      << "0.77"
      << "1.52"
      << "0.125"
      << "3.0000000009";
    return RatesList(l);
}

struct Read {
    QString error;
    QList<QPair<int, QString>> captions;
};
Read readInto(ParamSlots &slotSet, const RatesList &rates = {})
{
    Read r;
    r.error = raised([&] {
        ReadParamFile(slotSet, rates, [&](int slot, const QString &caption) { r.captions.append({slot, caption}); });
    });
    return r;
}
} // namespace

class TestParamFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    const QDateTime m_now{QDate(2024, 3, 15), QTime(14, 30)};

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        setProgramFolder(m_dir.path());
        setNowForTests(m_now);
    }
    void init()
    {
        QFile::setPermissions(paramFilePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(paramFilePath());
        QDir(paramFilePath()).removeRecursively();
    }

    void resetSlotDefaults()
    {
        ParamSlots slotSet;
        slotSet.record(2) = named("Zoé");
        slotSet.current = 2;
        ResetSlot(slotSet, 2, sampleRates(), m_now);
        const ParamRecord &r = slotSet.record(2);
        QCOMPARE(r.prenom3, QString());
        QCOMPARE(r.nom1, QString());
        QCOMPARE(r.datenaiss, toDateNumber(m_now));
        QCOMPARE(r.du, r.datenaiss);
        QCOMPARE(r.au, r.datenaiss);
        QCOMPARE(r.SH, QString("8.10"));
        QCOMPARE(r.SHbr, QString("10.38"));
        QCOMPARE(r.FJ, QString("2.50"));
        QCOMPARE(r.FJbr, QString("3.20"));
        QCOMPARE(r.conge, QString("12"));    // cut to its two characters
        QCOMPARE(r.Indentr, QString("1.2")); // and three
        QCOMPARE(r.PD, QString("0.76"));
        QCOMPARE(r.D, QString("2.29"));
        QCOMPARE(r.G, QString("0.77"));
        QCOMPARE(r.Sp, QString("1.52"));
        QCOMPARE(r.ETH, QString("0.125"));
        QCOMPARE(r.EFJ, QString("3.00000000"));
        QCOMPARE(r.diverse, QString("0"));
        QCOMPARE(r.abs, QString("0"));
        QCOMPARE(r.accpte, QString("0"));
        QCOMPARE(r.lineName[8], QString("Line 9 :"));
        QCOMPARE(r.netRate[0], QString("0.01"));
        QCOMPARE(r.grossRate[4], QString("5.50"));
        QCOMPARE(r.basePercent[8], QString("98"));
        QCOMPARE(r.lineTick, (std::array<quint8, 9>{1, 1, 1, 1, 1, 1, 0, 0, 0}));
        QCOMPARE(r.pol1 + r.pol2 + r.Conges + r.Netbrut, 0);
        QCOMPARE(r.CheckBox10 + r.CheckBox11 + r.CheckBox12 + r.Indentre, 0);
        QCOMPARE(slotSet.record(1), ParamRecord{});
    }

    void resetWithAShortRatesList()
    {
        ParamSlots slotSet;
        ResetSlot(slotSet, 1, RatesList({"only a name"}), m_now);
        QCOMPARE(slotSet.record(1).lineName[0], QString("only a name"));
        QCOMPARE(slotSet.record(1).lineName[1], QString());
        QCOMPARE(slotSet.record(1).PD, QString());
        QCOMPARE(slotSet.record(1).diverse, QString("0"));
    }

    void noFileResetsSlotOneOnly_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("absent") << "absent";
        QTest::newRow("marked read-only") << "read-only";
        QTest::newRow("a folder") << "folder";
    }
    void noFileResetsSlotOneOnly()
    {
        QFETCH(QString, kind);
        ParamSlots slotSet;
        for (int s = 1; s <= 5; ++s)
            slotSet.record(s) = named(QStringLiteral("child %1").arg(s));
        slotSet.current = 4;
        if (kind == "read-only") {
            writeBytes(paramFilePath(), paramrecord::encode(named("on disk")).repeated(5));
            QVERIFY(QFile::setPermissions(paramFilePath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(paramFilePath()));
        }
        const Read read = readInto(slotSet, sampleRates());
        QCOMPARE(read.error, QString());
        QVERIFY(read.captions.isEmpty());
        QCOMPARE(slotSet.current, 1);
        QCOMPARE(slotSet.record(1), defaultRecord(sampleRates(), m_now));
        for (int s = 2; s <= 5; ++s)
            QCOMPARE(slotSet.record(s), named(QStringLiteral("child %1").arg(s)));
    }

    void writtenAndReadBack()
    {
        ParamSlots slotSet;
        for (int s = 1; s <= 5; ++s)
            slotSet.record(s) = named(s == 4 ? QString() : QStringLiteral("Enfant n°%1").arg(s), 1000 + s);
        slotSet.current = 3;
        WriteParamFile(slotSet);
        const QByteArray bytes = readBytes(paramFilePath());
        QCOMPARE(bytes.size(), 5680);
        for (int s = 1; s <= 5; ++s)
            QCOMPARE(bytes.mid((s - 1) * 1136, 1136), paramrecord::encode(slotSet.record(s)));
        QCOMPARE(bytes.mid(1136 + 147, 11), QByteArray("\x0a"
                                                       "Enfant n\xb0"
                                                       "2"));

        ParamSlots back;
        back.current = 5;
        const Read read = readInto(back);
        QCOMPARE(read.error, QString());
        QCOMPARE(back.slot, slotSet.slot);
        QCOMPARE(back.current, 1);
        QCOMPARE(read.captions,
                 (QList<QPair<int, QString>>{
                     {1, "Enfant n°1"}, {2, "Enfant n°2"}, {3, "Enfant n°3"}, {4, ""}, {5, "Enfant n°5"}}));
    }

    void fileAlwaysFiveRecords()
    {
        ParamSlots slotSet;
        slotSet.record(1) = named("seul");
        WriteParamFile(slotSet);
        QCOMPARE(readBytes(paramFilePath()).size(), 5680);
        QCOMPARE(readBytes(paramFilePath()).mid(1136), QByteArray(4 * 1136, '\0'));
    }

    void cutShort_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("slotsRead");
        QTest::newRow("empty file") << 0 << 0;
        QTest::newRow("half a record") << 500 << 0;
        QTest::newRow("one and a half") << 1136 + 568 << 1;
        QTest::newRow("four and one byte") << 4 * 1136 + 1 << 4;
        QTest::newRow("a byte short of five") << 5680 - 1 << 4;
    }
    void cutShort()
    {
        QFETCH(int, length);
        QFETCH(int, slotsRead);
        QByteArray file;
        for (int s = 1; s <= 5; ++s)
            file += paramrecord::encode(named(QStringLiteral("file %1").arg(s)));
        writeBytes(paramFilePath(), file.left(length));

        ParamSlots slotSet;
        for (int s = 1; s <= 5; ++s)
            slotSet.record(s) = named(QStringLiteral("memory %1").arg(s));
        const Read read = readInto(slotSet, sampleRates());
        QCOMPARE(read.error, QStringLiteral("Lecture au-delà de la fin de fichier"));
        QCOMPARE(read.captions.size(), slotsRead);
        for (int s = 1; s <= 5; ++s)
            QCOMPARE(slotSet.record(s).prenom3, QStringLiteral("%1 %2").arg(s <= slotsRead ? "file" : "memory").arg(s));
        QCOMPARE(slotSet.current, 1);
    }

    void extraRecordsIgnored()
    {
        QByteArray file;
        for (int s = 1; s <= 6; ++s)
            file += paramrecord::encode(named(QStringLiteral("file %1").arg(s)));
        writeBytes(paramFilePath(), file + "tail");
        ParamSlots slotSet;
        const Read read = readInto(slotSet);
        QCOMPARE(read.error, QString());
        QCOMPARE(read.captions.size(), 5);
        QCOMPARE(slotSet.record(5).prenom3, QString("file 5"));
    }

    void failedWriteKeepsTheOldFile()
    {
        ParamSlots old;
        old.record(3) = named("ancien");
        WriteParamFile(old);
        const QByteArray before = readBytes(paramFilePath());
        QVERIFY(QFile::setPermissions(paramFilePath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));

        ParamSlots slotSet;
        slotSet.record(3) = named("nouveau");
        QCOMPARE(raised([&] { WriteParamFile(slotSet); }), QStringLiteral("Accès au fichier refusé"));
        QCOMPARE(readBytes(paramFilePath()), before);
    }
};

QTEST_GUILESS_MAIN(TestParamFile)
#include "tst_paramfile.moc"
