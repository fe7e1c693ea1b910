#include "common/numbers.h"
#include "payslip/declaration.h"

#include "cents.h"
#include "march2002.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
// A March 2002 of 80 hours.
SlipInput march()
{
    SlipInput in = march2002();
    in.totheur = "80";
    return in;
}

Declaration declare(const SlipInput &in, bool gross)
{
    return declarationFor(in, gross ? computeGrossSlip(in) : computeNetSlip(in), gross);
}

QStringList values(const Declaration &d)
{
    QStringList v;
    for (const DeclarationFigure &f : d.figures)
        v << f.value;
    return v;
}
} // namespace

Q_DECLARE_METATYPE(ContractHours)

class TestDeclaration : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
    }

    void workedMonths_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::addColumn<QStringList>("expected");
        // The slip tests' two worked months. Net: 80 h at 3.00, two flat days
        // and four lunches. Gross: 80 h alone, 4.00 x 278.43 / 352.00 = 3.1639...
        // net an hour.
        QTest::newRow("net") << false
                             << QStringList{"Mars 2002", "80", "2", "3,00", "330,00", "0,00", "9,16", "339,16"};
        QTest::newRow("gross") << true
                               << QStringList{"Mars 2002", "80", "0", "3,16", "278,43", "0,00", "0,00", "278,43"};
    }
    void workedMonths()
    {
        QFETCH(bool, gross);
        QFETCH(QStringList, expected);
        SlipInput in = march();
        if (!gross) {
            setDay(in, 4, "", true);
            setDay(in, 5, "", true);
            for (int d : {6, 7, 11, 12})
                in.days[d - 1].lunch = "Déj";
        }
        const Declaration d = declare(in, gross);
        QVERIFY2(d.complete(), qPrintable(d.failure));
        QCOMPARE(d.childName, QString("Julie"));
        QCOMPARE(values(d), expected);
        QCOMPARE(d.figures[1].detail, QString("80 h exactement"));
        QCOMPARE(declarationText(d).split('\n').first(), QString("Période\tMars 2002"));
        QCOMPARE(declarationText(d).count('\n'), 8);
    }

    void hoursRoundHalfUp_data()
    {
        QTest::addColumn<QString>("totheur");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("detail");
        QTest::newRow(".49") << "80.49"
                             << "80"
                             << "80,49 h exactement";
        QTest::newRow(".5") << "80.5"
                            << "81"
                            << "80,5 h exactement";
        QTest::newRow(".51") << "80.51"
                             << "81"
                             << "80,51 h exactement";
        QTest::newRow("half an hour") << "0.5"
                                      << "1"
                                      << "0,5 h exactement";
    }
    void hoursRoundHalfUp()
    {
        QFETCH(QString, totheur);
        SlipInput in = march();
        in.totheur = totheur;
        const Declaration d = declare(in, false);
        QVERIFY2(d.complete(), qPrintable(d.failure));
        QTEST(d.figures[1].value, "hours");
        QTEST(d.figures[1].detail, "detail");
    }

    void daysOfActivity()
    {
        SlipInput in = march();
        setDay(in, 1, "", true);                // flat-rate day without hours: counts
        setDay(in, 2, "08:00:00", false, true); // worked public holiday: counts
        setDay(in, 3, "00:00:00");              // dated, no hours (meals only): does not
        setDay(in, 4, "00:00:40");              // seconds alone are no hours
        setDay(in, 5, "07:30:00");              // an ordinary day: counts
        in.days[9].duration = "05:00:00";       // a duration without a date: not a day of the month
        QCOMPARE(declare(in, false).figures[2].value, QString("3"));
    }

    void noFiguresWithoutACompleteSlip()
    {
        for (const char *key : {"", "moan", "1302"}) { // none, the placeholder, no such month
            SlipInput unvalidated = march();
            unvalidated.moan = key;
            QVERIFY(declare(unvalidated, false).failure.startsWith("Aucun mois n'a été validé"));
        }
        // The hours window opened again: its key stays, its total is emptied.
        SlipInput emptied = march();
        emptied.totheur.clear();
        QVERIFY(declare(emptied, false).failure.startsWith("Aucun mois n'a été validé"));

        SlipInput bad = march();
        bad.SH = "3,00";
        const Declaration d = declare(bad, false);
        QVERIFY(d.figures.isEmpty());
        QCOMPARE(d.failure,
                 QString("Le bulletin de ce mois ne peut pas être calculé : "
                         "Salaire horaire (NET) : '3,00' n'est pas une valeur en virgule flottante correcte"));

        SlipInput unpaid = march();
        unpaid.totheur = "0";
        QVERIFY(declare(unpaid, true).failure.startsWith("Le salaire brut du mois est nul"));
    }

    void amountsAreTheShownTexts()
    {
        // The figures read the slip's amounts, not its texts: both must agree.
        QRandomGenerator rng(20261207);
        for (int i = 0; i < 300; ++i) {
            SlipInput in = march();
            in.totheur = QString::number(rng.bounded(20000) / 100.0, 'f', 2);
            in.SH = QString::number(rng.bounded(100, 1500) / 100.0, 'f', 2);
            in.SHbr = QString::number(rng.bounded(100, 1500) / 100.0, 'f', 3);
            in.ETH = QString::number(rng.bounded(300) / 100.0, 'f', 2);
            in.CheckBox11 = rng.bounded(2);
            in.accpte = QString::number(rng.bounded(10000) / 100.0, 'f', 2);
            for (const bool gross : {false, true}) {
                const SlipResult r = gross ? computeGrossSlip(in) : computeNetSlip(in);
                QVERIFY(r.complete());
                const SlipResult::Amounts &a = r.amounts;
                const std::pair<const SlipText &, Money> pairs[] = {
                    {r.salnet, a.salnet}, {r.Cong, a.Cong}, {r.entret, a.entret}, {r.nour, a.nour},
                    {r.acpt, a.acpt},     {r.net, a.net},   {r.totcs, a.totcs},   {r.cs[0], a.cs[0]}};
                for (const auto &[text, amount] : pairs)
                    QCOMPARE(amount.count(), cents(text) * 100);
                if (gross)
                    QCOMPARE(a.salbrut.count(), cents(r.salbrut) * 100);
            }
        }
    }

    // A contract's month: ten rows, its hours and days from the contract, the
    // amounts from its slip.
    void contractMonth_data()
    {
        QTest::addColumn<ContractHours>("hours");
        QTest::addColumn<QStringList>("rows"); // normal, complementary, majorated, days
        QTest::addColumn<QStringList>("exact");
        const qint64 fortyHoursAYear = 40 * 60 * 52; // M = 173.33 h, in twelfths of a minute
        // 173.33 - 20 = 153.33; 2.5 and 0.5 h round up; 5 x 52 / 12 = 21.67 gives 22, less 3.
        QTest::newRow("absence and extra hours")
            << ContractHours{fortyHoursAYear, 20 * 60, 150, 30, 5, 52, 3} << QStringList{"153", "3", "1", "19"}
            << QStringList{"153,33 h exactement", "2,50 h exactement", "0,50 h exactement"};
        // 30 h x 36 weeks / 12 = 90 h; 4 x 36 / 12 = 12 days exactly.
        QTest::newRow("incomplete year") << ContractHours{30 * 60 * 36, 0, 0, 0, 4, 36, 0}
                                         << QStringList{"90", "0", "0", "12"}
                                         << QStringList{"90,00 h exactement", "0,00 h exactement", "0,00 h exactement"};
        // M - A of 10.5 h rounds up from the exact figure; 10 h 29 min down.
        QTest::newRow("half an hour") << ContractHours{12 * 630, 0, 629, 0, 1, 12, 0}
                                      << QStringList{"11", "10", "0", "1"}
                                      << QStringList{"10,50 h exactement", "10,48 h exactement", "0,00 h exactement"};
        // A month wholly absent plans more than M: no hours, no day, never below 0.
        QTest::newRow("wholly absent") << ContractHours{fortyHoursAYear, 184 * 60, 0, 0, 5, 52, 23}
                                       << QStringList{"0", "0", "0", "0"}
                                       << QStringList{"0,00 h exactement", "0,00 h exactement", "0,00 h exactement"};
    }
    void contractMonth()
    {
        QFETCH(ContractHours, hours);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, exact);
        SlipInput in = march();
        in.days[3].lunch = "Déj";
        const SlipResult slip = computeContractSlip(in, false, Money::fromCount(6933300));
        const Declaration d = declarationFor(in, slip, false, hours);
        QVERIFY2(d.complete(), qPrintable(d.failure));
        QCOMPARE(d.figures.size(), 10);
        QStringList labels;
        for (const DeclarationFigure &f : d.figures)
            labels << f.label;
        QCOMPARE(labels, contractDeclarationLabels());
        QCOMPARE((QStringList{d.figures[1].value, d.figures[2].value, d.figures[3].value, d.figures[4].value}), rows);
        QCOMPARE((QStringList{d.figures[1].detail, d.figures[2].detail, d.figures[3].detail}), exact);
        // The rest as a month paid by the hour shows it, from the contract's slip.
        QCOMPARE((values(d).mid(5)), (QStringList{"3,00", "693,33", "0,00", "2,29", "695,62"}));
        QCOMPARE(declarationText(d).count('\n'), 10);
    }

    void amountForm_data()
    {
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("no grouping") << qint64(12345678900) << "1234567,89";
        QTest::newRow("negative") << qint64(-31000) << "-3,10";
        QTest::newRow("tie to even") << qint64(12350) << "1,24";
        QTest::newRow("zero") << qint64(0) << "0,00";
    }
    void amountForm()
    {
        QFETCH(qint64, count);
        QTEST(declarationAmount(Money::fromCount(count)), "text");
    }
};

QTEST_GUILESS_MAIN(TestDeclaration)
#include "tst_declaration.moc"
