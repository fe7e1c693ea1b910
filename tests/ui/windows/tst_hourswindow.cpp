// The hours window driven as a user drives it: values put in the pickers and
// boxes, the focus moved on with Tab, buttons clicked; the month stored in a
// real table of a temporary program folder.

#include "windows/mainwindow.h"
#include "widgets/radiogroup.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/monthkey.h"
#include "common/numbers.h"
#include "windows/netslipwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/parameterswindow.h"
#include "common/programfiles.h"
#include "contract/contractstore.h"
#include "storedrows.h"
#include "widgets/picker.h"
#include "testfiles.h"
#include "windowtest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTimeEdit>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <memory>

namespace {
QTime hm(int h, int m) { return QTime(h, m); }
const QTime none;

} // namespace

class TestHeures : public WindowTest {
    Q_OBJECT
private:
    // The questions asked, and the answer each gets (-1: the box is closed).
    QList<Choice> m_asked;
    int m_answer = -1;

    THoraire *h() { return win().Horaire; }
    QString table(int n = 1) const { return m_dir.filePath(QString("Enf%1.db").arg(n)); }

    void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    // Child 1's contract: Monday to Friday, 8 hours from 8:00, since 2007.
    void storePlanning()
    {
        contract::Contract c;
        c.kind = contract::Kind::CompleteYear;
        c.first = QDate(2007, 1, 1);
        for (size_t d = 0; d < 5; ++d) {
            c.plannedMinutes[d] = 8 * 60;
            c.plannedTimes[d].arrival = 8 * 60;
        }
        contract::storeContract(m_dir.filePath(folder::contracts), 1, c);
        // The fill reads the child's parameters as the files hold them.
        QFile::remove(m_dir.filePath("Taux.txt"));
        QVERIFY(copyFirstRates(m_dir.filePath("Taux.txt")));
        // The window reads the contract when it becomes active.
        QVERIFY(activate(win().Entree));
        QVERIFY(activate(h()));
        QVERIFY(h()->Remplir->isEnabled());
    }

    // One day entered with the mouse: the date, the times given (an invalid
    // time leaves its picker untouched), the boxes to tick, then "&Suivant",
    // which leaves the last control and blanks the pickers for the next day.
    void enterDay(const QDate &date, QTime h1, QTime h2, QTime h3, QTime h4, QList<QCheckBox *> ticked = {})
    {
        QTest::mouseClick(h()->Date, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), h()->Date);
        h()->Date->setDate(date);
        QTimeEdit *pickers[] = {h()->H1, h()->H2, h()->H3, h()->H4};
        const QTime times[] = {h1, h2, h3, h4};
        for (int i = 0; i < 4; ++i)
            if (times[i].isValid()) {
                QTest::mouseClick(pickers[i], Qt::LeftButton);
                QCOMPARE(QApplication::focusWidget(), pickers[i]);
                pickers[i]->setTime(times[i]);
            }
        for (QCheckBox *b : ticked)
            QTest::mouseClick(b, Qt::LeftButton);
        QTest::mouseClick(h()->Suiv, Qt::LeftButton);
    }

    void validate() { QTest::mouseClick(h()->BitBtn3, Qt::LeftButton); }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2007, 4, 30), QTime(9, 30)}));
        setChoiceSink([this](const Choice &c) {
            m_asked << c;
            return m_answer;
        });
    }
    void init()
    {
        for (int n = 1; n <= 5; ++n)
            QFile::remove(table(n));
        QFile::remove(m_dir.filePath(folder::contracts));
        QFile::remove(m_dir.filePath("Taux.txt"));
        QVERIFY(DayTable::createEmpty(table(1)));
        QVERIFY(DayTable::createEmpty(table(2)));
        openWindows();
        m_asked.clear();
        m_answer = -1;
        win().Entree->selenf->setText("Lucie");
        QVERIFY(activate(h()));
    }
    void cleanup() { destroyWindows(); }

    void windowLooksAsDrawn()
    {
        QCOMPARE(h()->windowTitle(), QString("Calcul des heures..."));
        QCOMPARE(h()->size(), QSize(1070, 851));
        QCOMPARE(h()->palette().color(QPalette::Window), QColor(0xFD, 0xD1, 0xAA));
        QTableWidget *g = h()->StringGrid1;
        QCOMPARE(g->columnCount(), 13);
        QCOMPARE(g->rowCount(), 32);
        QCOMPARE(g->columnWidth(7), 80);
        QCOMPARE(g->rowHeight(31), 20);
        QCOMPARE(g->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(g->selectionBehavior(), QAbstractItemView::SelectRows);
        QStringList titles;
        for (int c = 0; c < 13; ++c)
            titles << h()->cell(c, 0);
        QCOMPARE(titles, QStringList({"Jour", "Date", "Arrivée 1", "Départ 1", "Arrivée 2", "Départ 2", "Durée",
                                      "Forfait", "PDéj", "Déj", "Gouter", "Diner", "Ferié"}));
        QCOMPARE(h()->cell(0, 31), QString("31"));
        QCOMPARE(h()->Date->text(), QString("30/04/2007"));
        QCOMPARE(h()->H3->text(), QString("00:00:00"));
        QCOMPARE(h()->selenf->text(), QString("Lucie"));
        QVERIFY(!h()->moan->isVisible());
        QVERIFY(h()->BitBtn3->isEnabled());
        QVERIFY(!h()->BitBtn5->isEnabled());

        // The keyboard path: Date, the four times, the six boxes, then the buttons.
        QCOMPARE(QApplication::focusWidget(), h()->Date);
        QStringList path;
        for (int i = 0; i < 19; ++i) {
            path << QApplication::focusWidget()->objectName();
            tab();
        }
        // ("Bulletin", disabled, is passed by, and so is "Remplir" without a contract.)
        QCOMPARE(path, QStringList({"Date", "H1", "H2", "H3", "H4", "FJ", "PDej", "Dej", "Gout", "Din", "Ferie", "Suiv",
                                    "Prec", "BitBtn3", "StringGrid1", "BitBtn2", "OuvrirMois", "BitBtn4", "Date"}));
    }

    void aDayAlongTheKeyboardPath()
    {
        QCOMPARE(QApplication::focusWidget(), h()->Date);
        h()->Date->setDate(QDate(2007, 4, 12));
        tab();
        for (auto [picker, time] : {std::pair(h()->H1, hm(8, 0)), std::pair(h()->H2, hm(12, 0)),
                                    std::pair(h()->H3, hm(13, 30)), std::pair(h()->H4, hm(17, 45))}) {
            QCOMPARE(QApplication::focusWidget(), picker);
            picker->setTime(time);
            tab();
        }
        for (QCheckBox *b : {h()->FJ, h()->PDej, h()->Dej, h()->Gout, h()->Din, h()->Ferie}) {
            QCOMPARE(QApplication::focusWidget(), b);
            if (b == h()->Dej || b == h()->Gout)
                QTest::keyClick(b, Qt::Key_Space);
            tab();
        }
        QCOMPARE(QApplication::focusWidget(), h()->Suiv);
        QStringList row;
        for (int c = 1; c < 13; ++c)
            row << h()->cell(c, 12);
        QCOMPARE(row, QStringList({"12/04/2007", "08:00:00", "12:00:00", "13:30:00", "17:45:00", "08:15:00", "", "",
                                   "Déj", "Gouter", "", ""}));
        validate();
        QCOMPARE(m_shown, QStringList());
        QCOMPARE(h()->totheur->text(), QString("8.25"));
        QCOMPARE(h()->totfj->text(), QString("0"));
        QCOMPARE(h()->moan->text(), QString("0407"));
        QCOMPARE(storedRows(table()),
                 QStringList({"'2007-04-12'|'08:00:00'|'12:00:00'|'13:30:00'|'17:45:00'|8.25|0|0|1|1|0|0|'0407'"}));
    }

    void flatRateOnlyDay()
    {
        enterDay(QDate(2007, 4, 5), none, none, none, none, {h()->FJ, h()->Ferie});
        QCOMPARE(h()->cell(7, 5), QString("OUI"));
        QCOMPARE(h()->cell(12, 5), QString("OUI"));
        QCOMPARE(h()->cell(6, 5), QString());
        validate();
        QCOMPARE(h()->totfj->text(), QString("1"));
        QCOMPARE(h()->totheur->text(), QString("0"));
        QCOMPARE(h()->cell(1, 5), QString("05/04/2007"));
        QCOMPARE(storedRows(table()), QStringList({"'2007-04-05'|NULL|NULL|NULL|NULL|NULL|1|0|0|0|0|1|'0407'"}));
    }

    void mealsOnlyRowIsNotADay()
    {
        enterDay(QDate(2007, 4, 6), none, none, none, none, {h()->PDej, h()->Din});
        enterDay(QDate(2007, 4, 7), none, none, none, none, {h()->FJ});
        validate();
        QCOMPARE(h()->cell(1, 6), QString());
        QCOMPARE(h()->cell(8, 6), QString("PD"));
        QCOMPARE(h()->cell(11, 6), QString("Diner"));
        const QStringList rows = storedRows(table());
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].startsWith("'2007-04-07'"));
    }

    // One sheet, one month: a day of May typed in a June sheet is refused
    // when Date is left, the date goes back, and nothing of May reaches the
    // sheet or the table.
    void aDayOfAnotherMonthIsRefused()
    {
        enterDay(QDate(2026, 6, 15), hm(8, 0), hm(12, 0), none, none);
        QCOMPARE(QApplication::focusWidget(), h()->Date);
        QCOMPARE(h()->Date->date(), QDate(2026, 6, 16)); // "&Suivant"'s next day
        QTest::keyClicks(h()->Date, "16052026");
        QCOMPARE(h()->Date->date(), QDate(2026, 5, 16));
        tab();
        QCOMPARE(m_shown, QStringList{rtl::dayOutsideSheetMonth("16/05/2026", MonthKey::of(6, 2026).title())});
        QCOMPARE(h()->Date->date(), QDate(2026, 6, 16));
        QTRY_COMPARE(QApplication::focusWidget(), h()->Date);
        for (int r = 1; r <= 31; ++r)
            QVERIFY2(!h()->cell(1, r).endsWith("/05/2026"), qPrintable(QString::number(r)));
        validate();
        const QStringList rows = storedRows(table());
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].startsWith("'2026-06-15'"));
    }

    // "&Valide" again on a month the table holds asks what to do with the
    // days stored the first time; replacing is the default.
    // "Remplir d'après le contrat" over a day typed: the question, and each
    // answer; Enter keeps the typed day. April 2007: Easter Monday on the 9th.
    void fillAsksBeforeReplacingATypedDay_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("tenth"); // the arrival on the 10th after the fill
        QTest::addColumn<QString>("eleventh");
        QTest::newRow("replace") << 0 << "08:00:00" << "08:00:00";
        QTest::newRow("keep") << 1 << "09:00:00" << "08:00:00";
        QTest::newRow("cancel") << 2 << "09:00:00" << "";
    }
    void fillAsksBeforeReplacingATypedDay()
    {
        QFETCH(int, answer);
        storePlanning();
        m_answer = answer;
        enterDay(QDate(2007, 4, 10), hm(9, 0), hm(17, 0), none, none);
        QTest::mouseClick(h()->Remplir, Qt::LeftButton);
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].question, ask::fillOverDays({"10/04"}));
        QCOMPARE(m_asked[0].answers[m_asked[0].defaultAnswer], QString("Garder"));
        QTEST(h()->cell(sheet::Arrival1, 10), "tenth");
        QTEST(h()->cell(sheet::Arrival1, 11), "eleventh");
        QCOMPARE(h()->fromPlanning(10), answer == 0);
        QCOMPARE(h()->cell(sheet::Date, 9), QString()); // Easter Monday
        QCOMPARE(m_shown, QStringList());
    }

    // A month already stored is opened before it is filled, so that its
    // stored days are on the sheet: validated, it holds each day once.
    void fillOpensAStoredMonthFirst()
    {
        storePlanning();
        enterDay(QDate(2007, 4, 10), hm(9, 0), hm(17, 0), none, none);
        validate();
        h()->hide();
        QVERIFY(activate(h()));
        m_answer = 1; // "Non": nothing is filled
        QTest::mouseClick(h()->Remplir, Qt::LeftButton);
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].question, ask::openStoredMonthToFill("Avril 2007", "Enf1.db", 1));
        QVERIFY(!h()->sheet().hasDayEntries());
        m_answer = 0; // "Oui", then "Remplacer" for the 10th and for the month stored
        QTest::mouseClick(h()->Remplir, Qt::LeftButton);
        QCOMPARE(m_asked.size(), 3);
        QCOMPARE(h()->cell(sheet::Arrival1, 10), QString("08:00:00"));
        validate();
        QCOMPARE(m_asked.size(), 4);
        QCOMPARE(storedRows(table()).size(), 20); // the weekdays of April but Easter Monday
        QVERIFY(m_shown.isEmpty());
    }

    void validatingAgain_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("rows");
        QTest::newRow("replace") << 0 << 1;
        QTest::newRow("keep both") << 1 << 2;
        QTest::newRow("cancel") << 2 << 1;
        QTest::newRow("box closed") << -1 << 1;
    }
    void validatingAgain()
    {
        QFETCH(int, answer);
        QFETCH(int, rows);
        m_answer = answer;
        const QList<Choice> &asked = m_asked;
        enterDay(QDate(2007, 4, 10), hm(9, 0), hm(17, 0), none, none);
        validate();
        QVERIFY(asked.isEmpty()); // nothing stored yet: nothing to ask
        QVERIFY(!h()->BitBtn3->isEnabled());
        QVERIFY(h()->BitBtn5->isEnabled());
        // A click in the sheet makes "&Valide" usable again.
        QTest::mouseClick(h()->StringGrid1->viewport(), Qt::LeftButton, {},
                          h()->StringGrid1->visualRect(h()->StringGrid1->model()->index(3, 2)).center());
        QVERIFY(h()->BitBtn3->isEnabled());
        h()->BitBtn5->setEnabled(false);
        validate();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].question, QString("Mois déjà enregistré dans Enf1.db : Avril 2007.\n"
                                            "Remplacer les jours enregistrés de ce mois par ceux de la feuille, "
                                            "garder les deux, ou annuler ?"));
        QCOMPARE(asked[0].answers, QStringList({"Remplacer", "Garder les deux", "Annuler"}));
        // Enter never wipes the month stored.
        QCOMPARE(asked[0].answers[asked[0].defaultAnswer], QString("Annuler"));
        const QStringList stored = storedRows(table());
        QCOMPARE(stored.size(), rows);
        QCOMPARE(stored.last(), stored.first());
        const bool cancelled = answer == 2 || answer == -1;
        QCOMPARE(h()->BitBtn3->isEnabled(), cancelled);
        QCOMPARE(h()->BitBtn5->isEnabled(), !cancelled);
        QVERIFY(m_shown.isEmpty());
    }

    // The close box with days typed and not validated asks before they go.
    void closeBoxAsksForUnvalidatedDays()
    {
        m_answer = 1; // "Non"
        enterDay(QDate(2007, 4, 10), hm(9, 0), hm(17, 0), none, none);
        h()->close();
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(m_asked[0].question,
                 QString("Des jours saisis n'ont pas été validés.\nFermer la fenêtre et les abandonner ?"));
        QCOMPARE(m_asked[0].answers[m_asked[0].defaultAnswer], QString("Non"));
        QVERIFY(h()->isVisible());
        QCOMPARE(h()->cell(6, 10), QString("08:00:00"));
        validate();
        h()->close(); // validated: nothing to lose
        QCOMPARE(m_asked.size(), 1);
        QVERIFY(!h()->isVisible());
        QVERIFY(activate(h()));
        h()->close(); // an empty sheet: nothing to lose either
        QCOMPARE(m_asked.size(), 1);
        QVERIFY(!h()->isVisible());
        QVERIFY(activate(h()));
        h()->StringGrid1->item(11, 7)->setText("OUI");
        m_answer = 0; // "Oui"
        h()->close();
        QCOMPARE(m_asked.size(), 2);
        QVERIFY(!h()->isVisible());
    }

    // The last day of a month validated without "&Suivant" leaves its boxes
    // ticked and its times set. Opened again, the window starts the first
    // day blank: a click on "Déjeuner" ticks it, not unticks it, and the
    // afternoon of the old day does not count in the new one.
    void reopenedWindowStartsTheDayBlank()
    {
        QTest::mouseClick(h()->Date, Qt::LeftButton);
        h()->Date->setDate(QDate(2007, 4, 13));
        QTest::mouseClick(h()->H3, Qt::LeftButton);
        h()->H3->setTime(hm(13, 0));
        QTest::mouseClick(h()->H4, Qt::LeftButton);
        h()->H4->setTime(hm(17, 0));
        QTest::mouseClick(h()->Dej, Qt::LeftButton);
        validate();
        QCOMPARE(h()->cell(9, 13), QString("Déj"));
        QTest::mouseClick(h()->BitBtn4, Qt::LeftButton);
        QVERIFY(activate(win().Entree));
        QVERIFY(activate(h()));
        enterDay(QDate(2007, 4, 16), hm(8, 0), hm(12, 0), none, none, {h()->Dej});
        QCOMPARE(h()->cell(9, 16), QString("Déj"));
        QCOMPARE(h()->cell(6, 16), QString("04:00:00"));
    }

    void nextDayAtTheEndOfApril()
    {
        // No day entered yet: the days move on across the month's end.
        h()->Date->setFocus(Qt::MouseFocusReason);
        tab(); // the 30th becomes the current day
        h()->FJ->setChecked(true); // ticked, but never left
        QTest::mouseClick(h()->Suiv, Qt::LeftButton);
        QCOMPARE(h()->Date->date(), QDate(2007, 5, 1));
        QCOMPARE(h()->Date->time(), QTime(9, 30));
        QCOMPARE(h()->StringGrid1->currentRow(), 31);
        QVERIFY(!h()->FJ->isChecked());
        QCOMPARE(QApplication::focusWidget(), h()->Date);
        QCOMPARE(h()->cell(7, 30), QString());
        tab();
        QCOMPARE(h()->cell(1, 1), QString("01/05/2007"));
        // From the 1st back to the 30th: no row before the first, but the day moves.
        QTest::mouseClick(h()->Prec, Qt::LeftButton);
        QCOMPARE(h()->Date->date(), QDate(2007, 4, 30));
        QCOMPARE(h()->StringGrid1->currentRow(), 31);
        // Once the 30th holds a time the sheet is April's: "&Suivant" stays
        // on its last day, the time left by the click written to it.
        tab();
        h()->H1->setTime(hm(8, 0));
        QTest::mouseClick(h()->Suiv, Qt::LeftButton);
        QCOMPARE(h()->Date->date(), QDate(2007, 4, 30));
        QCOMPARE(h()->cell(2, 30), QString("08:00:00"));
        QCOMPARE(h()->cell(6, 30), QString("08:00:00"));
        QCOMPARE(h()->cell(1, 1), QString()); // the 1st of May, a date alone, gone
        QCOMPARE(m_shown, QStringList());
    }

    void missingTableStoresNothing()
    {
        QVERIFY(activate(win().Parametres));
        win().Parametres->TabControl1->setCurrentIndex(2); // "Enf3.db" is not there
        QVERIFY(activate(h()));
        enterDay(QDate(2007, 4, 16), hm(8, 0), hm(12, 0), none, none);
        m_shown.clear();
        validate();
        QCOMPARE(m_shown, QStringList({QString("Impossible d'enregistrer les jours dans Enf3.db :\n"
                                               "Impossible d'ouvrir le fichier %1")
                                           .arg(QDir::toNativeSeparators(table(3)))}));
        QVERIFY(!QFile::exists(table(3)));
        // The totals are shown, the rest of the validation is not done.
        QCOMPARE(h()->totheur->text(), QString("4"));
        QCOMPARE(h()->moan->text(), QString("moan"));
        QVERIFY(h()->BitBtn3->isEnabled());
        QVERIFY(!h()->BitBtn5->isEnabled());
        QCOMPARE(h()->cell(1, 16), QString("16/04/2007"));
        // The second child's table is used once its tab is chosen.
        QVERIFY(activate(win().Parametres));
        win().Parametres->TabControl1->setCurrentIndex(1);
        QVERIFY(activate(h()));
        validate();
        QCOMPARE(storedRows(table(2)).size(), 1);
        QVERIFY(storedRows(table(1)).isEmpty());
    }

    void noDatedRowStoresNothing()
    {
        enterDay(QDate(2007, 4, 17), none, none, none, none, {h()->Dej});
        validate();
        QCOMPARE(m_shown, QStringList({"Aucun jour à enregistrer : aucune ligne ne porte de date."}));
        QCOMPARE(h()->totheur->text(), QString("0"));
        QCOMPARE(h()->moan->text(), QString("moan"));
        QVERIFY(!h()->BitBtn5->isEnabled());
        QVERIFY(storedRows(table()).isEmpty());
    }

    void comingBackKeepsTheMonth()
    {
        enterDay(QDate(2007, 4, 18), hm(8, 0), hm(12, 0), none, none);
        validate();
        QVERIFY(h()->BitBtn5->isEnabled());
        const QDate day = h()->Date->date();
        QVERIFY(activate(win().Entree));
        win().Entree->selenf->setText("Paul");
        QVERIFY(activate(h()));
        QCOMPARE(h()->cell(1, 18), QString("18/04/2007"));
        QCOMPARE(h()->totheur->text(), QString("4"));
        QVERIFY(h()->BitBtn5->isEnabled());
        QVERIFY(h()->BitBtn3->isEnabled()); // enabled again when the window was left
        QCOMPARE(h()->Date->date(), day);
        QCOMPARE(h()->selenf->text(), QString("Paul"));

        // Opened anew, the window starts a new month.
        QTest::mouseClick(h()->BitBtn4, Qt::LeftButton);
        QVERIFY(!h()->isVisible());
        QVERIFY(activate(h()));
        QCOMPARE(h()->cell(1, 18), QString());
        QCOMPARE(h()->cell(6, 18), QString());
        QCOMPARE(h()->cell(0, 18), QString("18"));
        QCOMPARE(h()->totheur->text(), QString());
        QCOMPARE(h()->totfj->text(), QString());
        QVERIFY(!h()->BitBtn5->isEnabled());
        QCOMPARE(h()->Date->date(), QDate(2007, 4, 30));
    }

    void bulletinOpensTheSlipOfTheBasis_data()
    {
        QTest::addColumn<int>("basis");
        QTest::addColumn<QString>("slip");
        QTest::newRow("net") << 0 << "TBulletin";
        QTest::newRow("gross") << 1 << "TBulletinbrut";
        QTest::newRow("none chosen") << -1 << "";
    }
    void bulletinOpensTheSlipOfTheBasis()
    {
        QFETCH(int, basis);
        QFETCH(QString, slip);
        win().Parametres->Netbrut->setItemIndex(basis);
        enterDay(QDate(2007, 4, 19), hm(8, 0), hm(12, 0), none, none);
        validate();
        QTest::mouseClick(h()->BitBtn5, Qt::LeftButton);
        QVERIFY(!h()->isVisible());
        QCOMPARE(win().Bulletin->isVisible(), slip == "TBulletin");
        QCOMPARE(win().Bulletinbrut->isVisible(), slip == "TBulletinbrut");
    }

    void deleteLineClearsTheChosenRow()
    {
        enterDay(QDate(2007, 4, 20), hm(8, 0), hm(12, 0), none, none, {h()->PDej});
        enterDay(QDate(2007, 4, 21), hm(8, 0), hm(9, 0), none, none);
        QTableWidget *g = h()->StringGrid1;
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(20, 5)).center());
        QTest::mouseClick(h()->BitBtn2, Qt::LeftButton);
        for (int c = 1; c < 13; ++c)
            QCOMPARE(h()->cell(c, 20), QString());
        QCOMPARE(h()->cell(0, 20), QString("20"));
        QCOMPARE(h()->cell(6, 21), QString("01:00:00"));
        QVERIFY(storedRows(table()).isEmpty());
    }

    void shortcutWritesTheEntryFirst()
    {
        h()->Date->setDate(QDate(2007, 4, 23));
        tab();
        h()->H1->setTime(hm(7, 30));
        tab();
        h()->H2->setTime(hm(12, 0));
        // Alt+V while H2 still holds the focus: its time counts.
        QTest::keyClick(h()->H2, Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE(h()->totheur->text(), QString("4.5"));
        QCOMPARE(h()->cell(6, 23), QString("04:30:00"));
        QCOMPARE(storedRows(table()).size(), 1);
    }

    void tableFaultsSayWhatFailed_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("engine"); // a piece of the engine's text, on the second line
        QTest::newRow("missing") << "missing"
                                 << "Impossible d'ouvrir le fichier";
        QTest::newRow("zero bytes") << "empty"
                                    << "no such table";
        QTest::newRow("random bytes") << "random"
                                      << "not a database";
        QTest::newRow("foreign schema") << "schema"
                                        << "column";
        QTest::newRow("read-only") << "read-only"
                                   << "readonly";
        QTest::newRow("locked") << "locked"
                                << "verrouillée";
    }
    void tableFaultsSayWhatFailed()
    {
        QFETCH(QString, fault);
        QFETCH(QString, engine);
        const QString file = table(1);
        std::unique_ptr<DayTable> holder;
        if (fault != "read-only" && fault != "locked")
            QVERIFY(QFile::remove(file));
        if (fault == "empty")
            writeBytes(file, {});
        if (fault == "random") {
            QByteArray noise(8192, '\0');
            QRandomGenerator generator(9);
            for (char &c : noise)
                c = char(generator.bounded(256));
            writeBytes(file, noise);
        }
        if (fault == "schema") {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
                db.setDatabaseName(file);
                QVERIFY(db.open());
                QVERIFY(QSqlQuery(db).exec("CREATE TABLE Jours (Jour TEXT, Heures REAL)"));
                db.close();
            }
            QSqlDatabase::removeDatabase("foreign");
        }
        if (fault == "read-only")
            QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
        if (fault == "locked") {
            holder = std::make_unique<DayTable>();
            holder->setFolder(m_dir.path() + "/");
            holder->setTableName("Enf1.db");
            holder->open(DayTable::Access::Exclusive);
        }
        const QByteArray before = readBytes(file);

        enterDay(QDate(2007, 4, 16), hm(8, 0), hm(12, 0), none, none);
        m_shown.clear();
        validate();
        QCOMPARE(m_shown.size(), 1);
        const QStringList lines = m_shown.first().split('\n');
        QCOMPARE(lines.first(), QString("Impossible d'enregistrer les jours dans Enf1.db :"));
        QVERIFY2(lines.value(1).contains(engine), qPrintable(m_shown.first()));
        // The month stays on screen, as it was typed; nothing is stored.
        QCOMPARE(h()->cell(1, 16), QString("16/04/2007"));
        QCOMPARE(h()->cell(6, 16), QString("04:00:00"));
        QCOMPARE(h()->totheur->text(), QString("4"));
        QCOMPARE(h()->moan->text(), QString("moan"));
        QVERIFY(!h()->BitBtn5->isEnabled());
        holder.reset();
        QCOMPARE(readBytes(file), before);
        if (fault == "read-only" || fault == "locked")
            QVERIFY(storedRows(file).isEmpty());
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void typingIntoThePickers_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown"); // the picker's text once left
        QTest::addColumn<bool>("refused");
        // The date starts on 30/04/2007, the times on 00:00:00.
        QTest::newRow("date in full") << "Date"
                                      << "02/09/2023"
                                      << "02/09/2023" << false;
        QTest::newRow("date in short parts") << "Date"
                                             << "2/9/2023"
                                             << "02/09/2023" << false;
        QTest::newRow("31 February") << "Date"
                                     << "31022023"
                                     << "30/04/2007" << true;
        QTest::newRow("hour 24") << "H1"
                                 << "24"
                                 << "00:00:00" << true;
        QTest::newRow("hours and minutes") << "H1"
                                           << "0730"
                                           << "07:30:00" << false;
        QTest::newRow("short parts") << "H1"
                                     << "7:5"
                                     << "07:05:00" << false;
        QTest::newRow("minutes 60 after a good hour") << "H2"
                                                      << "1260"
                                                      << "00:00:00" << true;
    }
    void typingIntoThePickers()
    {
        QFETCH(QString, picker);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(bool, refused);
        auto *target = h()->findChild<QDateTimeEdit *>(picker);
        QVERIFY(target);
        // Reached from Date by the keyboard, as a user goes through a day.
        QCOMPARE(QApplication::focusWidget(), h()->Date);
        while (QApplication::focusWidget() != target)
            tab();
        const int beeps = picker::beeps();
        QTest::keyClicks(target, keys);
        tab();
        QCOMPARE(target->text(), shown);
        QCOMPARE(picker::beeps() > beeps, refused);
        // What the sheet took is what the picker shows.
        const int row = h()->Date->date().day();
        const int column = picker == "Date" ? 1 : picker == "H1" ? 2 : 3;
        QCOMPARE(h()->cell(column, row), shown);
    }

    void typedTimeLeftWithTheMouse()
    {
        // A click elsewhere leaves the picker as Tab does: the sheet gets
        // the time typed, not the one before it.
        tab();
        QTest::keyClicks(h()->H1, "7:5");
        QCOMPARE(h()->H1->text(), QString("07:5_:00"));
        QTest::mouseClick(h()->H2, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), h()->H2);
        QCOMPARE(h()->H1->time(), QTime(7, 5));
        QCOMPARE(h()->cell(2, 30), QString("07:05:00"));
        QCOMPARE(h()->cell(6, 30), QString("07:05:00"));
    }

    void typedTimes()
    {
        h()->Date->setDate(QDate(2007, 4, 24));
        tab();
        QTest::keyClicks(h()->H1, "0815");
        tab();
        QTest::keyClicks(h()->H2, "164540");
        tab();
        QCOMPARE(h()->cell(2, 24), QString("08:15:00"));
        QCOMPARE(h()->cell(3, 24), QString("16:45:40"));
        QCOMPARE(h()->cell(6, 24), QString("08:30:40"));
        validate();
        QCOMPARE(h()->totheur->text(), QString("8.5"));
    }
};

QTEST_MAIN(TestHeures)
#include "tst_hourswindow.moc"
