// The month review driven as a user drives it, on real tables of a temporary
// program folder; what it stores is read back with the sqlite3 tool.

#include "windows/monthreviewwindow.h"
#include "attendance/duration.h"
#include "common/monthkey.h"
#include "attendance/monthchoice.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include "storedrows.h"
#include "windowtest.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

namespace {
// One day of 08:00-12:00 with lunch, flat-rate days where asked.
day::Record dayOf(const QDate &d, bool flat = false)
{
    day::Record r;
    r[day::Date] = shortDate(d);
    r[day::Heure1] = "08:00:00";
    r[day::Heure2] = "12:00:00";
    r[day::Duree] = "4";
    for (int f = day::FJ; f <= day::Ferie; ++f)
        r[f] = day::flagText((f == day::FJ && flat) || f == day::Dej);
    r[day::Moan] = monthKey(r[day::Date]);
    return r;
}
} // namespace

class TestRecap : public WindowTest {
    Q_OBJECT
private:
    QStringList m_asked;
    bool m_answer = true;

    TRecap *r() { return win().Recap; }
    QString table(int n = 1) const { return m_dir.filePath(QString("Enf%1.db").arg(n)); }
    void store(const QList<day::Record> &days)
    {
        DayTable t;
        t.setFolder(m_dir.path() + '/');
        t.setTableName("Enf1.db");
        t.storeMonth(days);
    }
    void choose(const QDate &d)
    {
        r()->Datechoi->setSelectedDate(d);
        QTest::mouseClick(r()->Valid, Qt::LeftButton);
    }
    QString gridText(int row, int field) { return r()->DBGrid1->model()->index(row, field).data().toString(); }
    QStringList gridDates()
    {
        QStringList dates;
        for (int row = 0; row < r()->DBGrid1->model()->rowCount(); ++row)
            dates << gridText(row, day::Date);
        return dates;
    }

    // The table as the sqlite3 tool reads it, without taking a lock: what is
    // in the file while the review holds it.
    QStringList sqliteRows(const QString &columns)
    {
        const QString sqlite = QStandardPaths::findExecutable("sqlite3");
        if (sqlite.isEmpty())
            return {"no sqlite3 tool"};
        QProcess p;
        p.start(sqlite, {"-separator", "|", "file:" + table() + "?mode=ro&nolock=1",
                         "SELECT " + columns + " FROM Jours ORDER BY rowid"});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    // Lunch taken off the first day with its box, its arrival typed again in
    // the grid: nothing of it is in the file yet.
    void correctFirstDay()
    {
        choose(QDate(2007, 1, 10));
        QTest::mouseClick(r()->DBCheckBox2, Qt::LeftButton);
        r()->DBGrid1->setCurrentIndex(r()->DBGrid1->model()->index(0, day::Heure1));
        r()->DBGrid1->setFocus();
        QTest::keyClick(r()->DBGrid1, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "09:15:00");
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(gridText(0, day::Heure1), QString("09:15:00"));
        QCOMPARE(sqliteRows("Heure1, \"Déj\"").value(0), QString("08:00:00|1"));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2007, 4, 30), QTime(9, 30)}));
        setQuestionSink([this](const QString &t) {
            m_asked << t;
            return m_answer;
        });
    }
    void init()
    {
        m_shown.clear();
        m_asked.clear();
        for (int n = 1; n <= 5; ++n)
            QFile::remove(table(n));
        QVERIFY(DayTable::createEmpty(table(1)));
        store({dayOf(QDate(2007, 1, 30)), dayOf(QDate(2007, 2, 1), true), dayOf(QDate(2007, 1, 31), true)});
        openWindows();
        win().Entree->selenf->setText("Lucie");
    }
    void cleanup() { destroyWindows(); }

    void windowAsDrawn()
    {
        QVERIFY(!r()->Valid->isEnabled());
        QVERIFY(activate(r()));
        // The calendar's first display makes "&Valide" usable.
        QVERIFY(r()->Valid->isEnabled());
        QCOMPARE(r()->windowTitle(), QString("Revoir un mois..."));
        QCOMPARE(r()->size(), QSize(916, 620));
        QCOMPARE(r()->selenf->text(), QString("Lucie"));
        QCOMPARE(r()->Datechoi->selectedDate(), QDate(2007, 4, 30));
        QCOMPARE(r()->Label1->text(), QString());
        QVERIFY(!r()->Table1().isOpen());
        QStringList hints;
        for (auto m : {TableNavigator::First, TableNavigator::Prior, TableNavigator::Next, TableNavigator::Last})
            hints << r()->DBNavigator1->button(m)->toolTip();
        QCOMPARE(hints, QStringList({"Premier enregistrement", "Enregistrement précédent", "Enregistrement suivant",
                                     "Dernier enregistrement"}));

        // Enter presses "&Valide"; the grid shows every field but Moan, marks as words.
        r()->Datechoi->setSelectedDate(QDate(2007, 1, 2));
        QTest::keyClick(r()->Datechoi->findChild<QAbstractItemView *>(), Qt::Key_Return);
        QCOMPARE(r()->Table1().filter(), QString("Moan ='0107'"));
        QStringList columns;
        for (int c = 0; c < r()->DBGrid1->model()->columnCount(); ++c)
            if (!r()->DBGrid1->isColumnHidden(c))
                columns << r()->DBGrid1->model()->headerData(c, Qt::Horizontal).toString();
        QStringList expected;
        for (int f : review::gridFields())
            expected << day::fieldNames().at(f);
        QCOMPARE(columns, expected);
        QCOMPARE(gridText(0, day::FJ), QString("Faux"));
        QCOMPARE(gridText(1, day::FJ), QString("Vrai"));
        // The detail area follows the current record.
        QCOMPARE(r()->DBText1->text(), QString("30/01/2007"));
        QCOMPARE(r()->DBText2->text(), QString("08:00:00"));
        QCOMPARE(r()->DBText6->text(), QString("4"));
        QVERIFY(r()->DBCheckBox2->isChecked());
        QVERIFY(!r()->DBCheckBox5->isChecked());
        QTest::mouseClick(r()->DBNavigator1->button(TableNavigator::Last), Qt::LeftButton);
        QCOMPARE(r()->DBText1->text(), QString("31/01/2007"));
        QVERIFY(r()->DBCheckBox5->isChecked());
        QVERIFY(!r()->DBNavigator1->button(TableNavigator::Next)->isEnabled());
        // Enter on the focused "Quitter" presses it, not the default button.
        r()->Button1->setFocus();
        QTest::keyClick(r()->Button1, Qt::Key_Return);
        QVERIFY(!r()->isVisible());
        QVERIFY(!r()->Table1().isOpen());
    }

    // The labels and the records shown are those of the whole month of the day chosen.
    void wholeMonthOfTheDayChosen_data()
    {
        QTest::addColumn<QDate>("chosen");
        for (const QDate d : {QDate(2000, 2, 3), QDate(1900, 2, 28), QDate(2004, 2, 29), QDate(2003, 2, 1),
                              QDate(2009, 9, 17), QDate(2009, 11, 30), QDate(2009, 8, 1), QDate(2009, 12, 25)})
            QTest::newRow(qPrintable(shortDate(d))) << d;
    }
    void wholeMonthOfTheDayChosen()
    {
        QFETCH(QDate, chosen);
        // Every day of the month before, the month and the month after.
        QList<day::Record> days;
        for (QDate d = chosen.addMonths(-1).addDays(1 - chosen.day()); d < chosen.addMonths(2).addDays(-chosen.day());
             d = d.addDays(1))
            days << dayOf(d);
        store(days);
        QVERIFY(activate(r()));
        choose(chosen);
        const review::MonthChoice month = review::monthOf(shortDate(chosen));
        QCOMPARE(r()->Label1->text(), shortDate(month.first));
        QCOMPARE(r()->Label2->text(), shortDate(month.last));
        QCOMPARE(month.last.day(), chosen.daysInMonth());
        QStringList expected;
        for (QDate d = month.first; d <= month.last; d = d.addDays(1))
            expected << shortDate(d);
        QCOMPARE(gridDates(), expected);
    }

    void monthsNeverMixedAndTwiceStoredShownTwice()
    {
        store({dayOf(QDate(2002, 2, 28)), dayOf(QDate(2002, 3, 1)), dayOf(QDate(2002, 3, 2))});
        store({dayOf(QDate(2002, 3, 1)), dayOf(QDate(2002, 3, 2))});
        QVERIFY(activate(r()));
        choose(QDate(2002, 3, 31));
        QCOMPARE(gridDates(), QStringList({"01/03/2002", "02/03/2002", "01/03/2002", "02/03/2002"}));
        // One of two identical days is deleted alone.
        r()->DBGrid1->setCurrentIndex(r()->DBGrid1->model()->index(2, day::Date));
        r()->DBGrid1->setFocus();
        QTest::keyClick(r()->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(gridDates(), QStringList({"01/03/2002", "02/03/2002", "02/03/2002"}));
        QCOMPARE(sqliteRows("\"Date\"").filter("2002-03-01").size(), 1);
        choose(QDate(2002, 2, 1));
        QCOMPARE(gridDates(), QStringList({"28/02/2002"}));
        choose(QDate(2002, 4, 1));
        QCOMPARE(gridDates(), QStringList());
        QCOMPARE(r()->DBText1->text(), QString());
        QVERIFY(!r()->DBCheckBox1->isEnabled());
    }

    void correctionStoredOnMovingOn()
    {
        QVERIFY(activate(r()));
        correctFirstDay();
        QTest::mouseClick(r()->DBNavigator1->button(TableNavigator::Next), Qt::LeftButton);
        // Stored at once, while the review still holds the table.
        QCOMPARE(sqliteRows("Heure1, \"Déj\"").value(0), QString("09:15:00|0"));
        QVERIFY(r()->Table1().isOpen());
    }

    void correctionStoredOnLeaving_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Quitter") << false;
        QTest::newRow("close box") << true;
    }
    void correctionStoredOnLeaving()
    {
        QFETCH(bool, closeBox);
        QVERIFY(activate(r()));
        correctFirstDay();
        if (closeBox)
            r()->close();
        else
            QTest::mouseClick(r()->Button1, Qt::LeftButton);
        QVERIFY(!r()->isVisible());
        QVERIFY(!r()->Table1().isOpen());
        QCOMPARE(r()->Table1().filter(), QString());
        QCOMPARE(sqliteRows("Heure1, \"Déj\"").value(0), QString("09:15:00|0"));
        QVERIFY(m_shown.isEmpty());
    }

    void deletionAsksFirst()
    {
        QVERIFY(activate(r()));
        choose(QDate(2007, 1, 1));
        r()->DBGrid1->setFocus();
        m_answer = false;
        QTest::keyClick(r()->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_asked, QStringList({"Supprimer l'enregistrement ?"}));
        QCOMPARE(sqliteRows("\"Date\"").size(), 3);
        m_answer = true;
        r()->DBGrid1->setFocus();
        QTest::keyClick(r()->DBGrid1, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(m_asked.size(), 2);
        QCOMPARE(sqliteRows("\"Date\""), QStringList({"2007-02-01", "2007-01-31"}));
        QCOMPARE(gridDates(), QStringList({"31/01/2007"}));
        QCOMPARE(r()->DBText1->text(), QString("31/01/2007"));
    }

    void hoursWindowRefusedAtOnceWhileHeld()
    {
        QVERIFY(activate(r()));
        choose(QDate(2007, 1, 1));
        THoraire *h = win().Horaire;
        QVERIFY(activate(h));
        h->Date->setFocus();
        h->Date->setDate(QDate(2007, 4, 16));
        h->FJ->setFocus(); // leaving Date writes the day
        h->FJ->setChecked(true);
        // The review's connection, like every one, fails at once on a held lock.
        QCOMPARE(lockWaits(table()), QList<int>{0});
        QTest::mouseClick(h->BitBtn3, Qt::LeftButton);
        QCOMPARE(m_shown, QStringList({rtl::tableFailure(rtl::TableAction::Store, "Enf1.db",
                                                         rtl::tableLocked(QDir::toNativeSeparators(table())))}));
        QCOMPARE(h->cell(1, 16), QString("16/04/2007"));
        QCOMPARE(h->cell(7, 16), QString("OUI"));
        QVERIFY(h->BitBtn3->isEnabled());
        QCOMPARE(sqliteRows("\"Date\"").size(), 3);
        // Once the review is left, the same sheet is stored.
        QVERIFY(activate(r()));
        QTest::mouseClick(r()->Button1, Qt::LeftButton);
        QVERIFY(activate(h));
        QTest::mouseClick(h->BitBtn3, Qt::LeftButton);
        QCOMPARE(sqliteRows("\"Date\"").size(), 4);
    }

    void missingTableKeepsLabelsAndFilter()
    {
        QVERIFY(activate(r()));
        choose(QDate(2007, 1, 1));
        QTest::mouseClick(r()->Button1, Qt::LeftButton);
        win().Parametres->TabControl1->setCurrentIndex(2); // "Enf3.db" is not there
        QVERIFY(activate(win().Entree));
        QVERIFY(activate(r()));
        choose(QDate(2007, 2, 1));
        QCOMPARE(m_shown, QStringList({rtl::cannotOpenFile(QDir::toNativeSeparators(table(3)))}));
        QCOMPARE(r()->Label1->text(), QString("01/01/2007"));
        QCOMPARE(r()->Label2->text(), QString("31/01/2007"));
        QCOMPARE(r()->Table1().filter(), QString());
        QVERIFY(!QFile::exists(table(3)));
    }

    void reactivationKeepsTheMonthOfTheSameChild()
    {
        QVERIFY(activate(r()));
        choose(QDate(2007, 1, 1));
        QVERIFY(activate(win().Entree));
        QVERIFY(activate(r()));
        QCOMPARE(r()->Datechoi->selectedDate(), QDate(2007, 4, 30));
        QCOMPARE(r()->Table1().filter(), QString("Moan ='0107'"));
        QCOMPARE(gridDates().size(), 2);
        // Another child chosen meanwhile: the month shown is put away.
        win().Parametres->TabControl1->setCurrentIndex(1);
        QVERIFY(activate(win().Entree));
        QVERIFY(activate(r()));
        QVERIFY(m_shown.isEmpty());
        QVERIFY(!r()->Table1().isOpen());
        QCOMPARE(r()->Table1().tableName(), QString("Enf2.db"));
        QCOMPARE(gridDates(), QStringList());
        QCOMPARE(r()->Label1->text(), QString());
    }
};

QTEST_MAIN(TestRecap)
#include "tst_monthreviewwindow.moc"
