#include "common/environment.h"
#include "common/numbers.h"
#include "payslip/slip.h"

#include "cents.h"
#include "march2002.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {
const QString notFloat = QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte");
const QString notInteger = QStringLiteral("'%1' n'est pas une valeur entière correcte");
// A parameter that does not read is named before the runtime's message.
QString field(const QString &name, const QString &message) { return name + QStringLiteral(" : ") + message; }

QString text(const SlipText &t) { return t.value_or(QStringLiteral("<unset>")); }

enum class Basis { Net, Gross };
SlipResult compute(Basis basis, const SlipInput &in)
{
    return basis == Basis::Net ? computeNetSlip(in) : computeGrossSlip(in);
}
} // namespace

Q_DECLARE_METATYPE(SlipInput)
Q_DECLARE_METATYPE(Basis)

class TestSlip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        setGroupSeparator(QStringLiteral(" "));
    }

    void netWorkedExample()
    {
        SlipInput in = march2002();
        in.totheur = "80";
        setDay(in, 4, "", true);
        setDay(in, 5, "", true);
        for (int d : {6, 7, 11, 12})
            in.days[d - 1].lunch = "Déj";
        const SlipResult r = computeNetSlip(in);
        QVERIFY(r.complete());
        QCOMPARE(text(r.mois), "Mars");
        QCOMPARE(text(r.an), "2002");
        QCOMPARE(text(r.totheur), "80");
        QCOMPARE(text(r.nbjf), "2");
        QCOMPARE(text(r.feri1), "0");
        QCOMPARE(text(r.feri2), "0");
        QCOMPARE(text(r.salnet), "330.00");
        QCOMPARE(text(r.Cong), "30.00");
        QCOMPARE(text(r.abs), "0.00");
        QCOMPARE(text(r.diver), "0.00");
        // 330.00 times each coefficient; 8.7450 is a tie shown 8.74.
        const QStringList cs = {"11.48", "20.23", "30.89", "8.74", "12.51", "3.33", "0.00", "0.00", "0.00"};
        for (int k = 0; k < 9; ++k)
            QCOMPARE(text(r.cs[k]), cs[k]);
        QCOMPARE(text(r.totcs), "87.18");
        QCOMPARE(text(r.nour), "9.16");
        QCOMPARE(text(r.entret), "0.00");
        QCOMPARE(text(r.acpt), "0.00");
        QCOMPARE(text(r.net), "339.16");
        QVERIFY(!r.salbrut && !r.salimp && !r.base[0]);
        QCOMPARE(text(r.rate[0]), "0.0348");
    }

    void grossWorkedExample()
    {
        SlipInput in = march2002();
        in.totheur = "80";
        const SlipResult r = computeGrossSlip(in);
        QVERIFY(r.complete());
        QCOMPARE(text(r.salbrut), "352.00");
        QCOMPARE(text(r.Cong), "32.00");
        const QStringList cs = {"9.70", "17.05", "26.05", "7.39", "10.56", "2.82", "0.00", "0.00", "0.00"};
        for (int k = 0; k < 9; ++k)
            QCOMPARE(text(r.cs[k]), cs[k]);
        QCOMPARE(text(r.totcs), "73.57");
        QCOMPARE(text(r.salnet), "278.43");
        QCOMPARE(text(r.net), "278.43");
        QCOMPARE(text(r.salimp), "288.13");
        QCOMPARE(text(r.rate[0]), "2.90");
        QCOMPARE(text(r.base[2]), "100");
    }

    void parties()
    {
        SlipInput in = march2002();
        in.pol1 = 2;
        in.pol2 = 1;
        in.CheckBox10 = true;
        in.du = QDate(2002, 2, 25);
        in.au = QDate(2002, 4, 2);
        SlipResult r = computeNetSlip(in);
        QCOMPARE(text(r.pol1), "Monsieur");
        QCOMPARE(text(r.pol2), "Madame");
        QCOMPARE(text(r.prenom), "Julie");
        QCOMPARE(text(r.secu1), "2 75 03 75 112 005 -42");
        QCOMPARE(text(r.secu2), "75 01 234 567 890");
        QCOMPARE(text(r.du), "25/02/2002");
        QCOMPARE(text(r.au), "02/04/2002");
        QCOMPARE(text(r.Date), "31/03/2002");
        QCOMPARE(text(r.St[4]), "Retraite complémentaire IRCEM :");

        in.CheckBox10 = false;
        in.pol1 = -1;
        r = computeNetSlip(in);
        QCOMPARE(text(r.du), "");
        QCOMPARE(text(r.au), "");
        QVERIFY(!r.pol1 && r.pol1Kept);
        QVERIFY(!r.pol2Kept);
    }

    void monthKey_data()
    {
        QTest::addColumn<QString>("moan");
        QTest::addColumn<QString>("mois");
        QTest::addColumn<QString>("an");
        QTest::newRow("August") << "0803"
                                << "Aôut"
                                << "2003";
        QTest::newRow("December") << "1299"
                                  << "Décembre"
                                  << "2099";
        QTest::newRow("no such month") << "1302"
                                       << ""
                                       << "2002";
        QTest::newRow("month zero") << "0002"
                                    << ""
                                    << "2002";
        QTest::newRow("empty key") << ""
                                   << ""
                                   << "";
        QTest::newRow("key too short") << "03"
                                       << ""
                                       << "";
    }
    void monthKey()
    {
        QFETCH(QString, moan);
        QFETCH(QString, mois);
        QFETCH(QString, an);
        SlipInput in = march2002();
        in.moan = moan;
        in.totheur = "10";
        const SlipResult r = computeNetSlip(in);
        QVERIFY(r.complete());
        QCOMPARE(text(r.mois), mois);
        QCOMPARE(text(r.an), an);
        QCOMPARE(text(r.salnet), "33.00");
    }

    void dayGrid()
    {
        SlipInput in = march2002();
        setDay(in, 1, "08:15:00");
        setDay(in, 2, "", true);
        setDay(in, 3, "07:50:00", true);
        in.days[4].breakfast = "PD"; // meals only: no date, no hours
        in.days[4].snack = "Gouter";
        in.days[5].dinner = "Diner";
        in.days[6].lunch = "Dej"; // not the mark the hours window writes
        in.totheur = "16.08";
        const SlipResult r = computeNetSlip(in);
        QVERIFY(r.complete());
        QCOMPARE(text(r.Grille[0][0]), "Dates");
        QCOMPARE(text(r.Grille[0][1]), "Forfait");
        QCOMPARE(text(r.Grille[0][2]), "Heures");
        QCOMPARE(text(r.Grille[1][0]), "01/03/2002");
        QCOMPARE(text(r.Grille[1][1]), "");
        QCOMPARE(text(r.Grille[1][2]), "08:15:00");
        QCOMPARE(text(r.Grille[2][1]), "X");
        QCOMPARE(text(r.Grille[2][2]), "");
        QCOMPARE(text(r.Grille[3][1]), "X");
        QCOMPARE(text(r.Grille[3][2]), "07:50:00");
        QCOMPARE(text(r.Grille[31][0]), "");
        QCOMPARE(text(r.nbjf), "2");
        // 0.76 + 0.76 + 1.52
        QCOMPARE(text(r.nour), "3.04");
        // A flat-rate day with hours is paid both: 3.00 x 16.08 + 2 x 30, plus 10 %.
        QCOMPARE(text(r.salnet), "119.06");
    }

    void holidays_data()
    {
        QTest::addColumn<Basis>("basis");
        QTest::addColumn<SlipInput>("input");
        QTest::addColumn<QString>("feri1");
        QTest::addColumn<QString>("feri2");
        QTest::addColumn<QString>("salary");
        QTest::addColumn<QString>("cong");

        SlipInput in = march2002();
        setDay(in, 1, "08:00:00");
        setDay(in, 8, "07:30:00", false, true);
        in.totheur = "15.5";
        // 3.00 x 8 = 24 base pay, 26.40 with the leave allowance.
        QTest::newRow("holiday hours without supplement") << Basis::Net << in << "0"
                                                          << "7.5"
                                                          << "26.40"
                                                          << "2.40";
        in.Indentre = true;
        // + 3.00 x 2 x 7.5 = 45, plus 10 %: 49.50 more, 4.50 more leave.
        QTest::newRow("holiday hours with supplement") << Basis::Net << in << "0"
                                                       << "7.5"
                                                       << "75.90"
                                                       << "6.90";
        in.Indentr = "2.5";
        // 26.40 + 56.25 + 5.625 = 88.2750 and 2.40 + 5.625 = 8.0250: ties, shown to the even cent.
        QTest::newRow("other multiplier") << Basis::Net << in << "0"
                                          << "7.5"
                                          << "88.28"
                                          << "8.02";

        in = march2002();
        in.Indentre = true;
        setDay(in, 1, "", true, true);
        in.totheur = "0";
        // The flat day goes to the supplement only: 2 x 30 = 60, plus 10 %.
        QTest::newRow("holiday flat-rate day") << Basis::Net << in << "1"
                                               << "0"
                                               << "66.00"
                                               << "6.00";
        setDay(in, 1, "05:00:00", true, true);
        in.totheur = "5";
        // Its hours stay in the hourly part: + 3.00 x 5, plus 10 %.
        QTest::newRow("holiday flat-rate day with hours") << Basis::Net << in << "1"
                                                          << "0"
                                                          << "82.50"
                                                          << "7.50";
        in.Indentre = false;
        QTest::newRow("holiday flat-rate day, no supplement") << Basis::Net << in << "1"
                                                              << "0"
                                                              << "16.50"
                                                              << "1.50";

        in = march2002();
        in.Indentre = true;
        setDay(in, 1, "", false, true);
        setDay(in, 2, "04:30:00", false, true);
        setDay(in, 3, "01:00:40", false, true); // the seconds do not count
        in.totheur = "5.5";
        // 3.00 x 2 x 5.5 = 33, plus 10 %.
        QTest::newRow("holiday without hours counts nothing") << Basis::Net << in << "0"
                                                              << "5.5"
                                                              << "36.30"
                                                              << "3.30";

        in = march2002();
        setDay(in, 1, "00:20:00", false, true);
        in.totheur = "0.33";
        // 3.00 x (0.33 - 1/3) = -0.0100: -0.0110 with the leave, whose -0.0010 shows no sign.
        QTest::newRow("third of an hour") << Basis::Net << in << "0"
                                          << "0.333333333333333"
                                          << "-0.01"
                                          << "0.00";

        in = march2002();
        in.Indentre = true;
        setDay(in, 1, "10:00:00", false, true);
        setDay(in, 2, "", true, true);
        in.totheur = "10";
        // 4.00 x 2 x 10 + 2 x 40 = 160, plus 10 %.
        QTest::newRow("gross holidays") << Basis::Gross << in << "1"
                                        << "10"
                                        << "176.00"
                                        << "16.00";
    }
    void holidays()
    {
        QFETCH(Basis, basis);
        QFETCH(SlipInput, input);
        QFETCH(QString, feri1);
        QFETCH(QString, feri2);
        QFETCH(QString, salary);
        QFETCH(QString, cong);
        const SlipResult r = compute(basis, input);
        QVERIFY(r.complete());
        QCOMPARE(text(r.feri1), feri1);
        QCOMPARE(text(r.feri2), feri2);
        QCOMPARE(text(basis == Basis::Net ? r.salnet : r.salbrut), salary);
        QCOMPARE(text(r.Cong), cong);
    }

    void allowancesAndAdvance_data()
    {
        QTest::addColumn<Basis>("basis");
        QTest::addColumn<SlipInput>("input");
        QTest::addColumn<QString>("entret");
        QTest::addColumn<QString>("net");

        SlipInput in = march2002();
        in.totheur = "80.33";
        setDay(in, 1, "", true);
        in.ETH = "0.3333";
        in.EFJ = "2.5";
        in.diverse = "10";
        in.abs = "5.555";
        // salnet = 5.555 + 10 + 1.1 x (3 x 80.33 + 30) = 313.6440; nothing else to pay.
        QTest::newRow("no allowance") << Basis::Net << in << "0.00"
                                      << "313.64";
        in.CheckBox11 = true;
        // 0.3333 x 80.33 = 26.773989 -> 26.7740; enters with four decimals.
        QTest::newRow("hourly upkeep") << Basis::Net << in << "26.77"
                                       << "340.41";
        in.CheckBox12 = true;
        QTest::newRow("both upkeeps") << Basis::Net << in << "29.27"
                                      << "342.91";
        in.accpte = "400";
        QTest::newRow("advance beyond the pay") << Basis::Net << in << "29.27"
                                                << "-57.09";
        // The advance enters as shown, 1 000.92: 342.9140 - 1000.92 = -658.0060.
        in.accpte = "1000.915";
        QTest::newRow("advance taken as shown") << Basis::Net << in << "29.27"
                                                << "-658.01";
    }
    void allowancesAndAdvance()
    {
        QFETCH(Basis, basis);
        QFETCH(SlipInput, input);
        QFETCH(QString, entret);
        QFETCH(QString, net);
        const SlipResult r = compute(basis, input);
        QVERIFY(r.complete());
        QCOMPARE(text(r.entret), entret);
        QCOMPARE(text(r.net), net);
    }

    // Above 1000 the display groups digits; the later steps still use the
    // amount to the cent.
    void largeAmounts()
    {
        SlipInput in = march2002();
        in.SHbr = "10.123";
        in.totheur = "200";
        in.accpte = "1500";
        const SlipResult r = computeGrossSlip(in);
        QVERIFY(r.complete());
        QCOMPARE(text(r.salbrut), "2 227.06");
        QCOMPARE(text(r.cs[0]), "61.36");  // 2227.06 x 2.90 x 95 / 10000 = 61.355503
        QCOMPARE(text(r.cs[2]), "164.80"); // 2227.06 x 7.40 = 164.80244
        QCOMPARE(text(r.totcs), "465.46");
        QCOMPARE(text(r.salnet), "1 761.60");
        QCOMPARE(text(r.salimp), "1 822.96");
        QCOMPARE(text(r.acpt), "1 500.00");
        QCOMPARE(text(r.net), "261.60");
    }

    // On the gross basis the shown contributions and the shown net salary
    // add up to the shown gross salary, month after month.
    void grossAddsUp()
    {
        QRandomGenerator rng(20020301);
        for (int month = 0; month < 400; ++month) {
            SlipInput in = march2002();
            in.SHbr = QString::number(rng.bounded(100, 2000) / 100.0 + rng.bounded(100) / 10000.0, 'f', 4);
            in.FJbr = QString::number(rng.bounded(0, 9000) / 100.0, 'f', 2);
            in.totheur = QString::number(rng.bounded(0, 30000) / 100.0, 'f', 2);
            in.diverse = QString::number(rng.bounded(0, 5000) / 100.0, 'f', 2);
            in.abs = QString::number(rng.bounded(0, 5000) / 1000.0, 'f', 3);
            in.Indentre = rng.bounded(2);
            for (int d = 1; d <= 31; ++d)
                if (rng.bounded(4) == 0)
                    setDay(in, d,
                           QStringLiteral("%1:%2:00")
                               .arg(rng.bounded(0, 12), 2, 10, QChar('0'))
                               .arg(rng.bounded(0, 60), 2, 10, QChar('0')),
                           rng.bounded(3) == 0, rng.bounded(6) == 0);
            for (int k = 0; k < 9; ++k) {
                in.grossRate[k] = QString::number(rng.bounded(0, 1500) / 100.0, 'f', 2);
                in.basePercent[k] = QString::number(rng.bounded(50, 101));
            }
            const SlipResult r = computeGrossSlip(in);
            QVERIFY2(r.complete(), qPrintable(r.error.value_or("")));
            qint64 sum = cents(r.salnet);
            qint64 total = 0;
            for (const SlipText &cs : r.cs)
                total += cents(cs);
            QCOMPARE(cents(r.totcs), total);
            sum += total;
            QCOMPARE(sum, cents(r.salbrut));
            QCOMPARE(cents(r.salimp), cents(r.salnet) + cents(r.cs[0]));
        }
    }

    // A text that does not read stops the slip where it is read: the
    // figures before it are written, those after it are left unset.
    void badTexts_data()
    {
        QTest::addColumn<Basis>("basis");
        QTest::addColumn<SlipInput>("input");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("written");
        // Figures spread along the slip, in the order they are written.
        const QStringList names{"prenom"}, hours = names + QStringList{"Grille", "totheur"},
                                           days = hours + QStringList{"nbjf"}, holidays = days + QStringList{"feri2"},
                                           leave = holidays + QStringList{"Cong"},
                                           contributions = leave + QStringList{"totcs"};

        const SlipInput ok = [] {
            SlipInput in = march2002();
            in.totheur = "80";
            return in;
        }();
        SlipInput in = ok;
        in.moan = "ab02";
        QTest::newRow("month key") << Basis::Net << in << notInteger.arg("ab") << QStringList();
        in = ok;
        setDay(in, 3, "8:15:00", false, true);
        QTest::newRow("holiday duration") << Basis::Net << in << notInteger.arg("8:") << names;
        in = ok;
        in.totheur = "";
        QTest::newRow("empty total") << Basis::Net << in << notFloat.arg("") << hours;
        in = ok;
        in.ETH = "x";
        in.CheckBox11 = true;
        QTest::newRow("hourly upkeep") << Basis::Net << in
                                       << field("Indemnité d'entretien au taux horaire", notFloat.arg("x")) << days;
        in = ok;
        in.EFJ = "";
        in.CheckBox12 = true;
        QTest::newRow("daily upkeep") << Basis::Gross << in
                                      << field("Indemnité d'entretien au forfait journalier", notFloat.arg("")) << days;
        in = ok;
        in.Indentr = "deux";
        in.Indentre = true;
        QTest::newRow("multiplier") << Basis::Net << in << field("Majoration jour férié", notFloat.arg("deux"))
                                    << holidays;
        in = ok;
        in.FJ = "";
        QTest::newRow("empty flat rate") << Basis::Net << in << field("Forfait journalier (NET)", notFloat.arg(""))
                                         << holidays;
        in.Indentre = true;
        QTest::newRow("empty flat rate, supplement on")
            << Basis::Net << in << field("Forfait journalier (NET)", notFloat.arg("")) << holidays;
        in = ok;
        in.SHbr = "4,00";
        QTest::newRow("gross hourly wage")
            << Basis::Gross << in << field("Salaire horaire (BRUT)", notFloat.arg("4,00")) << holidays;
        in = ok;
        in.SHbr = "90000000000000";
        QTest::newRow("pay beyond money")
            << Basis::Gross << in << QStringLiteral("Opération en virgule flottante incorrecte") << holidays;
        in = ok;
        in.diverse = "-";
        QTest::newRow("sundry allowances")
            << Basis::Net << in << field("Indemnités diverses", notFloat.arg("-")) << holidays;
        in = ok;
        in.netRate[2] = "3 %";
        QTest::newRow("net coefficient") << Basis::Net << in
                                         << field("Taux NET, ligne 3 (Sécurité Sociale)", notFloat.arg("3 %")) << leave;
        in = ok;
        in.grossRate[2] = "";
        QTest::newRow("gross rate") << Basis::Gross << in
                                    << field("Taux BRUT, ligne 3 (Sécurité Sociale)", notFloat.arg("")) << leave;
        in = ok;
        in.basePercent[2] = "98.25";
        QTest::newRow("decimal base percentage")
            << Basis::Gross << in << field("Assiette, ligne 3 (Sécurité Sociale)", notInteger.arg("98.25")) << leave;
        in = ok;
        in.G = "0.76€";
        QTest::newRow("meal allowance") << Basis::Net << in
                                        << field("Indemnité de repas, Goûter", notFloat.arg("0.76€")) << contributions;
        in = ok;
        in.accpte = "";
        QTest::newRow("advance") << Basis::Gross << in << field("Accompte déjà versé", notFloat.arg(""))
                                 << contributions;
    }
    void badTexts()
    {
        QFETCH(Basis, basis);
        QFETCH(SlipInput, input);
        QFETCH(QString, message);
        QFETCH(QStringList, written);
        const SlipResult r = compute(basis, input);
        QCOMPARE(r.error.value_or("<none>"), message);
        const QList<QPair<QString, SlipText>> figures = {{"prenom", r.prenom},   {"Grille", r.Grille[31][2]},
                                                         {"totheur", r.totheur}, {"nbjf", r.nbjf},
                                                         {"feri2", r.feri2},     {"Cong", r.Cong},
                                                         {"totcs", r.totcs}};
        QStringList shown;
        for (const auto &[name, value] : figures)
            if (value)
                shown << name;
        QCOMPARE(shown, written);
        QVERIFY(!r.net);
        QVERIFY(!r.salimp);
    }

    void stopsWhereTheTextIsRead()
    {
        SlipInput in = march2002();
        in.totheur = "80";
        setDay(in, 2, "08:00:00");
        setDay(in, 3, "bad", false, true);
        SlipResult r = computeNetSlip(in);
        QCOMPARE(r.error.value_or("<none>"), notInteger.arg("ba"));
        QCOMPARE(text(r.Grille[2][0]), "02/03/2002"); // row 2 done
        QCOMPARE(text(r.Grille[3][2]), "bad");        // row 3 copied before its hours are read
        QVERIFY(!r.Grille[4][0]);

        in = march2002();
        in.totheur = "80";
        in.basePercent[3] = "98.25";
        r = computeGrossSlip(in);
        QCOMPARE(text(r.cs[2]), "26.05");
        QVERIFY(!r.cs[3]);
        QVERIFY(!r.cs[4]);
        QCOMPARE(text(r.salbrut), "352.00");

        in.basePercent[3] = "100";
        in.accpte = "?";
        r = computeGrossSlip(in);
        QCOMPARE(text(r.nour), "0.00");
        QVERIFY(!r.acpt);
        QCOMPARE(text(r.salnet), "278.43");
    }

    // The switches that are off leave their texts unread.
    void switchedOffTextsUnread()
    {
        SlipInput in = march2002();
        in.totheur = "80";
        in.ETH = in.EFJ = in.Indentr = "";
        in.SHbr = in.FJbr = "";
        in.grossRate.fill("?");
        in.basePercent.fill("?");
        QVERIFY(computeNetSlip(in).complete());
        in = march2002();
        in.SH = in.FJ = "";
        in.netRate.fill("?");
        QVERIFY(computeGrossSlip(in).complete());
    }

    // Each field of the child's record reaches the slip input of the same
    // control: the record's field table names them, so a swap shows.
    // A regular contract's month goes through the same steps as a slip paid
    // by the hour, with its salary S in place of the base pay: the slip of
    // the basis whose salary comes out equal shows the same figures,
    // contributions, allowances and amount to pay, save the leave share.
    void contractMonthFollowsItsBasis_data()
    {
        QTest::addColumn<Basis>("basis");
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("sundry");
        QTest::addColumn<QString>("absence");
        QTest::newRow("net, round hours") << Basis::Net << "80"
                                          << "0"
                                          << "0";
        QTest::newRow("net, allowances") << Basis::Net << "151.67"
                                         << "12.5"
                                         << "7.25";
        QTest::newRow("gross, round hours") << Basis::Gross << "80"
                                            << "0"
                                            << "0";
        QTest::newRow("gross, allowances and above 1000") << Basis::Gross << "310.5"
                                                          << "3.10"
                                                          << "40";
    }
    void contractMonthFollowsItsBasis()
    {
        QFETCH(Basis, basis);
        QFETCH(QString, hours);
        QFETCH(QString, sundry);
        QFETCH(QString, absence);
        SlipInput in = march2002();
        in.totheur = hours;
        in.diverse = sundry;
        in.abs = absence;
        in.CheckBox11 = in.CheckBox12 = true;
        in.ETH = "0.35";
        in.EFJ = "2.65";
        in.accpte = "20";
        setDay(in, 4, "08:00:00", true);
        for (int d : {5, 6, 11})
            in.days[d - 1].lunch = "Déj";
        in.days[6].breakfast = "PD";
        const SlipResult hourly = compute(basis, in);
        QVERIFY(hourly.complete());
        const Money salary = basis == Basis::Net ? hourly.amounts.salnet : hourly.amounts.salbrut;
        // S such that round4(abs + (diverse + S)) is that same salary.
        const Money S =
            Money::fromCount(salary.count() - moneyFromText(absence).count() - moneyFromText(sundry).count());
        SlipResult contract = computeContractSlip(in, basis == Basis::Gross, S);
        QVERIFY(contract.complete());
        QCOMPARE(text(contract.Cong), "0.00");
        QCOMPARE(contract.amounts.Cong, Money());
        QVERIFY(hourly.amounts.Cong != Money());
        // Everything else is the slip of the basis.
        contract.Cong = hourly.Cong;
        contract.amounts.Cong = hourly.amounts.Cong;
        QCOMPARE(text(contract.salnet), text(hourly.salnet));
        QCOMPARE(text(contract.salbrut), text(hourly.salbrut));
        QCOMPARE(text(contract.salimp), text(hourly.salimp));
        QCOMPARE(text(contract.net), text(hourly.net));
        QCOMPARE(text(contract.entret), text(hourly.entret));
        QCOMPARE(text(contract.nour), text(hourly.nour));
        QVERIFY(contract.cs == hourly.cs);
        QVERIFY(contract.amounts.cs == hourly.amounts.cs);
        QVERIFY(contract.Grille == hourly.Grille);
        QCOMPARE(text(contract.totcs), text(hourly.totcs));
    }

    // The contract's worked figures: 40 h a week over a complete year at
    // 4.00 an hour give S = 693.33; on the net basis it is the net salary, on
    // the gross basis the gross salary the contributions are deducted from.
    void contractWorkedExample_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::addColumn<QStringList>("expected"); // salary, cs1, totcs, salnet, net
        // Net: cs1 = 693.33 x 0.0348 = 24.1279; the six lines add up to 183.18,
        // shown for information.
        QTest::newRow("net") << false << QStringList{"693.33", "24.13", "183.18", "693.33", "693.33"};
        // Gross: cs1 = 693.33 x 2.90 x 95 / 10000 = 19.1012.
        QTest::newRow("gross") << true << QStringList{"693.33", "19.10", "144.91", "548.42", "548.42"};
    }
    void contractWorkedExample()
    {
        QFETCH(bool, gross);
        QFETCH(QStringList, expected);
        SlipInput in = march2002();
        in.totheur = "173.33";
        // The hourly texts of the slip paid by the hour are not read.
        in.SH = in.FJ = in.SHbr = in.FJbr = "";
        const SlipResult r = computeContractSlip(in, gross, Money::fromCount(6933300));
        QVERIFY2(r.complete(), qPrintable(r.error.value_or("")));
        QCOMPARE((QStringList{text(gross ? r.salbrut : r.salnet), text(r.cs[0]), text(r.totcs), text(r.salnet),
                              text(r.net)}),
                 expected);
        QCOMPARE(text(r.Cong), "0.00");
    }

    // A text that does not read stops the contract's slip at the step of the
    // slip paid by the hour that reads it.
    void contractSlipStopsOnBadText()
    {
        SlipInput in = march2002();
        in.totheur = "80";
        in.diverse = "x";
        const SlipResult r = computeContractSlip(in, false, Money::fromCount(1000000));
        QVERIFY2(r.error.value_or("").endsWith(notFloat.arg("x")), qPrintable(r.error.value_or("")));
        QCOMPARE(r.stoppedAtStep, 14);
        QVERIFY(!r.salnet);
    }

    void inputFromRecord()
    {
        ParamRecord r;
        for (const paramrecord::TextField &f : paramrecord::textFields())
            f.ref(r) = f.name;
        r.pol1 = 2;
        r.pol2 = 1;
        r.CheckBox10 = 2; // greyed counts as ticked
        r.CheckBox11 = 0;
        r.CheckBox12 = 1;
        r.Indentre = 1;
        r.du = toDateNumber(QDateTime(QDate(2002, 3, 4), QTime(13, 30)));
        r.au = toDateNumber(QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
        MonthSheet sheet;
        sheet.cell(sheet::Date, 31) = QStringLiteral("31/03/2002");
        sheet.cell(sheet::Holiday, 31) = sheet::mark(sheet::Holiday);
        const SlipInput in = slipInputFrom(r, sheet, "0302", "160", QDate(2002, 4, 2));

        const std::pair<QString, QString> texts[] = {
            {in.prenom3, "prenom3"},
            {in.nom3, "nom3"},
            {in.nom1, "nom1"},
            {in.prenom1, "prenom1"},
            {in.Adr11, "Adr11"},
            {in.Adr12, "Adr12"},
            {in.cp1, "cp1"},
            {in.Ville1, "Ville1"},
            {in.Secu, "Secu"},
            {in.nom2, "nom2"},
            {in.prenom2, "prenom2"},
            {in.adr21, "adr21"},
            {in.adr22, "adr22"},
            {in.cp2, "cp2"},
            {in.ville2, "ville2"},
            {in.urssaf, "urssaf"},
            {in.SH, "SH"},
            {in.FJ, "FJ"},
            {in.SHbr, "SHbr"},
            {in.FJbr, "FJbr"},
            {in.Indentr, "Indentr"},
            {in.ETH, "ETH"},
            {in.EFJ, "EFJ"},
            {in.diverse, "diverse"},
            {in.abs, "abs"},
            {in.accpte, "accpte"},
            {in.PD, "PD"},
            {in.D, "D"},
            {in.G, "G"},
            {in.Sp, "Sp"},
        };
        for (const auto &[value, name] : texts)
            QCOMPARE(value, name);
        for (int k = 0; k < ContributionLines; ++k) {
            QCOMPARE(in.lineName[k], QStringLiteral("StaticText%1").arg(k + 1));
            QCOMPARE(in.netRate[k], QStringLiteral("Edit%1").arg(k + 1));
            QCOMPARE(in.grossRate[k], QStringLiteral("Edit%1").arg(k + 10));
            QCOMPARE(in.basePercent[k], QString::fromLatin1(paramrecord::baseNames[k]));
        }
        QCOMPARE(std::pair(in.pol1, in.pol2), std::pair(2, 1));
        QCOMPARE((std::array{in.CheckBox10, in.CheckBox11, in.CheckBox12, in.Indentre}),
                 (std::array{true, false, true, true}));
        QCOMPARE(in.du, QDate(2002, 3, 4));
        QCOMPARE(in.au, QDate(1899, 12, 29));
        QCOMPARE(in.moan, QStringLiteral("0302"));
        QCOMPARE(in.totheur, QStringLiteral("160"));
        QCOMPARE(in.today, QDate(2002, 4, 2));
        QCOMPARE(in.days[30], sheetDay(sheet, 31));
        QCOMPARE(in.days[30].holiday, sheet::mark(sheet::Holiday));
    }
};

QTEST_GUILESS_MAIN(TestSlip)
#include "tst_slip.moc"
