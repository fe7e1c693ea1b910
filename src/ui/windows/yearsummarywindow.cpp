#include "windows/yearsummarywindow.h"

#include "archive/yearsummary.h"
#include "archive/yearsummarypdf.h"
#include "common/environment.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "legal/taxcredit.h"
#include "settings/wholefile.h"
#include "widgets/look.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

TAnnuel::FileChooser TAnnuel::chooseFile = [](QWidget *parent, const QString &suggested, const QString &filter) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Exporter le récapitulatif"), suggested, filter);
};

TAnnuel::TAnnuel(QWidget *parent)
    : Form("TAnnuel", parent), m_summary(std::make_unique<YearSummary>()),
      m_credit(std::make_unique<legal::TaxCredit>())
{
    setWindowTitle(QStringLiteral("Récapitulatif annuel"));
    setHelpContext(this, YearSummaryHelp);
    look::setBackground(this, look::windowColour);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(18, 14, 18, 14);
    column->setSpacing(10);

    auto *pickers = new QHBoxLayout;
    auto *childCaption = new QLabel(QStringLiteral("&Enfant :"), this);
    Enfant = named<QComboBox>(this, "Enfant");
    childCaption->setBuddy(Enfant);
    auto *yearCaption = new QLabel(QStringLiteral("&Année :"), this);
    Annee = named<QComboBox>(this, "Annee");
    yearCaption->setBuddy(Annee);
    for (int slot = 1; slot <= ChildCount; ++slot)
        Enfant->addItem(slotCaption(slot), slot);
    Enfant->setMinimumContentsLength(22);
    pickers->addWidget(childCaption);
    pickers->addWidget(Enfant);
    pickers->addSpacing(20);
    pickers->addWidget(yearCaption);
    pickers->addWidget(Annee);
    pickers->addStretch(1);
    column->addLayout(pickers);

    Message = named<QLabel>(this, "Message");
    Message->setWordWrap(true);
    look::setTextColour(Message, look::warning);
    Message->hide();
    column->addWidget(Message);

    Grille = named<QTableWidget>(this, "Grille");
    Grille->setColumnCount(int(summaryColumns().size()));
    // The captions on two lines, so that the whole year fits the window's width.
    QStringList captions;
    for (const QString &c : summaryColumns())
        captions << (c.size() > 10 ? QString(c).replace(c.indexOf(' '), 1, '\n') : c);
    Grille->setHorizontalHeaderLabels(captions);
    Grille->verticalHeader()->hide();
    // Twelve months and the total fit without scrolling.
    Grille->verticalHeader()->setDefaultSectionSize(Grille->fontMetrics().height() + 8);
    Grille->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grille->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grille->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Grille->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(Grille, 1);

    auto *tax = new QGridLayout;
    auto *taxTitle = new QLabel(
        QStringLiteral("Pour la déclaration de revenus (frais de garde d'un enfant de moins de 6 ans) :"), this);
    QFont bold = taxTitle->font();
    bold.setBold(true);
    taxTitle->setFont(bold);
    tax->addWidget(taxTitle, 0, 0, 1, 2);
    for (int i = 0; i < 3; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        Fiscal << named<QLabel>(this, "Fiscal" + n);
        FiscalValeur << named<QLabel>(this, "FiscalValeur" + n);
        FiscalValeur[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        FiscalValeur[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        FiscalValeur[i]->setFont(bold);
        tax->addWidget(Fiscal[i], i + 1, 0);
        tax->addWidget(FiscalValeur[i], i + 1, 1);
    }
    tax->setColumnStretch(2, 1);
    column->addLayout(tax);

    // The tax credit: the aid received, then its figures or why there are none.
    auto *aid = new QHBoxLayout;
    auto *aidCaption = new QLabel(QStringLiteral("CMG reçu pour l'année (€) :"), this);
    CMG = named<QLineEdit>(this, "CMG");
    CMG->setFixedWidth(100);
    CMG->setAlignment(Qt::AlignRight);
    aidCaption->setBuddy(CMG);
    GardeAlternee = named<QCheckBox>(this, "GardeAlternee");
    GardeAlternee->setText(QStringLiteral("Garde alternée (plafond divisé par deux)"));
    aid->addWidget(aidCaption);
    aid->addWidget(CMG);
    aid->addSpacing(20);
    aid->addWidget(GardeAlternee);
    aid->addStretch(1);
    // Under the tax figures, the amounts in their column.
    tax->addLayout(aid, 4, 0, 1, 3);
    for (int i = 0; i < CreditRows; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        Credit << named<QLabel>(this, "Credit" + n);
        CreditValeur << named<QLabel>(this, "CreditValeur" + n);
        CreditValeur[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        CreditValeur[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        CreditValeur[i]->setFont(bold);
        tax->addWidget(Credit[i], i + 5, 0);
        tax->addWidget(CreditValeur[i], i + 5, 1);
    }
    Motif = named<QLabel>(this, "Motif");
    Motif->setWordWrap(true);
    look::setTextColour(Motif, look::warning);
    Motif->hide();
    column->addWidget(Motif);

    Note = named<QLabel>(this, "Note");
    Note->setWordWrap(true);
    column->addWidget(Note);

    auto *buttons = new QHBoxLayout;
    ExportCsv = named<QPushButton>(this, "ExportCsv");
    ExportCsv->setText(QStringLiteral("Exporter en &CSV..."));
    ExportPdf = named<QPushButton>(this, "ExportPdf");
    ExportPdf->setText(QStringLiteral("Exporter en &PDF..."));
    Fermer = named<QPushButton>(this, "Fermer");
    Fermer->setText(QStringLiteral("&Fermer"));
    buttons->addWidget(ExportCsv);
    buttons->addWidget(ExportPdf);
    buttons->addStretch(1);
    buttons->addWidget(Fermer);
    column->addLayout(buttons);

    connect(Enfant, &QComboBox::currentIndexChanged, this, &TAnnuel::EnfantChange);
    connect(Annee, &QComboBox::currentIndexChanged, this, &TAnnuel::AnneeChange);
    connect(ExportCsv, &QPushButton::clicked, this, &TAnnuel::ExportCsvClick);
    connect(ExportPdf, &QPushButton::clicked, this, &TAnnuel::ExportPdfClick);
    connect(Fermer, &QPushButton::clicked, this, &QWidget::hide);
    connect(CMG, &QLineEdit::editingFinished, this, &TAnnuel::CMGExit);
    connect(GardeAlternee, &QCheckBox::clicked, this, &TAnnuel::GardeAlterneeClick);

    resize(960, 760);
    centreOnScreen(this);
}

TAnnuel::~TAnnuel() = default;

// The child's first name as the parameters window holds it: the current
// child's field, another child's tab (its tip holds the whole name). Before
// the parameters were ever opened, "" lets the archive name the child.
QString TAnnuel::childName(int slot) const
{
    const TParametres *p = win().Parametres;
    if (!p)
        return {};
    if (slot == p->currentSlot() && !p->prenom3->text().isEmpty())
        return p->prenom3->text();
    const QString tip = p->TabControl1->tabToolTip(slot - 1);
    return tip == slotCaption(slot) ? QString() : tip;
}

void TAnnuel::FormActivate()
{
    m_filling = true;
    // The current child first, when nothing was chosen here yet.
    if (Annee->count() == 0 && win().Parametres)
        Enfant->setCurrentIndex(std::clamp(win().Parametres->currentSlot(), 1, ChildCount) - 1);
    for (int slot = 1; slot <= ChildCount; ++slot) {
        const QString name = childName(slot);
        Enfant->setItemText(slot - 1,
                            name.isEmpty() ? slotCaption(slot) : slotCaption(slot) + QStringLiteral(" : ") + name);
    }
    m_filling = false;
    fillYears();
    load();
}

void TAnnuel::EnfantChange()
{
    if (m_filling)
        return;
    fillYears();
    load();
}

void TAnnuel::AnneeChange()
{
    if (!m_filling)
        load();
}

// The years of the child's archived slips and the two latest; the year
// shown stays chosen, and at first it is the latest year with saved slips
// (last year, the one a spring tax return is about, when there is none).
void TAnnuel::fillYears()
{
    const int thisYear = now().date().year();
    QList<int> years = {thisYear - 1, thisYear};
    int chosen = Annee->count() ? Annee->currentData().toInt() : thisYear - 1;
    guarded([&] {
        const int slot = Enfant->currentData().toInt();
        years = summaryYears(programFolder(), slot, thisYear);
        if (Annee->count() == 0)
            chosen = latestSlipYear(programFolder(), slot).value_or(chosen);
    });
    m_filling = true;
    Annee->clear();
    for (int y : years)
        Annee->addItem(QString::number(y), y);
    const int at = Annee->findData(chosen);
    Annee->setCurrentIndex(at >= 0 ? at : Annee->count() - 1);
    m_filling = false;
}

void TAnnuel::load()
{
    const int slot = Enfant->currentData().toInt();
    const int year = Annee->currentData().toInt();
    YearSummary s;
    s.slot = slot;
    s.year = year;
    QString failure;
    try {
        s = loadYearSummary(programFolder(), slot, childName(slot), year);
    } catch (const RuntimeError &e) {
        failure = e.message();
    }
    display(s);
    // A child whose parameters were not opened yet is named by its archive.
    if (childName(slot).isEmpty() && !s.firstName.isEmpty())
        Enfant->setItemText(slot - 1, slotCaption(slot) + QStringLiteral(" : ") + s.firstName);
    if (!failure.isEmpty()) {
        Message->setText(failure);
        Message->show();
    }
}

void TAnnuel::display(const YearSummary &s)
{
    *m_summary = s;
    const QList<QStringList> rows = summaryTable(s);
    Grille->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const bool total = r + 1 == rows.size();
        for (int c = 0; c < rows[r].size(); ++c) {
            auto *item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment(Qt::AlignVCenter |
                                   (c == 0 || c + 1 == rows[r].size() ? Qt::AlignLeft : Qt::AlignRight));
            if (total) {
                QFont f = item->font();
                f.setBold(true);
                item->setFont(f);
            }
            if (c + 1 == rows[r].size() && !rows[r][c].isEmpty() && s.months[r].kind != SummaryMonth::Kind::Archived)
                item->setForeground(look::warning);
            Grille->setItem(r, c, item);
        }
    }
    const QList<TaxFigure> figures = taxReturnFigures(s);
    for (int i = 0; i < Fiscal.size(); ++i) {
        Fiscal[i]->setText(figures[i].label + QStringLiteral(" :"));
        FiscalValeur[i]->setText(figures[i].value);
    }
    Note->setText(taxReturnNote(s));
    showCredit();
    const bool any = !s.months.isEmpty();
    const bool read = s.archiveError.isEmpty();
    Message->setText(
        !read ? s.archiveError
        : any ? QString()
              : QStringLiteral("Aucun bulletin enregistré ni aucun jour saisi pour cet enfant en %1.").arg(s.year));
    Message->setVisible(!any || !read);
    ExportCsv->setEnabled(any && read);
    ExportPdf->setEnabled(any && read);
}

QString TAnnuel::suggestedName(const QString &extension) const
{
    QString name =
        m_summary->firstName.isEmpty() ? QStringLiteral("Enfant%1").arg(m_summary->slot) : m_summary->firstName;
    name.replace('/', '_').replace('\\', '_');
    return QDir::homePath() + QStringLiteral("/Recapitulatif-%1-%2.%3").arg(name).arg(m_summary->year).arg(extension);
}

void TAnnuel::ExportCsvClick()
{
    const QString path = chooseFile(this, suggestedName("csv"), QStringLiteral("Tableur CSV (*.csv)"));
    if (!path.isEmpty())
        guarded([&] {
            writeWholeFile(path, summaryCsv(*m_summary, legal::creditFigures(*m_credit)));
            showMessage(ask::exportedTo(QDir::toNativeSeparators(path)));
        });
}

void TAnnuel::ExportPdfClick()
{
    const QString path = chooseFile(this, suggestedName("pdf"), QStringLiteral("Document PDF (*.pdf)"));
    if (!path.isEmpty())
        guarded([&] {
            writeWholeFile(path, yearSummaryPdf(*m_summary, legal::creditFigures(*m_credit)));
            showMessage(ask::exportedTo(QDir::toNativeSeparators(path)));
        });
}

// The credit of the child and year shown, from the archive, the children's
// dates of birth as the parameters hold them, and the legal values.
void TAnnuel::showCredit()
{
    std::array<QDate, ChildCount> births;
    for (int i = 0; i < int(births.size()); ++i)
        births[size_t(i)] = win().Parametres ? win().Parametres->birthDate(i + 1) : QDate();
    const std::optional<Family> family =
        win().Parametres ? std::optional(win().Parametres->familyOnScreen()) : std::nullopt;
    const legal::YearCredit y = legal::yearCredit(programFolder(), m_summary->year, m_summary->slot, births, family);
    const legal::TaxCredit &c = y.credit;
    *m_credit = c;
    {
        const QSignalBlocker quiet(GardeAlternee);
        // An aid not typed and estimated instead: the field stays empty for
        // the office's figure, and says what stands in its place.
        CMG->setText(c.cmgEstimated ? QString() : centsText(y.aid.cmg));
        CMG->setPlaceholderText(c.cmgEstimated ? QStringLiteral("estimé : %1").arg(centsText(c.cmg)) : QString());
        GardeAlternee->setChecked(y.aid.shared);
    }
    const QList<TaxFigure> figures = legal::creditFigures(c);
    const bool has = c.status == legal::TaxCredit::Status::Credit;
    for (int i = 0; i < Credit.size(); ++i) {
        const bool shown = has && i < figures.size();
        Credit[i]->setText(shown ? figures[i].label + QStringLiteral(" :") : QString());
        CreditValeur[i]->setText(shown ? figures[i].value : QString());
        Credit[i]->setVisible(shown);
        CreditValeur[i]->setVisible(shown);
    }
    // An archive that cannot be read is said once, above the table.
    QString why = has ? c.boxNote : c.reason == m_summary->archiveError ? QString() : c.reason;
    if (has && !c.cmgNote.isEmpty())
        why = why.isEmpty() ? c.cmgNote : why + '\n' + c.cmgNote;
    Motif->setText(why);
    Motif->setVisible(!why.isEmpty());
}

void TAnnuel::storeAid()
{
    guarded([&] {
        CareAid aid;
        aid.cmg = legal::typedCents(CMG->text());
        aid.shared = GardeAlternee->isChecked();
        legal::storeCareAid(programFolder(), m_summary->slot, m_summary->year, aid);
    });
    showCredit();
}

void TAnnuel::CMGExit()
{
    // Only a change is stored: leaving the field untouched writes nothing.
    if (CMG->isModified())
        storeAid();
    CMG->setModified(false);
}

void TAnnuel::GardeAlterneeClick() { storeAid(); }
