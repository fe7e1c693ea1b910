#include "archive/sliparchive.h"
#include "archive/yearsummary.h"
#include "attendance/daytable.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "cents.h"
#include "dayrecords.h"
#include "raised.h"
#include "shippedrates.h"
#include "testfiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {
// A month of `hours` on the parameters a slot starts with, with allowances
// that make every amount of the slip differ from zero.
SlipInput month(int m, int year, const QString &hours, quint32 draw = 0)
{
    QRandomGenerator rng(draw);
    SlipInput in;
    in.moan = QStringLiteral("%1%2").arg(m, 2, 10, QChar('0')).arg(year % 100, 2, 10, QChar('0'));
    in.totheur = hours;
    in.prenom3 = "Julie";
    in.lineName.fill("..........");
    in.netRate = shippedRates().net;
    in.grossRate = shippedRates().gross;
    in.basePercent = shippedRates().bases;
    in.SH = QStringLiteral("3.%1").arg(rng.bounded(10, 99));
    in.FJ = "30";
    in.SHbr = QStringLiteral("4.%1").arg(rng.bounded(10, 99));
    in.FJbr = "40";
    in.Indentr = "2";
    in.CheckBox11 = true;
    in.ETH = QStringLiteral("0.%1").arg(rng.bounded(10, 99));
    in.CheckBox12 = true;
    in.EFJ = "2.5";
    in.diverse = QStringLiteral("%1.25").arg(rng.bounded(0, 20));
    in.abs = "0";
    in.accpte = QStringLiteral("%1").arg(rng.bounded(0, 50));
    in.PD = "0.76";
    in.D = "2.29";
    in.G = "0.76";
    in.Sp = "1.52";
    in.today = QDate(year, m, 28);
    for (int d = 1; d <= 20; ++d) {
        SheetDay &day = in.days[d - 1];
        day.date = QStringLiteral("%1/%2/%3").arg(d, 2, 10, QChar('0')).arg(m, 2, 10, QChar('0')).arg(year);
        day.duration = d % 5 == 0 ? QString() : QStringLiteral("04:00:00");
        day.flatRate = d % 5 == 0 || rng.bounded(4) == 0 ? QStringLiteral("OUI") : QString();
        day.lunch = rng.bounded(2) ? QStringLiteral("Déj") : QString();
    }
    return in;
}

SlipResult compute(const SlipInput &in, bool gross) { return gross ? computeGrossSlip(in) : computeNetSlip(in); }

ArchivedSlip rowFor(const SlipInput &in, bool gross, int slot = 1)
{
    return archivedSlipFor(in, compute(in, gross), gross, slot, in.prenom3 + in.moan + ".jpg",
                           QDateTime(QDate(2026, 12, 8), QTime(1, 2, 3)));
}

void store(SlipArchive &a, const ArchivedSlip &row)
{
    a.begin();
    a.put(row);
    a.commit();
}

// Plain SQL on a file, through a connection of its own.
class PlainSql {
public:
    explicit PlainSql(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
        db.setDatabaseName(path);
        ok = db.open();
    }
    ~PlainSql()
    {
        QSqlDatabase::database("plain", false).close();
        QSqlDatabase::removeDatabase("plain");
    }
    bool ok = false;
    bool exec(const QString &statements)
    {
        QSqlQuery q(QSqlDatabase::database("plain", false));
        for (const QString &one : statements.split(';', Qt::SkipEmptyParts))
            if (!one.trimmed().isEmpty() && !q.exec(one))
                return false;
        return true;
    }
    // Every row of a query, each as its values joined by "|".
    QStringList rows(const QString &query)
    {
        QSqlQuery q(QSqlDatabase::database("plain", false));
        QStringList out;
        if (!q.exec(query))
            return {q.lastError().text()};
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            out << values.join('|');
        }
        return out;
    }
};

// The archive as the first program that kept one laid it out (version 1),
// with two rows.
void writeVersion1(const QString &path)
{
    QStringList amounts;
    for (const char *c : {"salbrut", "salnet", "Cong", "abs", "diver", "entret", "nour", "acpt", "net", "totcs",
                          "salimp",  "cs1",    "cs2",  "cs3", "cs4",   "cs5",    "cs6",  "cs7",  "cs8", "cs9"})
        amounts << QString::fromLatin1(c) + " INTEGER NOT NULL";
    PlainSql db(path);
    QVERIFY(db.ok);
    QVERIFY(
        db.exec("CREATE TABLE Bulletins (enfant INTEGER NOT NULL CHECK (enfant BETWEEN 1 AND 5), prenom TEXT "
                "NOT NULL, annee INTEGER NOT NULL, mois INTEGER NOT NULL CHECK (mois BETWEEN 1 AND 12), moan TEXT "
                "NOT NULL, base TEXT NOT NULL CHECK (base IN ('net', 'brut')), heures_centiemes INTEGER NOT NULL, "
                "jours_activite INTEGER NOT NULL, jours_forfait INTEGER NOT NULL, image TEXT NOT NULL, enregistre "
                "TEXT NOT NULL, " +
                amounts.join(", ") +
                ", PRIMARY KEY (enfant, annee, mois)) WITHOUT ROWID;"
                "INSERT INTO Bulletins VALUES (1, 'Julie', 2025, 11, '1125', 'net', 8000, 20, 2, 'Julie1125.jpg', "
                "'2025-11-30T10:00:00', 0, 33000, 3000, 0, 0, 0, 916, 0, 33916, 9000, 0, 1148, 2023, 3089, 875, 1251,"
                " 333, 0, 0, 0);"
                "INSERT INTO Bulletins VALUES (2, 'Tom', 2025, 12, '1225', 'brut', 12050, 18, 0, 'Tom1225.jpg', "
                "'2025-12-31T09:30:00', 53020, 41732, 4820, 0, 0, 1500, 0, 0, 43232, 11288, 43252, 1461, 2569, 3923,"
                " 1113, 1591, 631, 0, 0, 0);"
                "PRAGMA user_version = 1"));
}
} // namespace

class TestSlipArchive : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_folder;
    QString archivePath() const { return m_folder + SlipArchive::fileName(); }

    void expectError(const std::function<void()> &body, const QString &message) { QCOMPARE(raised(body), message); }

private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
        QVERIFY(m_dir.isValid());
        m_folder = m_dir.path() + '/';
    }

    void init()
    {
        QFile::remove(archivePath());
        QDir(m_folder + "bulljpg").removeRecursively();
        QFile::remove(m_folder + "Enf1.db");
    }

    void rowHoldsShownFigures_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::addColumn<quint32>("draw");
        for (quint32 draw : {1u, 7u, 42u}) {
            QTest::addRow("net %u", draw) << false << draw;
            QTest::addRow("gross %u", draw) << true << draw;
        }
    }
    void rowHoldsShownFigures()
    {
        QFETCH(bool, gross);
        QFETCH(quint32, draw);
        const SlipInput in = month(3, 2002, "67.83", draw);
        const SlipResult slip = compute(in, gross);
        QVERIFY(slip.complete());
        {
            SlipArchive a(archivePath());
            store(a, rowFor(in, gross));
        }
        // Read back through a new connection: what is on disk, not in memory.
        const auto row = SlipArchive(archivePath()).find(1, "0302");
        QVERIFY(row);
        QCOMPARE(row->grossBasis, gross);
        QCOMPARE(row->hours, 6783);
        QCOMPARE(row->salnet, cents(slip.salnet));
        QCOMPARE(row->Cong, cents(slip.Cong));
        QCOMPARE(row->abs, cents(slip.abs));
        QCOMPARE(row->diver, cents(slip.diver));
        QCOMPARE(row->entret, cents(slip.entret));
        QCOMPARE(row->nour, cents(slip.nour));
        QCOMPARE(row->acpt, cents(slip.acpt));
        QCOMPARE(row->net, cents(slip.net));
        QCOMPARE(row->totcs, cents(slip.totcs));
        for (int k = 0; k < 9; ++k)
            QCOMPARE(row->cs[k], cents(slip.cs[k]));
        QCOMPARE(row->salbrut, gross ? cents(slip.salbrut) : 0);
        QCOMPARE(row->salimp, gross ? cents(slip.salimp) : 0);
        QCOMPARE(row->flatDays, slip.nbjf->toInt());
        QCOMPARE(row->activityDays, 20);
        QCOMPARE(*row, rowFor(in, gross));
    }

    void slipWithoutFiguresIsRefused()
    {
        SlipInput in = month(3, 2002, "80");
        in.SH = "abc";
        expectError([&] { rowFor(in, false); }, rtl::inField("Salaire horaire (NET)", rtl::notAFloat("abc")));
        in = month(3, 2002, "80");
        in.moan = "Moan";
        QVERIFY_THROWS_EXCEPTION(RuntimeError, rowFor(in, false));
    }

    void sameChildAndMonthReplaces()
    {
        SlipArchive a(archivePath());
        const ArchivedSlip first = rowFor(month(3, 2002, "80", 1), false);
        ArchivedSlip second = rowFor(month(3, 2002, "90", 2), true);
        store(a, first);
        store(a, rowFor(month(3, 2002, "80", 1), false, 2)); // another child, same month
        store(a, second);
        QCOMPARE(a.count(), 2);
        QCOMPARE(a.find(1, "0302"), std::optional(second));
        QCOMPARE(a.find(2, "0302")->slot, 2);
    }

    void rollbackLeavesTheArchiveAsItWas()
    {
        SlipArchive a(archivePath());
        const ArchivedSlip kept = rowFor(month(3, 2002, "80", 1), false);
        store(a, kept);
        a.begin();
        a.put(rowFor(month(3, 2002, "99", 5), false));
        a.put(rowFor(month(4, 2002, "99", 5), false));
        a.rollback();
        QCOMPARE(a.count(), 1);
        QCOMPARE(SlipArchive(archivePath()).find(1, "0302"), std::optional(kept));
    }

    void layoutIsVersioned()
    {
        {
            SlipArchive a(archivePath());
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "probe");
            db.setDatabaseName(archivePath());
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("PRAGMA user_version") && q.next());
            QCOMPARE(q.value(0).toInt(), SlipArchive::SchemaVersion);
            QVERIFY(q.exec("PRAGMA user_version = 99"));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase("probe");
        const QString native = QDir::toNativeSeparators(archivePath());
        expectError([&] { SlipArchive a(archivePath()); },
                    QStringLiteral("Le fichier %1 vient d'une version plus récente du programme : "
                                   "mettez le programme à jour pour le lire.")
                        .arg(native));
        // A day table under the archive's name is not taken for an archive.
        QFile::remove(archivePath());
        QVERIFY(DayTable::createEmpty(archivePath()));
        expectError([&] { SlipArchive a(archivePath()); },
                    QStringLiteral("Le fichier %1 n'est pas une archive de bulletins.").arg(native));
        // A folder where nothing can be created leaves no file and says so.
        const QString nowhere = m_folder + "absent/" + SlipArchive::fileName();
        expectError([&] { SlipArchive a(nowhere); }, rtl::cannotCreateFile(QDir::toNativeSeparators(nowhere)));
        QVERIFY(!QFile::exists(nowhere));
    }

    // An archive of version 1 is brought up to date in place: its rows stay
    // as they were, slips paid by the hour without extra hours.
    void version1IsUpgradedInPlace()
    {
        writeVersion1(archivePath());
        const QString v1Columns = "SELECT enfant, prenom, annee, mois, moan, base, heures_centiemes, jours_activite, "
                                  "jours_forfait, image, enregistre, salnet, net, cs1, salimp FROM Bulletins "
                                  "ORDER BY enfant";
        QStringList before;
        {
            PlainSql db(archivePath());
            before = db.rows(v1Columns);
        }
        QCOMPARE(before.size(), 2);
        {
            SlipArchive a(archivePath());
            QCOMPARE(a.count(), 2);
            const auto tom = a.find(2, "1225");
            QVERIFY(tom && tom->grossBasis && !tom->contract);
            QCOMPARE(tom->salimp, 43252);
        }
        PlainSql db(archivePath());
        QCOMPARE(db.rows("PRAGMA user_version"), QStringList{QString::number(SlipArchive::SchemaVersion)});
        QCOMPARE(db.rows(v1Columns), before);
        QCOMPARE(db.rows("SELECT count(*) FROM AidesGarde"), QStringList{"0"});
        QCOMPARE(db.rows("SELECT genre, heures_comp_centiemes, heures_maj_centiemes FROM Bulletins"),
                 (QStringList{"horaire|0|0", "horaire|0|0"}));
    }

    // An upgrade that fails half-way is undone whole: the file stays a
    // version-1 archive, and the program says it could not bring it up.
    void failedUpgradeLeavesVersion1()
    {
        // A hand-edited file holding a view under the name of the table the
        // last step lays out: the columns added before it are taken back.
        writeVersion1(archivePath());
        {
            PlainSql db(archivePath());
            QVERIFY(db.exec("CREATE VIEW AidesGarde AS SELECT enfant FROM Bulletins"));
        }
        QStringList before;
        {
            PlainSql db(archivePath());
            before = db.rows("SELECT * FROM Bulletins");
        }
        const QString error = raised([&] { SlipArchive a(archivePath()); });
        QVERIFY2(error.startsWith("Impossible de mettre à jour " + QDir::toNativeSeparators(archivePath()) + " : "),
                 qPrintable(error));
        PlainSql db(archivePath());
        QCOMPARE(db.rows("PRAGMA user_version"), QStringList{"1"});
        QCOMPARE(db.rows("SELECT * FROM Bulletins"), before);
        QCOMPARE(db.rows("SELECT count(*) FROM pragma_table_info('Bulletins') WHERE name = 'genre'"), QStringList{"0"});
    }

    // A contract's month is kept as one, with the hours its salary pays and
    // its extra hours.
    void contractMonthRow()
    {
        const SlipInput in = month(3, 2026, "151.5");
        const SlipResult slip = computeContractSlip(in, true, Money::fromCount(6933300));
        const ContractHours hours{40 * 60 * 52, 20 * 60, 150, 45, 5, 52, 3};
        const ArchivedSlip row =
            archivedSlipFor(in, slip, true, 1, "Julie0326.jpg", QDateTime(QDate(2026, 3, 31), QTime(8, 0)), hours);
        QVERIFY(row.contract);
        QCOMPARE(row.hours, 15333); // 173.33 - 20
        QCOMPARE(row.complementaryHours, 250);
        QCOMPARE(row.majoratedHours, 75);
        QCOMPARE(row.activityDays, 19);
        QCOMPARE(row.Cong, 0);
        QCOMPARE(row.salbrut, shownCents(slip.amounts.salbrut));
        {
            SlipArchive a(archivePath());
            store(a, row);
        }
        QCOMPARE(SlipArchive(archivePath()).find(1, "0326"), std::optional(row));
        PlainSql db(archivePath());
        QCOMPARE(db.rows("SELECT genre, heures_centiemes, heures_comp_centiemes, heures_maj_centiemes FROM Bulletins"),
                 QStringList{"contrat|15333|250|75"});
        // The year summary shows it like the others, with its extra hours.
        const QStringList march = summaryTable(loadYearSummary(m_folder, 1, "Julie", 2026)).at(0);
        QCOMPARE(march.mid(0, 4), (QStringList{"Mars 2026", "153,33", "2,50", "0,75"}));
        QCOMPARE(march.last(), "archivé (contrat)");
    }

    void yearOfRandomMonthsSumsExactly()
    {
        const quint32 draw = QRandomGenerator::global()->generate();
        qInfo("draw %u", draw);
        QRandomGenerator rng(draw);
        SlipArchive a(archivePath());
        qint64 salnet = 0, entret = 0, nour = 0, net = 0, cong = 0, hours = 0;
        for (int m = 1; m <= 12; ++m) {
            const bool gross = rng.bounded(2);
            const QString h =
                QStringLiteral("%1.%2").arg(rng.bounded(20, 200)).arg(rng.bounded(0, 100), 2, 10, QChar('0'));
            const SlipInput in = month(m, 2024, h, rng.generate());
            const SlipResult slip = compute(in, gross);
            salnet += cents(slip.salnet);
            entret += cents(slip.entret);
            nour += cents(slip.nour);
            net += cents(slip.net);
            cong += cents(slip.Cong);
            hours += cents(QString(h).replace('.', ','));
            store(a, rowFor(in, gross));
        }
        store(a, rowFor(month(1, 2025, "80"), false)); // another year stays out
        const YearSummary s = loadYearSummary(m_folder, 1, "Julie", 2024);
        QCOMPARE(s.months.size(), 12);
        QCOMPARE(s.monthsOf(SummaryMonth::Kind::Archived).size(), 12);
        QCOMPARE(s.totals.salnet, salnet);
        QCOMPARE(s.totals.entret, entret);
        QCOMPARE(s.totals.nour, nour);
        QCOMPARE(s.totals.net, net);
        QCOMPARE(s.totals.Cong, cong);
        QCOMPARE(s.totals.hours, hours);
        // Meals are no part of the credit.
        QCOMPARE(s.taxCreditBase(), salnet + entret);
    }

    void monthsWithoutFigures()
    {
        // Days entered for January to April; slips archived for January and
        // February, a picture alone for March; April never saved.
        QVERIFY(DayTable::createEmpty(m_folder + "Enf1.db"));
        QList<day::Record> days;
        for (int m : {1, 2, 3, 4})
            days << storedDay(QStringLiteral("03/%1/2024").arg(m, 2, 10, QChar('0')));
        days << storedDay("03/05/2023");
        storeDays(m_folder, "Enf1.db", days);
        {
            SlipArchive a(archivePath());
            store(a, rowFor(month(1, 2024, "80"), false));
            store(a, rowFor(month(2, 2024, "80"), false));
        }
        QVERIFY(QDir(m_folder).mkdir("bulljpg"));
        writeBytes(m_folder + "bulljpg/Julie0324.jpg", "jpeg");
        writeBytes(m_folder + "bulljpg/Julie0124.jpg", "jpeg"); // archived: the row wins
        writeBytes(m_folder + "bulljpg/Julie0624.jpg", "jpeg"); // saved before any day table
        const YearSummary s = loadYearSummary(m_folder, 1, "Julie", 2024);
        QCOMPARE(s.monthsOf(SummaryMonth::Kind::Archived), QList<int>({1, 2}));
        QCOMPARE(s.monthsOf(SummaryMonth::Kind::PictureOnly), QList<int>({3, 6}));
        QCOMPARE(s.monthsOf(SummaryMonth::Kind::ToDo), QList<int>({4}));
        const QList<QStringList> table = summaryTable(s);
        QCOMPARE(table.size(), 6);
        QCOMPARE(table[2].first(), "Mars 2024");
        QCOMPARE(table[2].last(), "image seule");
        QCOMPARE(table[3].last(), "à faire");
        QCOMPARE(table[4].last(), "image seule");
        // Whether the days are stored is said apart from the slip's state:
        // January to April have days, June's picture has none.
        QStringList daysStored;
        for (const QStringList &row : table.first(5))
            daysStored << row.at(row.size() - 2);
        QCOMPARE(daysStored, QStringList({"oui", "oui", "oui", "oui", "non"}));
        // Another child's slips and another year's days are not this summary's.
        QVERIFY(loadYearSummary(m_folder, 2, "Julie", 2023).monthsOf(SummaryMonth::Kind::Archived).isEmpty());
        QCOMPARE(loadYearSummary(m_folder, 1, "Paul", 2023).monthsOf(SummaryMonth::Kind::ToDo), QList<int>({5}));
        QCOMPARE(summaryYears(m_folder, 1, 2026), QList<int>({2024, 2025, 2026}));
    }

    void damagedArchiveShowsTheMonthsWithDaysAndNoAmount()
    {
        QVERIFY(DayTable::createEmpty(m_folder + "Enf1.db"));
        storeDays(m_folder, "Enf1.db", {storedDay("03/04/2024")});
        writeBytes(archivePath(), QByteArray(4096, 'x'));
        const YearSummary s = loadYearSummary(m_folder, 1, "Julie", 2024);
        QCOMPARE(s.archiveError, "Impossible de lire " + archivePath() +
                                     " : le fichier est endommagé ou n'est pas une archive de bulletins");
        QCOMPARE(s.monthsOf(SummaryMonth::Kind::ToDo), QList<int>({4}));
        // Neither a total nor an amount to declare: zero would be a false figure.
        for (const TaxFigure &f : taxReturnFigures(s))
            QCOMPARE(f.value, QString());
        QCOMPARE(summaryTable(s).last(),
                 QStringList{"Total 2024"} + QStringList(summaryColumns().size() - 1, QString()));
        QCOMPARE(summaryYears(m_folder, 1, 2026), QList<int>({2025, 2026}));
    }

    void archiveMarkedReadOnlyIsNotWritten()
    {
        {
            SlipArchive a(archivePath());
            store(a, rowFor(month(1, 2024, "80"), false));
        }
        QVERIFY(QFile::setPermissions(archivePath(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        SlipArchive a(archivePath());
        // Even for root, who the system would let write.
        expectError([&] { store(a, rowFor(month(2, 2024, "80"), false)); },
                    "Impossible d'enregistrer le bulletin dans " + archivePath() +
                        " : le fichier est en lecture seule");
        QCOMPARE(a.count(), 1);
        QFile::setPermissions(archivePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void csvReadsBack()
    {
        SlipArchive a(archivePath());
        for (int m : {1, 8, 11})
            store(a, rowFor(month(m, 2024, "1234.5", m), m == 8));
        const YearSummary s = loadYearSummary(m_folder, 1, "Julie", 2024);
        const QByteArray csv = summaryCsv(s);
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QVERIFY(csv.endsWith("\r\n"));
        const QStringList lines = QString::fromUtf8(csv.mid(3)).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 3 + 1);
        QCOMPARE(lines[0].split(';'), summaryColumns());
        QCOMPARE(lines[2].split(';').first(), "Août 2024");
        const qsizetype netColumn = summaryColumns().indexOf("Salaire net");
        qint64 sum = 0;
        for (int i = 1; i <= 3; ++i) {
            const QStringList f = lines[i].split(';');
            QCOMPARE(f.size(), summaryColumns().size());
            QCOMPARE(f[1], "1234,50");
            sum += cents(f[netColumn]);
        }
        const QStringList total = lines[4].split(';');
        QCOMPARE(total[0], "Total 2024");
        QCOMPARE(cents(total[netColumn]), sum);
        QCOMPARE(sum, s.totals.salnet);
        QCOMPARE(centsText(-310), "-3,10");
        QCOMPARE(centsText(123456789), "1234567,89");
    }
};

QTEST_GUILESS_MAIN(TestSlipArchive)
#include "tst_sliparchive.moc"
