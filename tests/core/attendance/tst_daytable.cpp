#include "attendance/daytable.h"
#include "attendance/monthsheet.h"
#include "attendance/duration.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "raised.h"
#include "storedrows.h"
#include "required.h"

#include <QAbstractItemModelTester>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {
day::Record record(const QString &date, const QString &h1 = {}, const QString &h2 = {}, const QString &duration = {},
                   bool flat = false)
{
    day::Record r;
    r[day::Date] = date;
    r[day::Heure1] = h1;
    r[day::Heure2] = h2;
    r[day::Duree] = duration;
    for (int f = day::FJ; f <= day::Ferie; ++f)
        r[f] = day::flagText(f == day::FJ && flat);
    r[day::Moan] = date.mid(3, 2) + date.mid(8, 2);
    return r;
}

} // namespace

class TestDayTable : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_folder;
    QString path(const char *name = "Enf1.db") const { return m_folder + name; }

    void prepare(DayTable &t, const char *name = "Enf1.db")
    {
        t.setFolder(m_folder);
        t.setTableName(QString::fromLatin1(name));
    }

    void storeDays(const QList<day::Record> &days)
    {
        DayTable t;
        prepare(t);
        t.storeMonth(days);
    }

    void expectError(const std::function<void()> &body, const QString &message) { QCOMPARE(raised(body), message); }

private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        QVERIFY(m_dir.isValid());
        m_folder = m_dir.path() + '/';
    }

    void init()
    {
        for (int tab = 0; tab < 5; ++tab)
            QFile::remove(m_folder + tableNameForSlot(tab));
        QVERIFY(DayTable::createEmpty(path()));
    }

    void tablesAreLaidOutOnceAndKept()
    {
        DayTable t;
        prepare(t);
        t.storeMonth({record("05/01/2007", "", "", "", true)});
        // A second lay-out leaves a table that is there untouched.
        QVERIFY(!DayTable::createEmpty(path()));
        QCOMPARE(storedRows(path()).size(), 1);
        QVERIFY(DayTable::createEmpty(path("Enf2.db")));
        QVERIFY(storedRows(path("Enf2.db")).isEmpty());
        QVERIFY(!QFile::exists(path("Enf2.db.part")));
    }

    void storedValuesAreReadable()
    {
        DayTable t;
        prepare(t);
        day::Record worked = record("05/01/2007", "08:00:00", "12:00:00", "7.83");
        worked[day::Heure3] = "13:30:00";
        worked[day::Dej] = "Vrai";
        t.storeMonth({record("04/01/2007", "", "", "", true), worked});
        QVERIFY(!t.isOpen());
        QCOMPARE(storedRows(path()), QStringList({
                                         "'2007-01-04'|NULL|NULL|NULL|NULL|NULL|1|0|0|0|0|0|'0107'",
                                         "'2007-01-05'|'08:00:00'|'12:00:00'|'13:30:00'|NULL|7.83|0|0|1|0|0|0|'0107'",
                                     }));
    }

    // Found by fuzzing: a duration beyond the range of the 8-byte real was
    // stored as infinity, shown "inf", and that text refused when edited.
    void durationBeyondTheRealIsRefused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("exponent past a double") << ".781e333";
        QTest::newRow("long digits past a double") << QString("1") + QString(400, '0');
        QTest::newRow("negative") << "-2e308";
    }
    void durationBeyondTheRealIsRefused()
    {
        QFETCH(QString, text);
        expectError([&] { day::fromText(day::Duree, text); }, rtl::notAFloat(text));
        DayTable t;
        prepare(t);
        expectError([&] { t.storeMonth({record("05/01/2007", "08:00:00", "12:00:00", text)}); },
                    rtl::tableFailure(rtl::TableAction::Store, "Enf1.db", rtl::notAFloat(text)));
        QCOMPARE(storedRows(path()), QStringList());
        // A large real within range is stored and reads back as itself.
        const QVariant large = day::fromText(day::Duree, "1e300");
        QCOMPARE(large, QVariant(1e300));
        QCOMPARE(day::fromText(day::Duree, day::toText(day::Duree, large)), large);
    }

    void theSqliteToolReadsTheFields()
    {
        const QString sqlite = QStandardPaths::findExecutable("sqlite3");
        if (sqlite.isEmpty())
            SKIP_UNLESS_CI("the sqlite3 command is not installed");
        DayTable t;
        prepare(t);
        t.storeMonth({record("31/12/2010", "08:00:00", "16:00:00", "8")});
        QProcess p;
        p.start(sqlite, {"-header", "-separator", "|", path(), "SELECT * FROM Jours"});
        QVERIFY(p.waitForFinished());
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 QStringList({
                     "Date|Heure1|Heure2|Heure3|Heure4|Durée|FJ|PD|Déj|Gouter|Diner|Ferié|Moan",
                     "2010-12-31|08:00:00|16:00:00|||8.0|0|0|0|0|0|0|1210",
                 }));
    }

    void eachValidationAppends()
    {
        DayTable t;
        prepare(t);
        const QList<day::Record> month = {record("30/01/2007", "", "", "", true),
                                          record("01/02/2007", "", "", "", true)};
        t.storeMonth(month);
        t.storeMonth(month);
        const QStringList rows = storedRows(path());
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[2], rows[0]);
        QVERIFY(rows[0].endsWith("'0107'"));
        QVERIFY(rows[1].endsWith("'0207'"));
    }

    // A month validated again replaces the days held for its keys, and only
    // those, in one go; the held keys are found before.
    void replacingAMonthKeepsOtherMonths()
    {
        DayTable t;
        prepare(t);
        const QList<day::Record> january = {record("29/01/2007", "", "", "", true)};
        const QList<day::Record> spanning = {record("30/01/2007", "", "", "", true),
                                             record("01/02/2007", "", "", "", true)};
        t.storeMonth(january);
        t.storeMonth({record("05/03/2007", "", "", "", true)});
        QCOMPARE(DayTable::monthKeys(spanning), QStringList({"0107", "0207"}));
        QCOMPARE(t.heldMonths(DayTable::monthKeys(spanning)), QStringList{"0107"});
        QVERIFY(!t.isOpen());

        t.storeMonth(spanning, DayTable::Stored::Replace);
        t.storeMonth(spanning, DayTable::Stored::Replace);
        const QStringList rows = storedRows(path());
        QCOMPARE(rows.size(), 3); // March, then January 30 and February 1 once
        QVERIFY(rows[0].startsWith("'2007-03-05'"));
        QVERIFY(rows[1].startsWith("'2007-01-30'"));
        QVERIFY(rows[2].startsWith("'2007-02-01'"));

        // A replacement that fails leaves the month it would have replaced.
        QList<day::Record> bad = spanning;
        bad[1][day::Duree] = "1e400";
        QVERIFY(!raised([&] { t.storeMonth(bad, DayTable::Stored::Replace); }).isEmpty());
        QCOMPARE(storedRows(path()), rows);
    }

    // A month validated, stored and read back is the sheet its validation
    // left, cell for cell, with the totals and key "&Valide" gave it.
    void storedMonthGivesBackItsSheet_data()
    {
        QTest::addColumn<QList<QStringList>>("rows"); // day, H1, H2, H3, H4, marks ("F" flat, "P" breakfast,
                                                      // "D" lunch, "G" snack, "S" dinner, "H" holiday)
        QTest::newRow("morning and afternoon, meals") << QList<QStringList>{
            {"2", "08:00:00", "12:00:00", "13:30:00", "17:45:00", "PDG"}, {"3", "07:50:00", "16:03:00", "", "", "DS"}};
        QTest::newRow("flat rate and holiday, no time")
            << QList<QStringList>{{"1", "", "", "", "", "FH"}, {"14", "08:00:00", "12:00:00", "", "", "H"}};
        QTest::newRow("minutes a cut loses (1:13, 7:49), seconds kept")
            << QList<QStringList>{{"5", "08:00:00", "09:13:00", "", "", ""},
                                  {"6", "08:11:00", "16:00:00", "", "", ""},
                                  {"7", "08:00:59", "10:00:00", "", "", ""}};
        QTest::newRow("times left at midnight, flat rate")
            << QList<QStringList>{{"31", "00:00:00", "00:00:00", "00:00:00", "00:00:00", "F"}};
    }
    void storedMonthGivesBackItsSheet()
    {
        QFETCH(QList<QStringList>, rows);
        static const QList<std::pair<QChar, sheet::Column>> marks = {{'F', sheet::Flat},   {'P', sheet::Breakfast},
                                                                     {'D', sheet::Lunch},  {'G', sheet::Snack},
                                                                     {'S', sheet::Dinner}, {'H', sheet::Holiday}};
        MonthSheet typed;
        for (const QStringList &r : rows) {
            const int day = r[0].toInt();
            typed.cell(sheet::Date, day) = QStringLiteral("%1/05/2026").arg(day, 2, 10, QChar('0'));
            for (int i = 0; i < 4; ++i)
                typed.cell(sheet::Arrival1 + i, day) = r[1 + i];
            if (!r[1].isEmpty()) {
                const auto at = [&](int i) {
                    return r[i].isEmpty() ? QTime(0, 0) : QTime::fromString(r[i], "HH:mm:ss");
                };
                typed.cell(sheet::Duration, day) = dayDuration(at(1), at(2), at(3), at(4));
            }
            for (const auto &[letter, column] : marks)
                if (r[5].contains(letter))
                    typed.cell(column, day) = sheet::mark(column);
        }
        // The window's own title row and day column.
        for (int c = 0; c < sheet::ColumnCount; ++c)
            typed.cell(c, 0) = sheet::titles().at(c);
        for (int d = 1; d <= sheet::LastDay; ++d)
            typed.cell(sheet::Day, d) = QString::number(d);

        const MonthValidation validated = validateMonth(typed);
        DayTable t;
        prepare(t);
        t.storeMonth({record("30/04/2026", "", "", "", true)}); // a month beside it stays out
        t.storeMonth(validated.days);
        const QList<day::Record> stored = DayTable::monthDays(path(), "0526");
        QCOMPARE(stored.size(), rows.size());
        const MonthSheet back = sheetFromDays(stored);
        for (int r = 0; r < sheet::RowCount; ++r)
            for (int c = 0; c < sheet::ColumnCount; ++c)
                QCOMPARE(back.cell(c, r), validated.sheet.cell(c, r));
        const MonthValidation again = validateMonth(back);
        QCOMPARE(again.totals.hoursText(), validated.totals.hoursText());
        QCOMPARE(again.totals.flatDaysText(), validated.totals.flatDaysText());
        QCOMPARE(again.monthKey, validated.monthKey);
        QCOMPARE(again.days, validated.days);
    }

    // A Durée typed over in the review is what the month holds since: it is
    // kept, to the minute, over what the times give; a day stored twice
    // shows its later record.
    void reviewedDurationAndTwinDays()
    {
        QList<day::Record> days = {record("04/05/2026", "08:00:00", "12:00:00", "4"),
                                   record("05/05/2026", "08:00:00", "12:00:00", "3.83"),
                                   record("04/05/2026", "", "", "", true)};
        const MonthSheet s = sheetFromDays(days);
        QCOMPARE(s.cell(sheet::Duration, 5), "03:50:00");
        QCOMPARE(s.cell(sheet::Arrival1, 5), "08:00:00");
        QCOMPARE(s.cell(sheet::Duration, 4), "");
        QCOMPARE(s.cell(sheet::Flat, 4), "OUI");
        QCOMPARE(monthTotals(s).hoursText(), "3.83");
    }

    // The months a table holds, the latest first by their year, with their
    // record counts; a key typed over into no month comes last.
    void heldMonthsLatestFirst()
    {
        storeDays({record("30/12/2019", "", "", "", true), record("31/12/2019", "", "", "", true)});
        storeDays({record("02/01/2020", "", "", "", true)});
        storeDays({record("03/02/2007", "", "", "", true)});
        QList<day::Record> odd = {record("04/03/2007", "", "", "", true)};
        odd[0][day::Moan] = "zz";
        storeDays(odd);
        const QList<HeldMonth> expected = {{"0120", 1}, {"1219", 2}, {"0207", 1}, {"zz", 1}};
        QCOMPARE(DayTable::heldMonthList(path()), expected);
        QCOMPARE(DayTable::heldMonthList(path("Enf2.db")), QList<HeldMonth>());
        QCOMPARE(DayTable::monthDays(path(), "1219").size(), 2);
    }

    void noDayStoresNothing()
    {
        DayTable t;
        prepare(t);
        expectError([&] { t.storeMonth({}); }, "Aucun jour à enregistrer : aucune ligne ne porte de date.");
        QVERIFY(!t.isOpen());
        QVERIFY(storedRows(path()).isEmpty());
    }

    void missingTableIsNotCreated()
    {
        DayTable t;
        prepare(t, "Enf3.db");
        expectError([&] { t.storeMonth({record("05/01/2007", "", "", "", true)}); },
                    rtl::tableFailure(
                        rtl::TableAction::Store, "Enf3.db",
                        QString("Impossible d'ouvrir le fichier %1").arg(QDir::toNativeSeparators(path("Enf3.db")))));
        QVERIFY(!t.isOpen());
        QVERIFY(!QFile::exists(path("Enf3.db")));
    }

    void fileWithoutTheTableIsRefused()
    {
        QFile empty(path("Enf4.db"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        DayTable t;
        prepare(t, "Enf4.db");
        const QString error = raised([&] { t.open(); });
        QVERIFY2(error.contains("no such table"), qPrintable(error));
        QVERIFY(!t.isOpen());
    }

    void failedValidationStoresNothingOfIt()
    {
        DayTable t;
        prepare(t);
        t.storeMonth({record("01/03/2007", "", "", "", true)});
        expectError(
            [&] {
                t.storeMonth({record("02/03/2007", "", "", "", true), record("03/03/2007", "", "", "", true),
                              record("32/03/2007"), record("04/03/2007", "", "", "", true)});
            },
            "Impossible d'enregistrer les jours dans Enf1.db :\n'32/03/2007' n'est pas une date correcte");
        QVERIFY(!t.isOpen());
        QCOMPARE(storedRows(path()).size(), 1);
        // The table is usable again at once.
        t.storeMonth({record("05/03/2007", "", "", "", true)});
        QCOMPARE(storedRows(path()).size(), 2);
    }

    void nameChangesOnlyWhileClosed()
    {
        DayTable t;
        prepare(t);
        t.open();
        t.setTableName("Enf1.db"); // the same name again is accepted
        t.setFolder(m_folder);
        const QString refused = "Impossible d'effectuer cette opération sur un ensemble de données ouvert";
        expectError([&] { t.setTableName("Enf2.db"); }, refused);
        expectError([&] { t.setFolder(m_folder + "other/"); }, refused);
        QCOMPARE(t.tableName(), QString("Enf1.db"));
        t.close();
        t.setTableName("Enf2.db");
        QCOMPARE(t.path(), path("Enf2.db"));
    }

    void recordByRecord()
    {
        DayTable t;
        prepare(t);
        expectError([&] { t.append(); }, "Impossible d'effectuer cette opération sur un ensemble de données fermé");
        t.open();
        expectError([&] { t.post(); }, "Ensemble de données non en mode édition ou insertion");
        expectError([&] { t.setField("Moan", "0107"); }, "Ensemble de données non en mode édition ou insertion");
        t.append();
        expectError([&] { t.setField("Duree", "1"); }, "Champ 'Duree' non trouvé");
        t.setField("Date", "05/01/2007");
        t.append(); // stores the pending record first
        t.setField("Durée", "0.75");
        t.post();
        QVERIFY(!t.hasPending());
        t.append();
        t.setField("Moan", "0207");
        t.close(); // drops the record still pending
        QCOMPARE(storedRows(path()), QStringList({
                                         "'2007-01-05'|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL|NULL",
                                         "NULL|NULL|NULL|NULL|NULL|0.75|NULL|NULL|NULL|NULL|NULL|NULL|NULL",
                                     }));
    }

    void exclusiveHolderMakesOthersFailAtOnce()
    {
        // Neither connection waits on a lock (the engine's default would be 5 s).
        DayTable hours;
        prepare(hours);
        hours.open();
        QCOMPARE(lockWaits(path()), QList<int>{0});
        hours.close();
        DayTable review;
        prepare(review);
        review.open(DayTable::Access::Exclusive);
        QCOMPARE(lockWaits(path()), QList<int>{0});
        expectError(
            [&] { hours.storeMonth({record("05/01/2007", "", "", "", true)}); },
            rtl::tableFailure(rtl::TableAction::Store, "Enf1.db", rtl::tableLocked(QDir::toNativeSeparators(path()))));
        QVERIFY(!hours.isOpen());
        review.close();
        hours.storeMonth({record("05/01/2007", "", "", "", true)});
        QCOMPARE(storedRows(path()).size(), 1);
    }

    void modelShowsOneMonthInStoredOrder()
    {
        DayTable t;
        prepare(t);
        t.storeMonth({record("31/01/2007", "08:00:00", "12:00:00", "4"), record("01/02/2007", "", "", "", true),
                      record("02/01/2007", "", "", "", true)});
        t.open();
        DayModel *m = t.model();
        QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(t.filter(), QString());
        t.setMonthFilter("0107");
        QCOMPARE(t.filter(), QString("Moan ='0107'"));
        QCOMPARE(m->rowCount(), 2);
        QCOMPARE(m->columnCount(), 13);
        QCOMPARE(m->headerData(5, Qt::Horizontal).toString(), QString("Durée"));
        QCOMPARE(m->index(0, day::Date).data().toString(), QString("31/01/2007"));
        QCOMPARE(m->index(1, day::Date).data().toString(), QString("02/01/2007"));
        QCOMPARE(m->index(0, day::Duree).data().toString(), QString("4"));
        QCOMPARE(m->index(0, day::Heure3).data().toString(), QString());
        QCOMPARE(m->index(1, day::FJ).data().toString(), QString("Vrai"));
        QCOMPARE(m->index(1, day::FJ).data(Qt::EditRole), QVariant(true));
        QCOMPARE(m->index(0, day::Date).data(Qt::EditRole), QVariant(QDate(2007, 1, 31)));
        t.setMonthFilter("0207");
        QCOMPARE(m->rowCount(), 1);
        t.setMonthFilter("0307");
        QCOMPARE(m->rowCount(), 0);
        t.close();
        QCOMPARE(m->rowCount(), 0);
        QCOMPARE(t.filter(), QString()); // closing switches the filter off
    }

    void modelEditsTheOneRecordOfTwinDays()
    {
        DayTable t;
        prepare(t);
        const day::Record twin = record("05/01/2007", "", "", "", true);
        t.storeMonth({twin, twin});
        t.open();
        DayModel *m = t.model();
        t.setMonthFilter("0107");
        QVERIFY(m->setData(m->index(1, day::Dej), true));
        QVERIFY(m->setData(m->index(1, day::Duree), "2.5"));
        QVERIFY(m->isDirty());
        QVERIFY(!m->setData(m->index(1, day::Heure1), "8h"));
        QCOMPARE(m->lastError(), QString("'8h' n'est pas une heure correcte"));
        // Nothing reaches the file before the record is left.
        QCOMPARE(storedRows(path())[1], storedRows(path())[0]);
        QVERIFY(m->submit());
        QStringList rows = storedRows(path());
        QCOMPARE(rows[0], QString("'2007-01-05'|NULL|NULL|NULL|NULL|NULL|1|0|0|0|0|0|'0107'"));
        QCOMPARE(rows[1], QString("'2007-01-05'|NULL|NULL|NULL|NULL|2.5|1|0|1|0|0|0|'0107'"));

        // A change dropped by revert, or by closing, never reaches the file.
        QVERIFY(m->setData(m->index(0, day::PD), "Vrai"));
        m->revert();
        QCOMPARE(m->index(0, day::PD).data().toString(), QString("Faux"));
        QVERIFY(m->setData(m->index(0, day::Gouter), "Vrai"));
        t.close();
        QCOMPARE(storedRows(path()), rows);

        // Deleting one twin leaves the other.
        t.open();
        t.setMonthFilter("0107");
        QVERIFY(m->removeRows(0, 1));
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(storedRows(path()), QStringList({rows[1]}));
    }

    void editingAnotherRecordStoresTheFirst()
    {
        DayTable t;
        prepare(t);
        t.storeMonth({record("05/01/2007", "", "", "", true), record("06/01/2007", "", "", "", true)});
        t.open();
        DayModel *m = t.model();
        t.setMonthFilter("0107");
        QVERIFY(m->setData(m->index(0, day::Diner), true));
        QVERIFY(m->setData(m->index(1, day::PD), true));
        QVERIFY(storedRows(path())[0].contains("|1|0|0|0|1|0|"));
        t.setMonthFilter("0107"); // choosing a month again stores the pending change
        QVERIFY(storedRows(path())[1].contains("|1|1|0|0|0|0|"));
    }
};

QTEST_GUILESS_MAIN(TestDayTable)
#include "tst_daytable.moc"
