// The parameters window, driven as a user would: its files, its children,
// its rules and its masked fields.

#include "windows/aboutbox.h"
#include "windows/mainwindow.h"
#include "widgets/radiogroup.h"
#include "widgets/look.h"
#include "common/errors.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "windows/netslipwindow.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "settings/numberfields.h"
#include "windows/parameterswindow.h"
#include "widgets/maskedit.h"
#include "settings/paramrecord.h"
#include "settings/ratesfile.h"
#include "common/programfiles.h"
#include "legal/contributions.h"
#include "legal/minimums.h"
#include "payslip/slip.h"
#include "windows/grossslipwindow.h"
#include "windows/printsavewindow.h"

#include "smalldisk.h"
#include "shippedrates.h"
#include "testfiles.h"
#include "windowtest.h"
#include "required.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

namespace {
// Text field of the stored record: length byte, then the characters.
QByteArray storedText(const QByteArray &file, int slot, int offset)
{
    const int at = (slot - 1) * 1136 + offset;
    return file.mid(at + 1, quint8(file.at(at)));
}
} // namespace

class TestParametres : public WindowTest {
    Q_OBJECT
    // The questions asked, and the answer each gets (-1: the box is closed).
    QStringList m_asked;
    int m_answer = -1;
    const QDateTime m_now{QDate(2026, 3, 14), QTime(10, 30)};

    TParametres *p() { return win().Parametres; }
    QString paramFile() const { return m_dir.filePath("Paramtre.bvp"); }
    QString ratesFile() const { return m_dir.filePath("Taux.txt"); }

    // "&Parametrer" in the main window.
    bool open()
    {
        QTest::mouseClick(win().Entree->BitBtn4, Qt::LeftButton);
        return p()->isVisible() && QTest::qWaitForWindowActive(p());
    }
    void clickTab(int index)
    {
        QTest::mouseClick(p()->TabControl1, Qt::LeftButton, {}, p()->TabControl1->tabRect(index).center());
    }
    // Clicks the tab of the page that holds the control.
    void showPage(QWidget *control)
    {
        QTabBar *bar = p()->Paramtr->tabBar();
        for (int i = 0; i < p()->Paramtr->count(); ++i)
            if (p()->Paramtr->widget(i)->isAncestorOf(control) && bar->currentIndex() != i)
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
    }
    // Replaces the text of a field by typing over it.
    void type(QLineEdit *e, const QString &text)
    {
        showPage(e);
        e->setFocus();
        QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(e, Qt::Key_Delete);
        keys(e, text);
    }
    // Types the characters one key at a time, accented ones included.
    static void keys(QWidget *w, const QString &text)
    {
        for (QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(w, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // Leaves the focused control with the Tab key.
    void leave(QWidget *w)
    {
        QTest::keyClick(w, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }
    // On the item's round button, which takes the click wherever the label ends.
    void clickItem(RadioGroup *g, int item)
    {
        QRadioButton *b = g->button(item);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start(m_now));
        setChoiceSink([this](const Choice &c) {
            m_asked << c.question + " [" + c.answers.join('/') + ", " + c.answers.value(c.defaultAnswer) + "]";
            return m_answer;
        });
    }
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        QVERIFY(copyFirstRates(ratesFile()));
        QFile::setPermissions(ratesFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        openWindows();
        m_asked.clear();
        m_answer = -1;
        QVERIFY(activate(win().Entree));
    }
    void cleanup() { destroyWindows(); }

    void lookAndInitialStates()
    {
        QCOMPARE(p()->size(), QSize(834, 594));
        QCOMPARE(p()->palette().color(QPalette::Window), QColor(253, 209, 170));
        QCOMPARE(p()->Paramtr->currentIndex(), 2); // "Salaires"
        QCOMPARE(p()->TabControl1->shape(), QTabBar::RoundedEast);
        QCOMPARE(p()->TabControl1->tabText(4), QString("Enfant 5"));
        QVERIFY(p()->OK->isDefault());
        QVERIFY(!p()->SH->isEnabled());
        QVERIFY(!p()->SHbr->isEnabled());
        QVERIFY(!p()->Indentr->isEnabled());
        QVERIFY(p()->Edit10->isEnabled() && p()->du->isEnabled());
        QCOMPARE(p()->cp1->displayText(), QString("__ ___"));
        auto *reminder = p()->findChild<QLabel *>("Label25");
        QVERIFY(reminder);
        QCOMPARE(reminder->text(), QString("^  Pensez à vérifier ces données de temps à autre   ^"));
        QVERIFY(reminder->font().underline());
        QCOMPARE(reminder->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }

    void firstStartWithoutParameterFile()
    {
        win().Horaire->BitBtn3->setEnabled(false);
        QVERIFY(open());
        QVERIFY(m_shown.isEmpty());
        QVERIFY(win().Horaire->BitBtn3->isEnabled());
        QCOMPARE(p()->currentSlot(), 1);
        QCOMPARE(p()->TabControl1->currentIndex(), 0);
        QCOMPARE(p()->TabControl1->tabText(0), QString()); // no first name yet
        QCOMPARE(p()->TabControl1->tabText(1), QString("Enfant 2"));
        QCOMPARE(p()->nom1->text(), QString());
        QCOMPARE(p()->datenaiss->date(), m_now.date());
        QCOMPARE(p()->du->dateTime(), m_now);
        QCOMPARE(p()->SH->text(), QString("0")); // line 36 is empty
        QCOMPARE(p()->PD->text(), QString("0.76"));
        QCOMPARE(p()->Sp->text(), QString("1.52"));
        QCOMPARE(p()->conge->text(), QString("10"));
        QCOMPARE(p()->Indentr->text(), QString("2"));
        QCOMPARE(p()->diverse->text(), QString("0"));
        QCOMPARE(p()->StaticText3->text(), QString("Sécurité Sociale :"));
        QCOMPARE(p()->Edit3->text(), QString("0.0936"));
        QCOMPARE(p()->Edit12->text(), QString("7.40"));
        QCOMPARE(p()->Edit19->text(), QString("95"));
        for (int i = 0; i < 9; ++i)
            QCOMPARE(p()->lineTick[i]->isChecked(), i < 6);
        QCOMPARE(p()->Netbrut->itemIndex(), 0);
        QCOMPARE(p()->Conges->itemIndex(), 0);
        QCOMPARE(p()->Tel1->maskedText(), QString("  .  .  .  .  "));
        // On the net basis both rate columns stay editable until Netbrut is used.
        QVERIFY(p()->SH->isVisible() && p()->SH->isEnabled());
        QVERIFY(!p()->SHbr->isVisible());
        QVERIFY(p()->Edit10->isEnabled());
        QVERIFY(p()->Edit25->isEnabled());

        // Slots 2 to 5: nothing read, nothing reset.
        clickTab(1);
        QCOMPARE(p()->currentSlot(), 2);
        QCOMPARE(p()->TabControl1->tabText(1), QString());
        QCOMPARE(p()->SH->text(), QString("0"));
        QCOMPARE(p()->PD->text(), QString("0"));
        QCOMPARE(p()->accpte->text(), QString("0"));
        QCOMPARE(p()->conge->text(), QString());
        QCOMPARE(p()->Indentr->text(), QString());
        QCOMPARE(p()->datenaiss->date(), QDate(1899, 12, 30));
        QCOMPARE(p()->datenaiss->text().trimmed(), QString()); // a birth date never given shows empty
        showPage(p()->datenaiss);                              // its calendar opens on this month
        QTest::mouseClick(p()->datenaiss, Qt::LeftButton, {}, QPoint(p()->datenaiss->width() - 6, 8));
        QCOMPARE(p()->datenaiss->calendarWidget()->monthShown(), m_now.date().month());
        QCOMPARE(p()->datenaiss->calendarWidget()->yearShown(), m_now.date().year());
        QTest::keyClick(p()->datenaiss->calendarWidget(), Qt::Key_Escape);
        QCOMPARE(p()->au->date(), QDate(1899, 12, 30));
        for (QCheckBox *b : p()->lineTick)
            QVERIFY(!b->isChecked());
        QCOMPARE(p()->Edit12->text(), QString("7.40")); // the table is common
    }

    void okWritesBothFiles()
    {
        QVERIFY(open());
        type(p()->nom1, "Dupont-Lefebvre de la Tour"); // 26 characters
        type(p()->Adr11, "12 rue des Écoles");
        type(p()->cp1, "75011");
        type(p()->Tel1, "0123456789");
        type(p()->nom3, "Petit");
        type(p()->prenom3, "Léa");
        type(p()->SH, "8.15");
        type(p()->Edit12, "7.50");
        type(p()->conge, "12.5");
        QCOMPARE(p()->conge->text(), QString("12"));
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QVERIFY(m_shown.isEmpty());
        QVERIFY(!p()->isVisible());
        QVERIFY(win().Entree->isVisible());

        const QByteArray params = readBytes(paramFile());
        QCOMPARE(params.size(), 5680);
        QCOMPARE(storedText(params, 1, 0), QByteArray("Dupont-Lefebvre de l"));
        QCOMPARE(storedText(params, 1, 168), QByteArray("12 rue des \xc9"
                                                        "coles"));
        QCOMPARE(storedText(params, 1, 312), QByteArray("75 011"));
        QCOMPARE(storedText(params, 1, 354), QByteArray("01.23.45.67.89"));
        QCOMPARE(storedText(params, 1, 384), QByteArray("                   -  "));
        QCOMPARE(storedText(params, 1, 147), QByteArray("L\xe9"
                                                        "a"));
        QCOMPARE(storedText(params, 1, 456), QByteArray("8.15"));
        QCOMPARE(storedText(params, 1, 573 + 7 * 2), QByteArray("7.50"));
        QCOMPARE(storedText(params, 1, 1045), QByteArray("12"));
        QCOMPARE(storedText(params, 1, 676 + 41 * 2), QByteArray("S\xe9"
                                                                 "curit\xe9 Sociale :"));
        QCOMPARE(params.mid(1120, 9), QByteArray::fromHex("010101010101000000"));
        QCOMPARE(params.mid(1136), QByteArray(4 * 1136, '\0')); // slots never shown

        const QByteArray rates = readBytes(ratesFile());
        const QList<QByteArray> lines = rates.split('\n');
        QCOMPARE(lines.size(), 49); // 48 lines and what follows the last break
        QCOMPARE(rates.count("\r\n"), 48);
        QCOMPARE(lines.at(2), QByteArray("S\xe9"
                                         "curit\xe9 Sociale :\r"));
        QCOMPARE(lines.at(20), QByteArray("7.50\r"));
        QCOMPARE(lines.at(36), QByteArray("8.15\r"));
        // The field took what its record field holds: both files agree.
        QCOMPARE(lines.at(40), QByteArray("12\r"));
        QCOMPARE(lines.at(42), QByteArray("0.76\r"));

        // Opened again: the record as stored.
        QVERIFY(open());
        QCOMPARE(p()->nom1->text(), QString("Dupont-Lefebvre de l"));
        QCOMPARE(p()->conge->text(), QString("12"));
        QCOMPARE(p()->TabControl1->tabText(0), QString("Léa"));
        QCOMPARE(p()->cp1->maskedText(), QString("75 011"));
    }

    void switchingChildrenKeepsUnconfirmedEdits()
    {
        QVERIFY(open());
        type(p()->nom1, "Martin");
        clickTab(1);
        QCOMPARE(p()->nom1->text(), QString());
        type(p()->nom1, "Bernard");
        clickTab(0);
        QCOMPARE(p()->currentSlot(), 1);
        QCOMPARE(p()->nom1->text(), QString("Martin"));
        clickTab(1);
        QCOMPARE(p()->nom1->text(), QString("Bernard"));

        // "&Annule" drops the edits of both children at once: the child
        // chosen stays, shown as the files hold it.
        QTest::mouseClick(p()->Anul, Qt::LeftButton);
        QVERIFY(!p()->isVisible());
        QVERIFY(win().Entree->isVisible());
        QCOMPARE(p()->currentSlot(), 2);
        QCOMPARE(p()->nom1->text(), QString());
        QVERIFY(!QFile::exists(paramFile()));
        QVERIFY(open());
        QCOMPARE(p()->TabControl1->currentIndex(), 0);
        QCOMPARE(p()->nom1->text(), QString());
        clickTab(1);
        QCOMPARE(p()->nom1->text(), QString());
    }

    // The family's page and each child's two ticks: kept per child while
    // switching, written to Famille.txt by "&OK" only, put back by "&Annule".
    void familyParticulars()
    {
        QVERIFY(open());
        QCOMPARE(p()->Paramtr->tabText(4), QString("Famille"));
        type(p()->Ressources, "2 500");
        leave(p()->Ressources);
        QCOMPARE(m_shown, QStringList{rtl::fieldNotANumber("Ressources mensuelles", "2 500", "2500.00")});
        QCOMPARE(p()->Ressources->text(), QString());
        type(p()->Ressources, "2500,5");
        leave(p()->Ressources);
        QCOMPARE(p()->Ressources->text(), QString("2500.50"));
        p()->NbEnfants->setValue(2);
        showPage(p()->AEEH);
        QTest::mouseClick(p()->AEEH, Qt::LeftButton);
        clickTab(1);
        QVERIFY(!p()->AEEH->isChecked());
        QTest::mouseClick(p()->Alternee, Qt::LeftButton);
        clickTab(0);
        QVERIFY(p()->AEEH->isChecked() && !p()->Alternee->isChecked());
        QCOMPARE(p()->Ressources->text(), QString("2500.50"));
        QTest::mouseClick(p()->Anul, Qt::LeftButton);
        QVERIFY(!QFile::exists(m_dir.filePath("Famille.txt")));
        QVERIFY(open());
        QVERIFY(!p()->AEEH->isChecked());
        QCOMPARE(p()->Ressources->text(), QString());

        type(p()->Ressources, "3000");
        p()->NbEnfants->setValue(2);
        QTest::mouseClick(p()->ParentIsole, Qt::LeftButton);
        clickTab(1);
        showPage(p()->Alternee);
        QTest::mouseClick(p()->Alternee, Qt::LeftButton);
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        Family expected;
        expected.resources = 300000;
        expected.children = 2;
        expected.singleParent = true;
        expected.child[1].sharedCustody = true;
        const family::Loaded stored = family::load(m_dir.filePath("Famille.txt"));
        QVERIFY(stored.message.isEmpty());
        QCOMPARE(stored.family, expected);
        QCOMPARE(p()->familyOnScreen(), expected);
    }

    // A reset and a typed rate cancelled: the controls, which the slips
    // read, hold the files' child again, and so does the slip.
    void cancelPutsBackWhatTheFilesHold()
    {
        QVERIFY(open());
        type(p()->prenom3, "Julie");
        type(p()->SH, "3.27");
        type(p()->Edit12, "7.55");
        QTest::mouseClick(p()->OK, Qt::LeftButton);

        QVERIFY(open());
        m_answer = 1; // "Non": nothing is reset
        QTest::mouseClick(p()->raz, Qt::LeftButton);
        QCOMPARE(m_asked, QStringList{"Remettre à zéro les paramètres de Julie ? [Oui/Non, Non]"});
        QCOMPARE(p()->prenom3->text(), QString("Julie"));
        m_answer = 0;
        QTest::mouseClick(p()->raz, Qt::LeftButton);
        QCOMPARE(p()->prenom3->text(), QString());
        type(p()->SH, "4.00");
        type(p()->Edit12, "9.99");
        QTest::mouseClick(p()->raz, Qt::LeftButton); // no first name: nothing to ask
        QCOMPARE(m_asked.size(), 2);
        QTest::mouseClick(p()->Anul, Qt::LeftButton);

        QCOMPARE(p()->prenom3->text(), QString("Julie"));
        QCOMPARE(p()->TabControl1->tabText(0), QString("Julie"));
        QCOMPARE(p()->SH->text(), QString("3.27"));
        QCOMPARE(p()->Edit12->text(), QString("7.55"));
        QTRY_COMPARE(win().Entree->selenf->text(), QString("Julie"));

        THoraire *h = win().Horaire;
        h->StringGrid1->item(1, 1)->setText("01/03/2024");
        h->StringGrid1->item(1, 6)->setText("08:00:00");
        h->totheur->setText("8");
        h->moan->setText("0324");
        showAndActivate(win().Bulletin);
        QVERIFY(QTest::qWaitFor([] { return win().Bulletin->shownSlip().has_value(); }));
        QCOMPARE(win().Bulletin->prenom->text(), QString("Julie"));
        QCOMPARE(win().Bulletin->shownSlip()->input.SH, QString("3.27"));
        QCOMPARE(win().Bulletin->shownSlip()->input.grossRate[2], QString("7.55"));
        win().Bulletin->close();
    }

    // Amount and coefficient fields take a decimal comma as the program's
    // point; any other text is refused, naming the field, and the field
    // gets back what it held.
    void numberFieldsCheckedOnLeaving_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // "" for the value held before
        QTest::addColumn<QString>("message");
        QTest::newRow("wage with a comma") << "SH"
                                           << "5,13"
                                           << "5.13"
                                           << "";
        QTest::newRow("allowance refused") << "PD"
                                           << "abc"
                                           << ""
                                           << "Indemnité de repas, Petit Déjeuner : 'abc' n'est pas un nombre.\n"
                                              "Tapez-le sous la forme 5.13 ou 5,13 ; la valeur précédente est gardée.";
        QTest::newRow("base not whole") << "Edit25"
                                        << "9,5"
                                        << ""
                                        << "Assiette, ligne 4 (Chomage) : '9,5' n'est pas un nombre.\n"
                                           "Tapez-le sous la forme 95 ; la valeur précédente est gardée.";
        // The unit's own words; the point is that the window keeps the old value.
        const numberfield::Field *wage = numberfield::find("SH");
        QTest::newRow("wage of 0") << "SH"
                                   << "0"
                                   << ""
                                   << numberfield::refusal(*wage, wage->label, "0", 8);
        QTest::newRow("wage cut by the file") << "SH"
                                              << "1000000000"
                                              << ""
                                              << numberfield::refusal(*wage, wage->label, "1000000000", 8);
        // The contribution table is Taux.txt's, which keeps a rate whole.
        QTest::newRow("rate longer than a child's record keeps") << "Edit11"
                                                                 << "2.84925"
                                                                 << "2.84925"
                                                                 << "";
        QTest::newRow("name untouched") << "nom1"
                                        << "5,13"
                                        << "5,13"
                                        << "";
    }
    void numberFieldsCheckedOnLeaving()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        QVERIFY(open());
        auto *e = p()->findChild<QLineEdit *>(field);
        QVERIFY(e);
        const QString before = e->text();
        type(e, typed);
        leave(e);
        QCOMPARE(e->text(), shown.isEmpty() ? before : shown);
        QCOMPARE(m_shown, message.isEmpty() ? QStringList() : QStringList{message});
        // What stays in the field is what "&OK" writes.
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QVERIFY(open());
        QCOMPARE(p()->findChild<QLineEdit *>(field)->text(), shown.isEmpty() ? before : shown);
    }

    // "Barème en vigueur" puts the dated table's lines of the date chosen in
    // the rows; "&OK" writes them to Taux.txt and the next slip computes
    // with them. The note under the table says when the rows are not those
    // in force today.
    void linesInForceFillTheTable()
    {
        const QString source = BERLIVO_SOURCE_DIR "/data/Cotisations.txt";
        QVERIFY(QFile::copy(source, m_dir.filePath(folder::contributionTable)));
        const legal::Contributions table = legal::Contributions::load(source);
        const QDate date(2026, 6, 1);
        const legal::RateRows filled = legal::rowsOf(table.inForce(date, false));
        // Line n of the rates file, as the rows give it.
        const auto lineOf = [](const legal::RateRows &r, int n) {
            const auto &column = n < rates::NetLine ? r.names
                                 : n < rates::GrossLine ? r.net
                                 : n < rates::BaseLine  ? r.gross
                                                        : r.bases;
            return column[size_t(n % ContributionLines)];
        };
        const auto shownRows = [this] {
            legal::RateRows r;
            for (size_t k = 0; k < r.names.size(); ++k) {
                r.names[k] = p()->lineName[k]->text();
                r.net[k] = p()->netRate[k]->text();
                r.gross[k] = p()->grossRate[k]->text();
                r.bases[k] = p()->basePercent[k]->text();
            }
            return r;
        };
        QVERIFY(open());
        showPage(p()->BaremeEnVigueur);
        QCOMPARE(p()->DateBareme->date(), m_now.date());
        QCOMPARE(p()->AvertTaux->text(), ratesmsg::notInForce(m_now.date())); // the first table is out of date
        QVERIFY(p()->AvertTaux->isVisible());

        // A rate typed since the window opened is asked for; "Non" keeps it.
        type(p()->Edit12, "7.55");
        leave(p()->Edit12);
        p()->DateBareme->setDate(date);
        m_answer = 1;
        QTest::mouseClick(p()->BaremeEnVigueur, Qt::LeftButton);
        QCOMPARE(m_asked, QStringList{ask::replaceTypedRates(date) + " [Oui/Non, Non]"});
        QCOMPARE(p()->Edit12->text(), QString("7.55"));
        m_answer = 0;
        QTest::mouseClick(p()->BaremeEnVigueur, Qt::LeftButton);
        QCOMPARE(shownRows(), filled);
        QVERIFY(p()->AvertTaux->isHidden());
        // Filled rows are filled again without a question, for another date too.
        p()->AlsaceMoselle->setChecked(true);
        QTest::mouseClick(p()->BaremeEnVigueur, Qt::LeftButton);
        QCOMPARE(shownRows(), legal::rowsOf(table.inForce(date, true)));
        QVERIFY(p()->AvertTaux->isHidden());
        p()->AlsaceMoselle->setChecked(false);
        QTest::mouseClick(p()->BaremeEnVigueur, Qt::LeftButton);
        QCOMPARE(m_asked.size(), 2); // the "Non" and the "Oui" above
        QCOMPARE(shownRows(), filled);
        // Typing over a rate brings the note back.
        type(p()->Edit12, "7.40");
        leave(p()->Edit12);
        QVERIFY(p()->AvertTaux->isVisible());
        type(p()->Edit12, filled.gross[2]);
        leave(p()->Edit12);

        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QVERIFY(!p()->isVisible());
        RatesList saved;
        saved.load(ratesFile());
        QCOMPARE(saved.lines().size(), rates::LineCount);
        QVERIFY(readBytes(ratesFile()).endsWith("\r\n"));
        for (int n = 0; n < rates::TableLines; ++n)
            QCOMPARE(saved.line(n), lineOf(filled, n));

        for (int basis : {0, 1}) {
            p()->Netbrut->setItemIndex(basis);
            THoraire *h = win().Horaire;
            h->StringGrid1->item(1, 1)->setText("01/06/2026");
            h->StringGrid1->item(1, 6)->setText("08:00:00");
            h->totheur->setText("8");
            h->moan->setText("0626");
            SlipSheet *slip = basis == 0 ? static_cast<SlipSheet *>(win().Bulletin) : win().Bulletinbrut;
            showAndActivate(slip);
            QVERIFY(QTest::qWaitFor([slip] { return slip->shownSlip().has_value(); }));
            const SlipSheet::Shown &s = *slip->shownSlip();
            QCOMPARE(s.input.lineName, filled.names);
            QCOMPARE(basis == 0 ? s.input.netRate : s.input.grossRate, basis == 0 ? filled.net : filled.gross);
            const SlipResult computed = basis == 0 ? computeNetSlip(s.input) : computeGrossSlip(s.input);
            for (size_t k = 0; k < ContributionLines; ++k)
                QCOMPARE(slip->cs[k]->text(), *computed.cs[k]);
            slip->close();
            win().BO->hide();
        }
        QCOMPARE(m_shown, QStringList());
    }

    // Without its dated table the page says so where the note stands, and
    // the button says it again; a date before the table's first is unknown.
    void linesInForceUnknown()
    {
        QVERIFY(open());
        const QString missing = rtl::contributionTableMissing(m_dir.filePath(folder::contributionTable));
        QCOMPARE(p()->AvertTaux->text(), missing);
        QTest::mouseClick(p()->BaremeEnVigueur, Qt::LeftButton);
        QCOMPARE(m_shown, QStringList{missing});
        QTest::mouseClick(p()->Anul, Qt::LeftButton);

        const QString source = BERLIVO_SOURCE_DIR "/data/Cotisations.txt";
        QVERIFY(QFile::copy(source, m_dir.filePath(folder::contributionTable)));
        QVERIFY(open());
        const QDate first = legal::Contributions::load(source).firstDate();
        p()->DateBareme->setDate(first.addDays(-1));
        const QString before = p()->Edit12->text();
        QTest::mouseClick(p()->BaremeEnVigueur, Qt::LeftButton);
        QCOMPARE(m_shown.last(), ratesmsg::noneKnown(first.addDays(-1), first));
        QCOMPARE(p()->Edit12->text(), before);
    }

    void returningToTheOpenWindowKeepsTheScreen()
    {
        QVERIFY(open());
        type(p()->nom1, "Martin");
        QVERIFY(activate(win().AboutBox));
        QVERIFY(activate(p()));
        QCOMPARE(p()->nom1->text(), QString("Martin"));
    }

    void resetThenCancelKeepsTheFile()
    {
        QVERIFY(open());
        clickTab(2);
        type(p()->nom1, "Ancien");
        type(p()->PD, "");
        type(p()->Sp, "1.99");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        const QByteArray before = readBytes(paramFile());

        QVERIFY(open());
        clickTab(2);
        QCOMPARE(p()->nom1->text(), QString("Ancien"));
        QCOMPARE(p()->PD->text(), QString("0")); // an emptied amount shows "0"
        QTest::mouseClick(p()->raz, Qt::LeftButton);
        QCOMPARE(p()->nom1->text(), QString());
        QCOMPARE(p()->datenaiss->date(), m_now.date());
        QCOMPARE(p()->lineTick[5]->isChecked(), true);
        // The defaults are those of the child shown at the last OK.
        QCOMPARE(p()->PD->text(), QString("0"));
        QCOMPARE(p()->Sp->text(), QString("1.99"));
        QTest::mouseClick(p()->Anul, Qt::LeftButton);
        QCOMPARE(readBytes(paramFile()), before);
        QVERIFY(open());
        clickTab(2);
        QCOMPARE(p()->nom1->text(), QString("Ancien"));
    }

    void confirmedRateHoldsForEveryChild()
    {
        QVERIFY(open());
        type(p()->Edit12, "7.55");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QVERIFY(open());
        for (int tab = 0; tab < 5; ++tab) {
            clickTab(tab);
            QCOMPARE(p()->Edit12->text(), QString("7.55"));
        }
    }

    void rateChangedThenTabSwitchOrResetIsKept()
    {
        // The table is common to every child: neither another child nor a
        // reset brings the file's value back over a typed one.
        QVERIFY(open());
        type(p()->Edit12, "9.99");
        clickTab(1);
        QCOMPARE(p()->Edit12->text(), QString("9.99"));
        QTest::mouseClick(p()->raz, Qt::LeftButton);
        QCOMPARE(p()->Edit12->text(), QString("9.99"));
        clickTab(0);
        QCOMPARE(p()->Edit12->text(), QString("9.99"));
    }

    void netOrGrossBasis()
    {
        QVERIFY(open());
        clickItem(p()->Netbrut, 1);
        QVERIFY(!p()->SH->isVisible() && !p()->SH->isEnabled());
        QVERIFY(p()->SHbr->isVisible() && p()->SHbr->isEnabled());
        QVERIFY(p()->FJbr->isVisible() && !p()->FJ->isVisible());
        for (int i = 0; i < 9; ++i) {
            QVERIFY(!p()->netRate[i]->isEnabled());
            QVERIFY(p()->grossRate[i]->isEnabled());
            QVERIFY(p()->basePercent[i]->isEnabled());
        }
        type(p()->SHbr, "10.40");
        // Slot 2 on the net basis: shown at once with the net row and column.
        clickTab(1);
        QVERIFY(p()->SH->isVisible() && !p()->SHbr->isVisible());
        QVERIFY(p()->Edit1->isEnabled() && !p()->Edit10->isEnabled() && !p()->Edit19->isEnabled());
        clickTab(0);
        QCOMPARE(p()->Netbrut->itemIndex(), 1);
        QVERIFY(p()->SHbr->isVisible());
        QCOMPARE(p()->SHbr->text(), QString("10.40"));
        QVERIFY(!p()->Edit9->isEnabled() && p()->Edit30->isEnabled());
        // Leaving Netbrut also runs its rule.
        clickItem(p()->Netbrut, 0);
        QVERIFY(p()->SH->isVisible() && p()->Edit1->isEnabled() && !p()->Edit18->isEnabled());
    }

    void tickBoxesAndTheirFields()
    {
        QVERIFY(open());
        QTest::mouseClick(p()->Indentre, Qt::LeftButton);
        QVERIFY(p()->Indentr->isEnabled());
        clickItem(p()->Conges, 1);
        QVERIFY(!p()->conge->isEnabled());
        showPage(p()->CheckBox10);
        QTest::mouseClick(p()->CheckBox10, Qt::LeftButton);
        QTest::mouseClick(p()->CheckBox10, Qt::LeftButton);
        QVERIFY(!p()->du->isEnabled() && !p()->au->isEnabled());
        // An empty slot shown instead runs the rules of what changes.
        clickTab(1);
        QVERIFY(!p()->Indentr->isEnabled());
        QVERIFY(p()->conge->isEnabled());
        QVERIFY(!p()->du->isEnabled()); // CheckBox10 did not change: nothing ran

        // Entretien: ticking does nothing, a click on the group box applies.
        QTest::mouseClick(p()->CheckBox11, Qt::LeftButton);
        QVERIFY(p()->ETH->isEnabled() && p()->EFJ->isEnabled());
        QGroupBox *group = p()->Entretien;
        QLabel *euros = nullptr;
        for (QLabel *l : group->findChildren<QLabel *>())
            if (l->text() == "Euros")
                euros = l;
        QVERIFY(euros);
        QTest::mouseClick(euros, Qt::LeftButton);
        QVERIFY(p()->EFJ->isEnabled());
        QTest::mouseClick(group, Qt::LeftButton, {}, QPoint(4, group->height() - 4));
        QVERIFY(p()->ETH->isEnabled());
        QVERIFY(!p()->EFJ->isEnabled());
    }

    void leavingTheFirstNameRenamesTheTab()
    {
        QVERIFY(open());
        clickTab(3);
        type(p()->prenom3, "Zoé");
        QCOMPARE(p()->TabControl1->tabText(3), QString()); // shown: the slot's empty name
        leave(p()->prenom3);
        QCOMPARE(p()->TabControl1->tabText(3), QString("Zoé"));
        QCOMPARE(p()->TabControl1->tabToolTip(3), QString("Zoé"));
        QCOMPARE(p()->TabControl1->tabText(0), QString());
        // Going straight to another child renames the tab being left.
        type(p()->prenom3, "Noé");
        clickTab(0);
        QCOMPARE(p()->TabControl1->tabText(3), QString("Noé"));
        QCOMPARE(p()->currentSlot(), 1);
    }

    void enterConfirmsEscapeCancels()
    {
        QVERIFY(open());
        type(p()->nom1, "Entrée");
        QTest::keyClick(p()->nom1, Qt::Key_Return);
        QVERIFY(!p()->isVisible());
        QCOMPARE(storedText(readBytes(paramFile()), 1, 0), QByteArray("Entr\xe9"
                                                                      "e"));

        QVERIFY(open());
        type(p()->nom1, "Echap");
        QTest::keyClick(p()->nom1, Qt::Key_Escape);
        QVERIFY(!p()->isVisible());
        QVERIFY(win().Entree->isVisible());
        QCOMPARE(storedText(readBytes(paramFile()), 1, 0), QByteArray("Entr\xe9"
                                                                      "e"));

        // The close box cancels too.
        QVERIFY(open());
        p()->close();
        QVERIFY(!p()->isVisible());
        QVERIFY(win().Entree->isVisible());
    }

    void maskedFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("offset");
        QTest::newRow("cp1") << "cp1"
                             << "75011"
                             << "75 011" << 312;
        QTest::newRow("cp2") << "cp2"
                             << "13 008"
                             << "13 008" << 319;
        QTest::newRow("Tel1") << "Tel1"
                              << "01.23.45.67.89"
                              << "01.23.45.67.89" << 354;
        QTest::newRow("Tel2") << "Tel2"
                              << "0607080910"
                              << "06.07.08.09.10" << 369;
        QTest::newRow("Secu with key") << "Secu"
                                       << "185057800608436"
                                       << "1 85 05 78 006 084 -36" << 384;
        QTest::newRow("Secu without key") << "Secu"
                                          << "1850578006084"
                                          << "1 85 05 78 006 084 -  " << 384;
        QTest::newRow("urssaf") << "urssaf"
                                << "1234567890123"
                                << "12 34 567 890 123" << 407;
        QTest::newRow("untouched postcode") << "cp2"
                                            << ""
                                            << "      " << 319;
        QTest::newRow("untouched phone") << "Tel2"
                                         << ""
                                         << "  .  .  .  .  " << 369;
    }
    void maskedFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(int, offset);
        QVERIFY(open());
        auto *m = p()->findChild<MaskEdit *>(field);
        QVERIFY(m);
        showPage(m);
        m->setFocus();
        keys(m, typed);
        leave(m);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        QCOMPARE(m->maskedText(), text);
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QCOMPARE(QString::fromLatin1(storedText(readBytes(paramFile()), 1, offset)), text);
    }

    void incompleteMaskedField()
    {
        QVERIFY(open());
        // Shown and left untouched: never checked.
        showPage(p()->cp1);
        p()->cp1->setFocus();
        leave(p()->cp1);
        QVERIFY(m_shown.isEmpty());

        p()->Tel1->setFocus();
        keys(p()->Tel1, "0123");
        leave(p()->Tel1);
        QTRY_COMPARE(m_shown,
                     QStringList{"Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications"});
        QVERIFY(p()->Tel1->hasFocus());
        QCOMPARE(p()->Tel1->cursorPosition(), 6);

        // Even from another page, the field's page comes back.
        p()->Paramtr->setCurrentIndex(2);
        QCoreApplication::processEvents();
        QTRY_COMPARE(m_shown.size(), 2);
        QCOMPARE(p()->Paramtr->currentIndex(), 0);
        QVERIFY(p()->Tel1->hasFocus());

        // Escape undoes the change instead of closing the window.
        QTest::keyClick(p()->Tel1, Qt::Key_Escape);
        QVERIFY(p()->isVisible());
        QCOMPARE(p()->Tel1->maskedText(), QString("  .  .  .  .  "));
        leave(p()->Tel1);
        QCOMPARE(m_shown.size(), 2);
        // Escape with nothing to undo cancels the window.
        p()->Tel1->setFocus();
        QTest::keyClick(p()->Tel1, Qt::Key_Escape);
        QVERIFY(!p()->isVisible());
    }

    void ratesFileMissingKeepsTheChildren()
    {
        QVERIFY(open());
        for (int c = 0; c < SlotCount; ++c) {
            clickTab(c);
            type(p()->prenom3, QStringLiteral("Enfant%1").arg(c + 1));
            type(p()->nom1, QStringLiteral("Nounou%1").arg(c + 1));
        }
        clickTab(0);
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        const QByteArray before = readBytes(paramFile());
        QVERIFY(QFile::remove(ratesFile()));

        QVERIFY(open());
        QCOMPARE(m_shown, QStringList{"Impossible d'ouvrir le fichier " + QDir::toNativeSeparators(ratesFile())});
        QCOMPARE(p()->nom1->text(), QString("Nounou1")); // the children are read all the same
        QCOMPARE(p()->TabControl1->tabText(4), QString("Enfant5"));
        QCOMPARE(p()->StaticText5->text(), QString()); // the table shows empty
        QCOMPARE(p()->Edit12->text(), QString());
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QCOMPARE(m_shown.size(), 1);

        // Field by field, every record as it was; the child shown now holds
        // the contribution table as shown: empty.
        const QByteArray after = readBytes(paramFile());
        QCOMPARE(after.size(), 5680);
        for (int slot = 1; slot <= SlotCount; ++slot) {
            ParamRecord was = paramrecord::decode(before.mid((slot - 1) * 1136, 1136));
            const ParamRecord is = paramrecord::decode(after.mid((slot - 1) * 1136, 1136));
            for (const paramrecord::TextField &f : paramrecord::textFields()) {
                const int line = rates::lineOfField(f.name);
                const bool table = line >= 0 && line < rates::TableLines;
                QCOMPARE(f.ref(const_cast<ParamRecord &>(is)), slot == 1 && table ? QString() : f.ref(was));
                if (slot == 1 && table)
                    f.ref(was).clear();
            }
            QCOMPARE(paramrecord::encode(is), paramrecord::encode(was)); // dates, titles, ticks
        }
        // The rates file as shown: an empty table, the shown child's wages.
        const QList<QByteArray> lines = readBytes(ratesFile()).split('\n');
        QCOMPARE(lines.size(), 49);
        QCOMPARE(lines.at(4), QByteArray("\r"));
        QCOMPARE(lines.at(42), QByteArray("0.76\r"));
    }

    void damagedParameterFileKeptAsBackup()
    {
        QVERIFY(open());
        type(p()->nom1, "Premier");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QFile f(paramFile());
        QVERIFY(f.resize(1135));
        const QByteArray damaged = readBytes(paramFile());
        QVERIFY(open());
        QCOMPARE(m_shown, QStringList{"Lecture au-delà de la fin de fichier"});
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(readBytes(paramFile() + ".bak"), damaged);
        QCOMPARE(readBytes(paramFile()).size(), 5680);
        QVERIFY(!QFile::exists(ratesFile() + ".bak")); // that one was read
    }

    void typedRateSurvivesSwitchingChildren()
    {
        QVERIFY(open());
        type(p()->Edit12, "7.77");
        clickTab(1);
        QCOMPARE(p()->Edit12->text(), QString("7.77"));
        clickTab(0);
        QCOMPARE(p()->Edit12->text(), QString("7.77"));
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QVERIFY(m_shown.isEmpty());
        QCOMPARE(readBytes(ratesFile()).split('\n').at(20), QByteArray("7.77\r"));
        const QByteArray params = readBytes(paramFile());
        for (int slot : {1, 2}) // the two children shown
            QCOMPARE(storedText(params, slot, 573 + 7 * 2), QByteArray("7.77"));
        // "&Annule" drops the edit: the window shows the file again.
        type(p()->Edit12, "8.88");
        QTest::mouseClick(p()->Anul, Qt::LeftButton);
        QVERIFY(open());
        QCOMPARE(p()->Edit12->text(), QString("7.77"));
    }

    void parameterFileCutShort()
    {
        QVERIFY(open());
        type(p()->nom1, "Premier");
        clickTab(1);
        type(p()->nom1, "Second");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QFile f(paramFile());
        QVERIFY(f.resize(1136 + 600));
        QVERIFY(open());
        QCOMPARE(m_shown, QStringList{"Lecture au-delà de la fin de fichier"});
        // Child 1, read before the error, is shown.
        QCOMPARE(p()->TabControl1->currentIndex(), 0);
        QCOMPARE(p()->nom1->text(), QString("Premier"));
    }

    void typedDatesAreStoredAsShown()
    {
        QVERIFY(open());
        showPage(p()->datenaiss);
        QTest::mouseClick(p()->datenaiss, Qt::LeftButton, {}, QPoint(6, p()->datenaiss->height() / 2));
        QTest::keyClicks(p()->datenaiss, "2/9/2023");
        QCOMPARE(p()->datenaiss->date(), QDate(2023, 9, 2));
        QTest::keyClicks(p()->datenaiss, "31022023"); // refused: the date stays
        QCOMPARE(p()->datenaiss->text(), QString("02/09/2023"));
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        const QByteArray params = readBytes(paramFile());
        double stored = 0;
        memcpy(&stored, params.constData() + 432, 8);
        QCOMPARE(fromDateNumber(stored).date(), QDate(2023, 9, 2));
    }

    void writeFailures()
    {
        // A read-only parameter file reads as none; OK then cannot replace
        // it, and the rates file is not replaced either.
        QVERIFY(open());
        type(p()->nom1, "Protégé");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        const QByteArray params = readBytes(paramFile()), rates = readBytes(ratesFile());
        QVERIFY(QFile::setPermissions(paramFile(), QFileDevice::ReadOwner));
        QVERIFY(open());
        QCOMPARE(p()->nom1->text(), QString());
        type(p()->Edit12, "7.77");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QCOMPARE(m_shown, QStringList{"Accès au fichier refusé"});
        QVERIFY(p()->isVisible());
        QCOMPARE(readBytes(paramFile()), params);
        QCOMPARE(readBytes(ratesFile()), rates);

        // A rates file that cannot be replaced: neither file is.
        QVERIFY(QFile::setPermissions(paramFile(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(ratesFile(), QFileDevice::ReadOwner));
        type(p()->nom1, "Bloqué");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QCOMPARE(m_shown.size(), 2);
        QCOMPARE(m_shown.last(), QString("Accès au fichier refusé"));
        QVERIFY(p()->isVisible());
        QCOMPARE(readBytes(paramFile()), params);
        QCOMPARE(readBytes(ratesFile()), rates);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void fullDiskReplacesNeitherFile()
    {
        SmallDisk disk(64);
        if (!disk.isMounted())
            SKIP_UNLESS_CI(disk.reason());
        setProgramFolder(disk.path());
        const auto back = qScopeGuard([this] { setProgramFolder(m_dir.path()); });
        QVERIFY(copyFirstRates(disk.path() + "/Taux.txt"));
        QVERIFY(open());
        type(p()->nom1, "Avant");
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QVERIFY(m_shown.isEmpty());
        const QByteArray params = readBytes(disk.path() + "/Paramtre.bvp"),
                         rates = readBytes(disk.path() + "/Taux.txt");
        QCOMPARE(params.size(), 5680);

        QVERIFY(open());
        type(p()->nom1, "Après");
        type(p()->Edit12, "7.77");
        QVERIFY(disk.fillLeaving(4096));
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QCOMPARE(m_shown, QStringList{"Disque plein"});
        QVERIFY(p()->isVisible());
        QCOMPARE(readBytes(disk.path() + "/Paramtre.bvp"), params);
        QCOMPARE(readBytes(disk.path() + "/Taux.txt"), rates);
    }

    // The notes of the legal minimums follow the wage and the maintenance
    // allowances as they are typed, in force on the clock's day; nothing is
    // blocked and what is stored stays as typed. Each note is the unit's line.
    void minimumsNotes_data()
    {
        QTest::addColumn<int>("basis");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("note");
        const legal::Table t = legal::Table::load(BERLIVO_SOURCE_DIR "/data/Baremes.txt");
        const QDate today = m_now.date();
        const std::array<QString, ContributionLines> &firstRates = shippedRates().net;
        QTest::newRow("3.50 gross warns with 3.64") << 1 << "SHbr"
                                                    << "3.50" << legal::wageWarning(t, moneyFromText("3.50"), today);
        QTest::newRow("3.64 gross is the minimum") << 1 << "SHbr"
                                                   << "3.64"
                                                   << "";
        QTest::newRow("2.80 net carried to gross")
            << 0 << "SH"
            << "2.80"
            << legal::wageWarning(t, grossOfNet(moneyFromText("2.80"), firstRates), today, moneyFromText("2.80"));
        QTest::newRow("2.90 net is 3.67 gross") << 0 << "SH"
                                                << "2.90"
                                                << "";
        QTest::newRow("not a number: no note") << 1 << "SHbr"
                                               << "trois"
                                               << "";
        QTest::newRow("0.33 an hour of maintenance")
            << 0 << "ETH"
            << "0.33" << legal::hourlyUpkeepWarning(t, moneyFromText("0.33"), today);
        QTest::newRow("2.50 a day of maintenance")
            << 0 << "EFJ"
            << "2.50" << legal::dailyUpkeepWarning(t, moneyFromText("2.50"), today);
    }
    void minimumsNotes()
    {
        QFETCH(int, basis);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, note);
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", m_dir.filePath(folder::legalTable)));
        QVERIFY(open());
        clickItem(p()->Netbrut, basis);
        p()->CheckBox11->setChecked(true);
        p()->CheckBox12->setChecked(true);
        p()->SH->setText("3.00");
        p()->SHbr->setText("4.00");
        p()->ETH->setText("0.50");
        p()->EFJ->setText("4.00");
        QVERIFY(p()->AvertSalaire->isHidden() && p()->AvertEntretien->isHidden());
        auto *edit = p()->findChild<QLineEdit *>(field);
        type(edit, typed);
        QLabel *shown = field.startsWith('E') ? p()->AvertEntretien : p()->AvertSalaire;
        QCOMPARE(shown->text(), note);
        QCOMPARE(shown->isVisible(), !note.isEmpty());
        QCOMPARE(shown->palette().color(QPalette::WindowText), look::warning);
        if (!note.isEmpty())
            screenshot(QStringLiteral("parametres-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
        QCOMPARE(edit->text(), typed);
        QTest::mouseClick(p()->OK, Qt::LeftButton);
        QVERIFY(!p()->isVisible());
        // A text that is not a number is refused on leaving: the field kept what it held.
        QVERIFY(readBytes(paramFile()).contains(tryParseFloat(typed) ? typed.toLatin1() : QByteArray("4.00")));
    }

    void damagedLegalTableIsSaid()
    {
        writeBytes(m_dir.filePath(folder::legalTable), "BERLIVO VALEURS LEGALES;1;0\nsmic;1;2026-01-01;x\n");
        QVERIFY(open());
        clickItem(p()->Netbrut, 1);
        type(p()->SHbr, "1.00");
        QCOMPARE(p()->AvertSalaire->text(),
                 rtl::legalTableDamaged(m_dir.filePath(folder::legalTable), 2, "clé inconnue « smic »"));
        QVERIFY(m_shown.isEmpty());
    }
};

QTEST_MAIN(TestParametres)
#include "tst_parameterswindow.moc"
