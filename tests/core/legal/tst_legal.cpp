// The legal values with their dates, the minimums' notes and the childcare
// tax credit.

#include "archive/sliparchive.h"
#include "common/errors.h"
#include "legal/legaltable.h"
#include "legal/minimums.h"
#include "legal/taxcredit.h"
#include "raised.h"
#include "shippedrates.h"
#include "testfiles.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

using legal::Key;

Q_DECLARE_METATYPE(legal::Key)

namespace {
const QString shippedPath = QStringLiteral(BERLIVO_SOURCE_DIR "/data/Baremes.txt");

QByteArray tableFile(const QByteArray &rows, int edition = 1) { return legalTableFile(rows, edition); }

Money euros(const char *text) { return moneyFromText(QString::fromLatin1(text)); }

// The values as the law set them, written out here from their sources
// rather than read back from the shipped file.
struct Change {
    Key key;
    QDate from;
    const char *amount;
};
const QList<Change> history = {
    {Key::Smic, {2022, 1, 1}, "10.57"},
    {Key::Smic, {2022, 5, 1}, "10.85"},
    {Key::Smic, {2022, 8, 1}, "11.07"},
    {Key::Smic, {2023, 1, 1}, "11.27"},
    {Key::Smic, {2023, 5, 1}, "11.52"},
    {Key::Smic, {2024, 1, 1}, "11.65"},
    {Key::Smic, {2024, 11, 1}, "11.88"},
    {Key::Smic, {2026, 1, 1}, "12.02"},
    {Key::ChildminderHourly, {2025, 4, 1}, "3.64"},
    {Key::UpkeepPerDay, {2026, 1, 1}, "2.65"},
    {Key::UpkeepPer9Hours, {2026, 1, 1}, "3.83"},
    {Key::CreditCeiling, {2022, 1, 1}, "3500"},
    {Key::CreditRate, {2022, 1, 1}, "50"},
    {Key::AidHourlyCap, {2025, 9, 1}, "8.00"},
    {Key::AidReferenceCost, {2025, 9, 1}, "4.85"},
    {Key::AidEffortRate1, {2025, 9, 1}, "0.0619"},
    {Key::AidEffortRate2, {2025, 9, 1}, "0.0516"},
    {Key::AidEffortRate3, {2025, 9, 1}, "0.0413"},
    {Key::AidEffortRate4, {2025, 9, 1}, "0.0310"},
    {Key::AidEffortRate8, {2025, 9, 1}, "0.0206"},
    {Key::AidResourcesCeiling, {2025, 9, 1}, "8500"},
    {Key::AidAgeLimit, {2025, 9, 1}, "6"},
    {Key::AidAgeLimitSingle, {2025, 9, 1}, "12"},
    {Key::AidSharedPerParent, {2025, 12, 1}, "1"},
};
// The aid's values the rules card could not check: marked so in the file.
const QList<Key> unverified = {Key::AidEffortRate2, Key::AidEffortRate3, Key::AidEffortRate4, Key::AidEffortRate8};

legal::CareYear child(int slot, QDate birth, qint64 costs, qint64 cmg = 0, bool shared = false)
{
    return {slot, birth, costs, CareAid{cmg, shared}};
}
} // namespace

class TestLegal : public QObject {
    Q_OBJECT
private:
    legal::Table m_shipped;

private slots:
    void initTestCase() { m_shipped = legal::Table::load(shippedPath); }

    // The day before, the day of and the day after each change.
    void valueInForce_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("expected"); // "" for unknown
        for (qsizetype i = 0; i < history.size(); ++i) {
            const Change &c = history[i];
            const bool first = i == 0 || history[i - 1].key != c.key;
            const QString name = legal::keyName(c.key) + ' ' + c.from.toString(Qt::ISODate);
            QTest::addRow("%s, day before", qPrintable(name))
                << c.key << c.from.addDays(-1) << (first ? QString() : QString::fromLatin1(history[i - 1].amount));
            QTest::addRow("%s, on", qPrintable(name)) << c.key << c.from << QString::fromLatin1(c.amount);
            QTest::addRow("%s, after", qPrintable(name)) << c.key << c.from.addDays(1) << QString::fromLatin1(c.amount);
        }
        QTest::newRow("long before the table") << Key::Smic << QDate(1999, 6, 1) << QString();
        QTest::newRow("no date") << Key::Smic << QDate() << QString();
        QTest::newRow("no change on 1 January 2025") << Key::Smic << QDate(2025, 1, 1) << "11.88";
    }
    void valueInForce()
    {
        QFETCH(Key, key);
        QFETCH(QDate, date);
        QFETCH(QString, expected);
        const std::optional<legal::Value> v = m_shipped.inForce(key, date);
        QCOMPARE(v.has_value(), !expected.isEmpty());
        // The key's rule began with its first row.
        const auto first = std::find_if(history.begin(), history.end(), [&](const Change &c) { return c.key == key; });
        if (first != history.end())
            QCOMPARE(m_shipped.since(key), std::optional(first->from));
        if (v) {
            QCOMPARE(v->amount, moneyFromText(expected));
            QVERIFY(!v->source.isEmpty());
            QCOMPARE(v->verified(), !unverified.contains(key));
        }
    }

    void damagedTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("why");
        QTest::newRow("no header") << QByteArray("smic_horaire_brut;12.02;2026-01-01;JO\n") << 1
                                   << "en-tête attendu « BERLIVO VALEURS LEGALES;<édition>;<empreinte> »";
        QTest::newRow("edition not a number") << QByteArray("BERLIVO VALEURS LEGALES;x;00\n") << 1
                                              << "en-tête attendu « BERLIVO VALEURS LEGALES;<édition>;<empreinte> »";
        QTest::newRow("three fields") << tableFile("# c\nsmic_horaire_brut;12.02;2026-01-01\n") << 3
                                      << "4 champs attendus, 3 trouvés";
        QTest::newRow("unknown key") << tableFile("smic;12.02;2026-01-01;JO\n") << 2 << "clé inconnue « smic »";
        QTest::newRow("decimal comma") << tableFile("smic_horaire_brut;12,02;2026-01-01;JO\n") << 2
                                       << "montant illisible « 12,02 »";
        QTest::newRow("negative") << tableFile("smic_horaire_brut;-1;2026-01-01;JO\n") << 2 << "montant négatif « -1 »";
        QTest::newRow("French date") << tableFile("smic_horaire_brut;12.02;01/01/2026;JO\n") << 2
                                     << "date illisible « 01/01/2026 »";
        QTest::newRow("impossible date") << tableFile("smic_horaire_brut;12.02;2026-02-30;JO\n") << 2
                                         << "date illisible « 2026-02-30 »";
        QTest::newRow("no source") << tableFile("smic_horaire_brut;12.02;2026-01-01; \n") << 2 << "source manquante";
        QTest::newRow("two values on one date")
            << tableFile("smic_horaire_brut;12.02;2026-01-01;JO\n\nsmic_horaire_brut;12.20;2026-01-01;JO\n") << 4
            << "deux valeurs de smic_horaire_brut au 2026-01-01";
        QTest::newRow("not UTF-8") << tableFile("smic_horaire_brut;12.02;2026-01-01;D\xe9\x63ret\n") << 1
                                   << "le texte n'est pas en UTF-8";
    }
    void damagedTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, why);
        QCOMPARE(raised([&] { legal::Table::parse(bytes, "/p/Baremes.txt"); }),
                 rtl::legalTableDamaged("/p/Baremes.txt", line, why));
        // A window gets the message and no table: no check rather than a wrong one.
        QTemporaryDir dir;
        writeBytes(dir.filePath("Baremes.txt"), bytes);
        const legal::Loaded l = legal::loadTable(dir.filePath("Baremes.txt"));
        QVERIFY(!l.table);
        QCOMPARE(l.message, rtl::legalTableDamaged(dir.filePath("Baremes.txt"), line, why));
        QCOMPARE(legal::loadTable(dir.filePath("none.txt")).message, rtl::legalTableMissing(dir.filePath("none.txt")));
    }

    void shippedReplaces_data()
    {
        QTest::addColumn<QByteArray>("present");
        QTest::addColumn<QByteArray>("shipped");
        QTest::addColumn<bool>("replaced");
        const QByteArray v1 = tableFile("smic_horaire_brut;11.88;2024-11-01;D\n", 1);
        const QByteArray v2 =
            tableFile("smic_horaire_brut;11.88;2024-11-01;D\nsmic_horaire_brut;12.02;2026-01-01;D\n", 2);
        QByteArray edited = v1;
        edited.replace("11.88", "11.90");
        QTest::newRow("none yet") << QByteArray() << v2 << true;
        QTest::newRow("older, as shipped") << v1 << v2 << true;
        QTest::newRow("older, edited by the user") << edited << v2 << false;
        QTest::newRow("same edition") << v2 << v2 << false;
        QTest::newRow("newer than the program's") << v2 << v1 << false;
        QTest::newRow("not a table at all") << QByteArray("notes\n") << v2 << false;
        QTest::newRow("older, as shipped, with a byte order mark") << "\xEF\xBB\xBF" + v1 << v2 << true;
    }
    void shippedReplaces()
    {
        QFETCH(QByteArray, present);
        QFETCH(QByteArray, shipped);
        QFETCH(bool, replaced);
        QCOMPARE(legal::shippedReplaces(present, shipped), replaced);
        // The shipped file's checksum is up to date with its text.
        QVERIFY(legal::editionOf(readBytes(shippedPath)).asShipped);
    }

    void minimums_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("expected"); // a part of it; "" for none
        const legal::Table &t = m_shipped;
        const QDate in2026(2026, 3, 1);
        QTest::newRow("3.50 gross") << legal::wageWarning(t, euros("3.50"), in2026)
                                    << "3.64 € brut de l'heure depuis le 01/04/2025";
        QTest::newRow("3.64 gross") << legal::wageWarning(t, euros("3.64"), in2026) << "";
        QTest::newRow("before the agreement's row") << legal::wageWarning(t, euros("1.00"), {2025, 3, 31}) << "";
        QTest::newRow("net said with its gross")
            << legal::wageWarning(t, euros("3.54"), in2026, euros("2.80")) << "net de 2.80 €, soit 3.54 € brut";
        QTest::newRow("0.42 an hour: 3.78 for 9 hours")
            << legal::hourlyUpkeepWarning(t, euros("0.42"), in2026) << "soit 3.78 € pour 9 heures";
        QTest::newRow("0.4256 an hour: 3.8304 for 9 hours")
            << legal::hourlyUpkeepWarning(t, euros("0.4256"), in2026) << "";
        QTest::newRow("2.64 a day") << legal::dailyUpkeepWarning(t, euros("2.64"), in2026) << "2.65 € par jour";
        QTest::newRow("upkeep in 2025: unknown") << legal::hourlyUpkeepWarning(t, euros("0.01"), {2025, 12, 31}) << "";
    }
    void minimums()
    {
        QFETCH(QString, note);
        QFETCH(QString, expected);
        note.replace(QChar(0xa0), ' '); // the amounts' non-breaking spaces
        QVERIFY2(expected.isEmpty() ? note.isEmpty() : note.contains(expected), qPrintable(note));
    }

    // A month's maintenance allowances, day by day, against the day's minimum.
    void monthUpkeep_data()
    {
        QTest::addColumn<QString>("moan");
        QTest::addColumn<QString>("perHour");  // "" when not ticked
        QTest::addColumn<QString>("perDay");   // "" when not ticked
        QTest::addColumn<QStringList>("days"); // duration, "+" after it for a flat-rate day
        QTest::addColumn<int>("shortDays");
        QTest::newRow("0.43 an hour, 9 hours") << "0326"
                                               << "0.43"
                                               << "" << QStringList{"09:00:00"} << 0;
        QTest::newRow("0.42 an hour, 9 hours") << "0326"
                                               << "0.42"
                                               << "" << QStringList{"09:00:00"} << 1;
        QTest::newRow("0.42 an hour, 4 hours: below 2.65") << "0326"
                                                           << "0.42"
                                                           << "" << QStringList{"04:00:00"} << 1;
        QTest::newRow("0.42 an hour, 12 hours: 5.04 for 5.11") << "0326"
                                                               << "0.42"
                                                               << "" << QStringList{"12:00:00"} << 1;
        QTest::newRow("2.65 a flat day of 4 hours") << "0326"
                                                    << ""
                                                    << "2.65" << QStringList{"04:00:00+"} << 0;
        QTest::newRow("2.65 a flat day of 9 hours") << "0326"
                                                    << ""
                                                    << "2.65" << QStringList{"09:00:00+", "04:00:00+"} << 1;
        QTest::newRow("nothing ticked") << "0326"
                                        << ""
                                        << "" << QStringList{"02:00:00", "00:00:00"} << 1;
        QTest::newRow("before the minimums' first date") << "1225"
                                                         << ""
                                                         << "" << QStringList{"09:00:00"} << 0;
    }
    void monthUpkeep()
    {
        QFETCH(QString, moan);
        QFETCH(QString, perHour);
        QFETCH(QString, perDay);
        QFETCH(QStringList, days);
        QFETCH(int, shortDays);
        SlipInput in;
        in.moan = moan;
        in.SHbr = "5";
        in.CheckBox11 = !perHour.isEmpty();
        in.ETH = perHour;
        in.CheckBox12 = !perDay.isEmpty();
        in.EFJ = perDay;
        for (int i = 0; i < days.size(); ++i) {
            in.days[size_t(i)].date =
                QStringLiteral("%1/%2/20%3").arg(i + 1, 2, 10, QChar('0')).arg(moan.left(2), moan.mid(2));
            in.days[size_t(i)].duration = days[i].left(8);
            in.days[size_t(i)].flatRate = days[i].endsWith('+') ? "OUI" : "";
        }
        const QString note = legal::monthWarnings(m_shipped, in, true).join('\n');
        QCOMPARE(note.isEmpty(), shortDays == 0);
        if (shortDays > 0)
            QVERIFY2(note.contains(QStringLiteral("sur %1 jour(s)").arg(shortDays)), qPrintable(note));
    }

    void upkeepAndGross()
    {
        const legal::Table &t = m_shipped;
        const QDate d(2026, 1, 1);
        QCOMPARE(legal::dayUpkeepMinimum(t, 9, d), euros("3.83"));
        QCOMPARE(legal::dayUpkeepMinimum(t, 4, d), euros("2.65"));
        QCOMPARE(legal::dayUpkeepMinimum(t, 12, d), euros("5.1067"));
        QCOMPARE(legal::dayUpkeepMinimum(t, 9, {2025, 6, 1}), std::nullopt);
        // Net carried to gross line by line, as the net slip costs each line.
        const std::array<QString, ContributionLines> &rates = shippedRates().net;
        QCOMPARE(grossOfNet(euros("2.80"), rates), euros("3.5397"));
        QCOMPARE(legal::grossHourlyWage(false, "2.80", "9", rates), euros("3.5397"));
        QCOMPARE(legal::grossHourlyWage(true, "2.80", "3.50", rates), euros("3.50"));
        QCOMPARE(legal::grossHourlyWage(false, "2,80", "", rates), std::nullopt);
    }

    void taxCredit_data()
    {
        QTest::addColumn<QList<legal::CareYear>>("children");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("declared");
        QTest::addColumn<qint64>("credit");
        QTest::addColumn<QString>("box");
        using S = legal::TaxCredit::Status;
        const QDate toddler(2023, 5, 4);
        QTest::newRow("costs less CMG, half") << QList{child(1, toddler, 600000, 250000)} << 1 << int(S::Credit)
                                              << qint64(350000) << qint64(175000) << "7GA";
        QTest::newRow("over the ceiling") << QList{child(1, toddler, 900000, 100000)} << 1 << int(S::Credit)
                                          << qint64(800000) << qint64(175000) << "7GA";
        QTest::newRow("shared custody halves the ceiling")
            << QList{child(1, toddler, 500000, 0, true)} << 1 << int(S::Credit) << qint64(500000) << qint64(87500)
            << "7GE";
        QTest::newRow("CMG above the costs")
            << QList{child(1, toddler, 100000, 150000)} << 1 << int(S::Credit) << qint64(0) << qint64(0) << "7GA";
        QTest::newRow("odd cent rounds half up")
            << QList{child(1, toddler, 1001)} << 1 << int(S::Credit) << qint64(1001) << qint64(501) << "7GA";
        QTest::newRow("born 1 January six years before")
            << QList{child(1, {2019, 1, 1}, 1000)} << 1 << int(S::Credit) << qint64(1000) << qint64(500) << "7GA";
        QTest::newRow("born 31 December seven years before")
            << QList{child(1, {2018, 12, 31}, 1000)} << 1 << int(S::TooOld) << qint64(0) << qint64(0) << "";
        QTest::newRow("empty record's date")
            << QList{child(1, {1899, 12, 30}, 1000)} << 1 << int(S::BirthUnknown) << qint64(0) << qint64(0) << "";
        QTest::newRow("born after the year")
            << QList{child(1, {2026, 2, 1}, 1000)} << 1 << int(S::BirthUnknown) << qint64(0) << qint64(0) << "";
        QTest::newRow("no costs") << QList{child(1, toddler, 0)} << 1 << int(S::NoCosts) << qint64(0) << qint64(0)
                                  << "";
        QTest::newRow("third under 6, an older one and one without costs between")
            << QList{child(1, toddler, 10), child(2, {2010, 1, 1}, 10), child(3, toddler, 0), child(4, toddler, 10),
                     child(5, toddler, 10)}
            << 5 << int(S::Credit) << qint64(10) << qint64(5) << "7GC";
        QTest::newRow("shared custody counted apart") << QList{child(1, toddler, 10), child(2, toddler, 10, 0, true)}
                                                      << 2 << int(S::Credit) << qint64(10) << qint64(5) << "7GE";
        QTest::newRow("an earlier child's birth unknown: no box")
            << QList{child(1, {}, 10), child(2, toddler, 10)} << 2 << int(S::Credit) << qint64(10) << qint64(5) << "";
        QTest::newRow("a fourth child: no box")
            << QList{child(1, toddler, 10), child(2, toddler, 10), child(3, toddler, 10), child(4, toddler, 10)} << 4
            << int(S::Credit) << qint64(10) << qint64(5) << "";
    }
    void taxCredit()
    {
        QFETCH(QList<legal::CareYear>, children);
        QFETCH(int, slot);
        QFETCH(int, status);
        QFETCH(qint64, declared);
        QFETCH(qint64, credit);
        QFETCH(QString, box);
        const legal::TaxCredit c = legal::taxCredit(m_shipped, 2025, children, slot);
        QCOMPARE(int(c.status), status);
        QCOMPARE(c.declared, declared);
        QCOMPARE(c.credit, credit);
        QCOMPARE(c.box, box);
        QCOMPARE(c.reason.isEmpty(), c.status == legal::TaxCredit::Status::Credit);
        // A credit without a box says why.
        if (c.status == legal::TaxCredit::Status::Credit)
            QCOMPARE(c.boxNote.isEmpty(), !box.isEmpty());
        // Before the ceiling's first year nothing is calculated.
        QCOMPARE(int(legal::taxCredit(m_shipped, 2021, {child(1, {2020, 1, 1}, 10)}, 1).status),
                 int(legal::TaxCredit::Status::NoValues));
    }

    // The aid is kept per child and year; an archive of the first layout
    // gains its table when opened.
    void careAidInTheArchive()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + '/';
        legal::storeCareAid(folder, 2, 2025, {123456, true});
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "old");
            db.setDatabaseName(folder + SlipArchive::fileName());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("DROP TABLE AidesGarde"));
            QVERIFY(q.exec("PRAGMA user_version = 1"));
            db.close();
        }
        QSqlDatabase::removeDatabase("old");
        QCOMPARE(SlipArchive(folder + SlipArchive::fileName()).careAid(2, 2025), CareAid{});
        legal::storeCareAid(folder, 2, 2025, {123456, true});
        legal::storeCareAid(folder, 2, 2025, {5000, false});
        const QList<legal::CareYear> years = legal::careYears(folder, 2025, {});
        QCOMPARE(years.size(), 5);
        QCOMPARE(years[1].aid, (CareAid{5000, false}));
        QCOMPARE(years[0].aid, CareAid{});
        QCOMPARE(legal::typedCents(" 1234,565 "), qint64(123456));
        QCOMPARE(legal::typedCents(""), qint64(0));
        QCOMPARE(raised([] { legal::typedCents("-3"); }), rtl::notAFloat("-3"));
    }
};

QTEST_GUILESS_MAIN(TestLegal)
#include "tst_legal.moc"
