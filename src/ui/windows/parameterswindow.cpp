#include "windows/parameterswindow.h"

#include "windows/mainwindow.h"
#include "widgets/radiogroup.h"
#include "windows/windowset.h"
#include "windows/hourswindow.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/errors.h"
#include "common/programfiles.h"
#include "contract/contractstore.h"
#include "legal/minimums.h"
#include "settings/numberfields.h"
#include "settings/paramrecord.h"
#include "settings/party.h"
#include "widgets/look.h"
#include "widgets/appicons.h"
#include "widgets/maskedit.h"
#include "widgets/picker.h"

#include <QApplication>
#include <algorithm>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>

namespace {
constexpr int windowWidth = 834, windowHeight = 594;
constexpr int childTabLength = 105;

// Both title groups carry the same caption.
const QString titleCaption = QStringLiteral("Politesse :");

void setHelp(QWidget *w, HelpContext context) { setHelpContext(w, context); }

// The child tabs stand along the right edge, each as long as the others
// whatever its caption (an empty first name leaves an empty tab).
class ChildTabBar : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override
    {
        QSize s = QTabBar::tabSizeHint(index);
        s.setHeight(childTabLength);
        return s;
    }
};

QLabel *caption(const QString &text, QWidget *parent) { return new QLabel(text, parent); }

using CaptionedField = std::pair<QString, QWidget *>;

// The column of a person's particulars: the title group on top, then each
// field with its caption on the left. Returns the grid and the next free row.
std::pair<QGridLayout *, int> personGrid(QWidget *page, RadioGroup *title, std::initializer_list<CaptionedField> fields)
{
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(24, 16, 24, 16);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(10);
    int row = 0;
    grid->addWidget(title, row++, 1, Qt::AlignLeft);
    for (const auto &[text, field] : fields) {
        grid->addWidget(caption(text, page), row, 0, Qt::AlignRight);
        grid->addWidget(field, row++, 1, Qt::AlignLeft);
    }
    return {grid, row};
}

QLineEdit *edit(QLineEdit *e, int width, HelpContext help = HelpContext(0))
{
    e->setFixedWidth(width);
    if (help)
        setHelp(e, help);
    return e;
}

QDateTimeEdit *datePicker(QWidget *parent, const char *name)
{
    auto *d = named<DatePicker>(parent, name);
    d->setDisplayFormat(shortDateFormat());
    d->setCalendarPopup(true);
    d->setMinimumDate(QDate(100, 1, 1));
    d->setDateTime(now());
    d->setFixedWidth(110);
    return d;
}

Qt::CheckState checkState(quint8 state)
{
    return state == 0 ? Qt::Unchecked : state == 1 ? Qt::Checked : Qt::PartiallyChecked;
}

void setState(QCheckBox *box, quint8 state)
{
    if (state < 2)
        box->setTristate(false);
    box->setCheckState(checkState(state));
}

quint8 stateOf(const QCheckBox *box)
{
    switch (box->checkState()) {
    case Qt::Unchecked: return 0;
    case Qt::Checked: return 1;
    default: return 2;
    }
}

bool ticked(const QCheckBox *box) { return box->checkState() == Qt::Checked; }

// A note in the warning colour, hidden while it has nothing to say.
QLabel *warningLine(QWidget *parent, const char *name)
{
    auto *l = named<QLabel>(parent, name);
    l->setWordWrap(true);
    l->setMaximumWidth(380);
    look::setTextColour(l, look::warning);
    l->hide();
    return l;
}

// An amount typed, or nullopt when the text is not one.
std::optional<Money> amountOf(const QString &text)
{
    try {
        return moneyFromText(text);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

// How many characters the parameter file keeps of a field; 0 for a field it
// does not hold (the contribution table is the rates file's).
int capacityOf(const QString &name)
{
    const int line = rates::lineOfField(name);
    if (line >= 0 && line < rates::TableLines)
        return 0;
    for (const paramrecord::TextField &f : paramrecord::textFields())
        if (f.name == name)
            return f.capacity;
    return 0;
}

void showNote(QLabel *l, const QString &text)
{
    l->setText(text);
    l->setVisible(!text.isEmpty());
}
} // namespace

TParametres::TParametres(QWidget *parent) : Form("TParametres", parent)
{
    setWindowTitle(QStringLiteral("Parametres"));
    QFont look(QStringLiteral("MS Sans Serif"));
    look.setPointSize(8);
    setFont(look);
    look::setBackground(this, look::windowColour);
    setFixedSize(windowWidth, windowHeight);
    centreOnScreen(this);

    Paramtr = named<QTabWidget>(this, "Paramtr");
    Paramtr->setGeometry(4, 4, 786, windowHeight - 8);
    setHelp(Paramtr, ParametersHelp);
    const QStringList pageTitles = {QStringLiteral("Employée"), QStringLiteral("Employeur"), QStringLiteral("Salaires"),
                                    QStringLiteral("Indemnités"), QStringLiteral("Famille")};
    QList<QWidget *> pages;
    for (int i = 0; i < pageTitles.size(); ++i) {
        auto *page = new QWidget;
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        page->setAutoFillBackground(true); // the window's colour, not the style's pane
        Paramtr->addTab(page, pageTitles.at(i));
        pages << page;
    }
    buildEmployeePage(pages[0]);
    buildEmployerPage(pages[1]);
    buildWagesPage(pages[2]);
    buildAllowancesPage(pages[3]);
    buildFamilyPage(pages[4]);
    Paramtr->setCurrentIndex(2); // "Salaires" the first time
    // A click on a page's tab takes the focus, so that it does not wander
    // onto the first control of the page shown (and run its exit rule).
    Paramtr->tabBar()->setFocusPolicy(Qt::StrongFocus);

    TabControl1 = new ChildTabBar(this);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setShape(QTabBar::RoundedEast);
    TabControl1->setExpanding(false);
    TabControl1->setUsesScrollButtons(false);
    TabControl1->setElideMode(Qt::ElideRight);
    // Clicking a child tab takes the focus first: the field being left runs
    // its exit rule (prenom3 renames the tab of the child it belongs to)
    // before the child changes.
    TabControl1->setFocusPolicy(Qt::StrongFocus);
    QFont tabFont = look;
    tabFont.setPointSize(14);
    TabControl1->setFont(tabFont);
    for (int i = 1; i <= SlotCount; ++i)
        TabControl1->addTab(slotCaption(i));
    TabControl1->setGeometry(790, 26, windowWidth - 790, SlotCount * childTabLength + 8);
    setHelp(TabControl1, ChildTabsHelp);

    buildButtons();
    connectRules();
    limitTextFields();
}

void TParametres::limitTextFields()
{
    // A number longer than the file keeps is refused when the field is left,
    // with a message, rather than cut by the keyboard without a word.
    const int numberRoom = 40;
    for (const paramrecord::TextField &f : paramrecord::textFields()) {
        auto *e = findChild<QLineEdit *>(f.name);
        if (e && !qobject_cast<MaskEdit *>(e))
            e->setMaxLength(numberfield::find(f.name) ? std::max(f.capacity, numberRoom) : f.capacity);
    }
}

namespace {
// The controls of one party's particulars on its page.
struct PartyControls {
    RadioGroup *title;
    QLineEdit *surname, *firstName, *address1, *address2;
    MaskEdit *postcode;
    QLineEdit *town;
    MaskEdit *phone, *number;
    auto tied() const
    {
        return std::tuple(title, surname, firstName, address1, address2, postcode, town, phone, number);
    }
};

// A party's page: its title group on top, then each particular under the
// name the party gives it, with its caption on the left. Returns the
// controls, the grid and its next free row.
std::tuple<PartyControls, QGridLayout *, int> partyPage(QWidget *page, party::Side side)
{
    const party::Particulars<const char *> &name = party::fieldNames(side);
    const bool employee = side == party::Side::Employee;
    PartyControls c{};
    c.title = new RadioGroup(QString::fromLatin1(name.title), titleCaption, party::titles(side), page);
    c.title->setItemIndex(0);
    setHelp(c.title, PersonHelp);
    c.surname = edit(named<QLineEdit>(page, name.surname), 220, PersonHelp);
    c.firstName = edit(named<QLineEdit>(page, name.firstName), 220, PersonHelp);
    c.address1 = edit(named<QLineEdit>(page, name.address1), 320, PersonHelp);
    c.address2 = edit(named<QLineEdit>(page, name.address2), 320, PersonHelp);
    c.postcode = new MaskEdit(QString::fromLatin1(name.postcode), QStringLiteral("00 000;1;_"), page);
    edit(c.postcode, 70, PersonHelp);
    c.town = edit(named<QLineEdit>(page, name.town), 220, PersonHelp);
    c.phone = new MaskEdit(QString::fromLatin1(name.phone), QStringLiteral("!00\\.00\\.00\\.00\\.00;1;_"), page);
    edit(c.phone, 130, PersonHelp);
    // The social security number, or the URSSAF number.
    c.number = new MaskEdit(
        QString::fromLatin1(name.number),
        employee ? QStringLiteral("!0 00 00 00 000 000\\ -99;1;_") : QStringLiteral("!00 00 000 000 000;1;_"), page);
    edit(c.number, employee ? 190 : 160, PersonHelp);

    const auto [grid, row] =
        personGrid(page, c.title,
                   {{QStringLiteral("NOM :"), c.surname},
                    {QStringLiteral("PRENOM :"), c.firstName},
                    {QStringLiteral("Adresse :"), c.address1},
                    {QString(), c.address2},
                    {employee ? QStringLiteral("Code Postal :") : QStringLiteral("Code postal :"), c.postcode},
                    {QStringLiteral("Ville :"), c.town},
                    {QStringLiteral("Téléphone :"), c.phone},
                    {employee ? QStringLiteral("N° de sécurité sociale :") : QStringLiteral("N° URSSAF :"), c.number}});
    return {c, grid, row};
}
} // namespace

void TParametres::buildEmployeePage(QWidget *page)
{
    const auto [controls, grid, row] = partyPage(page, party::Side::Employee);
    std::tie(pol1, nom1, prenom1, Adr11, Adr12, cp1, Ville1, Tel1, Secu) = controls.tied();
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(row, 1);
}

void TParametres::buildEmployerPage(QWidget *page)
{
    const auto [controls, grid, row] = partyPage(page, party::Side::Employer);
    std::tie(pol2, nom2, prenom2, adr21, adr22, cp2, ville2, Tel2, urssaf) = controls.tied();

    // The child in care; its date of birth stands below the group.
    auto *child = new QGroupBox(QStringLiteral("Enfant en garde :"), page);
    setHelp(child, PersonHelp);
    auto *childGrid = new QGridLayout(child);
    nom3 = edit(named<QLineEdit>(child, "nom3"), 200);
    prenom3 = edit(named<QLineEdit>(child, "prenom3"), 200);
    childGrid->addWidget(caption(QStringLiteral("Nom :"), child), 0, 0, Qt::AlignRight);
    childGrid->addWidget(nom3, 0, 1);
    childGrid->addWidget(caption(QStringLiteral("Prénom :"), child), 1, 0, Qt::AlignRight);
    childGrid->addWidget(prenom3, 1, 1);
    // What the childcare aid asks of this child (the rest is the family's page).
    AEEH = named<QCheckBox>(child, "AEEH");
    AEEH->setText(QStringLiteral("Bénéficiaire de l'AEEH (handicap)"));
    Alternee = named<QCheckBox>(child, "Alternee");
    Alternee->setText(QStringLiteral("En garde alternée"));
    for (QCheckBox *b : {AEEH, Alternee})
        setHelp(b, FamilyCostHelp);
    childGrid->addWidget(AEEH, 2, 0, 1, 2, Qt::AlignLeft);
    childGrid->addWidget(Alternee, 3, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(child, 1, 3, 4, 2, Qt::AlignTop);
    datenaiss = datePicker(page, "datenaiss");
    // A child whose birth date was never given holds day 0 (30/12/1899):
    // the picker shows it empty rather than as a date.
    datenaiss->setMinimumDateTime(fromDateNumber(0));
    datenaiss->setSpecialValueText(QStringLiteral(" "));
    grid->addWidget(caption(QStringLiteral("Date de naissance :"), page), 5, 3, Qt::AlignRight);
    grid->addWidget(datenaiss, 5, 4, Qt::AlignLeft);
    grid->setColumnMinimumWidth(2, 24);
    grid->setColumnStretch(5, 1);
    grid->setRowStretch(row, 1);
}

void TParametres::buildWagesPage(QWidget *page)
{
    auto *columns = new QHBoxLayout(page);
    columns->setContentsMargins(12, 10, 12, 10);
    columns->setSpacing(18);

    // Left: the pay rules.
    auto *left = new QVBoxLayout;
    left->setSpacing(10);
    auto *basisRow = new QHBoxLayout;
    Netbrut = new RadioGroup(QStringLiteral("Netbrut"), QStringLiteral("Mode de calcul :"),
                             {QStringLiteral("NET"), QStringLiteral("BRUT")}, page);
    Netbrut->setItemIndex(0);
    basisRow->addWidget(Netbrut);
    auto *wages = new QGridLayout;
    SH = edit(named<QLineEdit>(page, "SH"), 70, WagesHelp);
    SHbr = edit(named<QLineEdit>(page, "SHbr"), 70, WagesHelp);
    FJ = edit(named<QLineEdit>(page, "FJ"), 70, WagesHelp);
    FJbr = edit(named<QLineEdit>(page, "FJbr"), 70, WagesHelp);
    // The net and the gross row share one place; only one of them is shown.
    wages->addWidget(caption(QStringLiteral("Salaire horaire :"), page), 0, 0, Qt::AlignRight);
    wages->addWidget(SH, 0, 1);
    wages->addWidget(SHbr, 0, 1);
    wages->addWidget(caption(QStringLiteral("Euros"), page), 0, 2);
    wages->addWidget(caption(QStringLiteral("Forfait journalier :"), page), 1, 0, Qt::AlignRight);
    wages->addWidget(FJ, 1, 1);
    wages->addWidget(FJbr, 1, 1);
    wages->addWidget(caption(QStringLiteral("Euros"), page), 1, 2);
    basisRow->addLayout(wages);
    basisRow->addStretch(1);
    left->addLayout(basisRow);
    AvertSalaire = warningLine(page, "AvertSalaire");
    left->addWidget(AvertSalaire);

    Conges =
        new RadioGroup(QStringLiteral("Conges"), QStringLiteral("Congés payés :"),
                       {QStringLiteral("Répartis sur l'année :"), QStringLiteral("Sur le mois de vacances.")}, page);
    Conges->setItemIndex(0);
    setHelp(Conges, WagesHelp);
    // The percentage stands beside the first item.
    conge = edit(named<QLineEdit>(Conges, "conge"), 40, WagesHelp);
    if (auto *items = qobject_cast<QBoxLayout *>(Conges->layout())) {
        auto *first = new QHBoxLayout;
        items->removeWidget(Conges->button(0));
        first->addWidget(Conges->button(0));
        first->addWidget(conge);
        first->addWidget(caption(QStringLiteral("%"), Conges));
        first->addStretch(1);
        items->insertLayout(0, first);
    }
    left->addWidget(Conges);
    AvertConges = warningLine(page, "AvertConges");
    left->addWidget(AvertConges);

    auto *holiday = new QHBoxLayout;
    Indentre = named<QCheckBox>(page, "Indentre");
    Indentre->setText(QStringLiteral("Majoration jour férié :"));
    setHelp(Indentre, WagesHelp);
    Indentr = edit(named<QLineEdit>(page, "Indentr"), 40, WagesHelp);
    holiday->addWidget(Indentre);
    holiday->addWidget(caption(QStringLiteral("salaire horaire  X  par"), page));
    holiday->addWidget(Indentr);
    holiday->addStretch(1);
    left->addLayout(holiday);

    auto *meals = new QGroupBox(QStringLiteral("Indemnité de repas  (en Euros) :"), page);
    setHelp(meals, WagesHelp);
    auto *mealGrid = new QGridLayout(meals);
    PD = edit(named<QLineEdit>(meals, "PD"), 60);
    D = edit(named<QLineEdit>(meals, "D"), 60);
    G = edit(named<QLineEdit>(meals, "G"), 60);
    Sp = edit(named<QLineEdit>(meals, "Sp"), 60);
    mealGrid->addWidget(caption(QStringLiteral("Petit Déjeuner :"), meals), 0, 0, Qt::AlignRight);
    mealGrid->addWidget(PD, 0, 1);
    mealGrid->addWidget(caption(QStringLiteral("Déjeuner :"), meals), 0, 2, Qt::AlignRight);
    mealGrid->addWidget(D, 0, 3);
    mealGrid->addWidget(caption(QStringLiteral("Goûter :"), meals), 1, 0, Qt::AlignRight);
    mealGrid->addWidget(G, 1, 1);
    mealGrid->addWidget(caption(QStringLiteral("Diner :"), meals), 1, 2, Qt::AlignRight);
    mealGrid->addWidget(Sp, 1, 3);
    left->addWidget(meals);
    left->addStretch(1);
    columns->addLayout(left);

    // Right: the contribution table common to every child.
    auto *right = new QVBoxLayout;
    right->setSpacing(6);
    auto *title = caption(QStringLiteral("Charges sociales :"), page);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    right->addWidget(title);
    auto *table = new QGridLayout;
    table->setHorizontalSpacing(4);
    table->setVerticalSpacing(4);
    table->addWidget(caption(QStringLiteral("NET :"), page), 0, 2);
    table->addWidget(caption(QStringLiteral("BRUT :"), page), 0, 3);
    table->addWidget(caption(QStringLiteral("assiette"), page), 0, 5);
    for (int i = 0; i < ContributionLines; ++i) {
        const auto name = [](const char *prefix, int n) {
            return QStringLiteral("%1%2").arg(prefix).arg(n).toLatin1();
        };
        lineTick[i] = named<QCheckBox>(page, name("CheckBox", i + 1));
        lineName[i] = named<QLabel>(page, name("StaticText", i + 1));
        lineName[i]->setMinimumWidth(180);
        // Wide enough for the lines in force: a coefficient to seven
        // decimals, a rate folded with its base ("2.84925").
        netRate[i] = edit(named<QLineEdit>(page, name("Edit", i + 1)), 66);
        grossRate[i] = edit(named<QLineEdit>(page, name("Edit", i + 10)), 54);
        basePercent[i] = edit(named<QLineEdit>(page, paramrecord::baseNames[i]), 34);
        table->addWidget(lineTick[i], i + 1, 0);
        table->addWidget(lineName[i], i + 1, 1);
        table->addWidget(netRate[i], i + 1, 2);
        table->addWidget(grossRate[i], i + 1, 3);
        table->addWidget(caption(QStringLiteral("%"), page), i + 1, 4);
        table->addWidget(basePercent[i], i + 1, 5);
        table->addWidget(caption(QStringLiteral("%"), page), i + 1, 6);
    }
    right->addLayout(table);
    auto *inForce = new QHBoxLayout;
    BaremeEnVigueur = named<QPushButton>(page, "BaremeEnVigueur");
    BaremeEnVigueur->setText(QStringLiteral("Barème en vigueur"));
    DateBareme = datePicker(page, "DateBareme");
    AlsaceMoselle = named<QCheckBox>(page, "AlsaceMoselle");
    AlsaceMoselle->setText(QStringLiteral("Alsace-Moselle"));
    inForce->addWidget(BaremeEnVigueur);
    inForce->addWidget(caption(QStringLiteral("au"), page));
    inForce->addWidget(DateBareme);
    inForce->addWidget(AlsaceMoselle);
    inForce->addStretch(1);
    right->addLayout(inForce);
    AvertTaux = warningLine(page, "AvertTaux");
    right->addWidget(AvertTaux);
    auto *reminder = caption(QStringLiteral("^  Pensez à vérifier ces données de temps à autre   ^"), page);
    reminder->setObjectName(QStringLiteral("Label25"));
    QFont serif(QStringLiteral("Times New Roman"));
    serif.setPointSize(10);
    serif.setUnderline(true);
    reminder->setFont(serif);
    look::setTextColour(reminder, look::hintBlue);
    right->addWidget(reminder, 0, Qt::AlignHCenter);
    right->addStretch(1);
    columns->addLayout(right);

    std::tie(CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7, CheckBox8, CheckBox9) =
        std::tuple_cat(lineTick);
    std::tie(StaticText1, StaticText2, StaticText3, StaticText4, StaticText5, StaticText6, StaticText7, StaticText8,
             StaticText9) = std::tuple_cat(lineName);
    std::tie(Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9) = std::tuple_cat(netRate);
    std::tie(Edit10, Edit11, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18) = std::tuple_cat(grossRate);
    std::tie(Edit19, Edit20, Edit23, Edit25, Edit26, Edit27, Edit28, Edit29, Edit30) = std::tuple_cat(basePercent);
}

void TParametres::buildAllowancesPage(QWidget *page)
{
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(24, 16, 24, 16);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    auto *title = caption(QStringLiteral("INDEMNITES  ET  CONGES  POUR  LE  MOIS  EN  COURS  :"), page);
    QFont f = title->font();
    f.setBold(true);
    f.setUnderline(true);
    title->setFont(f);
    grid->addWidget(title, 0, 0, 1, 3);

    auto *paid = new QGroupBox(QStringLiteral("       Indemnités versées ce mois  :      "), page);
    setHelp(paid, AllowancesHelp);
    auto *paidGrid = new QGridLayout(paid);
    diverse = edit(named<QLineEdit>(paid, "diverse"), 80);
    abs = edit(named<QLineEdit>(paid, "abs"), 80);
    accpte = edit(named<QLineEdit>(paid, "accpte"), 80);
    const std::pair<QString, QLineEdit *> amounts[] = {{QStringLiteral("Indemnités diverses :"), diverse},
                                                       {QStringLiteral("Indemnités d'absence :"), abs},
                                                       {QStringLiteral("Accompte déjà versé :"), accpte}};
    int row = 0;
    for (const auto &[text, field] : amounts) {
        paidGrid->addWidget(caption(text, paid), row, 0, Qt::AlignRight);
        paidGrid->addWidget(field, row, 1);
        paidGrid->addWidget(caption(QStringLiteral("Euros"), paid), row++, 2);
    }
    grid->addWidget(paid, 1, 0, Qt::AlignTop);

    // The leave taken this month.
    auto *leave = new QGridLayout;
    CheckBox10 = named<QCheckBox>(page, "CheckBox10");
    CheckBox10->setText(QStringLiteral("Congés effectivements pris "));
    du = datePicker(page, "du");
    au = datePicker(page, "au");
    setHelp(du, DatesHelp);
    setHelp(au, DatesHelp);
    leave->addWidget(CheckBox10, 0, 0, 1, 2);
    leave->addWidget(caption(QStringLiteral("ce mois :"), page), 1, 0, 1, 2);
    leave->addWidget(caption(QStringLiteral("Du :"), page), 2, 0, Qt::AlignRight);
    leave->addWidget(du, 2, 1, Qt::AlignLeft);
    leave->addWidget(caption(QStringLiteral("Au :"), page), 3, 0, Qt::AlignRight);
    leave->addWidget(au, 3, 1, Qt::AlignLeft);
    grid->addLayout(leave, 1, 1, Qt::AlignTop);

    Entretien = new QGroupBox(QStringLiteral("Indemnités d'entretien :"), page);
    Entretien->setObjectName(QStringLiteral("Entretien"));
    setHelp(Entretien, AllowancesHelp);
    auto *upkeep = new QGridLayout(Entretien);
    upkeep->setContentsMargins(14, 18, 14, 14);
    CheckBox11 = named<QCheckBox>(Entretien, "CheckBox11");
    CheckBox11->setText(QStringLiteral("Au taux horaire :"));
    CheckBox12 = named<QCheckBox>(Entretien, "CheckBox12");
    CheckBox12->setText(QStringLiteral("Au forfait journalier :"));
    ETH = edit(named<QLineEdit>(Entretien, "ETH"), 80, AllowancesHelp);
    EFJ = edit(named<QLineEdit>(Entretien, "EFJ"), 80, AllowancesHelp);
    upkeep->addWidget(CheckBox11, 0, 0);
    upkeep->addWidget(ETH, 0, 1);
    upkeep->addWidget(caption(QStringLiteral("Euros/heure"), Entretien), 0, 2);
    upkeep->addWidget(CheckBox12, 1, 0);
    upkeep->addWidget(EFJ, 1, 1);
    upkeep->addWidget(caption(QStringLiteral("Euros"), Entretien), 1, 2);
    AvertEntretien = warningLine(Entretien, "AvertEntretien");
    upkeep->addWidget(AvertEntretien, 2, 0, 1, 3);
    grid->addWidget(Entretien, 2, 0, Qt::AlignTop);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
}

void TParametres::buildFamilyPage(QWidget *page)
{
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(24, 16, 24, 16);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);
    auto *title = caption(QStringLiteral("LA  FAMILLE  POUR  L'ESTIMATION  DU  CMG  :"), page);
    QFont f = title->font();
    f.setBold(true);
    f.setUnderline(true);
    title->setFont(f);
    grid->addWidget(title, 0, 0, 1, 3);
    Ressources = edit(named<QLineEdit>(page, "Ressources"), 100, FamilyCostHelp);
    NbEnfants = named<QSpinBox>(page, "NbEnfants");
    NbEnfants->setRange(0, family::MaxChildren);
    NbEnfants->setSpecialValueText(QStringLiteral(" ")); // 0: not typed
    NbEnfants->setFixedWidth(60);
    setHelp(NbEnfants, FamilyCostHelp);
    ParentIsole = named<QCheckBox>(page, "ParentIsole");
    ParentIsole->setText(QStringLiteral("Parent isolé"));
    setHelp(ParentIsole, FamilyCostHelp);
    grid->addWidget(caption(QStringLiteral("Ressources mensuelles retenues par la CAF :"), page), 1, 0, Qt::AlignRight);
    grid->addWidget(Ressources, 1, 1);
    grid->addWidget(caption(QStringLiteral("Euros"), page), 1, 2);
    grid->addWidget(caption(QStringLiteral("Nombre d'enfants à charge :"), page), 2, 0, Qt::AlignRight);
    grid->addWidget(NbEnfants, 2, 1);
    grid->addWidget(ParentIsole, 3, 1, 1, 2, Qt::AlignLeft);
    auto *note = caption(QStringLiteral("Ces renseignements servent à estimer l'aide de la CAF (CMG) et ce qui reste à "
                                        "payer chaque mois (« Coût pour la famille »). Les ressources sont celles que "
                                        "la CAF retient, en général celles de l'avant-dernière année divisées par 12. "
                                        "L'AEEH et la garde alternée se cochent pour chaque enfant, page « Employeur »."),
                         page);
    note->setWordWrap(true);
    grid->addWidget(note, 4, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(5, 1);
    onExit(Ressources, [this] { RessourcesExit(); });
}

void TParametres::RessourcesExit()
{
    // Blank is "not typed"; an amount is shown as the file keeps it.
    const QString typed = Ressources->text();
    if (typed.trimmed().isEmpty()) {
        Ressources->clear();
        return;
    }
    if (const std::optional<qint64> cents = family::typedCents(typed)) {
        Ressources->setText(family::centsText(*cents));
        return;
    }
    Ressources->setText(m_family.resources ? family::centsText(*m_family.resources) : QString());
    showError(rtl::fieldNotANumber(QStringLiteral("Ressources mensuelles"), typed, QStringLiteral("2500.00")));
}

Family TParametres::familyOnScreen() const
{
    // Not opened yet: the file as it stands.
    if (!m_loaded)
        return family::load(familyFilePath()).family;
    Family f = m_family;
    f.resources = family::typedCents(Ressources->text());
    f.children = NbEnfants->value();
    f.singleParent = ParentIsole->isChecked();
    f.child[std::size_t(m_slots.current - 1)] = {AEEH->isChecked(), Alternee->isChecked()};
    return f;
}

void TParametres::showFamily()
{
    Ressources->setText(m_family.resources ? family::centsText(*m_family.resources) : QString());
    NbEnfants->setValue(m_family.children);
    ParentIsole->setChecked(m_family.singleParent);
    const ChildAid &c = m_family.child[std::size_t(m_slots.current - 1)];
    AEEH->setChecked(c.disabilityAllowance);
    Alternee->setChecked(c.sharedCustody);
}

void TParametres::keepChildAid() { m_family = familyOnScreen(); }

void TParametres::buildButtons()
{
    // Over the lower edge of the pages, right of their contents.
    raz = named<QPushButton>(this, "raz");
    raz->setText(QStringLiteral("raz pour l'enfant..."));
    raz->setIcon(appIcon(AppIcon::Reset));
    setHelp(raz, ResetHelp);
    OK = named<QPushButton>(this, "OK");
    OK->setText(QStringLiteral("&OK"));
    OK->setIcon(appIcon(AppIcon::Ok));
    OK->setDefault(true);
    Anul = named<QPushButton>(this, "Anul");
    Anul->setText(QStringLiteral("&Annule"));
    Anul->setIcon(appIcon(AppIcon::Cancel));
    BitBtn3 = named<QPushButton>(this, "BitBtn3");
    BitBtn3->setText(QStringLiteral("&Aide"));
    BitBtn3->setIcon(appIcon(AppIcon::Help));
    int x = 780;
    const int y = windowHeight - 44;
    for (QPushButton *b : {BitBtn3, Anul, OK, raz}) {
        // Enter on a focused button presses that button, as everywhere else.
        b->setAutoDefault(true);
        const int width = qMax(90, b->sizeHint().width() + 8);
        x -= width;
        b->setGeometry(x, y, width, 28);
        b->raise();
        x -= 8;
    }
}

void TParametres::connectRules()
{
    // Initial states, before any rule runs.
    SH->setEnabled(false);
    SHbr->setEnabled(false);
    Indentr->setEnabled(false);

    connect(TabControl1, &QTabBar::currentChanged, this, &TParametres::TabControl1Change);
    connect(OK, &QPushButton::clicked, this, &TParametres::OKClick);
    connect(Anul, &QPushButton::clicked, this, &TParametres::AnulClick);
    connect(raz, &QPushButton::clicked, this, &TParametres::razClick);
    connect(BitBtn3, &QPushButton::clicked, this, &TParametres::BitBtn3Click);
    connect(BaremeEnVigueur, &QPushButton::clicked, this, &TParametres::BaremeEnVigueurClick);
    // A change of item runs the rule whether the user or LoadSlot made it.
    connect(Netbrut, &RadioGroup::itemIndexChanged, this, &TParametres::NetbrutExit);
    onExit(Netbrut, [this] { NetbrutExit(); });
    connect(Conges, &RadioGroup::itemIndexChanged, this, &TParametres::CongesClick);
    connect(Indentre, &QCheckBox::stateChanged, this, &TParametres::IndentreClick);
    connect(CheckBox10, &QCheckBox::stateChanged, this, &TParametres::CheckBox10Click);
    Entretien->installEventFilter(this);
    onExit(prenom3, [this] { prenom3Exit(); });
    for (QLineEdit *e : findChildren<QLineEdit *>()) {
        if (!numberfield::find(e->objectName()))
            continue;
        e->installEventFilter(this);
        onExit(e, [this, e] { numberExit(e); });
    }

    // The minimums' notes follow every value they depend on, as it is typed.
    for (QLineEdit *e : {SH, SHbr, ETH, EFJ})
        connect(e, &QLineEdit::textChanged, this, &TParametres::showMinimums);
    for (QLineEdit *e : netRate)
        connect(e, &QLineEdit::textChanged, this, &TParametres::showMinimums);
    connect(Netbrut, &RadioGroup::itemIndexChanged, this, &TParametres::showMinimums);
    connect(CheckBox11, &QCheckBox::stateChanged, this, &TParametres::showMinimums);
    connect(CheckBox12, &QCheckBox::stateChanged, this, &TParametres::showMinimums);
    // The note on the rates follows the rows as they are typed or filled.
    for (const auto *column : {&netRate, &grossRate, &basePercent})
        for (QLineEdit *e : *column)
            connect(e, &QLineEdit::textChanged, this, &TParametres::showRatesNote);
}

// ---------------------------------------------------------------------------
// Window events

void TParametres::showEvent(QShowEvent *e)
{
    Form::showEvent(e);
    // Opened from the main window, not merely restored by the window system.
    if (!e->spontaneous())
        FormActivate();
}

void TParametres::onClose(QCloseEvent *e)
{
    // The title-bar close box cancels, like "&Annule".
    e->ignore();
    if (isVisible())
        AnulClick();
}

void TParametres::keyPressEvent(QKeyEvent *e)
{
    // Keys that no control used: Enter confirms, Escape cancels.
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (e->modifiers() & ~Qt::KeypadModifier)
            break;
        OK->click();
        return;
    case Qt::Key_Escape: Anul->click(); return;
    default: break;
    }
    Form::keyPressEvent(e);
}

bool TParametres::eventFilter(QObject *watched, QEvent *e)
{
    // A number field entered before any edit: what it holds is what a
    // refused text gives back. Coming back to a field being edited (from
    // another window) keeps the value it had before the edit.
    if (e->type() == QEvent::FocusIn) {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field && !field->isModified() && numberfield::find(field->objectName()))
            m_enteredText.insert(field, field->text());
    }
    // A click on the group box Entretien itself (its frame, its caption),
    // not on one of its controls or texts.
    if (watched == Entretien && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease)) {
        auto *m = static_cast<QMouseEvent *>(e);
        const QPoint at = m->position().toPoint();
        const bool onFrame = m->button() == Qt::LeftButton && !Entretien->childAt(at) && Entretien->rect().contains(at);
        if (e->type() == QEvent::MouseButtonPress) {
            m_entretienPressed = onFrame;
        } else {
            const bool clicked = m_entretienPressed && onFrame;
            m_entretienPressed = false;
            if (clicked)
                EntretienClick();
        }
        if (onFrame) {
            e->accept();
            return true;
        }
    }
    return Form::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------
// The rules

void TParametres::FormActivate()
{
    if (win().Horaire)
        win().Horaire->BitBtn3->setEnabled(true);
    loadFiles();
}

void TParametres::ensureLoaded()
{
    if (!m_loaded)
        loadFiles();
}

void TParametres::loadFiles()
{
    // Both files are read as far as they can be, each error shown, the rates
    // file's first: without the rates file the table shows empty, but the
    // children are still read, so that OK never writes blank ones over them.
    const QStringList errors = loadSettings(
        m_files, m_rates, m_slots, [this](int slot, const QString &caption) { setChildCaption(slot - 1, caption); },
        &m_family);
    keepOpened();
    for (const QString &error : errors)
        showError(error);
    m_loaded = true;
    m_legal = legal::loadTable(programFolder() + folder::legalTable);
    m_contributions = legal::loadContributions(programFolder() + folder::contributionTable);
    m_filled.reset();
    guarded([&] {
        // Child 1 is shown even after a read error (with the records read
        // before it), so that the tab, the slot and the controls agree.
        selectTabOfCurrentSlot();
        showRatesTable();
        LoadSlot();
        // The rate columns stay as they are: only NetbrutExit switches them.
        showWageRow(Netbrut->itemIndex() == 0);
    });
    showMinimums();
    // The lines in force are offered for today, with the local scheme when
    // the rows already hold one of its lines.
    DateBareme->setDate(now().date());
    bool local = false;
    if (m_contributions.table)
        for (const QString &heading : m_contributions.table->localHeadings())
            for (const QLabel *name : lineName)
                local = local || name->text().startsWith(heading);
    AlsaceMoselle->setChecked(local);
    showRatesNote();
}

legal::RateRows TParametres::ratesOnScreen() const
{
    legal::RateRows r;
    for (size_t k = 0; k < r.names.size(); ++k) {
        r.names[k] = lineName[k]->text();
        r.net[k] = netRate[k]->text();
        r.gross[k] = grossRate[k]->text();
        r.bases[k] = basePercent[k]->text();
    }
    return r;
}

void TParametres::showRatesNote()
{
    if (!m_loaded)
        return;
    if (!m_contributions.table) {
        showNote(AvertTaux, m_contributions.message);
        return;
    }
    // Either region's lines are in force; a date the table does not know
    // gets no note: no check rather than a guess.
    const QDate today = now().date();
    const legal::RateRows shown = ratesOnScreen();
    bool current = true;
    if (const QList<legal::Contribution> lines = m_contributions.table->inForce(today, false); !lines.isEmpty())
        current = legal::sameRates(shown, legal::rowsOf(lines)) ||
                  legal::sameRates(shown, legal::rowsOf(m_contributions.table->inForce(today, true)));
    showNote(AvertTaux, current ? QString() : ratesmsg::notInForce(today));
}

void TParametres::BaremeEnVigueurClick()
{
    if (!m_contributions.table) {
        showError(m_contributions.message);
        return;
    }
    const legal::Contributions &table = *m_contributions.table;
    const QDate date = DateBareme->date();
    const QList<legal::Contribution> lines = table.inForce(date, AlsaceMoselle->isChecked());
    if (lines.isEmpty()) {
        showError(ratesmsg::noneKnown(date, table.firstDate()));
        return;
    }
    // Rates typed since the window was opened are nowhere else: asked
    // before they go. The rest is in Taux.txt until "&OK", as any edit, and
    // rows this button filled are filled again without a question.
    bool typed = false;
    for (int n = rates::NetLine; n < rates::TableLines; ++n)
        typed = typed || controlText(rates::lineField(n)) != m_rates.line(n);
    if (typed && m_filled && ratesOnScreen() == *m_filled)
        typed = false;
    if (typed && !askYesNo(ask::replaceTypedRates(date)))
        return;
    const legal::RateRows rows = legal::rowsOf(lines);
    m_filled = rows;
    for (size_t k = 0; k < rows.names.size(); ++k) {
        lineName[k]->setText(rows.names[k]);
        netRate[k]->setText(rows.net[k]);
        grossRate[k]->setText(rows.gross[k]);
        basePercent[k]->setText(rows.bases[k]);
    }
    showRatesNote();
}

void TParametres::showMinimums()
{
    if (!m_legal.table) {
        // Said once, where the wage's note stands; nothing is checked.
        showNote(AvertSalaire, m_loaded ? m_legal.message : QString());
        showNote(AvertEntretien, QString());
        return;
    }
    const legal::Table &table = *m_legal.table;
    const QDate today = now().date();
    const bool gross = Netbrut->itemIndex() == 1;
    std::array<QString, ContributionLines> coefficients;
    for (size_t i = 0; i < coefficients.size(); ++i)
        coefficients[i] = netRate[i]->text();
    QString wage;
    if (const std::optional<Money> hourly = legal::grossHourlyWage(gross, SH->text(), SHbr->text(), coefficients))
        wage = legal::wageWarning(table, *hourly, today, gross ? std::nullopt : amountOf(SH->text()));
    showNote(AvertSalaire, wage);

    // A text that is not an amount gets no note: the slip says so itself.
    QStringList upkeep;
    if (ticked(CheckBox11))
        if (const std::optional<Money> perHour = amountOf(ETH->text()))
            upkeep << legal::hourlyUpkeepWarning(table, *perHour, today);
    if (ticked(CheckBox12))
        if (const std::optional<Money> perDay = amountOf(EFJ->text()))
            upkeep << legal::dailyUpkeepWarning(table, *perDay, today);
    upkeep.removeAll(QString());
    showNote(AvertEntretien, upkeep.join('\n'));
}

QDate TParametres::birthDate(int slot) const
{
    if (slot < 1 || slot > SlotCount)
        return {};
    if (m_loaded)
        return slot == m_slots.current ? datenaiss->date() : fromDateNumber(m_slots.record(slot).datenaiss).date();
    // Not opened yet: the parameter file as it stands, without its defaults.
    ParamSlots file;
    RatesList none;
    bool fromFile = false;
    try {
        fromFile = ReadParamFile(file, none);
    } catch (const RuntimeError &) {
        fromFile = true; // the records before a cut-short one were read; the rest stay empty
    }
    // Without a file, slot 1 holds today's date as its default: not a birth.
    return fromFile ? fromDateNumber(file.record(slot).datenaiss).date() : QDate();
}

void TParametres::selectTabOfCurrentSlot()
{
    const QSignalBlocker quiet(TabControl1);
    TabControl1->setCurrentIndex(m_slots.current - 1);
}

void TParametres::showWageRow(bool net)
{
    // The net and the gross row share one place: only the chosen one shows.
    SH->setEnabled(net);
    SH->setVisible(net);
    SHbr->setEnabled(!net);
    SHbr->setVisible(!net);
    FJ->setVisible(net);
    FJbr->setVisible(!net);
}

void TParametres::LoadSlot()
{
    ParamRecord r = m_slots.currentRecord();
    // Every text but the contribution table is the child's own. The table is
    // common to every child: it stays as shown (typed rates included) from
    // one child to the next, until OK writes it or the window is opened anew.
    for (const paramrecord::TextField &f : paramrecord::textFields()) {
        const int line = rates::lineOfField(f.name);
        if (line < 0 || line >= rates::TableLines)
            setControlText(f.name, paramrecord::shownText(f.name, f.ref(r)));
    }
    setChildCaption(m_slots.current - 1, prenom3->text());
    // The picker keeps its own time of day.
    // A birth date never given shows empty (the picker's lowest value).
    if (fromDateNumber(r.datenaiss).date() == datenaiss->minimumDate())
        datenaiss->setDateTime(datenaiss->minimumDateTime());
    else
        datenaiss->setDate(fromDateNumber(r.datenaiss).date());
    du->setDateTime(fromDateNumber(r.du));
    au->setDateTime(fromDateNumber(r.au));
    pol1->setItemIndex(r.pol1);
    pol2->setItemIndex(r.pol2);
    for (int i = 0; i < ContributionLines; ++i)
        setState(lineTick[i], r.lineTick[i]);
    Conges->setItemIndex(r.Conges);   // CongesClick on a change
    Netbrut->setItemIndex(r.Netbrut); // NetbrutExit on a change
    setState(CheckBox11, r.CheckBox11);
    setState(CheckBox12, r.CheckBox12);
    setState(CheckBox10, r.CheckBox10); // CheckBox10Click on a change
    setState(Indentre, r.Indentre);     // IndentreClick on a change
    showFamily();
    showLeaveNote();
}

void TParametres::showLeaveNote()
{
    // A contract file that cannot be read is said where contracts are used.
    bool regular = false;
    try {
        const std::optional<contract::Contract> c =
            contract::loadContract(QDir(programFolder()).filePath(folder::contracts), m_slots.current);
        regular = c && c->isRegular();
    } catch (const RuntimeError &) {
    }
    showNote(AvertConges, regular ? contractmsg::leaveUnderContract() : QString());
}

void TParametres::showRatesTable()
{
    for (int n = 0; n < rates::TableLines; ++n)
        setControlText(rates::lineField(n), m_rates.line(n));
}

void TParametres::StoreSlot()
{
    m_slots.currentRecord() = paramrecord::stored(recordOnScreen());
    keepChildAid();
}

ParamRecord TParametres::recordOnScreen() const
{
    // Every field of the record is the control of the same name.
    ParamRecord r;
    for (const paramrecord::TextField &f : paramrecord::textFields())
        f.ref(r) = controlText(f.name);
    for (const paramrecord::DateField &f : paramrecord::dateFields())
        r.*f.member = toDateNumber(findChild<QDateTimeEdit *>(f.name)->dateTime());
    for (const paramrecord::IntField &f : paramrecord::intFields())
        r.*f.member = findChild<RadioGroup *>(f.name)->itemIndex();
    for (const paramrecord::StateField &f : paramrecord::stateFields())
        f.ref(r) = stateOf(findChild<QCheckBox *>(f.name));
    return r;
}

QString TParametres::controlText(const QString &name) const
{
    QWidget *control = findChild<QWidget *>(name);
    if (auto *m = qobject_cast<MaskEdit *>(control))
        return m->maskedText();
    if (auto *e = qobject_cast<QLineEdit *>(control))
        return e->text();
    if (auto *l = qobject_cast<QLabel *>(control))
        return l->text();
    return {};
}

void TParametres::setControlText(const QString &name, const QString &text)
{
    QWidget *control = findChild<QWidget *>(name);
    if (auto *m = qobject_cast<MaskEdit *>(control))
        m->setMaskedText(text);
    else if (auto *e = qobject_cast<QLineEdit *>(control))
        e->setText(text);
    else if (auto *l = qobject_cast<QLabel *>(control))
        l->setText(text);
}

void TParametres::TabControl1Change(int index)
{
    if (index < 0)
        return;
    guarded([&] {
        StoreSlot();
        m_slots.current = index + 1;
        LoadSlot();
    });
}

void TParametres::OKClick()
{
    guarded([&] {
        for (int n = 0; n < rates::LineCount; ++n)
            m_rates.setLine(n, controlText(rates::lineField(n)));
        StoreSlot();
        // All the files or none: a failure leaves the old files as they were.
        saveSettings(m_files, m_rates, m_slots, &m_family);
        hide();
        if (win().Entree)
            showAndActivate(win().Entree);
    });
}

void TParametres::AnulClick()
{
    // Nothing is written. The other windows read the controls, so the
    // controls get back what the files held: a slip never uses a cancelled
    // edit or reset. The child chosen stays chosen.
    guarded([&] { restoreOpened(); });
    hide();
    if (win().Entree)
        showAndActivate(win().Entree);
}

void TParametres::keepOpened()
{
    m_openedSlots = m_slots;
    m_openedRates = m_rates;
    m_openedFamily = m_family;
    m_openedCaptions.clear();
    for (int i = 0; i < TabControl1->count(); ++i)
        m_openedCaptions << TabControl1->tabText(i);
}

void TParametres::restoreOpened()
{
    const int shown = m_slots.current;
    m_slots = m_openedSlots;
    m_slots.current = shown;
    m_rates = m_openedRates;
    m_family = m_openedFamily;
    for (int i = 0; i < m_openedCaptions.size(); ++i)
        setChildCaption(i, m_openedCaptions.at(i));
    m_enteredText.clear();
    showRatesTable();
    LoadSlot();
}

void TParametres::razClick()
{
    // A child with a name is not wiped by a slip of the mouse.
    if (!prenom3->text().isEmpty() && !askYesNo(ask::resetChild(prenom3->text())))
        return;
    guarded([&] {
        ResetSlot(m_slots, m_slots.current, m_rates, now());
        // A new child: the aid's ticks of the old one go too (the family's
        // page keeps what is typed there).
        keepChildAid();
        m_family.child[std::size_t(m_slots.current - 1)] = {};
        LoadSlot();
    });
}

void TParametres::numberExit(QLineEdit *field)
{
    if (!field->isModified())
        return;
    field->setModified(false);
    const numberfield::Field *f = numberfield::find(field->objectName());
    const QString typed = field->text();
    const QString name = numberfield::caption(*f, f->line ? lineName[f->line - 1]->text() : QString());
    const std::optional<QString> kept = numberfield::accepted(typed, f->kind);
    const QString why = kept ? numberfield::refusal(*f, name, *kept, capacityOf(f->name))
                             : rtl::fieldNotANumber(name, typed, numberfield::example(f->kind));
    if (why.isEmpty()) {
        if (*kept != typed)
            field->setText(*kept);
        m_enteredText.insert(field, *kept);
        return;
    }
    field->setText(m_enteredText.value(field));
    showError(why);
}

void TParametres::NetbrutExit()
{
    const int item = Netbrut->itemIndex();
    if (item != 0 && item != 1)
        return;
    const bool net = item == 0;
    showWageRow(net);
    for (int i = 0; i < ContributionLines; ++i) {
        netRate[i]->setEnabled(net);
        grossRate[i]->setEnabled(!net);
        basePercent[i]->setEnabled(!net);
    }
}

void TParametres::CongesClick()
{
    const int item = Conges->itemIndex();
    if (item == 0 || item == 1)
        conge->setEnabled(item == 0);
}

void TParametres::IndentreClick() { Indentr->setEnabled(ticked(Indentre)); }

void TParametres::CheckBox10Click()
{
    du->setEnabled(ticked(CheckBox10));
    au->setEnabled(ticked(CheckBox10));
}

void TParametres::EntretienClick()
{
    ETH->setEnabled(ticked(CheckBox11));
    EFJ->setEnabled(ticked(CheckBox12));
}

void TParametres::prenom3Exit() { setChildCaption(TabControl1->currentIndex(), prenom3->text()); }

void TParametres::setChildCaption(int tab, const QString &caption)
{
    // A long first name is cut short with "..." on its tab; the whole of it
    // shows in the tab's tip.
    TabControl1->setTabText(tab, caption);
    TabControl1->setTabToolTip(tab, caption);
}

void TParametres::BitBtn3Click()
{
    if (win().Entree)
        win().Entree->Aide1Click();
}
