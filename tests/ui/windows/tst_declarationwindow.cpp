// The declaration window shows what the declaration unit derives from the
// windows as they stand, and each button copies exactly its figure.

#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "legal/minimums.h"
#include "payslip/declaration.h"
#include "widgets/radiogroup.h"
#include "windows/declarationwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/parameterswindow.h"
#include "windows/slipsheet.h"
#include "windows/windowset.h"

#include "testfiles.h"
#include "windowtest.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>

class TestDeclarationWindow : public WindowTest {
    Q_OBJECT
private:
    static TDeclaration *decl() { return win().Declaration; }
    static THoraire *hours() { return win().Horaire; }

    // One day typed in the hours window, then "&Suivant".
    static void enterDay(const QDate &date, QTime from, QTime to, bool flat = false)
    {
        QTest::mouseClick(hours()->Date, Qt::LeftButton);
        hours()->Date->setDate(date);
        QTest::mouseClick(hours()->H1, Qt::LeftButton);
        hours()->H1->setTime(from);
        QTest::mouseClick(hours()->H2, Qt::LeftButton);
        hours()->H2->setTime(to);
        if (flat)
            QTest::mouseClick(hours()->FJ, Qt::LeftButton);
        QTest::mouseClick(hours()->Suiv, Qt::LeftButton);
    }

    static Declaration expected(bool gross)
    {
        const SlipInput in = gatherSlipInput();
        return declarationFor(in, gross ? computeGrossSlip(in) : computeNetSlip(in), gross);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2007, 4, 30), QTime(9, 30)}, WithRates));
        // The table is kept from one case to the next: a month validated
        // again replaces the earlier one.
        setChoiceSink([](const Choice &) { return 0; });
        QVERIFY(DayTable::createEmpty(m_dir.filePath("Enf1.db")));
    }
    void init()
    {
        openWindows();
        // A child filled with the rates file's defaults, as after "&Parametrer".
        QVERIFY(activate(win().Parametres));
        TParametres *p = win().Parametres;
        p->prenom3->setText("Julie");
        p->SH->setText("3.00");
        p->FJ->setText("30");
        p->SHbr->setText("3.90");
        p->FJbr->setText("39");
        win().Parametres->OK->click();
        QVERIFY(activate(hours()));
    }
    void cleanup() { destroyWindows(); }

    void saysWhyBeforeAMonthIsValidated()
    {
        win().Entree->Declaration1->trigger();
        QVERIFY(QTest::qWaitForWindowActive(decl()));
        QCOMPARE(decl()->prenom->text(), QString("Julie"));
        QVERIFY(decl()->Message->text().startsWith("Aucun mois n'a été validé"));
        QVERIFY(!decl()->ToutCopier->isEnabled());
        QVERIFY(m_shown.isEmpty());
    }

    // The hours window opened again empties its sheet and total: Ctrl+D then
    // says plainly that no month is validated, as before any validation.
    void saysWhyAfterTheSheetWasEmptied()
    {
        enterDay(QDate(2007, 4, 2), QTime(8, 0), QTime(17, 13));
        QTest::mouseClick(hours()->BitBtn3, Qt::LeftButton);
        hours()->hide();
        QVERIFY(activate(hours())); // opened again, as "&Calculer le salaire" does
        QCOMPARE(hours()->cell(1, 2), QString());
        QVERIFY(activate(win().Entree));
        QTest::keyClick(win().Entree, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(QTest::qWaitForWindowActive(decl()));
        QVERIFY2(decl()->Message->text().startsWith("Aucun mois n'a été validé"), qPrintable(decl()->Message->text()));
        QVERIFY(!decl()->ToutCopier->isEnabled());
        QVERIFY(m_shown.isEmpty());
    }

    void figuresOfAValidatedMonthCopied_data()
    {
        QTest::addColumn<int>("basis");
        QTest::newRow("net") << 0;
        QTest::newRow("gross") << 1;
    }
    void figuresOfAValidatedMonthCopied()
    {
        QFETCH(int, basis);
        win().Parametres->Netbrut->setItemIndex(basis);
        enterDay(QDate(2007, 4, 2), QTime(8, 0), QTime(17, 13));
        enterDay(QDate(2007, 4, 3), QTime(7, 45), QTime(12, 0));
        enterDay(QDate(2007, 4, 4), QTime(0, 0), QTime(0, 0), true);
        QTest::mouseClick(hours()->BitBtn3, Qt::LeftButton);
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));

        win().Entree->Declaration1->trigger();
        QVERIFY(QTest::qWaitForWindowActive(decl()));
        const Declaration d = expected(basis == 1);
        QVERIFY2(d.complete(), qPrintable(d.failure));
        QVERIFY(decl()->Message->isHidden());
        QCOMPARE(d.figures[2].value, QString("3")); // two days with hours, one flat-rate day
        // A month paid by the hour has eight rows; the two rows of a
        // contract's extra hours stay out of sight.
        QCOMPARE(d.figures.size(), 8);
        for (int i = 8; i < TDeclaration::FigureCount; ++i)
            QVERIFY(decl()->Valeur[i]->isHidden() && decl()->Libelle[i]->isHidden());
        for (int i = 0; i < d.figures.size(); ++i) {
            QCOMPARE(decl()->Libelle[i]->text(), d.figures[i].label);
            QCOMPARE(decl()->Valeur[i]->text(), d.figures[i].value);
            QTest::mouseClick(decl()->Copier[i], Qt::LeftButton);
            QCOMPARE(QGuiApplication::clipboard()->text(), d.figures[i].value);
        }
        QTest::mouseClick(decl()->ToutCopier, Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), declarationText(d));
    }

    // The month declared gets the note of the legal minimums in force that
    // month, as the unit words it: a gross wage and a 9-hour day's
    // maintenance allowance below them, then at them.
    void minimumsOfTheMonth_data()
    {
        QTest::addColumn<QString>("wage");
        QTest::addColumn<QString>("upkeep");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("below") << "3.50"
                               << "3.00" << QStringList{"3.64", "3.83", "le 02/03/2026 : 3.00 € pour 9 h"};
        QTest::newRow("at the minimums") << "3.64"
                                         << "3.83" << QStringList{};
    }
    void minimumsOfTheMonth()
    {
        QFETCH(QString, wage);
        QFETCH(QString, upkeep);
        QFETCH(QStringList, parts);
        QVERIFY(QFile::copy(BERLIVO_SOURCE_DIR "/data/Baremes.txt", m_dir.filePath(folder::legalTable)));
        TParametres *p = win().Parametres;
        p->Netbrut->setItemIndex(1);
        p->SHbr->setText(wage);
        p->CheckBox11->setChecked(false);
        p->CheckBox12->setChecked(true);
        p->EFJ->setText(upkeep);
        enterDay(QDate(2026, 3, 2), QTime(8, 0), QTime(17, 0), true);
        QTest::mouseClick(hours()->BitBtn3, Qt::LeftButton);
        win().Entree->Declaration1->trigger();
        QVERIFY(QTest::qWaitForWindowActive(decl()));
        const QString note =
            legal::monthWarnings(legal::Table::load(m_dir.filePath(folder::legalTable)), gatherSlipInput(), true)
                .join('\n');
        QCOMPARE(decl()->Avertissement->text(), note);
        QCOMPARE(decl()->Avertissement->isVisible(), !parts.isEmpty());
        screenshot(QStringLiteral("declaration-%1").arg(QTest::currentDataTag()).replace(' ', '-'));
        for (const QString &part : parts)
            QVERIFY2(QString(note).replace(QChar(0xa0), ' ').contains(part), qPrintable(note));
        QFile::remove(m_dir.filePath(folder::legalTable));
        QVERIFY(m_shown.isEmpty());
    }
};

QTEST_MAIN(TestDeclarationWindow)
#include "tst_declarationwindow.moc"
