// A stored month opened again after the program was closed: the hours
// window's list of months, the slip of the month opened (paid by the hour or
// by a contract, on either basis) and the declaration of a month chosen from
// its list are those of the month just typed; validating it again replaces it.

#include "archive/sliparchive.h"
#include "archive/storedmonths.h"
#include "attendance/daytable.h"
#include "common/errors.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "payslip/declaration.h"
#include "widgets/radiogroup.h"
#include "windows/contractslipwindow.h"
#include "windows/declarationwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/netslipwindow.h"
#include "windows/openmonthwindow.h"
#include "windows/parameterswindow.h"
#include "windows/printsavewindow.h"

#include "storedrows.h"
#include "weekdaycontract.h"
#include "windowtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTreeWidget>

namespace {
// Every text of a slip, in one list, for comparing two slips whole.
QStringList figures(const SlipResult &r)
{
    QStringList all;
    const auto add = [&](const SlipText &t) { all << t.value_or(QStringLiteral("<unset>")); };
    for (const SlipText *t : {&r.mois, &r.an, &r.prenom, &r.totheur, &r.nbjf, &r.feri1, &r.feri2, &r.salbrut, &r.salnet,
                              &r.Cong, &r.abs, &r.diver, &r.entret, &r.totcs, &r.nour, &r.acpt, &r.net, &r.salimp})
        add(*t);
    for (int k = 0; k < ContributionLines; ++k)
        add(r.cs[size_t(k)]);
    for (const auto &row : r.Grille)
        for (const SlipText &cell : row)
            add(cell);
    return all;
}
} // namespace

class TestOpenMonth : public WindowTest {
    Q_OBJECT
private:
    QList<Choice> m_asked;
    int m_answer = -1;

    static THoraire *hours() { return win().Horaire; }
    QString folder() const { return m_dir.path() + '/'; }

    // The parameters the slips read, stored as "&OK" stores them, so that
    // a new start reads them back.
    void setParameters()
    {
        QVERIFY(activate(win().Parametres));
        TParametres *p = win().Parametres;
        p->prenom3->setText("Julie");
        p->SH->setText("4.00");
        p->SHbr->setText("5.10");
        p->CheckBox11->setChecked(true);
        p->ETH->setText("3.50");
        for (QLineEdit *e : {p->PD, p->D, p->G, p->Sp})
            e->setText("2.5");
        p->Netbrut->setItemIndex(0);
        p->OK->click();
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
    }

    // The weekdays of the month starting `first` typed and validated, 8:00
    // to 16:30 (till 17:15 on Wednesdays), a lunch on Mondays.
    void typeMonth(QDate first)
    {
        // A sheet holds one month: a new one is typed in a window opened afresh.
        hours()->hide();
        QVERIFY(activate(hours()));
        for (QDate d = first; d < first.addMonths(1); d = d.addDays(1)) {
            if (d.dayOfWeek() > 5)
                continue;
            QTest::mouseClick(hours()->Date, Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), hours()->Date);
            hours()->Date->setDate(d);
            QTest::mouseClick(hours()->H1, Qt::LeftButton);
            hours()->H1->setTime(QTime(8, 0));
            QTest::mouseClick(hours()->H2, Qt::LeftButton);
            hours()->H2->setTime(d.dayOfWeek() == 3 ? QTime(17, 15) : QTime(16, 30));
            if (d.dayOfWeek() == 1)
                QTest::mouseClick(hours()->Dej, Qt::LeftButton);
            QTest::mouseClick(hours()->Suiv, Qt::LeftButton);
        }
        QTest::mouseClick(hours()->BitBtn3, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(hours()->moan->text(), MonthKey::of(first.month(), first.year()).text());
    }

    // The program closed and started again on the same folder.
    void restart()
    {
        destroyWindows();
        openWindows();
        win().Entree->selenf->setText("Julie");
    }

    // "Ouvrir un mois..." in a freshly opened hours window, then the month
    // `key` chosen in the list.
    void openFromList(const QString &key)
    {
        QVERIFY(activate(hours()));
        QTest::mouseClick(hours()->OuvrirMois, Qt::LeftButton);
        TOuvrirMois *list = hours()->monthList();
        QVERIFY(list && list->isVisible());
        const QList<StoredMonth> months = storedMonths(programFolder(), 1);
        QCOMPARE(list->ListeMois->topLevelItemCount(), months.size());
        int row = -1;
        for (int i = 0; i < months.size(); ++i) {
            const QTreeWidgetItem *item = list->ListeMois->topLevelItem(i);
            QCOMPARE(QStringList({item->text(0), item->text(1), item->text(2)}),
                     QStringList({months[i].title(), QString::number(months[i].days), months[i].slipText()}));
            if (months[i].key == key)
                row = i;
        }
        QVERIFY(row >= 0);
        list->ListeMois->setCurrentItem(list->ListeMois->topLevelItem(row));
        QTest::mouseClick(list->Ouvrir, Qt::LeftButton);
        QVERIFY(!list->isVisible());
        QCOMPARE(hours()->moan->text(), key);
        QVERIFY(hours()->BitBtn5->isEnabled());
    }

    // "Bulletin" on the basis given: the figures of the slip that opens.
    std::optional<SlipSheet::Shown> slipOf(int basis)
    {
        win().Parametres->Netbrut->setItemIndex(basis);
        QTest::mouseClick(hours()->BitBtn5, Qt::LeftButton);
        // The slip's figures are worked out when it becomes active: those
        // of its basis (a gross salary on the gross basis only), not the
        // ones a contract's slip showed before on the other basis.
        SlipSheet *shown = nullptr;
        (void)QTest::qWaitFor([&] {
            for (SlipSheet *s : {static_cast<SlipSheet *>(win().Bulletin), static_cast<SlipSheet *>(win().Bulletinbrut),
                                 static_cast<SlipSheet *>(win().BulletinContrat)})
                if (s && s->isVisible() && s->shownSlip() && s->shownSlip()->result.salbrut.has_value() == (basis == 1))
                    shown = s;
            return shown != nullptr;
        });
        if (!shown)
            return std::nullopt;
        const auto result = shown->shownSlip();
        shown->hide();
        win().BO->hide();
        return result;
    }

    // The figures the pure computations give for the month on screen.
    static QStringList expectedFigures(int basis, bool byContract)
    {
        const SlipInput in = gatherSlipInput();
        const bool gross = basis == 1;
        if (byContract)
            return figures(
                contract::contractSlipOf(contract::loadSlipInputs(programFolder(), 1, in.moan), in, gross).slip);
        return figures(gross ? computeGrossSlip(in) : computeNetSlip(in));
    }

    QStringList declared()
    {
        QStringList values;
        for (const QLineEdit *v : win().Declaration->Valeur)
            values << v->text();
        return values << win().Declaration->Message->text();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2026, 4, 2), QTime(9, 30)}, WithRates));
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", folder() + folder::legalTable));
        setChoiceSink([this](const Choice &c) {
            m_asked << c;
            return m_answer;
        });
    }
    void init()
    {
        for (const QString &f :
             {QString("Enf1.db"), folder::contracts, SlipArchive::fileName(), QString("Paramtre.bvp")})
            QFile::remove(folder() + f);
        QVERIFY(DayTable::createEmpty(folder() + "Enf1.db"));
        openWindows();
        m_asked.clear();
        m_answer = -1;
        win().Entree->selenf->setText("Julie");
        setParameters();
    }
    void cleanup() { destroyWindows(); }

    void slipAfterARestart_data()
    {
        QTest::addColumn<bool>("byContract");
        QTest::newRow("paid by the hour") << false;
        QTest::newRow("regular contract") << true;
    }
    // The month typed, the program started again, the month opened: its slip
    // on each basis is the one the month had before.
    void slipAfterARestart()
    {
        QFETCH(bool, byContract);
        if (byContract)
            storeWeekdayContract(folder());
        typeMonth(QDate(2026, 3, 1));
        const SlipInput typed = gatherSlipInput();
        QStringList before[2];
        for (int basis : {0, 1}) {
            win().Parametres->Netbrut->setItemIndex(basis);
            before[basis] = expectedFigures(basis, byContract);
            QVERIFY(before[basis].contains(QStringLiteral("Mars")));
        }
        QVERIFY(before[0] != before[1]);

        restart();
        for (int basis : {0, 1}) {
            openFromList("0326");
            QCOMPARE(hours()->totheur->text(), typed.totheur);
            const auto shown = slipOf(basis);
            QVERIFY(shown);
            QCOMPARE(shown->contract.has_value(), byContract);
            QCOMPARE(shown->input.days, typed.days);
            QCOMPARE(shown->input.moan, typed.moan);
            QCOMPARE(figures(shown->result), before[basis]);
        }
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QVERIFY(m_asked.isEmpty());
    }

    // Ctrl+D after a restart, the month chosen in its list: the figures of
    // the declaration of that month just typed.
    void declarationOfAChosenMonth()
    {
        QStringList typed[2];
        for (int month : {2, 3}) {
            typeMonth(QDate(2026, month, 1));
            QVERIFY(activate(win().Declaration));
            QCOMPARE(win().Declaration->MoisDeclaration->currentData().toString(), QString()); // the sheet's month
            typed[month - 2] = declared();
            QVERIFY(win().Declaration->Message->text().isEmpty());
            win().Declaration->hide();
        }
        QVERIFY(typed[0] != typed[1]);

        restart();
        QVERIFY(activate(win().Entree));
        win().Entree->Declaration1->trigger();
        QVERIFY(QTest::qWaitForWindowActive(win().Declaration));
        QComboBox *months = win().Declaration->MoisDeclaration;
        QCOMPARE(months->count(), 2); // no month on the sheet: the table's, the latest first
        QCOMPARE(months->currentData().toString(), "0326");
        QCOMPARE(declared(), typed[1]);
        const int february = months->findData("0226");
        QCOMPARE(february, 1);
        months->setCurrentIndex(february);
        emit months->activated(february);
        QCOMPARE(declared(), typed[0]);
        QVERIFY(!win().Declaration->Ecart->isVisible()); // no slip saved for it

        // A slip saved for February with other figures: both are shown.
        {
            ArchivedSlip saved;
            saved.slot = 1;
            saved.firstName = "Julie";
            saved.monthKey = "0226";
            saved.net = 1;
            saved.salnet = 2;
            saved.picture = "Julie0226.jpg";
            saved.savedAt = QDateTime(QDate(2026, 3, 5), QTime(10, 0));
            try {
                SlipArchive archive(folder() + SlipArchive::fileName());
                archive.begin();
                archive.put(saved);
                archive.commit();
            } catch (const RuntimeError &e) {
                QFAIL(qPrintable(e.message()));
            }
        }
        emit months->activated(february);
        QCOMPARE(declared(), typed[0]);
        QVERIFY(win().Declaration->Ecart->isVisible());
        const QStringList said = win().Declaration->Ecart->text().split('\n');
        QCOMPARE(said.first(), slipDifferencesHeading());
        QCOMPARE(said.filter(QRegularExpression("^Net à payer : 0,01 € enregistré, [0-9,]+ € aujourd'hui$")).size(), 1);
        QCOMPARE(said.filter(QRegularExpression("^Salaire net : 0,02 € enregistré, [0-9,]+ € aujourd'hui$")).size(), 1);
        QCOMPARE(said.filter("Heures : 0,00 h enregistré").size(), 1); // none saved, the month's today

        // Coming back to the window keeps the month chosen.
        QVERIFY(activate(win().Entree));
        QVERIFY(activate(win().Declaration));
        QCOMPARE(months->currentData().toString(), "0226");
        QCOMPARE(declared(), typed[0]);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
    }

    // A month opened, a day changed, validated again: the question names
    // the month and replaces by default; the month holds its days once.
    void changedMonthHoldsItsDaysOnce()
    {
        typeMonth(QDate(2026, 3, 1));
        const auto days = int(DayTable::monthDays(folder() + "Enf1.db", "0326").size());
        restart();
        openFromList("0326");
        QTest::mouseClick(hours()->Date, Qt::LeftButton);
        hours()->Date->setDate(QDate(2026, 3, 2));
        QTest::mouseClick(hours()->H1, Qt::LeftButton);
        hours()->H1->setTime(QTime(7, 0));
        QTest::mouseClick(hours()->H2, Qt::LeftButton);
        hours()->H2->setTime(QTime(16, 30));
        QTest::mouseClick(hours()->Suiv, Qt::LeftButton);
        m_answer = 0;
        QTest::mouseClick(hours()->BitBtn3, Qt::LeftButton);
        QCOMPARE(m_asked.size(), 1);
        QVERIFY(m_asked[0].question.contains("Mars 2026"));
        QCOMPARE(m_asked[0].answers[m_asked[0].defaultAnswer], QString("Remplacer"));

        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "plain");
        {
            db.setDatabaseName(folder() + "Enf1.db");
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("SELECT count(*), count(DISTINCT \"Date\"), "
                           "sum(\"Durée\" = 9.5 AND \"Date\" = '2026-03-02') FROM Jours WHERE \"Moan\" = '0326'"));
            QVERIFY(q.next());
            QCOMPARE(q.value(0).toInt(), days);
            QCOMPARE(q.value(1).toInt(), days);
            QCOMPARE(q.value(2).toInt(), 1);
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("plain");
    }
};

QTEST_MAIN(TestOpenMonth)
#include "tst_openmonth.moc"
