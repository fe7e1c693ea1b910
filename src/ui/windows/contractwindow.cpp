#include "windows/contractwindow.h"

#include "common/environment.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "contract/contractstore.h"
#include "contract/enddocuments.h"
#include "contract/rangemodel.h"
#include "legal/legaltable.h"
#include "legal/minimums.h"
#include "widgets/look.h"
#include "widgets/picker.h"
#include "widgets/printjob.h"
#include "widgets/radiogroup.h"
#include "settings/paramrecord.h"
#include "settings/wholefile.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include <functional>

using namespace contract;

namespace {
// A date cell left empty shows this, and reads as no date: the picker's
// lowest date stands for it.
const QDate noDate(1900, 1, 1);
const QString emptyDate = QStringLiteral("  /  /    ");

// A date refused where it is typed says so, naming the field, once the key
// or the focus change that refused it is over.
void sayRefusedDate(QWidget *receiver, const QString &field, const QString &typed)
{
    const QString text =
        contractmsg::dateRefused(field, typed, shortDate(FirstDateAllowed), shortDate(LastDateAllowed));
    QMetaObject::invokeMethod(
        receiver, [text] { showError(text); }, Qt::QueuedConnection);
}

QDateTimeEdit *datePicker(QWidget *parent, const char *name, bool mayBeEmpty, const QString &field)
{
    auto *d = named<DatePicker>(parent, name);
    // Said by the window: a cell's editor may be gone by the time it is said.
    d->setRefusalNote([d, field](const QString &typed) { sayRefusedDate(d->window(), field, typed); });
    d->setDisplayFormat(shortDateFormat());
    d->setCalendarPopup(true);
    d->setLocale(QLocale(QLocale::French, QLocale::France));
    // A contract's dates lie in the span the file keeps; no date beyond it
    // is ever computed over.
    d->setDateRange(FirstDateAllowed, LastDateAllowed);
    if (mayBeEmpty) {
        d->setMinimumDate(noDate);
        d->setSpecialValueText(emptyDate);
        d->setDate(noDate);
    }
    return d;
}

QDate dateOf(const QWidget *w)
{
    const QDate d = static_cast<const QDateTimeEdit *>(w)->date();
    return d == noDate ? QDate() : d;
}

QLineEdit *figure(QWidget *parent, const char *name)
{
    auto *e = named<QLineEdit>(parent, name);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

// A whole number of the contract: the box takes any number typed, so that
// none is cut short by the keyboard without a word; one outside the field's
// range is refused when the box is left (see typedInRange).
QSpinBox *wholeNumber(QWidget *parent, const char *name, const QString &suffix)
{
    auto *s = named<QSpinBox>(parent, name);
    s->setRange(-9999, 9999);
    s->setSuffix(suffix);
    return s;
}

// Edits a cell of the periods' and absences' tables in place: a date picker
// for a date (empty for none), the list of reasons for a reason. The view
// owns the editor and moves it from cell to cell; nothing lives in a cell.
class RangeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        if (index.column() != RangeModel::Why)
            return datePicker(
                parent, index.column() == RangeModel::From ? "Du" : "Au", true,
                contractmsg::rowOf(index.model()->columnCount() > RangeModel::Why ? AbsencesCaption : PeriodsCaption,
                                   index.row() + 1));
        auto *box = named<QComboBox>(parent, "Motif");
        box->addItems(reasonTexts());
        box->setPlaceholderText(QStringLiteral("Choisir le motif"));
        // A reason picked (by the list, the keys or the wheel) is the row's at once.
        connect(box, &QComboBox::currentIndexChanged, this,
                [self = const_cast<RangeDelegate *>(this), box] { emit self->commitData(box); });
        return box;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QVariant value = index.data(Qt::EditRole);
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            const QSignalBlocker quiet(box);
            box->setCurrentIndex(value.toInt());
        } else if (auto *picker = dynamic_cast<DatePicker *>(editor)) {
            if (!picker->isTyping())
                picker->setDate(value.toDate().isValid() ? value.toDate() : noDate);
        }
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *box = qobject_cast<QComboBox *>(editor)) {
            model->setData(index, box->currentIndex());
        } else if (auto *picker = dynamic_cast<DatePicker *>(editor)) {
            // Tab reaches the view before the picker: what is typed is taken first.
            picker->finishTyping();
            model->setData(index, dateOf(picker));
        }
    }
};

// An end document printed on an A4 page, painted by `paint` on the page's
// printable area at the printer's resolution.
void printDocument(const std::function<void(QPainter &, const QRect &, int)> &paint)
{
    printOnePage(
        [&](QPainter &painter, const QPrinter &printer) {
            const int dpi = printer.resolution();
            paint(painter, QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(dpi).size()), dpi);
        },
        QPageSize(QPageSize::A4));
}
} // namespace

TContrat::TContrat(QWidget *parent) : Form("TContrat", parent)
{
    setWindowTitle(QStringLiteral("Contrat de l'enfant"));
    setHelpContext(this, ContractHelp);
    look::setBackground(this, look::windowColour);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);

    auto *child = new QHBoxLayout;
    child->addWidget(new QLabel(QStringLiteral("Enfant :"), this));
    prenom = figure(this, "prenom");
    prenom->setAlignment(Qt::AlignLeft);
    QFont bold = prenom->font();
    bold.setBold(true);
    prenom->setFont(bold);
    child->addWidget(prenom, 1);
    column->addLayout(child);

    Pages = named<QTabWidget>(this, "Pages");
    column->addWidget(Pages, 1);

    // The contract: kind, dates, planning, rates.
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("PageContrat"));
    auto *form = new QGridLayout(page);
    TypeContrat = new RadioGroup(QStringLiteral("TypeContrat"), QStringLiteral("Type de contrat"), kindTexts(), page);
    form->addWidget(TypeContrat, 0, 0, 1, 4);
    form->addWidget(new QLabel(FirstCaption + QStringLiteral(" :"), page), 1, 0);
    DebutContrat = datePicker(page, "DebutContrat", false, FirstCaption);
    form->addWidget(DebutContrat, 1, 1);
    FinConnue = named<QCheckBox>(page, "FinConnue");
    FinConnue->setText(LastCaption + QStringLiteral(" :"));
    form->addWidget(FinConnue, 1, 2);
    FinContrat = datePicker(page, "FinContrat", false, LastCaption);
    form->addWidget(FinContrat, 1, 3);
    form->addWidget(new QLabel(WeeksCaption + QStringLiteral(" :"), page), 2, 0);
    Semaines = wholeNumber(page, "Semaines", QString());
    form->addWidget(Semaines, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("Paiement des congés :"), page), 2, 2);
    PaiementCP = named<QComboBox>(page, "PaiementCP");
    PaiementCP->addItems(leavePaymentTexts());
    form->addWidget(PaiementCP, 2, 3);

    auto *week = new QGroupBox(QStringLiteral("Heures prévues chaque jour (HH:MM)"), page);
    auto *days = new QGridLayout(week);
    const char *names[] = {"HLundi", "HMardi", "HMercredi", "HJeudi", "HVendredi", "HSamedi", "HDimanche"};
    const QStringList captions = {QStringLiteral("Heures"), QStringLiteral("Arrivée"), QStringLiteral("Pause de"),
                                  QStringLiteral("à"), QStringLiteral("Départ")};
    for (int row = 0; row < captions.size(); ++row)
        days->addWidget(new QLabel(captions[row], week), row + 1, 0);
    // A time that may be left empty: 00:00 shows blank.
    const auto optionalTime = [week](const QString &name) {
        auto *t = named<TimePicker>(week, name.toLatin1().constData());
        t->setDisplayFormat(hoursMinutesFormat());
        t->setSpecialValueText(QStringLiteral("  :  "));
        t->setTime(QTime(0, 0));
        return t;
    };
    for (int i = 0; i < 7; ++i) {
        auto *t = named<TimePicker>(week, names[i]);
        t->setDisplayFormat(hoursMinutesFormat());
        t->setTime(QTime(0, 0));
        days->addWidget(new QLabel(weekdayTexts()[i], week), 0, i + 1);
        days->addWidget(t, 1, i + 1);
        planning << t;
        const QString day = QString::fromLatin1(names[i] + 1);
        arrivals << optionalTime(QStringLiteral("A") + day);
        breakFrom << optionalTime(QStringLiteral("Pause") + day);
        breakTo << optionalTime(QStringLiteral("Reprise") + day);
        days->addWidget(arrivals[i], 2, i + 1);
        days->addWidget(breakFrom[i], 3, i + 1);
        days->addWidget(breakTo[i], 4, i + 1);
        departures << named<QLabel>(week, (QStringLiteral("D") + day).toLatin1().constData());
        days->addWidget(departures[i], 5, i + 1);
    }
    HLundi = planning[0], HMardi = planning[1], HMercredi = planning[2], HJeudi = planning[3];
    HVendredi = planning[4], HSamedi = planning[5], HDimanche = planning[6];
    ALundi = arrivals[0], AMardi = arrivals[1], AMercredi = arrivals[2], AJeudi = arrivals[3];
    AVendredi = arrivals[4], ASamedi = arrivals[5], ADimanche = arrivals[6];
    form->addWidget(week, 3, 0, 1, 4);

    AlsaceMoselle = named<QCheckBox>(page, "AlsaceMoselle");
    AlsaceMoselle->setText(AlsaceMoselleCaption + QStringLiteral(" (Vendredi saint, 26 décembre)"));
    form->addWidget(AlsaceMoselle, 4, 0, 1, 2);
    FeriesTravailles = named<QCheckBox>(page, "FeriesTravailles");
    FeriesTravailles->setText(HolidaysWorkedCaption + QStringLiteral(" (accueil prévu les jours fériés)"));
    form->addWidget(FeriesTravailles, 4, 2, 1, 2);

    form->addWidget(new QLabel(MajHCCaption + QStringLiteral(" :"), page), 5, 0, 1, 2);
    MajHC = wholeNumber(page, "MajHC", QStringLiteral(" %"));
    form->addWidget(MajHC, 5, 2);
    // Its caption names the week's limit in force, known once open() read the table.
    m_majHMLabel = new QLabel(majHMCaption(std::nullopt) + QStringLiteral(" :"), page);
    form->addWidget(m_majHMLabel, 6, 0, 1, 2);
    MajHM = wholeNumber(page, "MajHM", QStringLiteral(" %"));
    form->addWidget(MajHM, 6, 2);
    Avertissement = named<QLabel>(page, "Avertissement");
    Avertissement->setWordWrap(true);
    look::setTextColour(Avertissement, look::warning);
    form->addWidget(Avertissement, 7, 0, 1, 4);
    form->setRowStretch(8, 1);
    Pages->addTab(page, QStringLiteral("Contrat"));

    // The two tables of date ranges, each on a page with its two buttons.
    auto tablePage = [this](const char *pageName, const QString &title, const char *tableName, RangeModel *model,
                            const char *addName, const char *removeName, QPushButton *&add, QPushButton *&remove) {
        auto *p = new QWidget;
        p->setObjectName(QString::fromLatin1(pageName));
        auto *layout = new QVBoxLayout(p);
        auto *table = named<QTableView>(p, tableName);
        table->setModel(model);
        table->setItemDelegate(new RangeDelegate(table));
        // A click, Tab or a key opens the cell's editor.
        table->setEditTriggers(QAbstractItemView::AllEditTriggers);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        // The reason's column takes the room left; two dates keep their width.
        table->horizontalHeader()->setStretchLastSection(model->columnCount() > 2);
        table->verticalHeader()->setDefaultSectionSize(28);
        for (int c = RangeModel::From; c <= RangeModel::To; ++c)
            table->setColumnWidth(c, 120);
        layout->addWidget(table, 1);
        auto *buttons = new QHBoxLayout;
        add = named<QPushButton>(p, addName);
        add->setText(QStringLiteral("Ajouter"));
        remove = named<QPushButton>(p, removeName);
        remove->setText(QStringLiteral("Supprimer"));
        buttons->addWidget(add);
        buttons->addWidget(remove);
        buttons->addStretch(1);
        layout->addLayout(buttons);
        Pages->addTab(p, title);
        for (auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, changed, this, &TContrat::refresh);
        connect(model, &QAbstractItemModel::dataChanged, this, &TContrat::refresh);
        return table;
    };
    m_periods = new RangeModel(false, this);
    m_absences = new RangeModel(true, this);
    Periodes = tablePage("PagePeriodes", PeriodsCaption, "Periodes", m_periods, "AjoutPeriode", "SupprPeriode",
                         AjoutPeriode, SupprPeriode);
    Absences = tablePage("PageAbsences", AbsencesCaption, "Absences", m_absences, "AjoutAbsence", "SupprAbsence",
                         AjoutAbsence, SupprAbsence);

    // The paid leave, recomputed each time the page is shown.
    auto *leavePage = new QWidget;
    leavePage->setObjectName(QStringLiteral("PageConges"));
    auto *leaveLayout = new QVBoxLayout(leavePage);
    Conges = named<QTableWidget>(leavePage, "Conges");
    Conges->setColumnCount(int(leaveColumns().size()));
    Conges->setHorizontalHeaderLabels(leaveColumns());
    Conges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Conges->setSelectionMode(QAbstractItemView::NoSelection);
    Conges->verticalHeader()->hide();
    Conges->horizontalHeader()->setStretchLastSection(true);
    Conges->setWordWrap(true);
    leaveLayout->addWidget(Conges, 1);
    Pages->addTab(leavePage, QStringLiteral("Congés"));
    connect(Pages, &QTabWidget::currentChanged, this, [this, leavePage](int index) {
        if (Pages->widget(index) == leavePage)
            showLeave();
    });

    // The end of the contract, recomputed each time the page is shown.
    m_endPage = new QWidget;
    m_endPage->setObjectName(QStringLiteral("PageFin"));
    setHelpContext(m_endPage, EndOfContractHelp);
    auto *endLayout = new QGridLayout(m_endPage);
    endLayout->addWidget(new QLabel(QStringLiteral("Motif de la fin :"), m_endPage), 0, 0);
    MotifFin = named<QComboBox>(m_endPage, "MotifFin");
    MotifFin->addItems(endReasonTexts());
    endLayout->addWidget(MotifFin, 0, 1, 1, 3);
    endLayout->addWidget(new QLabel(NotifiedCaption + QStringLiteral(" :"), m_endPage), 1, 0);
    DateNotification = datePicker(m_endPage, "DateNotification", true, NotifiedCaption);
    endLayout->addWidget(DateNotification, 1, 1);
    endLayout->addWidget(new QLabel(QStringLiteral("Dernier jour d'accueil :"), m_endPage), 1, 2);
    // The "Contrat" page's end, shown here: it is typed there only.
    DernierJour = figure(m_endPage, "DernierJour");
    DernierJour->setAlignment(Qt::AlignLeft);
    endLayout->addWidget(DernierJour, 1, 3);
    MessageFin = named<QLabel>(m_endPage, "MessageFin");
    MessageFin->setWordWrap(true);
    look::setTextColour(MessageFin, look::warning);
    endLayout->addWidget(MessageFin, 2, 0, 1, 4);
    ChiffresFin = named<QTableWidget>(m_endPage, "ChiffresFin");
    ChiffresFin->setColumnCount(2);
    ChiffresFin->setHorizontalHeaderLabels({QStringLiteral("Élément"), QStringLiteral("Montant")});
    ChiffresFin->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ChiffresFin->setSelectionMode(QAbstractItemView::NoSelection);
    ChiffresFin->verticalHeader()->hide();
    ChiffresFin->horizontalHeader()->setStretchLastSection(true);
    ChiffresFin->setWordWrap(true);
    endLayout->addWidget(ChiffresFin, 3, 0, 1, 4);
    endLayout->setRowStretch(3, 1);
    auto *documents = new QHBoxLayout;
    const auto button = [this](const char *name, const QString &text) {
        auto *b = named<QPushButton>(m_endPage, name);
        b->setText(text);
        return b;
    };
    Certificat = button("Certificat", QStringLiteral("Enregistrer le certificat de travail"));
    ImprimeCertificat = button("ImprimeCertificat", QStringLiteral("Imprimer"));
    Recu = button("Recu", QStringLiteral("Enregistrer le reçu pour solde"));
    ImprimeRecu = button("ImprimeRecu", QStringLiteral("Imprimer"));
    for (QPushButton *b : {Certificat, ImprimeCertificat, Recu, ImprimeRecu})
        documents->addWidget(b);
    documents->addStretch(1);
    endLayout->addLayout(documents, 4, 0, 1, 4);
    Pages->addTab(m_endPage, QStringLiteral("Fin du contrat"));
    connect(Pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (Pages->widget(index) == m_endPage)
            showEnd();
    });
    connect(MotifFin, &QComboBox::currentIndexChanged, this, [this] {
        if (Pages->currentWidget() == m_endPage)
            showEnd();
    });
    connect(DateNotification, &QDateTimeEdit::dateChanged, this, [this] {
        if (Pages->currentWidget() == m_endPage)
            showEnd();
    });

    // The figures the contract gives, under every page.
    auto *figures = new QGridLayout;
    HeuresSemaine = figure(this, "HeuresSemaine");
    HeuresMois = figure(this, "HeuresMois");
    TauxHoraire = figure(this, "TauxHoraire");
    SalaireBase = figure(this, "SalaireBase");
    figures->addWidget(new QLabel(QStringLiteral("Heures par semaine :"), this), 0, 0);
    figures->addWidget(HeuresSemaine, 0, 1);
    figures->addWidget(new QLabel(QStringLiteral("Heures mensualisées :"), this), 0, 2);
    figures->addWidget(HeuresMois, 0, 3);
    figures->addWidget(new QLabel(QStringLiteral("Salaire horaire :"), this), 1, 0);
    figures->addWidget(TauxHoraire, 1, 1);
    figures->addWidget(new QLabel(QStringLiteral("Salaire de base mensuel :"), this), 1, 2);
    figures->addWidget(SalaireBase, 1, 3);
    column->addLayout(figures);
    SemainesRestantes = named<QLabel>(this, "SemainesRestantes");
    SemainesRestantes->setWordWrap(true);
    look::setTextColour(SemainesRestantes, look::navy);
    column->addWidget(SemainesRestantes);

    auto *buttons = new QHBoxLayout;
    OK = named<QPushButton>(this, "OK");
    OK->setText(QStringLiteral("&OK"));
    Annule = named<QPushButton>(this, "Annule");
    Annule->setText(QStringLiteral("&Annule"));
    buttons->addStretch(1);
    buttons->addWidget(OK);
    buttons->addWidget(Annule);
    column->addLayout(buttons);

    connect(OK, &QPushButton::clicked, this, &TContrat::OKClick);
    connect(Annule, &QPushButton::clicked, this, &TContrat::AnnuleClick);
    connect(Certificat, &QPushButton::clicked, this, &TContrat::CertificatClick);
    connect(Recu, &QPushButton::clicked, this, &TContrat::RecuClick);
    connect(ImprimeCertificat, &QPushButton::clicked, this, &TContrat::ImprimeCertificatClick);
    connect(ImprimeRecu, &QPushButton::clicked, this, &TContrat::ImprimeRecuClick);
    connect(TypeContrat, &RadioGroup::itemIndexChanged, this, &TContrat::TypeContratClick);
    connect(FinConnue, &QCheckBox::toggled, this, &TContrat::FinConnueClick);
    connect(AjoutPeriode, &QPushButton::clicked, this, [this] { addRow(Periodes); });
    connect(AjoutAbsence, &QPushButton::clicked, this, [this] { addRow(Absences); });
    connect(SupprPeriode, &QPushButton::clicked, this, [this] { removeCurrentRow(Periodes); });
    connect(SupprAbsence, &QPushButton::clicked, this, [this] { removeCurrentRow(Absences); });
    for (int day = 0; day < int(planning.size()); ++day) {
        // A day without hours has no times: they go with its hours.
        connect(planning[day], &QTimeEdit::timeChanged, this, [this, day](QTime hours) {
            if (hours == QTime(0, 0))
                for (QTimeEdit *t : {arrivals[day], breakFrom[day], breakTo[day]})
                    t->setTime(QTime(0, 0));
        });
        connect(planning[day], &QTimeEdit::timeChanged, this, &TContrat::refresh);
        static_cast<TimePicker *>(planning[day])->setRefusalNote([this, day](const QString &typed) {
            plannedHoursRefused(day, typed);
        });
        for (QTimeEdit *t : {arrivals[day], breakFrom[day], breakTo[day]}) {
            connect(t, &QTimeEdit::timeChanged, this, &TContrat::refresh);
            static_cast<TimePicker *>(t)->setRefusalNote(
                [this, day](const QString &typed) { plannedHoursRefused(day, typed); });
        }
    }
    for (QSpinBox *s : {Semaines, MajHC, MajHM})
        connect(s, &QSpinBox::valueChanged, this, &TContrat::refresh);
    typedInRange(Semaines, [] { return WeeksCaption; }, WeeksRange);
    typedInRange(MajHC, [] { return MajHCCaption; }, MajorationRange);
    typedInRange(MajHM, [this] { return majHMCaption(m_limits); }, MajorationRange);
    for (QDateTimeEdit *d : {DebutContrat, FinContrat})
        connect(d, &QDateTimeEdit::dateChanged, this, &TContrat::refresh);

    resize(860, 600);
    centreOnScreen(this);
}

QString TContrat::filePath() { return QDir(programFolder()).filePath(folder::contracts); }

void TContrat::open()
{
    TParametres *p = win().Parametres;
    // Right after a start, the child's stored parameters, as opening the
    // parameters window would show them.
    p->ensureLoaded();
    m_slot = p->TabControl1->currentIndex() + 1;
    // The child's record as the parameters window shows it, as the slips read it.
    const ParamRecord record = p->recordOnScreen();
    prenom->setText(record.prenom3);
    m_firstName = record.prenom3;
    m_parties = partiesOf(record);
    const bool gross = record.Netbrut == 1;
    const QString rate = gross ? record.SHbr : record.SH;
    m_rate.reset();
    // No wage typed yet (the parameters not opened): no base, and nothing to say.
    if (!rate.trimmed().isEmpty())
        guarded([&] { m_rate = moneyFromText(rate); });
    TauxHoraire->setText((m_rate ? formatAmount(*m_rate) : rate) +
                         (gross ? QStringLiteral(" brut") : QStringLiteral(" net")));
    // The holiday supplement as the slips read it; a multiplier that is not a
    // number leaves the months without one.
    m_holiday = HolidaySetting{};
    m_holiday.on = record.Indentre != 0;
    if (m_holiday.on)
        guarded([&] { m_holiday.multiplier = moneyFromText(record.Indentr); });

    // A contract is checked against the limits of today, whenever it began.
    const legal::Loaded law = legal::loadTable(QDir(programFolder()).filePath(folder::legalTable));
    m_limits = law.table ? limitsOn(*law.table, now().date()) : std::nullopt;
    m_legalMessage = law.message;
    m_majHMLabel->setText(majHMCaption(m_limits) + QStringLiteral(" :"));
    // The rate against the childminder's minimum in force today, as the
    // parameters window says it under the wage.
    m_wageNote.clear();
    if (law.table)
        if (const std::optional<Money> hourly = legal::grossHourlyWage(gross, record.SH, record.SHbr, record.netRate))
            m_wageNote = legal::wageWarning(*law.table, *hourly, now().date(), gross ? std::nullopt : m_rate);

    Contract c;
    c.first = now().date();
    // A new contract majorates the hours beyond the week's limit by the least
    // majoration in force.
    c.majHM = m_limits ? m_limits->minimumMajHM : 0;
    // A stored contract that could not be read is not replaced by the empty
    // one shown in its place.
    m_unread = !guarded([&] {
        if (auto stored = loadContract(filePath(), m_slot))
            c = *stored;
    });
    showContract(c);
    m_opened = contractShown();
    Pages->setCurrentIndex(0);
}

void TContrat::showContract(const Contract &c)
{
    TypeContrat->setItemIndex(int(c.kind));
    DebutContrat->setDate(c.first.isValid() ? c.first : now().date());
    FinConnue->setChecked(c.last.isValid());
    FinContrat->setDate(c.last.isValid() ? c.last : DebutContrat->date());
    Semaines->setValue(c.weeks);
    for (int i = 0; i < 7; ++i)
        planning[i]->setTime(QTime(0, 0).addSecs(qint64(c.plannedMinutes[size_t(i)]) * 60));
    const auto setOptional = [](QTimeEdit *t, const std::optional<int> &m) {
        t->setTime(QTime(0, 0).addSecs(qint64(m.value_or(0)) * 60));
    };
    for (int i = 0; i < 7; ++i) {
        const DayTimes &t = c.plannedTimes[size_t(i)];
        setOptional(arrivals[i], t.arrival);
        setOptional(breakFrom[i], t.breakFrom);
        setOptional(breakTo[i], t.breakTo);
    }
    AlsaceMoselle->setChecked(c.alsaceMoselle);
    FeriesTravailles->setChecked(c.holidaysWorked);
    MajHC->setValue(c.majHC);
    MajHM->setValue(c.majHM);
    for (QSpinBox *s : {Semaines, MajHC, MajHM})
        m_inRange.insert(s, s->value());
    PaiementCP->setCurrentIndex(int(c.leavePayment));
    MotifFin->setCurrentIndex(c.endReason ? int(*c.endReason) : -1);
    DateNotification->setDate(c.notified.isValid() ? c.notified : noDate);
    m_periods->setRanges(c.periodsWithoutCare);
    m_absences->setAbsences(c.absences);
    TypeContratClick();
    FinConnueClick();
    refresh();
}

Contract TContrat::contractShown() const { return absencesCutToContract(contractTyped()).first; }

Contract TContrat::contractTyped() const
{
    Contract c;
    c.kind = Kind(qBound(0, TypeContrat->itemIndex(), 2));
    c.first = DebutContrat->date();
    if (FinConnue->isChecked())
        c.last = FinContrat->date();
    for (int i = 0; i < 7; ++i)
        c.plannedMinutes[size_t(i)] = QTime(0, 0).secsTo(planning[i]->time()) / 60;
    const auto optional = [](const QTimeEdit *t) {
        const int m = QTime(0, 0).secsTo(t->time()) / 60;
        return m == 0 ? std::optional<int>() : std::optional<int>(m);
    };
    for (int i = 0; i < 7; ++i)
        c.plannedTimes[size_t(i)] = DayTimes{optional(arrivals[i]), optional(breakFrom[i]), optional(breakTo[i])};
    c.alsaceMoselle = AlsaceMoselle->isChecked();
    c.holidaysWorked = FeriesTravailles->isChecked();
    c.weeks = c.kind == Kind::IncompleteYear ? Semaines->value() : 0;
    c.majHC = MajHC->value();
    c.majHM = MajHM->value();
    c.leavePayment = LeavePayment(qBound(0, PaiementCP->currentIndex(), 2));
    if (MotifFin->currentIndex() >= 0)
        c.endReason = EndReason(qBound(0, MotifFin->currentIndex(), 4));
    c.notified = dateOf(DateNotification);
    c.periodsWithoutCare = m_periods->ranges();
    c.absences = m_absences->absences();
    return c;
}

QString TContrat::fault() const
{
    if (const int row = m_absences->rowWithoutReason())
        return contractmsg::reasonNotChosen(row);
    const Contract c = contractShown();
    if (QString why = validate(c, m_limits); !why.isEmpty())
        return why;
    return entryFault(c);
}

void TContrat::refresh()
{
    const Contract c = contractShown();
    HeuresSemaine->setText(minutesText(c.weeklyMinutes()));
    // Occasional care has no mensualised salary: its slips pay the hours.
    const Mensualised m = mensualised(c, m_rate.value_or(Money()));
    HeuresMois->setText(c.isRegular()
                            ? QStringLiteral("%1.%2").arg(m.hundredths / 100).arg(m.hundredths % 100, 2, 10, QChar('0'))
                            : QString());
    SalaireBase->setText(c.isRegular() && m_rate ? formatAmount(m.base) + QStringLiteral(" €") : QString());
    QStringList notes{m_limits ? warning(c, m_limits) : m_legalMessage, m_wageNote};
    notes << absencesCutToContract(contractTyped()).second;
    notes.removeAll(QString());
    Avertissement->setText(notes.join('\n'));
    Avertissement->setVisible(!Avertissement->text().isEmpty());
    DernierJour->setText(c.last.isValid() ? shortDate(c.last) : QString());
    SemainesRestantes->setText(weeksNote(c, now().date()));
    SemainesRestantes->setVisible(!SemainesRestantes->text().isEmpty());
    // A departure past midnight is the times' fault to name: none is shown.
    for (int i = 0; i < 7; ++i) {
        const std::optional<int> leaves = c.departure(i);
        departures[i]->setText(leaves && DayMinutesRange.contains(*leaves) ? minutesText(*leaves) : QString());
    }
}

void TContrat::TypeContratClick()
{
    Semaines->setEnabled(TypeContrat->itemIndex() == int(Kind::IncompleteYear));
    // A complete year's leave is inside its base: there is nothing to pay apart.
    PaiementCP->setEnabled(TypeContrat->itemIndex() == int(Kind::IncompleteYear));
    refresh();
}

void TContrat::showLeave()
{
    Conges->setRowCount(0);
    const Contract c = contractShown();
    // Without a rate there is no amount to show; the stored days are read
    // only for a contract that could be stored.
    if (!m_rate || !fault().isEmpty())
        return;
    QList<QStringList> rows;
    guarded([&] {
        const ContractInputs in = loadContractInputs(programFolder(), m_slot, c, false);
        rows = leaveRows(paidLeaveOf(in, *m_rate, m_holiday, now().date()));
    });
    Conges->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int k = 0; k < rows[r].size(); ++k) {
            auto *item = new QTableWidgetItem(rows[r][k]);
            item->setTextAlignment(k == 0 || k == rows[r].size() - 1 ? Qt::AlignLeft | Qt::AlignVCenter
                                                                     : Qt::AlignRight | Qt::AlignVCenter);
            Conges->setItem(r, k, item);
        }
    // The figures at their width; the months paid take what is left, on as
    // many lines as they need.
    for (int k = 0; k + 1 < Conges->columnCount(); ++k)
        Conges->resizeColumnToContents(k);
    Conges->resizeRowsToContents();
}

void TContrat::showEnd()
{
    ChiffresFin->setRowCount(0);
    m_end = EndOfContract{};
    const Contract c = contractShown();
    DernierJour->setText(c.last.isValid() ? shortDate(c.last) : QString());
    // As on the "Congés" page: no rate, no amount; the stored days and slips
    // are read only for a contract that could be stored.
    QString why = fault();
    if (m_rate && why.isEmpty()) {
        guarded([&] {
            m_end = endOfContractOf(loadContractInputs(programFolder(), m_slot, c, true), *m_rate, m_holiday);
        });
        why = m_end.failure;
    }
    MessageFin->setText(why);
    MessageFin->setVisible(!why.isEmpty());
    const QList<EndLine> lines = endLines(m_end);
    ChiffresFin->setRowCount(int(lines.size()));
    for (int r = 0; r < int(lines.size()); ++r) {
        ChiffresFin->setItem(r, 0, new QTableWidgetItem(lines[r].caption));
        ChiffresFin->setItem(r, 1, new QTableWidgetItem(lines[r].value));
    }
    ChiffresFin->resizeColumnToContents(0);
    ChiffresFin->resizeRowsToContents();
    for (QPushButton *b : {Certificat, ImprimeCertificat, Recu, ImprimeRecu})
        b->setEnabled(!lines.isEmpty());
}

bool TContrat::endReady()
{
    // The figures of the contract as it now stands on screen.
    showEnd();
    return m_end.complete() && m_rate;
}

void TContrat::CertificatClick()
{
    if (!endReady())
        return;
    guarded([&] {
        const QString path = endDocumentPath(programFolder(), EndDocument::Certificate, m_slot, m_firstName);
        writeWholeFile(path, workCertificatePdf(m_parties, contractShown(), now().date()));
        showMessage(ask::documentSavedTo(endDocumentTitle(EndDocument::Certificate), QDir::toNativeSeparators(path)));
    });
}

void TContrat::RecuClick()
{
    if (!endReady())
        return;
    guarded([&] {
        const QString path = endDocumentPath(programFolder(), EndDocument::Receipt, m_slot, m_firstName);
        writeWholeFile(path, finalReceiptPdf(m_parties, contractShown(), m_end));
        showMessage(ask::documentSavedTo(endDocumentTitle(EndDocument::Receipt), QDir::toNativeSeparators(path)));
    });
}

void TContrat::ImprimeCertificatClick()
{
    if (!endReady())
        return;
    const Contract c = contractShown();
    guarded([&] {
        printDocument([&](QPainter &p, const QRect &area, int dpi) {
            paintWorkCertificate(p, area, dpi, m_parties, c, now().date());
        });
    });
}

void TContrat::ImprimeRecuClick()
{
    if (!endReady())
        return;
    const Contract c = contractShown();
    guarded([&] {
        printDocument(
            [&](QPainter &p, const QRect &area, int dpi) { paintFinalReceipt(p, area, dpi, m_parties, c, m_end); });
    });
}

void TContrat::FinConnueClick()
{
    FinContrat->setEnabled(FinConnue->isChecked());
    refresh();
}

void TContrat::addRow(QTableView *table)
{
    QAbstractItemModel *model = table->model();
    const int row = model->rowCount();
    model->insertRow(row);
    table->setFocus(Qt::OtherFocusReason);
    table->setCurrentIndex(model->index(row, RangeModel::From));
}

void TContrat::removeCurrentRow(QTableView *table)
{
    const int row = table->currentIndex().row();
    if (row >= 0)
        table->model()->removeRow(row);
}

void TContrat::typedInRange(QSpinBox *box, const std::function<QString()> &caption, IntRange range)
{
    connect(box, &QSpinBox::editingFinished, this, [this, box, caption, range] {
        if (const QString why = rangeFault(caption(), box->value(), range); !why.isEmpty()) {
            box->setValue(m_inRange.value(box, range.min));
            showError(why);
        }
        m_inRange.insert(box, box->value());
    });
}

void TContrat::plannedHoursRefused(int day, const QString &typed)
{
    // Said once the key or the focus change that refused it is over.
    const QString text = rtl::inField(weekdayTexts().value(day), rtl::notATime(typed));
    QMetaObject::invokeMethod(
        this, [text] { showError(text); }, Qt::QueuedConnection);
}

bool TContrat::store()
{
    if (m_unread) {
        showError(contractmsg::unreadNotReplaced(QDir::toNativeSeparators(filePath())));
        return false;
    }
    if (const QString why = fault(); !why.isEmpty()) {
        showError(why);
        return false;
    }
    const Contract c = contractShown();
    if (!guarded([&] { storeContract(filePath(), m_slot, c); }))
        return false;
    m_opened = c;
    win().Parametres->showLeaveNote();
    return true;
}

bool TContrat::modified() const { return contractShown() != m_opened || m_absences->rowWithoutReason() != 0; }

void TContrat::OKClick()
{
    if (store())
        hide();
}

void TContrat::AnnuleClick() { hide(); }

bool TContrat::mayClose()
{
    if (!modified())
        return true;
    switch (choose({ask::storeContractChanges(), ask::yesNoCancelAnswers(), 0, 2})) {
    case 0: return store();
    case 1: return true;
    default: return false;
    }
}
