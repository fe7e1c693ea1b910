// The childcare aid (CMG) estimated for a month, and what is left for the
// family to pay: the office's worked example and the rules around it.

#include "common/errors.h"
#include "legal/familycost.h"
#include "legal/legaltable.h"
#include "testfiles.h"

#include <QtTest>

using legal::FamilyCost;

Q_DECLARE_METATYPE(FamilyCost::Status)
Q_DECLARE_METATYPE(FamilyCost::Takeover)
Q_DECLARE_METATYPE(legal::SlipCost)
Q_DECLARE_METATYPE(legal::AidFamily)

namespace {
// The values of the aid's rules card, written out here rather than read
// back from the shipped file; the two-child rate marked as unverified.
const QByteArray aidRows = "cmg_plafond_horaire_am;8.00;2025-09-01;D. 531-17\n"
                           "cmg_cout_horaire_reference;4.85;2025-09-01;CAF\n"
                           "cmg_taux_effort_1;0.0619;2025-09-01;CAF\n"
                           "cmg_taux_effort_2;0.0516;2025-09-01;NON VÉRIFIÉ : barème des crèches\n"
                           "cmg_taux_effort_3;0.0413;2025-09-01;crèches\n"
                           "cmg_taux_effort_4_a_7;0.0310;2025-09-01;crèches\n"
                           "cmg_taux_effort_8;0.0206;2025-09-01;crèches\n"
                           "cmg_ressources_plafond;8500;2025-09-01;CAF\n"
                           "cmg_age_limite;6;2025-09-01;L. 531-5\n"
                           "cmg_age_limite_parent_isole;12;2025-09-01;CAF\n"
                           "cmg_garde_alternee_par_parent;1;2025-12-01;CAF\n";

Money euros(const char *text) { return moneyFromText(QString::fromLatin1(text)); }

// A toddler's month of November 2025.
legal::SlipCost month(const char *net, const char *upkeep, const char *meals, qint64 hours,
                      const char *contributions = "0")
{
    legal::SlipCost s;
    s.year = 2025;
    s.month = 11;
    s.netSalary = euros(net);
    s.upkeep = euros(upkeep);
    s.meals = euros(meals);
    s.contributions = euros(contributions);
    s.declaredHours = hours;
    s.exactHours = 100 * hours;
    return s;
}

legal::AidFamily aidFamily(const char *resources, int children)
{
    legal::AidFamily f;
    f.resources = euros(resources);
    f.children = children;
    f.birth = QDate(2024, 3, 12);
    return f;
}
} // namespace

class TestFamilyCost : public QObject {
    Q_OBJECT
private:
    legal::Table m_table = legal::Table::parse(legalTableFile(aidRows), QStringLiteral("Baremes.txt"));

private slots:
    void estimate_data()
    {
        QTest::addColumn<legal::SlipCost>("slip");
        QTest::addColumn<legal::AidFamily>("fam");
        QTest::addColumn<FamilyCost::Status>("status");
        QTest::addColumn<QString>("counted"); // "" where no aid is worked out
        QTest::addColumn<QString>("aid");
        QTest::addColumn<qint64>("aidEuros");
        QTest::addColumn<FamilyCost::Takeover>("takeover");
        QTest::addColumn<qint64>("taken"); // hundredths of a percent
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("unverified"); // a note names a value not verified

        using S = FamilyCost::Status;
        using T = FamilyCost::Takeover;
        // 606.25 x (1 - 3000 x 0.000619 / 4.85) is 374.125 exactly: half away from zero.
        QTest::newRow("office's example") << month("606.25", "0", "0", 125) << aidFamily("3000", 1) << S::Estimated
                                          << "606.25" << "374.13" << qint64(374) << T::All << qint64(10000) << "232.12"
                                          << false;
        QTest::newRow("two children, under the cap")
            << month("780.00", "80.00", "70.00", 173, "170.65") << aidFamily("4500", 2) << S::Estimated << "930.00"
            << "484.75" << qint64(485) << T::All << qint64(10000) << "445.25" << true;
        // 9.30 an hour: 800.00 counted, contributions taken over at 800/930,
        // the family paying 130/930 of the employee's 170.65.
        QTest::newRow("cap passed") << month("780.00", "80.00", "70.00", 100, "170.65") << aidFamily("3000", 1)
                                    << S::Estimated << "800.00" << "493.69" << qint64(494) << T::Share << qint64(8602)
                                    << "460.16" << false;
        QTest::newRow("exactly at the cap") << month("800.00", "0", "0", 100) << aidFamily("3000", 1) << S::Estimated
                                            << "800.00" << "493.69" << qint64(494) << T::All << qint64(10000)
                                            << "306.31" << false;
        legal::AidFamily disabled = aidFamily("4500", 1);
        disabled.disabledChildren = 1;
        QTest::newRow("AEEH: the two-child rate") << month("780.00", "80.00", "70.00", 173) << disabled << S::Estimated
                                                  << "930.00" << "484.75" << qint64(485) << T::All << qint64(10000)
                                                  << "445.25" << true;
        legal::AidFamily many = aidFamily("4500", 7);
        many.disabledChildren = 3;
        QTest::newRow("AEEH past the last rate") << month("930.00", "0", "0", 173) << many << S::Estimated << "930.00"
                                                 << "752.25" << qint64(752) << T::All << qint64(10000) << "177.75"
                                                 << false;
        // 8000 x 0.000619 is more than 4.85: the right is open, the amount nil.
        QTest::newRow("resources high, under the ceiling")
            << month("606.25", "0", "0", 125) << aidFamily("8000", 1) << S::Estimated << "606.25" << "0.00" << qint64(0)
            << T::All << qint64(10000) << "606.25" << false;
        QTest::newRow("resources above the ceiling")
            << month("780.00", "80.00", "70.00", 173, "170.65") << aidFamily("8500.01", 2) << S::NoAid << "" << "0.00"
            << qint64(0) << T::None << qint64(0) << "1 100.65" << true;
        legal::AidFamily six = aidFamily("3000", 1);
        six.birth = QDate(2019, 11, 30);
        QTest::newRow("6 on the month's last day") << month("606.25", "0", "0", 125) << six << S::NoAid << "" << "0.00"
                                                   << qint64(0) << T::None << qint64(0) << "606.25" << false;
        six.birth = QDate(2019, 12, 1);
        QTest::newRow("6 the day after") << month("606.25", "0", "0", 125) << six << S::Estimated << "606.25"
                                         << "374.13" << qint64(374) << T::All << qint64(10000) << "232.12" << false;
        six.birth = QDate(2016, 5, 2);
        six.singleParent = true;
        QTest::newRow("single parent, 9 years old") << month("606.25", "0", "0", 125) << six << S::Estimated
                                                    << "606.25" << "374.13" << qint64(374) << T::All << qint64(10000)
                                                    << "232.12" << false;
        legal::SlipCost august = month("606.25", "0", "0", 125);
        august.year = 2025;
        august.month = 8;
        QTest::newRow("August 2025: the older rule") << august << aidFamily("3000", 1) << S::NotEstimated << "" << "0.00"
                                                     << qint64(0) << T::None << qint64(10000) << "0.00" << false;
        legal::AidFamily shared = aidFamily("3000", 1);
        shared.sharedCustody = true;
        QTest::newRow("shared custody before its rule") << month("606.25", "0", "0", 125) << shared << S::NotEstimated
                                                        << "" << "0.00" << qint64(0) << T::None << qint64(10000)
                                                        << "0.00" << false;
        legal::SlipCost december = month("606.25", "0", "0", 125);
        december.month = 12;
        QTest::newRow("shared custody from its rule") << december << shared << S::Estimated << "606.25" << "374.13"
                                                      << qint64(374) << T::All << qint64(10000) << "232.12" << false;
        QTest::newRow("resources not typed") << month("606.25", "0", "0", 125) << legal::AidFamily{} << S::NotEstimated
                                             << "" << "0.00" << qint64(0) << T::None << qint64(10000) << "0.00"
                                             << false;
        QTest::newRow("no hours") << month("0", "12.00", "0", 0) << aidFamily("3000", 1) << S::NotEstimated << "" << "0.00"
                                  << qint64(0) << T::None << qint64(10000) << "0.00" << false;
    }
    void estimate()
    {
        QFETCH(legal::SlipCost, slip);
        QFETCH(legal::AidFamily, fam);
        QFETCH(FamilyCost::Status, status);
        QFETCH(QString, counted);
        QFETCH(QString, aid);
        QFETCH(qint64, aidEuros);
        QFETCH(FamilyCost::Takeover, takeover);
        QFETCH(qint64, taken);
        QFETCH(QString, left);
        QFETCH(bool, unverified);

        const FamilyCost f = legal::estimateFamilyCost(m_table, slip, fam);
        QCOMPARE(f.status, status);
        QCOMPARE(f.reason.isEmpty(), status == FamilyCost::Status::Estimated);
        QCOMPARE(f.monthCost, slip.netSalary + slip.upkeep + slip.meals);
        if (!counted.isEmpty())
            QCOMPARE(f.counted, moneyFromText(counted));
        QCOMPARE(f.aid, moneyFromText(aid));
        QCOMPARE(f.aidEuros, aidEuros);
        QCOMPARE(f.takeover, takeover);
        QCOMPARE(f.takenHundredths, taken);
        if (status != FamilyCost::Status::NotEstimated)
            QCOMPARE(f.left, moneyFromText(left.remove(' ')));
        QCOMPARE(f.capPassed, takeover == FamilyCost::Takeover::Share);
        QCOMPARE(f.capLine.isEmpty(), !f.capPassed);
        // Without the aid the employer's contributions are the family's, and not estimated.
        QCOMPARE(f.employerPartUnknown, takeover != FamilyCost::Takeover::All && status != FamilyCost::Status::NotEstimated);
        QCOMPARE(f.notes.filter(QStringLiteral("NON VÉRIFIÉ")).isEmpty(), !unverified);

        // Every figure under its control's name, in order; the amounts as shown.
        QCOMPARE(f.figures.size(), legal::costFigureNames().size());
        for (int i = 0; i < f.figures.size(); ++i)
            QCOMPARE(f.figures[i].name, legal::costFigureNames().at(i));
        QCOMPARE(f.figures[0].value, formatAmount(f.monthCost) + QStringLiteral(" €"));
        if (status == FamilyCost::Status::Estimated) {
            QCOMPARE(f.figures[3].value, formatAmount(f.aid) + QStringLiteral(" €"));
            QCOMPARE(f.figures[5].value, formatAmount(f.left) + QStringLiteral(" €"));
        } else {
            // No figure of aid: the reason stands in its place.
            QCOMPARE(f.figures[3].how, f.reason);
        }
    }

    // The reasons name the dates and values the table gives.
    void reasons()
    {
        legal::SlipCost august = month("606.25", "0", "0", 125);
        august.month = 8;
        QCOMPARE(legal::estimateFamilyCost(m_table, august, aidFamily("3000", 1)).reason,
                 aidmsg::olderRule(QDate(2025, 9, 1)));
        legal::AidFamily shared = aidFamily("3000", 1);
        shared.sharedCustody = true;
        QCOMPARE(legal::estimateFamilyCost(m_table, month("606.25", "0", "0", 125), shared).reason,
                 aidmsg::sharedBefore(QDate(2025, 12, 1)));
        QCOMPARE(legal::estimateFamilyCost(m_table, month("606.25", "0", "0", 125), aidFamily("9000", 1)).reason,
                 aidmsg::aboveCeiling(formatAmount(euros("9000")), formatAmount(euros("8500"))));
        legal::AidFamily old = aidFamily("3000", 1);
        old.birth = QDate(2019, 11, 30);
        QCOMPARE(legal::estimateFamilyCost(m_table, month("606.25", "0", "0", 125), old).reason,
                 aidmsg::tooOld(6, QStringLiteral("30/11/2025"), false));
        // A table without the eight-children rate estimates no such family.
        QByteArray rows = aidRows;
        rows.replace("cmg_taux_effort_8;", "# ");
        const legal::Table short8 = legal::Table::parse(legalTableFile(rows), QStringLiteral("Baremes.txt"));
        QCOMPARE(legal::estimateFamilyCost(short8, month("606.25", "0", "0", 125), aidFamily("3000", 8)).reason,
                 aidmsg::valueMissing(QStringLiteral("cmg_taux_effort_8"), QStringLiteral("Novembre 2025")));
    }

    // A year's aid for the tax credit: the months' estimates added up, or
    // none when a month has no estimate (the older rule), naming it.
    void yearAid()
    {
        const auto archived = [](const char *key, qint64 salnet, qint64 hours) {
            ArchivedSlip s;
            s.monthKey = QString::fromLatin1(key);
            s.salnet = salnet;
            s.hours = hours;
            return s;
        };
        const legal::AidFamily fam = aidFamily("3000", 1);
        // 606.25 for 125 h in October, 800.00 for 100.49 h (100 declared) in November.
        const legal::YearAid y =
            legal::estimatedYearAid(m_table, {archived("1025", 60625, 12500), archived("1125", 80000, 10049)}, fam);
        QCOMPARE(y.cents, std::optional<qint64>(37413 + 49369));
        QCOMPARE(y.months, 2);
        const legal::YearAid older =
            legal::estimatedYearAid(m_table, {archived("0825", 60625, 12500), archived("0925", 60625, 12500)}, fam);
        QVERIFY(!older.cents);
        QCOMPARE(older.why, aidmsg::yearNotEstimated("Août 2025", aidmsg::olderRule(QDate(2025, 9, 1))));
        QVERIFY(!legal::estimatedYearAid(m_table, {}, fam).cents);
    }

    // The hours the aid divides by are the declared ones: a contract's month
    // declares its normal, complementary and majorated hours each whole.
    void slipHours_data()
    {
        QTest::addColumn<QString>("totheur");
        QTest::addColumn<bool>("contract");
        QTest::addColumn<qint64>("declared");
        QTest::addColumn<qint64>("exact");
        QTest::newRow("by the hour, half up") << "125.5" << false << qint64(126) << qint64(12550);
        QTest::newRow("by the hour, under half") << "80.49" << false << qint64(80) << qint64(8049);
        // 40 h x 52 / 12 = 173.33 h, 1.5 h complementary, 0.5 h majorated.
        QTest::newRow("a contract's month") << "0" << true << qint64(173 + 2 + 1) << qint64(17333 + 150 + 50);
    }
    void slipHours()
    {
        QFETCH(QString, totheur);
        QFETCH(bool, contract);
        QFETCH(qint64, declared);
        QFETCH(qint64, exact);
        SlipInput in;
        in.moan = QStringLiteral("1125");
        in.totheur = totheur;
        SlipResult slip;
        slip.amounts.salnet = euros("780.00");
        slip.amounts.entret = euros("80.00");
        slip.amounts.nour = euros("70.00");
        slip.amounts.totcs = euros("170.65");
        std::optional<ContractHours> hours;
        if (contract) {
            hours.emplace();
            hours->mensualisedTwelfths = 40 * 60 * 52;
            hours->complementaryMinutes = 90;
            hours->majoratedMinutes = 30;
        }
        const legal::SlipCost c = legal::slipCostOf(in, slip, hours);
        QCOMPARE(c.year, 2025);
        QCOMPARE(c.month, 11);
        QCOMPARE(c.netSalary + c.upkeep + c.meals, euros("930.00"));
        QCOMPARE(c.contributions, euros("170.65"));
        QCOMPARE(c.declaredHours, declared);
        QCOMPARE(c.exactHours, exact);
        // A slip that stopped gives nothing to estimate from.
        slip.error = QStringLiteral("'x' n'est pas une valeur en virgule flottante correcte");
        QCOMPARE(legal::slipCostOf(in, slip, hours).declaredHours, 0);
    }
};

QTEST_GUILESS_MAIN(TestFamilyCost)
#include "tst_familycost.moc"
