// "Coût pour la famille": opened beside a slip paid by the hour and from the
// declaration of a contract's month, it shows the pure estimate's figures for
// that child's slip and the family typed in the parameters.

#include "archive/storedmonths.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "legal/familycost.h"
#include "widgets/radiogroup.h"
#include "windows/costwindow.h"
#include "windows/declarationwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/printsavewindow.h"
#include "windows/slipsheet.h"

#include "dayrecords.h"
#include "testfiles.h"
#include "weekdaycontract.h"
#include "windowtest.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

class TestCostWindow : public WindowTest {
    Q_OBJECT
    static TParametres *params() { return win().Parametres; }
    QString folder() const { return m_dir.path() + '/'; }

    // The child's parameters with the stored defaults, the family typed on
    // its page: resources of 3,000 a month, one child, born in 2024.
    static void typeChild(const QString &hourlyNet)
    {
        params()->show();
        params()->hide();
        params()->prenom3->setText("Lina");
        params()->Netbrut->setItemIndex(0);
        params()->SH->setText(hourlyNet);
        params()->datenaiss->setDate(QDate(2024, 2, 10));
        params()->Ressources->setText("3000");
        params()->NbEnfants->setValue(1);
        win().Entree->selenf->setText("Lina");
    }

    // What the window should show: the unit's estimate for that slip.
    legal::FamilyCost expected(const SlipInput &in, const SlipResult &slip,
                               const std::optional<ContractHours> &hours) const
    {
        const legal::Table table = legal::Table::load(folder() + folder::legalTable);
        return legal::estimateFamilyCost(table, legal::slipCostOf(in, slip, hours),
                                         legal::aidFamilyOf(params()->familyOnScreen(), 1, params()->birthDate(1)));
    }

    static void compareShown(const legal::FamilyCost &cost)
    {
        TCout *w = win().Cout;
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->prenom->text(), "Lina");
        QVERIFY(w->Message->isHidden());
        QCOMPARE(w->Valeur.size(), cost.figures.size());
        for (int i = 0; i < cost.figures.size(); ++i) {
            QCOMPARE(w->Valeur[i]->objectName(), cost.figures[i].name);
            QCOMPARE(w->Libelle[i]->text(), cost.figures[i].label);
            QCOMPARE(w->Valeur[i]->text(), cost.figures[i].value);
            QCOMPARE(w->Calcul[i]->text(), cost.figures[i].how);
        }
        QCOMPARE(w->Depassement->text(), cost.capLine);
        QCOMPARE(w->Depassement->isVisible(), !cost.capLine.isEmpty());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2026, 4, 15), QTime(9, 30)}, WithRates));
        QVERIFY(QFile::copy(QStringLiteral(BERLIVO_SOURCE_DIR "/data/Baremes.txt"), folder() + folder::legalTable));
        QVERIFY(DayTable::createEmpty(folder() + folder::dayTable(1)));
    }
    void init() { openWindows(); }
    void cleanup() { destroyWindows(); }

    // November 2025 paid by the hour: twenty days of 6 hours, under the cap.
    void besideAnHourlySlip()
    {
        typeChild("4.20");
        QTableWidget *grid = win().Horaire->StringGrid1;
        for (int day = 1; day <= 20; ++day) {
            grid->setItem(day, 1, new QTableWidgetItem(QStringLiteral("%1/11/2025").arg(day, 2, 10, QChar('0'))));
            grid->setItem(day, 6, new QTableWidgetItem("06:00:00"));
        }
        win().Horaire->totheur->setText("120");
        win().Horaire->moan->setText("1125");
        showAndActivate(win().Bulletin);
        QVERIFY(QTest::qWaitFor([] { return win().BO->isVisible(); }));
        QCOMPARE(win().BO->Cout->text(), "Coût pour la famille");
        screenshot(QStringLiteral("bulletin-cout"));
        QTest::mouseClick(win().BO->Cout, Qt::LeftButton);

        const SlipSheet::Shown &shown = *win().Bulletin->shownSlip();
        const legal::FamilyCost cost = expected(shown.input, shown.result, std::nullopt);
        QCOMPARE(cost.status, legal::FamilyCost::Status::Estimated);
        QVERIFY(!cost.capPassed);
        compareShown(cost);
        QCOMPARE(win().Cout->Mois->text(), "Novembre 2025");
        screenshot(QStringLiteral("cout-famille"));
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
    }

    // March 2026 of a complete-year contract of 40 hours a week at 9.00 net
    // an hour, declared from its stored days: above the cap, said apart.
    void fromTheDeclarationOfAContractMonth()
    {
        storeWeekdayContract(folder());
        QList<day::Record> days;
        for (QDate d(2026, 3, 2); d.month() == 3; d = d.addDays(1))
            if (d.dayOfWeek() <= 5)
                days << storedDay(d.toString("dd/MM/yyyy"), "8");
        storeDays(folder(), folder::dayTable(1), days);
        typeChild("9.00");

        QVERIFY(activate(win().Declaration));
        TDeclaration *d = win().Declaration;
        d->MoisDeclaration->setCurrentIndex(d->MoisDeclaration->findData("0326"));
        d->FormActivate();
        QVERIFY(d->Cout->isEnabled());
        QTest::mouseClick(d->Cout, Qt::LeftButton);

        const SlipInput in = gatherSlipInput(storedMonthSheet(programFolder(), 1, "0326"));
        const contract::ContractSlip slip =
            contract::contractSlipOf(contract::loadSlipInputs(programFolder(), 1, in.moan), in, false);
        QVERIFY(slip.complete());
        const legal::FamilyCost cost = expected(in, slip.slip, slip.hours);
        QCOMPARE(cost.status, legal::FamilyCost::Status::Estimated);
        QVERIFY(cost.capPassed);
        compareShown(cost);
        QCOMPARE(win().Cout->Mois->text(), "Mars 2026");
        screenshot(QStringLiteral("cout-famille-plafond"));

        // The family's particulars are read as typed, unconfirmed: above the
        // ceiling there is no aid, and the window says so in its place.
        params()->Ressources->setText("9000");
        QTest::mouseClick(d->Cout, Qt::LeftButton);
        const legal::FamilyCost none = expected(in, slip.slip, slip.hours);
        QCOMPARE(none.status, legal::FamilyCost::Status::NoAid);
        compareShown(none);
        QCOMPARE(win().Cout->CMG->text(), "aucun");
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
    }
};

QTEST_MAIN(TestCostWindow)
#include "tst_costwindow.moc"
