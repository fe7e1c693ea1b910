// The employee's contribution lines with their dates, the table rows they
// give, and the two slips on those rows.

#include "common/errors.h"
#include "legal/contributions.h"
#include "legal/legaltable.h"
#include "payslip/slip.h"
#include "../payslip/march2002.h"
#include "raised.h"
#include "testfiles.h"

#include <QtTest>

namespace {
const QString shippedPath = QStringLiteral(BERLIVO_SOURCE_DIR "/data/Cotisations.txt");

QByteArray tableFile(const QByteArray &rows) { return legalTableFile(rows, 1, legal::contributionsMagic); }

legal::RateRows rows(const QStringList &names, const QStringList &net, const QStringList &gross,
                     const QStringList &bases)
{
    legal::RateRows r;
    for (size_t k = 0; k < r.names.size(); ++k) {
        const auto i = qsizetype(k);
        const bool spare = i >= names.size();
        r.names[k] = spare ? ".........." : names[i];
        r.net[k] = spare ? "0.0" : net[i];
        r.gross[k] = spare ? "0.00" : gross[i];
        r.bases[k] = spare ? "100" : bases[i];
    }
    return r;
}

// The employee's lines of 2026 as the collecting office gives them, and the
// NET coefficients worked out apart (a / (1 - 0.2188025), seven decimals).
const QStringList names2026 = {"CSG non déd. + CRDS sur 98,25 % :",
                               "CSG déductible sur 98,25 % :",
                               "Assurance vieillesse :",
                               "Retraite complémentaire IRCEM :",
                               "Contribution d'équilibre général :",
                               "Prévoyance IRCEM :"};
const QStringList gross2026 = {"2.84925", "6.681", "7.30", "3.15", "0.86", "1.04"};
const QStringList bases2026 = {"100", "100", "100", "100", "100", "100"};
const QStringList net2026 = {"0.0364729", "0.0855225", "0.0934463", "0.0403227", "0.0110087", "0.0133129"};

// An amount as a parameter field holds it: "1234.56".
QString typed(Money amount)
{
    const qint64 c = shownCents(amount);
    return QStringLiteral("%1.%2").arg(c / 100).arg(c % 100, 2, 10, QLatin1Char('0'));
}

// A slip whose whole salary is an allowance subject to contributions:
// `amount` is its gross or its net, by the basis.
SlipInput payOf(const legal::RateRows &r, const QString &amount)
{
    SlipInput in = march2002();
    in.lineName = r.names;
    in.netRate = r.net;
    in.grossRate = r.gross;
    in.basePercent = r.bases;
    in.diverse = amount;
    return in;
}
} // namespace

Q_DECLARE_METATYPE(legal::RateRows)

class TestContributions : public QObject {
    Q_OBJECT
    legal::Contributions m_shipped;

private slots:
    void initTestCase()
    {
        m_shipped = legal::Contributions::load(shippedPath);
        QVERIFY(legal::editionOf(readBytes(shippedPath), legal::contributionsMagic).asShipped);
    }

    void shippedRowsInForce_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("localScheme");
        QTest::addColumn<legal::RateRows>("expected");
        const legal::RateRows none = rows({}, {}, {}, {});
        QTest::newRow("1 January 2026") << QDate(2026, 1, 1) << false
                                        << rows(names2026, net2026, gross2026, bases2026);
        QTest::newRow("1 January 2026, Alsace-Moselle")
            << QDate(2026, 1, 1) << true
            << rows(names2026 + QStringList{"Maladie Alsace-Moselle :"},
                    {"0.0370901", "0.0869698", "0.0950276", "0.0410051", "0.0111950", "0.0135382", "0.0169227"},
                    gross2026 + QStringList{"1.30"}, bases2026 + QStringList{"100"});
        QTest::newRow("before the first date: unknown") << m_shipped.firstDate().addDays(-1) << false << none;
        QTest::newRow("no date") << QDate() << false << none;
    }
    void shippedRowsInForce()
    {
        QFETCH(QDate, date);
        QFETCH(bool, localScheme);
        QFETCH(legal::RateRows, expected);
        const legal::RateRows got = legal::rowsOf(m_shipped.inForce(date, localScheme));
        QCOMPARE(got, expected);
        QVERIFY(legal::sameRates(got, expected));
        QCOMPARE(legal::sameRates(got, legal::rowsOf(m_shipped.inForce(date, !localScheme))),
                 !date.isValid() || date < m_shipped.firstDate());
    }

    // A change is a new dated row: the day before it the old rate holds, a
    // row "fin" takes the line out, and a line on several bases is folded.
    void datedChanges_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<legal::RateRows>("expected");
        QTest::newRow("day before the change")
            << QDate(2026, 12, 31) << rows({"A sur 98,25 % :", "B :"}, {"0.0208965", "0.0425374"}, {"1.965", "8.00"},
                                           {"100", "50"});
        QTest::newRow("day of the change")
            << QDate(2027, 1, 1) << rows({"A :", "B :"}, {"0.0340920", "0.0660059"}, {"3.099", "12.00"}, {"100", "50"});
        QTest::newRow("after the end of a line") << QDate(2028, 1, 1) << rows({"B :"}, {"0.0638298"}, {"12.00"}, {"50"});
    }
    void datedChanges()
    {
        QFETCH(QDate, date);
        QFETCH(legal::RateRows, expected);
        const legal::Contributions t = legal::Contributions::parse(tableFile("a1;A;2;98.25;2026-01-01;;s\n"
                                                                             "b;B;8;50;2026-01-01;;s\n"
                                                                             "b;B;12;50;2027-01-01;;s\n"
                                                                             "a2;A;1.2;94.5;2027-01-01;;s\n"
                                                                             "a2;A;fin;;2028-01-01;;s\n"
                                                                             "a1;A;fin;;2028-01-01;;s\n"),
                                                                   "Cotisations.txt");
        QCOMPARE(legal::rowsOf(t.inForce(date, false)), expected);
    }

    void damagedTable_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("why");
        QTest::newRow("the legal values' header")
            << legalTableFile("a;A;1;100;2026-01-01;;s\n") << 1
            << "en-tête attendu « BERLIVO COTISATIONS;<édition>;<empreinte> »";
        QTest::newRow("six fields") << tableFile("# c\na;A;1;100;2026-01-01;s\n") << 3
                                    << "7 champs attendus, 6 trouvés";
        QTest::newRow("decimal comma") << tableFile("a;A;6,80;100;2026-01-01;;s\n") << 2 << "taux illisible « 6,80 »";
        QTest::newRow("five decimals") << tableFile("a;A;2.84925;100;2026-01-01;;s\n") << 2
                                       << "taux illisible « 2.84925 »";
        QTest::newRow("rate over 100") << tableFile("a;A;100.01;100;2026-01-01;;s\n") << 2
                                       << "taux illisible « 100.01 »";
        QTest::newRow("base over 100") << tableFile("a;A;1;101;2026-01-01;;s\n") << 2 << "assiette illisible « 101 »";
        QTest::newRow("region") << tableFile("a;A;1;100;2026-01-01;moselle;s\n") << 2 << "région inconnue « moselle »";
        QTest::newRow("two rows on one date") << tableFile("a;A;1;100;2026-01-01;;s\na;A;2;100;2026-01-01;;s\n") << 3
                                              << "deux lignes a au 2026-01-01";
        QByteArray ten;
        for (int i = 1; i <= 10; ++i)
            ten += QByteArray("k%1;H%1;1;100;2026-01-01;;s\n").replace("%1", QByteArray::number(i));
        QTest::newRow("ten headings") << tableFile(ten) << 2 << "plus de 9 intitulés en vigueur au 2026-01-01";
        QTest::newRow("nothing left of the gross")
            << tableFile("a;A;60;100;2026-01-01;;s\nb;B;40;100;2026-01-01;alsace-moselle;s\n") << 2
            << "100 % ou plus de cotisations au 2026-01-01";
    }
    void damagedTable()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, why);
        QCOMPARE(raised([&] { legal::Contributions::parse(bytes, "/p/Cotisations.txt"); }),
                 rtl::contributionTableDamaged("/p/Cotisations.txt", line, why));
        QCOMPARE(raised([] { legal::Contributions::load("/nowhere/Cotisations.txt"); }),
                 rtl::contributionTableMissing("/nowhere/Cotisations.txt"));
    }

    // The rows on screen against the rows in force: the same rates written
    // otherwise match, any other rate does not.
    void sameRates_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("gross");
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("same");
        QTest::newRow("as filled") << 2 << "0.0934463" << "7.30" << "100" << true;
        QTest::newRow("written otherwise") << 2 << "0.09344630" << "7.3" << "100" << true;
        QTest::newRow("a base folded the other way") << 0 << "0.0364729" << "2.90" << "98" << false;
        QTest::newRow("a rate of the first table") << 2 << "0.0936" << "7.30" << "100" << false;
        QTest::newRow("not a number") << 8 << "" << "0.00" << "100" << false;
    }
    void sameRates()
    {
        QFETCH(int, row);
        QFETCH(QString, net);
        QFETCH(QString, gross);
        QFETCH(QString, base);
        QFETCH(bool, same);
        const legal::RateRows inForce = legal::rowsOf(m_shipped.inForce(QDate(2026, 1, 1), false));
        legal::RateRows shown = inForce;
        shown.net[size_t(row)] = net;
        shown.gross[size_t(row)] = gross;
        shown.bases[size_t(row)] = base;
        QCOMPARE(legal::sameRates(shown, inForce), same);
    }

    // A gross of 1,000.00 on the rows of 2026, line by line, and the same
    // pay on a net basis: its contributions give back the same gross.
    void aThousandGrossBothWays()
    {
        const legal::RateRows r = legal::rowsOf(m_shipped.inForce(QDate(2026, 1, 1), false));
        const SlipResult gross = computeGrossSlip(payOf(r, "1000.00"));
        QVERIFY(gross.complete());
        const QStringList lines = {"28.49", "66.81", "73.00", "31.50", "8.60", "10.40", "0.00", "0.00", "0.00"};
        for (size_t k = 0; k < gross.cs.size(); ++k)
            QCOMPARE(*gross.cs[k], lines[qsizetype(k)]);
        QCOMPARE(*gross.totcs, QString("218.80"));
        QCOMPARE(*gross.salnet, QString("781.20"));
        // The taxable salary adds back the first row, the non-deductible CSG and CRDS.
        QCOMPARE(*gross.salimp, QString("809.69"));

        const SlipResult net = computeNetSlip(payOf(r, "781.20"));
        QVERIFY(net.complete());
        QCOMPARE(net.cs, gross.cs);
        QCOMPARE(net.amounts.salnet.count() + net.amounts.totcs.count(), Money::fromCount(10000000).count());
    }

    // Either way round, each row of the two slips differs by a cent at most,
    // where a row's amount lies within a fraction of a cent of a half cent
    // and the other slip's rounding of the other rows moves it across.
    void everyPayWithinACentARow()
    {
        for (const bool local : {false, true}) {
            const legal::RateRows r = legal::rowsOf(m_shipped.inForce(QDate(2026, 1, 1), local));
            for (qint64 cents = 10000; cents <= 400000; cents += 997) {
                const QString pay = typed(Money::fromCount(cents * 100));
                const SlipResult fromGross = computeGrossSlip(payOf(r, pay));
                const SlipResult ofItsNet = computeNetSlip(payOf(r, typed(fromGross.amounts.salnet)));
                const SlipResult fromNet = computeNetSlip(payOf(r, pay));
                const Money impliedGross =
                    Money::fromCount(fromNet.amounts.salnet.count() + fromNet.amounts.totcs.count());
                const SlipResult ofItsGross = computeGrossSlip(payOf(r, typed(impliedGross)));
                for (size_t k = 0; k < r.names.size(); ++k) {
                    QVERIFY2(qAbs(fromGross.amounts.cs[k].count() - ofItsNet.amounts.cs[k].count()) <= 100,
                             qPrintable(pay));
                    QVERIFY2(qAbs(fromNet.amounts.cs[k].count() - ofItsGross.amounts.cs[k].count()) <= 100,
                             qPrintable(pay));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestContributions)
#include "tst_contributions.moc"
