#include "windows/declarationwindow.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/programfiles.h"
#include "contract/contractinputs.h"
#include "legal/minimums.h"
#include "payslip/declaration.h"
#include "widgets/look.h"
#include "widgets/radiogroup.h"
#include "archive/storedmonths.h"
#include "common/monthkey.h"
#include "windows/costwindow.h"
#include "windows/hourswindow.h"
#include "windows/parameterswindow.h"
#include "windows/slipsheet.h"
#include "windows/windowset.h"

#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TDeclaration::TDeclaration(QWidget *parent) : Form("TDeclaration", parent)
{
    setWindowTitle(QStringLiteral("Déclaration du mois"));
    setHelpContext(this, DeclarationHelp);
    look::setBackground(this, look::windowColour);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(18, 14, 18, 14);
    column->setSpacing(10);

    auto *child = new QHBoxLayout;
    child->addWidget(new QLabel(QStringLiteral("Enfant :"), this));
    prenom = named<QLabel>(this, "prenom");
    QFont bold = prenom->font();
    bold.setBold(true);
    prenom->setFont(bold);
    child->addWidget(prenom, 1);
    column->addLayout(child);

    auto *monthRow = new QHBoxLayout;
    monthRow->addWidget(new QLabel(QStringLiteral("Mois :"), this));
    MoisDeclaration = named<QComboBox>(this, "MoisDeclaration");
    MoisDeclaration->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    monthRow->addWidget(MoisDeclaration, 1);
    column->addLayout(monthRow);
    connect(MoisDeclaration, &QComboBox::activated, this, &TDeclaration::compute);

    Message = named<QLabel>(this, "Message");
    Message->setWordWrap(true);
    look::setTextColour(Message, look::warning);
    column->addWidget(Message);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    for (int i = 0; i < FigureCount; ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        Libelle << named<QLabel>(this, "Libelle" + n);
        Libelle[i]->setText(i < declarationLabels().size() ? declarationLabels().at(i) : QString());
        Valeur << named<QLineEdit>(this, "Valeur" + n);
        Valeur[i]->setReadOnly(true);
        Valeur[i]->setAlignment(Qt::AlignRight);
        Valeur[i]->setFixedWidth(120);
        Valeur[i]->setFont(bold);
        Detail << named<QLabel>(this, "Detail" + n);
        Copier << named<QPushButton>(this, "Copier" + n);
        Copier[i]->setText(QStringLiteral("Copier"));
        grid->addWidget(Libelle[i], i, 0);
        grid->addWidget(Valeur[i], i, 1);
        grid->addWidget(Copier[i], i, 2);
        grid->addWidget(Detail[i], i, 3);
        connect(Copier[i], &QPushButton::clicked, this,
                [this, i] { QGuiApplication::clipboard()->setText(Valeur[i]->text()); });
    }
    grid->setColumnStretch(3, 1);
    column->addLayout(grid);

    Avertissement = named<QLabel>(this, "Avertissement");
    Avertissement->setWordWrap(true);
    look::setTextColour(Avertissement, look::warning);
    Avertissement->hide();
    column->addWidget(Avertissement);

    Ecart = named<QLabel>(this, "Ecart");
    Ecart->setWordWrap(true);
    look::setTextColour(Ecart, look::warning);
    Ecart->hide();
    column->addWidget(Ecart);

    Note = named<QLabel>(this, "Note");
    Note->setWordWrap(true);
    Note->setText(QStringLiteral("Chaque mois, le service en ligne demande les heures normales (en heures "
                                 "entières), les jours d'activité et le salaire net ; les indemnités "
                                 "d'entretien et de repas se déclarent à part, sans cotisations."));
    column->addWidget(Note);

    auto *buttons = new QHBoxLayout;
    ToutCopier = named<QPushButton>(this, "ToutCopier");
    ToutCopier->setText(QStringLiteral("Tout copier"));
    Fermer = named<QPushButton>(this, "Fermer");
    Fermer->setText(QStringLiteral("&Fermer"));
    Cout = named<QPushButton>(this, "Cout");
    Cout->setText(QStringLiteral("Coût pour la famille"));
    Cout->setEnabled(false);
    buttons->addWidget(ToutCopier);
    buttons->addWidget(Cout);
    buttons->addStretch(1);
    buttons->addWidget(Fermer);
    column->addLayout(buttons);
    connect(ToutCopier, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(m_allText); });
    connect(Fermer, &QPushButton::clicked, this, &QWidget::hide);
    connect(Cout, &QPushButton::clicked, this, &TDeclaration::CoutClick);

    resize(620, 420);
    centreOnScreen(this);
}

void TDeclaration::FormActivate()
{
    // Right after the start, the parameters the files hold.
    guarded([] { win().Parametres->ensureLoaded(); });
    fillMonths();
    compute();
}

void TDeclaration::fillMonths()
{
    // The hours window's month, once validated, under an empty key.
    const QString sheetKey = win().Horaire->moan->text();
    const std::optional<MonthKey> sheetMonth = MonthKey::fromText(sheetKey);
    const QString kept = sheetKey != m_sheetMonth ? QString() : MoisDeclaration->currentData().toString();
    const bool keep = sheetKey == m_sheetMonth && MoisDeclaration->currentIndex() >= 0;
    m_sheetMonth = sheetKey;
    // A table that cannot be read now (the month review holds it) offers
    // the hours window's month alone; no box comes back at each activation.
    QList<StoredMonth> months;
    try {
        months = storedMonths(programFolder(), win().Parametres->currentSlot());
    } catch (const RuntimeError &) {
    }

    const QSignalBlocker quiet(MoisDeclaration);
    MoisDeclaration->clear();
    if (sheetMonth)
        MoisDeclaration->addItem(QStringLiteral("%1 (feuille d'heures)").arg(sheetMonth->title()), QString());
    for (const StoredMonth &m : months)
        MoisDeclaration->addItem(m.line(), m.key);
    const int again = keep ? MoisDeclaration->findData(kept) : -1;
    MoisDeclaration->setCurrentIndex(again >= 0 ? again : 0);
    MoisDeclaration->setEnabled(MoisDeclaration->count() > 0);
}

void TDeclaration::compute()
{
    // The month chosen from the table, taken back into its sheet; with none
    // (nothing listed), the hours window's, which says why nothing is declared.
    const QString key = MoisDeclaration->currentData().toString();
    SlipInput in = gatherSlipInput();
    m_figures.reset();
    Cout->setEnabled(false);
    if (!key.isEmpty()) {
        try {
            in = gatherSlipInput(storedMonthSheet(programFolder(), win().Parametres->currentSlot(), key));
        } catch (const RuntimeError &e) {
            // Said in the window, as a slip that cannot be worked out is.
            Declaration unread;
            unread.childName = in.prenom3;
            unread.failure = e.message();
            show(unread);
            Avertissement->hide();
            Ecart->hide();
            return;
        }
    }
    const int basis = win().Parametres->Netbrut->itemIndex();
    if (basis != 0 && basis != 1) {
        Declaration none;
        none.childName = in.prenom3;
        none.failure = rtl::noBasisChosen();
        show(none);
        Avertissement->hide();
        Ecart->hide();
        return;
    }
    const bool gross = basis == 1;
    // A month a regular contract pays is declared from the contract's slip.
    Declaration d;
    // The slip the figures come from, for setting it against the saved one.
    SlipResult slip;
    std::optional<ContractHours> hours;
    const int slot = win().Parametres->currentSlot();
    if (!guarded([&] {
            const contract::ContractInputs inputs = contract::loadSlipInputs(programFolder(), slot, in.moan);
            if (!contract::paidByContract(inputs.contract, in.moan)) {
                slip = gross ? computeGrossSlip(in) : computeNetSlip(in);
                d = declarationFor(in, slip, gross);
                return;
            }
            const contract::ContractSlip c = contract::contractSlipOf(inputs, in, gross);
            if (c.failure.isEmpty()) {
                slip = c.slip;
                hours = c.hours;
                d = declarationFor(in, c.slip, gross, c.hours);
            } else {
                d.childName = in.prenom3;
                d.failure = c.failure;
            }
        }))
        return;
    show(d);
    if (d.complete()) {
        m_figures = Figures{in, slip, hours};
        Cout->setEnabled(true);
    }
    // A month from the table whose slip was saved: the saved figures beside
    // today's where they part (the parameters or its days changed since).
    QStringList differences;
    if (!key.isEmpty() && d.complete())
        if (const std::optional<ArchivedSlip> saved = savedSlip(programFolder(), slot, key))
            guarded(
                [&] { differences = slipDifferences(*saved, archivedSlipFor(in, slip, gross, slot, {}, {}, hours)); });
    Ecart->setText(differences.isEmpty() ? QString() : slipDifferencesHeading() + '\n' + differences.join('\n'));
    Ecart->setVisible(!differences.isEmpty());
    // The minimums of the month declared; a month without figures has none to check.
    QString note;
    if (d.complete()) {
        const legal::Loaded legalValues = legal::loadTable(programFolder() + folder::legalTable);
        note = legalValues.table ? legal::monthWarnings(*legalValues.table, in, gross).join('\n') : legalValues.message;
    }
    Avertissement->setText(note);
    Avertissement->setVisible(!note.isEmpty());
}

void TDeclaration::show(const Declaration &d)
{
    prenom->setText(d.childName);
    Message->setText(d.failure);
    Message->setVisible(!d.complete());
    // A month paid by the hour has eight rows; a contract's month ten, eleven
    // when it pays paid leave on top of the base.
    const QStringList &labels =
        d.figures.size() > declarationLabels().size() ? contractDeclarationLabels() : declarationLabels();
    for (int i = 0; i < FigureCount; ++i) {
        const bool has = i < d.figures.size();
        const bool shown = has || i < labels.size();
        Libelle[i]->setText(has ? d.figures[i].label : shown ? labels.at(i) : QString());
        Valeur[i]->setText(has ? d.figures[i].value : QString());
        Detail[i]->setText(has ? d.figures[i].detail : QString());
        Copier[i]->setEnabled(has);
        for (QWidget *w : {static_cast<QWidget *>(Libelle[i]), static_cast<QWidget *>(Valeur[i]),
                           static_cast<QWidget *>(Detail[i]), static_cast<QWidget *>(Copier[i])})
            w->setVisible(shown);
    }
    m_allText = declarationText(d);
    ToutCopier->setEnabled(d.complete());
}

void TDeclaration::CoutClick()
{
    if (m_figures)
        TCout::open()->showFor(win().Parametres->currentSlot(), m_figures->input, m_figures->slip, m_figures->hours);
}
