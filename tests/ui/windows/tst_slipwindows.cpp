// The two slip windows: what they read from the parameters and hours
// windows, what they show, and how a slip that stops on a bad text looks.

#include "windows/mainwindow.h"
#include "widgets/radiogroup.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "attendance/daytable.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "windows/printsavewindow.h"
#include "windows/netslipwindow.h"
#include "windows/grossslipwindow.h"
#include "legal/contributions.h"
#include "payslip/money.h"
#include "windows/parameterswindow.h"
#include "widgets/maskedit.h"
#include "widgets/application.h"

#include "shippedrates.h"
#include "testfiles.h"
#include "windowtest.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>

namespace {
// Counts the times a window becomes the active one.
class ActivationCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        count += e->type() == QEvent::WindowActivate;
        return false;
    }
};

using Snapshot = QMap<QString, QString>;
} // namespace

class TestSlipWindows : public WindowTest {
    Q_OBJECT
private:
    static TParametres *params() { return win().Parametres; }
    static THoraire *hours() { return win().Horaire; }

    // Another window to switch to, one whose activation changes nothing.
    QWidget *m_elsewhere = nullptr;
    ActivationCounter m_slipActivations;

    // Makes the slip the active window, as the user coming to it does. The
    // offscreen platform then hands the activation on to the print/save
    // window the slip shows, so what counts is that the slip got it.
    bool activate(SlipSheet *slip)
    {
        slip->installEventFilter(&m_slipActivations);
        const int before = m_slipActivations.count;
        showAndActivate(slip);
        return QTest::qWaitFor([&] { return m_slipActivations.count > before; });
    }
    // Activates another window, then the slip again.
    bool reactivate(SlipSheet *slip) { return WindowTest::activate(m_elsewhere) && activate(slip); }

    static void setCell(int col, int row, const QString &text)
    {
        QTableWidget *grid = hours()->StringGrid1;
        if (QTableWidgetItem *item = grid->item(row, col))
            item->setText(text);
        else
            grid->setItem(row, col, new QTableWidgetItem(text));
    }

    // The parameters a slot starts with, and the hours window as a validation
    // of March 2002 leaves it: 80 hours, flat-rate days on the 4th and 5th,
    // four lunches.
    static void enterMonth()
    {
        TParametres *p = params();
        p->prenom3->setText("Julie");
        p->nom3->setText("Martin");
        p->pol1->setItemIndex(1);
        p->pol2->setItemIndex(2);
        p->nom1->setText("Durand");
        p->prenom1->setText("Anne");
        p->Adr11->setText("12 rue des Lilas");
        p->Ville1->setText("Lyon");
        p->nom2->setText("Martin");
        p->prenom2->setText("Paul");
        p->ville2->setText("Villeurbanne");
        const ContributionTable &table = shippedRates();
        for (size_t k = 0; k < table.names.size(); ++k) {
            p->lineName[k]->setText(table.names[k]);
            p->netRate[k]->setText(table.net[k]);
            p->grossRate[k]->setText(table.gross[k]);
            p->basePercent[k]->setText(table.bases[k]);
        }
        p->SH->setText("3.00");
        p->FJ->setText("30");
        p->SHbr->setText("4.00");
        p->FJbr->setText("0");
        p->Indentr->setText("2");
        p->Indentre->setChecked(false);
        p->CheckBox10->setChecked(true);
        p->du->setDate(QDate(2002, 3, 18));
        p->au->setDate(QDate(2002, 3, 22));
        p->CheckBox11->setChecked(false);
        p->CheckBox12->setChecked(false);
        p->ETH->setText("");
        p->EFJ->setText("");
        for (QLineEdit *e : {p->diverse, p->abs, p->accpte})
            e->setText("0");
        p->PD->setText("0.76");
        p->D->setText("2.29");
        p->G->setText("0.76");
        p->Sp->setText("1.52");

        for (int row = 1; row <= 31; ++row)
            for (int col = 1; col <= 12; ++col)
                setCell(col, row, QString());
        for (int day : {1, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15})
            setCell(1, day, QStringLiteral("%1/03/2002").arg(day, 2, 10, QChar('0')));
        for (int day : {1, 6, 7, 8, 11, 12, 13, 14, 15})
            setCell(6, day, day == 1 ? "08:00:00" : "09:00:00");
        setCell(7, 4, "OUI");
        setCell(7, 5, "OUI");
        for (int day : {6, 7, 11, 12})
            setCell(9, day, "Déj");
        hours()->totheur->setText("80");
        hours()->moan->setText("0302");
    }

    // Every value label of a slip and every cell of its day grid.
    static Snapshot snapshot(SlipSheet *slip)
    {
        Snapshot s;
        for (QLabel *l : slip->findChildren<QLabel *>())
            if (!l->objectName().isEmpty())
                s.insert(l->objectName(), l->text());
        for (int row = 0; row <= 31; ++row)
            for (int col = 0; col < 3; ++col)
                s.insert(QStringLiteral("Grille[%1,%2]").arg(col).arg(row), slip->gridCell(col, row));
        return s;
    }

    static QString label(QWidget *slip, const char *name)
    {
        auto *l = slip->findChild<QLabel *>(QString::fromLatin1(name));
        return l ? l->text() : QStringLiteral("<no label %1>").arg(name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(start({QDate(2002, 4, 2), QTime(9, 30)}, WithRates));
        // The faces the program shows its sheets in, as it sets them up.
        installFontSubstitutes();
    }
    void init()
    {
        openWindows();
        m_elsewhere = new QWidget;
        m_elsewhere->resize(100, 100);
        m_slipActivations.count = 0;
        enterMonth();
    }
    void cleanup()
    {
        delete m_elsewhere;
        destroyWindows();
    }

    void sheets()
    {
        struct Sheet {
            SlipSheet *window;
            QString name, caption;
            QSize size;
            QList<int> columns;
            QStringList own;
            int euros;
        };
        const QList<Sheet> sheets = {
            {win().Bulletin, "TBulletin", "Bulletin de Salaire", {750, 834}, {50, 36, 53}, {"Ed1", "Ed9"}, 18},
            {win().Bulletinbrut,
             "TBulletinbrut",
             "Bulletin de salaire brut",
             {747, 834},
             {50, 34, 54},
             {"salbrut", "salimp", "Ed10", "Ed18", "Ed19", "Ed20", "Ed23", "Ed25", "Ed30"},
             20},
        };
        const QStringList common = {"mois",  "an",      "prenom", "nom",   "pol1",  "prenom1", "nom1", "adr11",
                                    "adr12", "cp1",     "ville1", "secu1", "pol2",  "prenom2", "nom2", "adr21",
                                    "adr22", "cp2",     "ville2", "secu2", "du",    "au",      "St1",  "St9",
                                    "Date",  "totheur", "nbjf",   "feri1", "feri2", "salnet",  "Cong", "abs",
                                    "diver", "cs1",     "cs9",    "totcs", "nour",  "entret",  "acpt", "net"};
        for (const Sheet &s : sheets) {
            QCOMPARE(s.window->objectName(), s.name);
            QCOMPARE(s.window->windowTitle(), s.caption);
            QCOMPARE(s.window->size(), s.size);
            QVERIFY(!(s.window->windowFlags() & Qt::WindowCloseButtonHint));
            QVERIFY(!(s.window->windowFlags() & Qt::WindowSystemMenuHint));
            for (const QString &name : common + s.own)
                QCOMPARE(label(s.window, qPrintable(name)), name); // design-time caption: its own name
            int euros = 0;
            for (QLabel *l : s.window->findChildren<QLabel *>())
                euros += l->text() == QStringLiteral("€");
            QCOMPARE(euros, s.euros);
            auto *grid = s.window->findChild<QTableWidget *>("Grille");
            QVERIFY(grid);
            QCOMPARE(grid->geometry().size(), QSize(145, 457));
            for (int c = 0; c < 3; ++c)
                QCOMPARE(grid->columnWidth(c), s.columns[c]);
            QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
            QCOMPARE(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
        }
        auto *netSheet = win().Bulletin;
        QCOMPARE(netSheet->findChild<QLabel *>("salnet")->pos(), QPoint(368, 312));
        QCOMPARE(netSheet->findChild<QLabel *>("cs4")->pos(), QPoint(552, 480));
        QCOMPARE(netSheet->findChild<QTableWidget *>("Grille")->pos(), QPoint(16, 272));
        auto *grossSheet = win().Bulletinbrut;
        QCOMPARE(grossSheet->findChild<QLabel *>("salnet")->pos(), QPoint(432, 600));
        QCOMPARE(grossSheet->findChild<QLabel *>("Ed25")->pos(), QPoint(352, 472));
        QCOMPARE(grossSheet->findChild<QLabel *>("salimp")->pos(), QPoint(560, 752));
    }

    // Each text of both slips fits its room: no two texts of a line meet,
    // none runs out of its box or off the sheet, none is cut.
    void textsFitTheirRoom_data()
    {
        QTest::addColumn<QString>("lineName");
        QTest::newRow("default names") << "";
        QTest::newRow("longest default name on every line") << "Retraite complémentaire IRCEM :";
        QTest::newRow("lines in force") << "Cotisations.txt";
    }
    void textsFitTheirRoom()
    {
        QFETCH(QString, lineName);
        if (lineName == "Cotisations.txt") {
            // Every row the dated table fills, the local scheme's included.
            const legal::RateRows r = legal::rowsOf(
                legal::Contributions::load(BERLIVO_SOURCE_DIR "/data/Cotisations.txt").inForce(QDate(2026, 1, 1), true));
            for (size_t k = 0; k < r.names.size(); ++k) {
                params()->lineName[k]->setText(r.names[k]);
                params()->netRate[k]->setText(r.net[k]);
                params()->grossRate[k]->setText(r.gross[k]);
                params()->basePercent[k]->setText(r.bases[k]);
            }
        } else if (!lineName.isEmpty()) {
            for (QLabel *name : params()->lineName)
                name->setText(lineName);
        }
        for (int basis : {0, 1}) {
            params()->Netbrut->setItemIndex(basis);
            SlipSheet *slip = basis == 0 ? static_cast<SlipSheet *>(win().Bulletin) : win().Bulletinbrut;
            QVERIFY(activate(slip));
            QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
            QList<QRect> texts, boxes;
            for (QWidget *w : slip->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (w->metaObject() == &QFrame::staticMetaObject)
                    boxes << w->geometry();
                else if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty())
                    texts << QRect(l->pos(), QSize(QFontMetrics(l->font()).horizontalAdvance(l->text()), l->height()));
            }
            for (const QRect &t : texts) {
                QVERIFY(t.right() < slip->width());
                for (const QRect &b : boxes)
                    if (b.contains(t.topLeft() + QPoint(0, 2)))
                        QVERIFY2(t.right() < b.right(), qPrintable(QStringLiteral("%1 past its box").arg(t.x())));
                for (const QRect &o : texts)
                    if (o != t && qAbs(o.center().y() - t.center().y()) < 6 && o.left() > t.left())
                        QVERIFY2(
                            t.right() < o.left(),
                            qPrintable(QStringLiteral("text at %1,%2 runs into %3").arg(t.x()).arg(t.y()).arg(o.x())));
            }
            for (int c = 0; c < 3; ++c)
                QVERIFY(QFontMetrics(slip->Grille->horizontalHeaderItem(c)->font())
                            .horizontalAdvance(slip->gridCell(c, 0)) <= slip->Grille->columnWidth(c) - 2);
            for (int k = 0; k < 9; ++k) {
                QCOMPARE(slip->St[k]->text(), params()->lineName[k]->text()); // whole
                QVERIFY(slip->St[k]->font().pointSizeF() >= 5.0);
            }
            if (const QByteArray shots = qgetenv("BERLIVO_SHOTS"); !shots.isEmpty())
                slip->grab().save(QStringLiteral("%1/%2-%3.png")
                                      .arg(QString::fromLocal8Bit(shots), slip->objectName(),
                                           lineName.isEmpty()                ? "default"
                                           : lineName == "Cotisations.txt" ? "in-force"
                                                                           : "longest"));
            slip->hide();
            win().BO->hide();
        }
    }

    void netSlip()
    {
        TBulletin *slip = win().Bulletin;
        QVERIFY(activate(slip));
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        const QList<QPair<const char *, QString>> expected = {
            {"mois", "Mars"},
            {"an", "2002"},
            {"prenom", "Julie"},
            {"nom", "Martin"},
            {"pol1", "Mademoiselle"},
            {"pol2", "Mademoiselle"},
            {"prenom1", "Anne"},
            {"adr11", "12 rue des Lilas"},
            {"ville1", "Lyon"},
            {"prenom2", "Paul"},
            {"ville2", "Villeurbanne"},
            {"cp1", params()->cp1->maskedText()},
            {"secu1", params()->Secu->maskedText()},
            {"secu2", params()->urssaf->maskedText()},
            {"du", "18/03/2002"},
            {"au", "22/03/2002"},
            {"Date", "02/04/2002"},
            {"St5", "Retraite complémentaire IRCEM :"},
            {"Ed1", "0.0348"},
            {"Ed7", "0.0"},
            {"totheur", "80"},
            {"nbjf", "2"},
            {"feri1", "0"},
            {"feri2", "0"},
            {"salnet", "330.00"},
            {"Cong", "30.00"},
            {"abs", "0.00"},
            {"diver", "0.00"},
            {"cs1", "11.48"},
            {"cs4", "8.74"},
            {"cs9", "0.00"},
            {"totcs", "87.18"},
            {"nour", "9.16"},
            {"entret", "0.00"},
            {"acpt", "0.00"},
            {"net", "339.16"},
        };
        for (const auto &[name, text] : expected)
            QCOMPARE(label(slip, name), text);
        QCOMPARE(slip->gridCell(0, 0), "Dates");
        QCOMPARE(slip->gridCell(1, 0), "Forfait");
        QCOMPARE(slip->gridCell(2, 0), "Heures");
        QCOMPARE(slip->gridCell(0, 1), "01/03/2002");
        QCOMPARE(slip->gridCell(2, 1), "08:00:00");
        QCOMPARE(slip->gridCell(1, 4), "X");
        QCOMPARE(slip->gridCell(2, 4), "");
        QCOMPARE(slip->gridCell(0, 31), "");
        QVERIFY(win().BO->isVisible());
    }

    void grossSlip()
    {
        params()->Netbrut->setItemIndex(1);
        TBulletinbrut *slip = win().Bulletinbrut;
        QVERIFY(activate(slip));
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));
        const QList<QPair<const char *, QString>> expected = {
            {"salbrut", "352.00"}, {"Cong", "32.00"},    {"Ed10", "2.90"},     {"Ed19", "95"},
            {"Ed23", "100"},       {"Ed18", "0.00"},     {"cs1", "9.70"},      {"cs2", "17.05"},
            {"cs6", "2.82"},       {"totcs", "73.57"},   {"salnet", "278.43"}, {"nour", "9.16"},
            {"net", "287.59"},     {"salimp", "288.13"}, {"nbjf", "2"},        {"mois", "Mars"},
        };
        for (const auto &[name, text] : expected)
            QCOMPARE(label(slip, name), text);
        QCOMPARE(slip->gridCell(1, 5), "X");
        QVERIFY(win().BO->isVisible());
    }

    // Coming back to a slip works it out again from the windows as they
    // stand: the same inputs give the same slip, a changed one shows.
    void reactivation()
    {
        TBulletin *slip = win().Bulletin;
        QVERIFY(activate(slip));
        const Snapshot first = snapshot(slip);
        QVERIFY(reactivate(slip));
        QCOMPARE(snapshot(slip), first);
        // Showing the print/save window hands nothing back to the slip: no
        // event still queued (the program sets no timer) brings it back.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(m_slipActivations.count, 2);

        params()->accpte->setText("1000");
        QVERIFY(reactivate(slip));
        QCOMPARE(label(slip, "acpt"), "1 000.00");
        QCOMPARE(label(slip, "net"), "-660.84");
        QCOMPARE(label(slip, "salnet"), "330.00");
        QVERIFY(m_shown.isEmpty());
    }

    // A slip that stops on a text shows the runtime's message and does not
    // pass for complete: what it did not reach is emptied, and it can be
    // neither printed nor saved until an activation goes through.
    void stoppedSlip_data()
    {
        QTest::addColumn<bool>("gross");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("filled");
        QTest::addColumn<QStringList>("emptied");
        const QString notFloat = "'%1' n'est pas une valeur en virgule flottante correcte";
        QTest::newRow("empty flat rate") << false << "FJ"
                                         << ""
                                         << "Forfait journalier (NET) : " + notFloat.arg("")
                                         << QStringList{"totheur", "nbjf", "feri1", "feri2", "Date", "mois"}
                                         << QStringList{"salnet", "Cong", "abs", "cs1", "totcs", "nour", "net"};
        QTest::newRow("bad coefficient") << false << "Edit3"
                                         << "9,36"
                                         << "Taux NET, ligne 3 (Sécurité Sociale) : " + notFloat.arg("9,36")
                                         << QStringList{"salnet", "Cong", "cs1", "cs2"}
                                         << QStringList{"cs3", "cs9", "totcs", "nour", "acpt", "net"};
        QTest::newRow("decimal base percentage")
            << true << "Edit25"
            << "9.5"
            << "Assiette, ligne 4 (Chomage) : '9.5' n'est pas une valeur entière correcte"
            << QStringList{"salbrut", "cs1", "cs3", "Ed25"} << QStringList{"cs4", "totcs", "salnet", "net", "salimp"};
    }
    void stoppedSlip()
    {
        QFETCH(bool, gross);
        QFETCH(QString, edit);
        QFETCH(QString, bad);
        QFETCH(QString, message);
        QFETCH(QStringList, filled);
        QFETCH(QStringList, emptied);
        params()->Netbrut->setItemIndex(gross ? 1 : 0);
        SlipSheet *slip = gross ? static_cast<SlipSheet *>(win().Bulletinbrut) : win().Bulletin;

        QVERIFY(activate(slip));
        QVERIFY(m_shown.isEmpty());
        const Snapshot good = snapshot(slip);
        auto *field = params()->findChild<QLineEdit *>(edit);
        QVERIFY(field);
        const QString before = field->text();
        const QString copy = QString(edit).replace("Edit", "Ed"); // the label that shows the bad text
        field->setText(bad);

        QVERIFY(reactivate(slip));
        QCOMPARE(m_shown, QStringList{message});
        for (const QString &name : filled) {
            QVERIFY2(!label(slip, qPrintable(name)).isEmpty(), qPrintable(name));
            if (name != copy)
                QCOMPARE(label(slip, qPrintable(name)), good.value(name));
        }
        for (const QString &name : emptied)
            QCOMPARE(label(slip, qPrintable(name)), QString());
        QVERIFY(!win().BO->isVisible());

        // Nothing changed: the slip stays as it is, without a second box.
        QVERIFY(reactivate(slip));
        QCOMPARE(m_shown.size(), 1);
        QVERIFY(!win().BO->isVisible());

        field->setText(before);
        QVERIFY(reactivate(slip));
        QCOMPARE(m_shown.size(), 1);
        QCOMPARE(snapshot(slip), good);
        QVERIFY(win().BO->isVisible());
    }

    // The road of a month: the parameters confirmed, the days entered and
    // validated in the hours window, then "Bulletin".
    void fromParametersToSlip()
    {
        // Fresh windows, as the program starts.
        destroyWindows();
        openWindows();
        QVERIFY(DayTable::createEmpty(m_dir.filePath("Enf1.db")));
        TEntree *entree = win().Entree;
        QVERIFY(WindowTest::activate(entree));
        QTest::mouseClick(entree->BitBtn4, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(params()));
        // The slot as the rates file starts it, with a wage and a name.
        QCOMPARE(params()->D->text(), "2.29");
        params()->prenom3->setText("Lucie");
        params()->SH->setText("3.50");
        params()->FJ->setText("25");
        params()->Netbrut->setItemIndex(0);
        QTest::mouseClick(params()->OK, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowActive(entree));
        QTest::mouseClick(entree->BitBtn3, Qt::LeftButton);
        THoraire *h = hours();
        QVERIFY(QTest::qWaitForWindowActive(h));

        // Two days of care, one flat-rate day that is a public holiday.
        struct Day {
            QDate date;
            QTime from, to;
            QList<QCheckBox *> ticked;
        };
        const QList<Day> days = {{QDate(2007, 5, 2), QTime(8, 0), QTime(17, 30), {h->Dej}},
                                 {QDate(2007, 5, 3), QTime(8, 15), QTime(12, 0), {h->PDej, h->Dej}},
                                 {QDate(2007, 5, 8), QTime(), QTime(), {h->FJ, h->Ferie}}};
        for (const Day &d : days) {
            QTest::mouseClick(h->Date, Qt::LeftButton);
            h->Date->setDate(d.date);
            if (d.from.isValid()) {
                QTest::mouseClick(h->H1, Qt::LeftButton);
                h->H1->setTime(d.from);
                QTest::mouseClick(h->H2, Qt::LeftButton);
                h->H2->setTime(d.to);
            }
            for (QCheckBox *b : d.ticked)
                QTest::mouseClick(b, Qt::LeftButton);
            QTest::mouseClick(h->Suiv, Qt::LeftButton);
        }
        QTest::mouseClick(h->BitBtn3, Qt::LeftButton);
        QCOMPARE(h->totheur->text(), "13.25");
        QVERIFY(h->BitBtn5->isEnabled());
        TBulletin *slip = win().Bulletin;
        slip->installEventFilter(&m_slipActivations);
        QTest::mouseClick(h->BitBtn5, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return m_slipActivations.count > 0; }));
        QVERIFY2(m_shown.isEmpty(), qPrintable(m_shown.join('|')));

        const QList<QPair<const char *, QString>> expected = {
            {"mois", "Mai"},
            {"an", "2007"},
            {"prenom", "Lucie"},
            {"totheur", "13.25"},
            {"nbjf", "1"},
            {"feri1", "1"},
            {"feri2", "0"},
            // 3.50 x 13.25 = 46.375, plus 10 %: 51.0125; the holiday flat day is paid nothing
            // without the supplement.
            {"salnet", "51.01"},
            {"Cong", "4.64"},
            {"cs1", "1.78"},
            {"nour", "5.34"}, // a breakfast and two lunches at the slot's first allowances
            {"net", "56.35"},
        };
        for (const auto &[name, text] : expected)
            QCOMPARE(label(slip, name), text);
        QCOMPARE(slip->gridCell(0, 2), "02/05/2007");
        QCOMPARE(slip->gridCell(2, 2), "09:30:00");
        QCOMPARE(slip->gridCell(1, 8), "X");
        QVERIFY(!h->isVisible());
        QVERIFY(win().BO->isVisible());
    }

    // A radio group with no item chosen leaves its title as it was.
    void titleWithoutChoice()
    {
        TBulletin *slip = win().Bulletin;
        QVERIFY(activate(slip));
        params()->pol1->setItemIndex(-1);
        params()->pol2->setItemIndex(0);
        QVERIFY(reactivate(slip));
        QCOMPARE(label(slip, "pol1"), "Mademoiselle");
        QCOMPARE(label(slip, "pol2"), "Monsieur");
    }
};

QTEST_MAIN(TestSlipWindows)
#include "tst_slipwindows.moc"
