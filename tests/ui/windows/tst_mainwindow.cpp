// The main window's rules, and the start-up of the window set.

#include "windows/aboutbox.h"
#include "windows/mainwindow.h"
#include "windows/background.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "windows/slipviewerwindow.h"
#include "windows/monthreviewwindow.h"
#include "windows/parameterswindow.h"

#include "testfiles.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestEntree : public WindowTest {
    Q_OBJECT
private:
    TEntree *entree() { return win().Entree; }
    TBVPfond *fond() { return win().BVPfond; }

private slots:
    void initTestCase() { QVERIFY(start({QDate(2026, 3, 14), QTime(10, 0)}, WithRates)); }
    void init()
    {
        m_shown.clear();
        createWindows();
    }
    void cleanup() { destroyWindows(); }

    void windowsAreCreatedInOrderWithTheirNamesAndCaptions()
    {
        const QList<QPair<QWidget *, QString>> expected = {
            {win().Entree, "TEntree"},     {win().Parametres, "TParametres"},
            {win().Horaire, "THoraire"},   {reinterpret_cast<QWidget *>(win().Bulletin), "TBulletin"},
            {win().Recap, "TRecap"},       {reinterpret_cast<QWidget *>(win().Bulletinbrut), "TBulletinbrut"},
            {win().Revisu, "TRevisu"},     {reinterpret_cast<QWidget *>(win().BO), "TBO"},
            {win().AboutBox, "TAboutBox"}, {win().BVPfond, "TBVPfond"},
        };
        for (const auto &[w, name] : expected) {
            QVERIFY(w);
            QCOMPARE(w->objectName(), name);
            QVERIFY(!w->isVisible());
        }
        QCOMPARE(entree()->windowTitle(), QString("Berlivo Paye"));
        QCOMPARE(win().Parametres->windowTitle(), QString("Parametres"));
        QCOMPARE(win().Horaire->windowTitle(), QString("Calcul des heures..."));
        QCOMPARE(win().Recap->windowTitle(), QString("Revoir un mois..."));
        QCOMPARE(win().Revisu->windowTitle(), QString("Visualiser un bulletin ancien"));
        QCOMPARE(win().AboutBox->windowTitle(), QString("A propos"));
        QCOMPARE(fond()->windowTitle(), QString("Berlivo Paye"));
        QCOMPARE(entree()->size(), QSize(727, 473));
        QCOMPARE(entree()->Edit3->text(), QString("Enfant actuellement selectionné  :"));
    }

    void functionButtonsWaitForTheFirstParametrer()
    {
        QVERIFY(activate(entree()));
        QVERIFY(entree()->selenf->text().isEmpty());
        for (QPushButton *b : {entree()->BitBtn3, entree()->BitBtn5, entree()->BitBtn7})
            QVERIFY(!b->isEnabled());
        for (QAction *a : {entree()->Dbuter1, entree()->Revoirunmois1, entree()->Revoirunbulletin1})
            QVERIFY(a->isEnabled());

        // The menu already opens the functions the buttons cannot reach yet.
        entree()->Revoirunmois1->trigger();
        QVERIFY(win().Recap->isVisible());
        win().Recap->hide();
        QVERIFY(activate(entree()));

        QTest::mouseClick(entree()->BitBtn4, Qt::LeftButton);
        QVERIFY(!entree()->isVisible());
        QVERIFY(win().Parametres->isVisible());
        QVERIFY(!fond()->isVisible());
        for (QPushButton *b : {entree()->BitBtn3, entree()->BitBtn5, entree()->BitBtn7})
            QVERIFY(b->isEnabled());
    }

    void backgroundFollowsTheMainWindow()
    {
        QVERIFY(activate(entree()));
        QVERIFY(fond()->isVisible());
        QVERIFY(fond()->Label1->isVisible());
        QVERIFY(fond()->Label2->isVisible());

        // Another window of the program in front: the background goes.
        QVERIFY(activate(win().AboutBox));
        QVERIFY(!fond()->isVisible());
        win().AboutBox->OKButton->click();
        QVERIFY(!win().AboutBox->isVisible());

        // Each function closes it too.
        entree()->hide();
        QVERIFY(activate(entree()));
        QVERIFY(fond()->isVisible());
        entree()->BitBtn3Click();
        QVERIFY(!fond()->isVisible());
        QVERIFY(win().Horaire->isVisible());
        QVERIFY(entree()->isVisible()); // stays behind the hours window
        win().Horaire->hide();

        // After the first "&Parametrer" it comes back as a plain screen.
        entree()->BitBtn4Click();
        showAndActivate(entree());
        QVERIFY(fond()->isVisible());
        QVERIFY(!fond()->Label1->isVisible());
        QVERIFY(!fond()->Label2->isVisible());
    }

    void activationCopiesTheChildsFirstName()
    {
        QVERIFY(activate(entree()));
        win().Parametres->prenom3->setText("Léa");
        QVERIFY(activate(win().AboutBox));
        QCOMPARE(entree()->selenf->text(), QString()); // not copied until it is active again
        QVERIFY(activate(entree()));
        QCOMPARE(entree()->selenf->text(), QString("Léa"));
        QCOMPARE(entree()->MonthCalendar1->selectedDate(), QDate(2026, 3, 14));
    }

    void separatorIsForcedAndRestoredByTheMenuOnly()
    {
        setDecimalSeparator(',');
        QVERIFY(activate(entree()));
        QCOMPARE(decimalSeparator(), QChar('.'));
        QCOMPARE(entree()->savedSeparator(), QChar(','));

        // The button closes the window (the program ends) without restoring.
        entree()->BitBtn1->click();
        QCOMPARE(decimalSeparator(), QChar('.'));
        QVERIFY(!entree()->isVisible());

        // The menu item restores the separator saved at the last activation.
        setDecimalSeparator(',');
        QVERIFY(activate(entree()));
        entree()->Quitter1->trigger();
        QCOMPARE(decimalSeparator(), QChar(','));
        setDecimalSeparator('.');
    }

    void aboutBoxShowsNameAndVersion()
    {
        QVERIFY(activate(entree()));
        entree()->Apropos1->trigger();
        TAboutBox *about = win().AboutBox;
        QVERIFY(about->isVisible());
        QCOMPARE(about->size(), QSize(298, 213));
        QCOMPARE(about->ProductName->text(), QString("Berlivo Paye"));
        QCOMPARE(about->Version->text(), QString("Version 3.0"));
        QVERIFY(about->OKButton->isDefault());
        QVERIFY(QTest::qWaitForWindowActive(about));
        QTest::keyClick(about, Qt::Key_Return);
        QVERIFY(!about->isVisible());
        // Escape closes it too, wherever the focus is.
        entree()->Apropos1->trigger();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : about, Qt::Key_Escape);
        QVERIFY(!about->isVisible());
    }
};

QTEST_MAIN(TestEntree)
#include "tst_mainwindow.moc"
