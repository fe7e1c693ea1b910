#include "windows/hourswindow.h"

#include "windows/contractslipwindow.h"
#include "windows/openmonthwindow.h"

#include "archive/storedmonths.h"
#include "contract/contractinputs.h"
#include "contract/monthfill.h"
#include "common/errors.h"

#include "widgets/look.h"
#include "widgets/picker.h"
#include "windows/mainwindow.h"
#include "widgets/radiogroup.h"
#include "windows/windowset.h"
#include "attendance/duration.h"
#include "attendance/monthsheet.h"
#include "common/environment.h"
#include "common/messages.h"
#include "windows/netslipwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/parameterswindow.h"
#include "common/monthkey.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTimeEdit>

namespace {
constexpr int columnWidth = 80, rowHeight = 20;

// Tab leaves a picker for the next control, as it does every other control
// of the day's path; the arrow keys move between the picker's fields.
template <class Picker>
class WholeTab : public Picker {
public:
    using Picker::Picker;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

bool sameMonth(QDate a, QDate b) { return a.year() == b.year() && a.month() == b.month(); }

QLabel *text(QWidget *parent, const QString &caption, const QRect &at)
{
    auto *l = new QLabel(caption, parent);
    l->setGeometry(at);
    return l;
}

QFont blueSerif(QLabel *l)
{
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(12);
    f.setBold(true);
    look::setTextColour(l, look::hintBlue);
    return f;
}

QTimeEdit *timePicker(QWidget *parent, const char *name, const QString &caption, int x)
{
    text(parent, caption, QRect(x, 16, 120, 16));
    QTimeEdit *t = named<WholeTab<TimePicker>>(parent, name);
    t->setDisplayFormat(clockFormat());
    t->setTime(QTime(0, 0));
    t->setGeometry(x, 32, 100, 24);
    setHelpContext(t, DatesHelp);
    return t;
}

QCheckBox *box(QWidget *parent, const char *name, const QString &caption, QPoint at)
{
    auto *b = named<QCheckBox>(parent, name);
    b->setText(caption);
    // No wider than its caption: a click beside the text would not tick it.
    b->move(at);
    b->adjustSize();
    return b;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &at)
{
    auto *b = named<QPushButton>(parent, name);
    b->setText(caption);
    b->setGeometry(at);
    return b;
}
} // namespace

THoraire::THoraire(QWidget *parent) : Form("THoraire", parent)
{
    setWindowTitle(QStringLiteral("Calcul des heures..."));
    setHelpContext(this, HoursHelp);
    // Taller than the sheet and its buttons by the month's summary line.
    setFixedSize(1070, 851);
    centreOnScreen(this);
    look::setBackground(this, look::windowColour);

    // The day being entered.
    text(this, QStringLiteral("Jour :"), QRect(14, 12, 40, 20));
    Date = named<WholeTab<DatePicker>>(this, "Date");
    Date->setDisplayFormat(shortDateFormat());
    Date->setCalendarPopup(true);
    Date->setLocale(QLocale(QLocale::French, QLocale::France));
    Date->setGeometry(56, 9, 120, 24);
    setHelpContext(Date, DatesHelp);

    Edit3 = named<QLineEdit>(this, "Edit3");
    Edit3->setText(QStringLiteral("Enfant actuellement selectionné  :"));
    Edit3->setReadOnly(true);
    Edit3->setFrame(false);
    Edit3->setFocusPolicy(Qt::NoFocus);
    Edit3->setGeometry(610, 9, 230, 24);
    selenf = named<QLineEdit>(this, "selenf");
    selenf->setReadOnly(true);
    selenf->setFocusPolicy(Qt::NoFocus);
    QFont bold = selenf->font();
    bold.setBold(true);
    selenf->setFont(bold);
    selenf->setGeometry(846, 9, 210, 24);

    auto *times = new QGroupBox(QStringLiteral("Heures d'arrivées - départ"), this);
    times->setGeometry(14, 34, 470, 62);
    H1 = timePicker(times, "H1", QStringLiteral("heure arrivée matin"), 10);
    H2 = timePicker(times, "H2", QStringLiteral("heure départ matin"), 125);
    H3 = timePicker(times, "H3", QStringLiteral("heure arrivée AM"), 240);
    H4 = timePicker(times, "H4", QStringLiteral("heure départ AM"), 355);

    FJ = box(this, "FJ", QStringLiteral("FORFAIT\nJOURNALIER"), QPoint(498, 42));

    auto *meals = new QGroupBox(QStringLiteral("Repas"), this);
    meals->setGeometry(14, 98, 470, 48);
    PDej = box(meals, "PDej", QStringLiteral("Petit déjeuner"), QPoint(10, 20));
    Dej = box(meals, "Dej", QStringLiteral("Déjeuner"), QPoint(135, 20));
    Gout = box(meals, "Gout", QStringLiteral("Gouter"), QPoint(250, 20));
    Din = box(meals, "Din", QStringLiteral("Diner"), QPoint(355, 20));

    Ferie = box(this, "Ferie", QStringLiteral("JOUR\nFERIE"), QPoint(498, 100));

    Suiv = button(this, "Suiv", QStringLiteral("&Suivant"), QRect(628, 36, 100, 28));
    Prec = button(this, "Prec", QStringLiteral("&Précédant"), QRect(628, 68, 100, 28));
    BitBtn3 = button(this, "BitBtn3", QStringLiteral("&Valide"), QRect(628, 104, 100, 30));

    // The month's totals.
    QLabel *hoursTitle = text(this, QStringLiteral("TOTAL HEURES :"), QRect(750, 44, 150, 22));
    hoursTitle->setFont(blueSerif(hoursTitle));
    QLabel *flatTitle = text(this, QStringLiteral("Nb Forfaits :"), QRect(910, 44, 140, 22));
    flatTitle->setFont(blueSerif(flatTitle));
    QFont total = font();
    total.setPointSize(14);
    total.setBold(true);
    totheur = named<QLabel>(this, "totheur");
    totheur->setGeometry(750, 70, 150, 30);
    totheur->setFont(total);
    totfj = named<QLabel>(this, "totfj");
    totfj->setGeometry(910, 70, 140, 30);
    totfj->setFont(total);
    moan = named<QLabel>(this, "moan");
    moan->setText(QStringLiteral("moan"));
    moan->setGeometry(910, 108, 60, 20);
    moan->setVisible(false);

    buildGrid();

    Resume = named<QLabel>(this, "Resume");
    Resume->setGeometry(14, 794, 1042, 22);
    look::setTextColour(Resume, look::navy);

    constexpr int buttonsY = 820;
    BitBtn5 = button(this, "BitBtn5", QStringLiteral("Bulletin"), QRect(14, buttonsY, 110, 28));
    BitBtn5->setEnabled(false);
    BitBtn2 = button(this, "BitBtn2", QStringLiteral("Suppr. ligne"), QRect(134, buttonsY, 110, 28));
    OuvrirMois = button(this, "OuvrirMois", QStringLiteral("Ouvrir un mois..."), QRect(254, buttonsY, 130, 28));
    Remplir = button(this, "Remplir", QStringLiteral("Remplir d'après le contrat"), QRect(394, buttonsY, 190, 28));
    Remplir->setToolTip(QStringLiteral("Remplit le mois du jour choisi avec le planning du contrat de l'enfant"));
    BitBtn4 = button(this, "BitBtn4", QStringLiteral("Annule"), QRect(946, buttonsY, 110, 28));

    // The keyboard path through one day runs from Date to Ferie, then on to
    // "&Suivant" for the next day.
    QWidget *order[] = {Date,  H1,   H2,   H3,      H4,          FJ,      PDej,    Dej,        Gout,    Din,
                        Ferie, Suiv, Prec, BitBtn3, StringGrid1, BitBtn5, BitBtn2, OuvrirMois, Remplir, BitBtn4};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    onExit(Date, [this] { DateExit(); });
    onExit(H1, [this] { H1Exit(); });
    onExit(H2, [this] { H2Exit(); });
    onExit(H3, [this] { H3Exit(); });
    onExit(H4, [this] { H4Exit(); });
    onExit(FJ, [this] { FJExit(); });
    onExit(StringGrid1, [this] { FJExit(); });
    onExit(PDej, [this] { PDejExit(); });
    onExit(Dej, [this] { DejExit(); });
    onExit(Gout, [this] { GoutExit(); });
    onExit(Din, [this] { DinExit(); });
    onExit(Ferie, [this] { FerieExit(); });
    connect(Prec, &QPushButton::clicked, this, &THoraire::PrecClick);
    connect(Suiv, &QPushButton::clicked, this, &THoraire::SuivClick);
    connect(StringGrid1, &QTableWidget::cellClicked, this, &THoraire::StringGrid1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &THoraire::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &THoraire::BitBtn3Click);
    connect(BitBtn5, &QPushButton::clicked, this, &THoraire::Button1Click);
    connect(BitBtn4, &QPushButton::clicked, this, &THoraire::BitBtn4Click);
    connect(OuvrirMois, &QPushButton::clicked, this, &THoraire::OuvrirMoisClick);
    connect(Remplir, &QPushButton::clicked, this, &THoraire::RemplirClick);
}

void THoraire::buildGrid()
{
    StringGrid1 = named<QTableWidget>(this, "StringGrid1");
    StringGrid1->setColumnCount(sheet::ColumnCount);
    StringGrid1->setRowCount(sheet::RowCount);
    // The title row and the day column are cells of the sheet, as the slips
    // read them; the grid's own headers stay out of sight.
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setMinimumSectionSize(columnWidth);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(columnWidth);
    StringGrid1->verticalHeader()->setMinimumSectionSize(rowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(rowHeight);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont comic(QStringLiteral("Comic Sans MS"));
    comic.setPointSize(8);
    StringGrid1->setFont(comic);
    // The whole month in sight: no scrolling, so the title row stays put.
    const int frame = 2 * StringGrid1->frameWidth();
    StringGrid1->setGeometry(14, 150, sheet::ColumnCount * columnWidth + frame, sheet::RowCount * rowHeight + frame);

    for (int r = 0; r < sheet::RowCount; ++r)
        for (int c = 0; c < sheet::ColumnCount; ++c) {
            auto *item = new QTableWidgetItem;
            item->setForeground(look::navy);
            if (r == 0 || c == 0) {
                item->setBackground(look::paleYellow);
                item->setFlags(Qt::ItemIsEnabled);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            }
            StringGrid1->setItem(r, c, item);
        }
    for (int c = 0; c < sheet::ColumnCount; ++c)
        setCell(c, 0, sheet::titles().at(c));
    for (int r = 1; r <= sheet::LastDay; ++r)
        setCell(sheet::Day, r, QString::number(r));
}

QString THoraire::cell(int col, int row) const
{
    const auto *item = StringGrid1->item(row, col);
    return item ? item->text() : QString();
}

void THoraire::setCell(int col, int row, const QString &text)
{
    if (auto *item = StringGrid1->item(row, col))
        item->setText(text);
    // A filled day edited since is the parent's own: its mark goes.
    if (const auto planned = m_planned.constFind(row);
        planned != m_planned.constEnd() && !contract::rowAsFilled(sheet(), row, *planned))
        markPlanned(row, false);
}

void THoraire::markPlanned(int row, bool planned)
{
    if (!planned)
        m_planned.remove(row);
    for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
        if (auto *item = StringGrid1->item(row, c)) {
            item->setBackground(planned ? QBrush(look::fromPlanning) : QBrush());
            item->setToolTip(planned ? QStringLiteral("D'après le planning du contrat") : QString());
        }
}

MonthSheet THoraire::sheet() const
{
    MonthSheet s;
    for (int r = 0; r < sheet::RowCount; ++r)
        for (int c = 0; c < sheet::ColumnCount; ++c)
            s.cell(c, r) = cell(c, r);
    return s;
}

// ---------------------------------------------------------------- showing

void THoraire::onShow() { FormShow(); }
void THoraire::onActivate() { FormActivate(); }
void THoraire::onDeactivate() { FormDeactivate(); }

void THoraire::FormShow()
{
    // A month starts afresh each time the window is opened; coming back to
    // it from another window keeps the sheet as it was.
    Date->setFocus(Qt::OtherFocusReason);
    totheur->clear();
    totfj->clear();
    for (int r : m_planned.keys())
        markPlanned(r, false);
    for (int r = 1; r <= sheet::LastDay; ++r)
        for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
            setCell(c, r, QString());
    Date->setDateTime(now());
    // The day's entries start blank too: a box left ticked from the last
    // month would be unticked by the click meant to tick it, and a time left
    // in a picker would count in a day that never had it.
    blankDayEntries();
    m_dayRow = 0;
    m_lastDay = Date->date();
    BitBtn5->setEnabled(false);
    StringGrid1->setCurrentCell(1, sheet::Date);
    m_validated = sheet();
    m_opened.clear();
    FormActivate();
    showSummary();
}

bool THoraire::mayClose()
{
    const MonthSheet shown = sheet();
    return !shown.hasDayEntries() || shown == m_validated || askYesNo(ask::dropUnvalidatedDays());
}

void THoraire::FormActivate()
{
    guarded([&] {
        selenf->setText(win().Entree->selenf->text());
        m_table.setFolder(programFolder());
        const QString name = tableNameForSlot(win().Parametres->TabControl1->currentIndex());
        if (!name.isEmpty())
            m_table.setTableName(name);
    });
    readContract();
}

void THoraire::readContract()
{
    // Read without a word: a contract file that cannot be read is said by
    // "Remplir", which stays enabled for it, not at every activation.
    bool unread = false;
    try {
        m_contract = contract::storedContractOf(programFolder(), win().Parametres->currentSlot());
    } catch (const RuntimeError &) {
        m_contract = contract::Contract{};
        unread = true;
    }
    Remplir->setEnabled(unread || m_contract.isRegular());
    showSummary();
}

void THoraire::showSummary()
{
    // The sheet's month, or the day picker's while the sheet holds none.
    QDate month = sheetMonth(sheet());
    if (!month.isValid())
        month = Date->date();
    if (!m_contract.isRegular() || !month.isValid()) {
        Resume->clear();
        return;
    }
    const int y = month.year(), m = month.month();
    Resume->setText(
        contract::monthSummary(m_contract, y, m, contract::holidaysOf(m_contract, y, m), sheet()).text());
}

void THoraire::FormDeactivate() { BitBtn3->setEnabled(true); }

// ---------------------------------------------------------------- entries

void THoraire::DateExit()
{
    const QDate day = Date->date();
    const QDate month = sheetMonth(sheet(), day.day());
    if (month.isValid() && !sameMonth(month, day)) {
        // A sheet holds one month: the day goes back, and no row takes an
        // entry until a day of the month is chosen again.
        m_dayRow = 0;
        Date->setDate(sameMonth(m_lastDay, month) ? m_lastDay : month);
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible())
                    Date->setFocus(Qt::OtherFocusReason);
            },
            Qt::QueuedConnection);
        showError(rtl::dayOutsideSheetMonth(shortDate(day), MonthKey::of(month.month(), month.year()).title()));
        return;
    }
    for (int row : strayRows(sheet(), day))
        for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
            setCell(c, row, QString());
    m_dayRow = day.day();
    m_lastDay = day;
    setCell(sheet::Date, m_dayRow, shortDate(day));
    // A day filled from the planning comes into the pickers and boxes as it
    // stands, so that correcting one time keeps the others.
    if (const auto planned = m_planned.constFind(m_dayRow); planned != m_planned.constEnd()) {
        // An empty time is the 00:00:00 of a picker never touched.
        const auto at = [&](int col) {
            const QTime t = QTime::fromString(cell(col, m_dayRow), clockFormat());
            return t.isValid() ? t : QTime(0, 0);
        };
        H1->setTime(at(sheet::Arrival1));
        H2->setTime(at(sheet::Departure1));
        H3->setTime(at(sheet::Arrival2));
        H4->setTime(at(sheet::Departure2));
        const std::pair<QCheckBox *, int> marks[] = {{FJ, sheet::Flat},       {PDej, sheet::Breakfast},
                                                     {Dej, sheet::Lunch},     {Gout, sheet::Snack},
                                                     {Din, sheet::Dinner},    {Ferie, sheet::Holiday}};
        for (const auto &[box, col] : marks)
            box->setChecked(!cell(col, m_dayRow).isEmpty());
    }
    showSummary();
}

void THoraire::timeExit(QTimeEdit *picker, int col)
{
    if (m_dayRow < 1)
        return;
    setCell(col, m_dayRow, picker->time().toString(clockFormat()));
    setCell(sheet::Duration, m_dayRow, dayDuration(H1->time(), H2->time(), H3->time(), H4->time()));
    showSummary();
}

void THoraire::H1Exit() { timeExit(H1, sheet::Arrival1); }
void THoraire::H2Exit() { timeExit(H2, sheet::Departure1); }
void THoraire::H3Exit() { timeExit(H3, sheet::Arrival2); }
void THoraire::H4Exit() { timeExit(H4, sheet::Departure2); }

void THoraire::boxExit(QCheckBox *b, int col)
{
    if (m_dayRow >= 1)
        setCell(col, m_dayRow, b->isChecked() ? sheet::mark(sheet::Column(col)) : QString());
}

void THoraire::FJExit() { boxExit(FJ, sheet::Flat); }
void THoraire::PDejExit() { boxExit(PDej, sheet::Breakfast); }
void THoraire::DejExit() { boxExit(Dej, sheet::Lunch); }
void THoraire::GoutExit() { boxExit(Gout, sheet::Snack); }
void THoraire::DinExit() { boxExit(Din, sheet::Dinner); }
void THoraire::FerieExit() { boxExit(Ferie, sheet::Holiday); }

// ---------------------------------------------------------------- moving

void THoraire::leaveEntry(QPushButton *b)
{
    // A button pressed by its shortcut does not take the focus; taking it
    // here writes the entry being typed into its day first, as a click does.
    if (!b->hasFocus())
        b->setFocus(Qt::ShortcutFocusReason);
}

void THoraire::stepDay(QPushButton *b, int step)
{
    leaveEntry(b);
    const int gridRow = StringGrid1->currentRow();
    if ((step < 0 && gridRow <= 1) || (step > 0 && gridRow >= sheet::LastDay))
        return;
    // The days stay in the sheet's month once it has one: past its last day
    // (or before its first) is another month's sheet.
    const QDate day = Date->date().addDays(step);
    if (const QDate month = sheetMonth(sheet()); month.isValid() && !sameMonth(month, day))
        return;
    // Before the first row or after the last there is no row to select, but
    // the day still moves (from the 1st of a month back to the day before).
    const int target = m_dayRow + step;
    if (target >= 1 && target <= sheet::LastDay)
        StringGrid1->setCurrentCell(target, sheet::Date);
    blankDayEntries();
    Date->setDateTime(Date->dateTime().addDays(step));
    m_lastDay = day;
    // The new day's row follows when Date is left.
    Date->setFocus(Qt::OtherFocusReason);
}

void THoraire::blankDayEntries()
{
    for (QTimeEdit *t : {H1, H2, H3, H4})
        t->setTime(QTime(0, 0));
    for (QCheckBox *mark : {Ferie, FJ, PDej, Dej, Gout, Din})
        mark->setChecked(false);
}

void THoraire::PrecClick() { stepDay(Prec, -1); }
void THoraire::SuivClick() { stepDay(Suiv, +1); }

void THoraire::StringGrid1Click() { BitBtn3->setEnabled(true); }

void THoraire::BitBtn2Click()
{
    leaveEntry(BitBtn2);
    const int row = StringGrid1->currentRow();
    if (row < 1 || row > sheet::LastDay)
        return;
    for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
        setCell(c, row, QString());
    showSummary();
}

// ---------------------------------------------------------------- the month

void THoraire::BitBtn3Click()
{
    leaveEntry(BitBtn3);
    guarded([&] {
        const MonthValidation month = validateMonth(sheet());
        for (int r = 1; r <= sheet::LastDay; ++r)
            setCell(sheet::Date, r, month.sheet.cell(sheet::Date, r));
        totfj->setText(month.totals.flatDaysText());
        totheur->setText(month.totals.hoursText());

        // A month the table already holds (validated before, and gone back
        // to after a slip error) would otherwise be stored twice. Enter does
        // not replace it: a sheet of a few days would wipe a month stored.
        auto stored = DayTable::Stored::Keep;
        if (!month.days.isEmpty()) {
            const QStringList held = m_table.heldMonths(DayTable::monthKeys(month.days));
            if (!held.isEmpty()) {
                QStringList names;
                for (const QString &key : held) {
                    const std::optional<MonthKey> heldMonth = MonthKey::fromText(key);
                    names << (heldMonth ? heldMonth->title() : key);
                }
                // A month opened from the table is validated again to
                // correct it: replacing it is then what is meant.
                const int byDefault = held == QStringList{m_opened} ? 0 : 2;
                const int answer =
                    choose({ask::monthAlreadyStored(names.join(QStringLiteral(", ")), m_table.tableName()),
                            ask::monthAlreadyStoredAnswers(), byDefault, 2});
                if (answer == 2)
                    return;
                stored = answer == 0 ? DayTable::Stored::Replace : DayTable::Stored::Keep;
            }
        }
        m_table.storeMonth(month.days, stored);
        moan->setText(month.monthKey);
        m_validated = sheet();
        BitBtn3->setEnabled(false);
        BitBtn5->setEnabled(true);
    });
}

void THoraire::Button1Click()
{
    leaveEntry(BitBtn5);
    // A month a regular contract pays has the contract's slip, on either
    // basis; any other month the slip paid by the hour of its basis. A
    // contract file that cannot be read keeps the month on screen.
    const int basis = win().Parametres->Netbrut->itemIndex();
    bool byContract = false;
    if (!guarded([&] {
            byContract = (basis == 0 || basis == 1) &&
                         contract::paidByContract(programFolder(), win().Parametres->currentSlot(), moan->text());
        }))
        return;
    hide();
    if (byContract) {
        if (!win().BulletinContrat)
            win().BulletinContrat = new TBulletinContrat;
        showAndActivate(win().BulletinContrat);
        return;
    }
    switch (basis) {
    case 0: showAndActivate(win().Bulletin); break;
    case 1: showAndActivate(win().Bulletinbrut); break;
    default: break;
    }
}

void THoraire::BitBtn4Click() { hide(); }

// ---------------------------------------------------------------- a stored month

void THoraire::OuvrirMoisClick()
{
    leaveEntry(OuvrirMois);
    guarded([&] {
        FormActivate();
        const QList<StoredMonth> months = storedMonths(programFolder(), win().Parametres->currentSlot());
        if (!m_monthList) {
            m_monthList = new TOuvrirMois(this);
            connect(m_monthList, &TOuvrirMois::chosen, this, &THoraire::openMonth);
        }
        m_monthList->fill(months, m_table.tableName());
        showAndActivate(m_monthList);
    });
}

void THoraire::openMonth(const QString &key)
{
    guarded([&] {
        const std::optional<MonthKey> month = MonthKey::fromText(key);
        const QString title = month ? month->title() : key;
        // A hidden window starts a fresh sheet when shown: show it first.
        if (!isVisible())
            showAndActivate(this);
        // A date merely left in the sheet is no day typed.
        const MonthSheet shown = sheet();
        if (sheetMonth(shown).isValid() && shown != m_validated && !askYesNo(ask::dropUnvalidatedDaysForMonth(title)))
            return;
        // The slip of a month opened right after the start reads the
        // parameters as the files hold them.
        win().Parametres->ensureLoaded();
        const MonthValidation stored = storedMonthSheet(programFolder(), win().Parametres->currentSlot(), key);
        if (stored.days.isEmpty())
            throw RuntimeError(rtl::monthNotStored(title, m_table.tableName()));
        for (int r : m_planned.keys())
            markPlanned(r, false);
        for (int r = 1; r <= sheet::LastDay; ++r)
            for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
                setCell(c, r, stored.sheet.cell(c, r));
        totfj->setText(stored.totals.flatDaysText());
        totheur->setText(stored.totals.hoursText());
        moan->setText(stored.monthKey);
        // The day picker goes to the month's first stored day, with blank
        // entries: nothing is written into a row until a day is chosen.
        blankDayEntries();
        m_dayRow = 0;
        const QDate first = QDate::fromString(stored.days.first()[day::Date], shortDateFormat());
        Date->setDate(first);
        m_lastDay = first;
        StringGrid1->setCurrentCell(first.day(), sheet::Date);
        m_validated = sheet();
        m_opened = key;
        BitBtn3->setEnabled(true);
        BitBtn5->setEnabled(true);
        showSummary();
        showAndActivate(this);
    });
}

// ---------------------------------------------------------------- the planning

void THoraire::RemplirClick()
{
    leaveEntry(Remplir);
    guarded([&] {
        FormActivate();
        const QDate day = Date->date();
        const MonthKey key = MonthKey::of(day.month(), day.year());
        // A sheet holds one month.
        if (const QDate month = sheetMonth(sheet()); month.isValid() && !sameMonth(month, day))
            throw RuntimeError(rtl::dayOutsideSheetMonth(shortDate(day), MonthKey::of(month.month(), month.year()).title()));
        win().Parametres->ensureLoaded();
        const int slot = win().Parametres->currentSlot();
        contract::FillInputs in = contract::loadFillInputs(programFolder(), slot, day.year(), day.month());
        // A month stored already is completed where it stands: opened, so
        // that its stored days are on the sheet, and validated again over it.
        if (!in.stored.isEmpty() && m_opened != key.text()) {
            if (!askYesNo(ask::openStoredMonthToFill(key.title(), m_table.tableName(), int(in.stored.size()))))
                return;
            openMonth(key.text());
            if (m_opened != key.text())
                return;
        }
        const ParamRecord record = win().Parametres->recordOnScreen();
        const contract::MonthFill fill = contract::monthFill(
            in.contract, day.year(), day.month(), in.holidays,
            contract::usualTicks(record.CheckBox12 != 0, {record.PD, record.D, record.G, record.Sp}),
            contract::daysOnSheet(sheet()));
        if (!fill.failure.isEmpty())
            throw RuntimeError(fill.failure);
        bool replace = false;
        if (!fill.present.isEmpty()) {
            QStringList days;
            for (const QDate &d : fill.present)
                days << d.toString(QStringLiteral("dd/MM"));
            const int answer = choose({ask::fillOverDays(days), ask::fillOverDaysAnswers(), 1, 2});
            if (answer == 2)
                return;
            replace = answer == 0;
        }
        MonthSheet filled = sheet();
        const QList<int> rows = contract::writeFill(filled, fill, replace);
        for (const contract::PlannedDay &p : fill.days) {
            const int row = p.date.day();
            if (!rows.contains(row))
                continue;
            m_planned.remove(row);
            for (int c = sheet::Date; c < sheet::ColumnCount; ++c)
                setCell(c, row, filled.cell(c, row));
            m_planned.insert(row, p);
            markPlanned(row, true);
        }
        BitBtn3->setEnabled(true);
        showSummary();
    });
}
