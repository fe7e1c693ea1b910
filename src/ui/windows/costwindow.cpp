#include "windows/costwindow.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/monthkey.h"
#include "common/programfiles.h"
#include "legal/familycost.h"
#include "legal/legaltable.h"
#include "widgets/helphook.h"
#include "widgets/look.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLabel *note(QWidget *parent, const char *name, bool warning)
{
    auto *l = named<QLabel>(parent, name);
    l->setWordWrap(true);
    l->setTextFormat(Qt::PlainText);
    if (warning)
        look::setTextColour(l, look::warning);
    l->hide();
    return l;
}

void say(QLabel *l, const QString &text)
{
    l->setText(text);
    l->setVisible(!text.isEmpty());
}
} // namespace

TCout::TCout(QWidget *parent) : Form("TCout", parent)
{
    setWindowTitle(QStringLiteral("Coût pour la famille"));
    setHelpContext(this, FamilyCostHelp);
    look::setBackground(this, look::windowColour);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(18, 14, 18, 14);
    column->setSpacing(10);

    auto *heading = new QHBoxLayout;
    heading->addWidget(new QLabel(QStringLiteral("Enfant :"), this));
    prenom = named<QLabel>(this, "prenom");
    QFont bold = prenom->font();
    bold.setBold(true);
    prenom->setFont(bold);
    heading->addWidget(prenom);
    heading->addSpacing(24);
    heading->addWidget(new QLabel(QStringLiteral("Mois :"), this));
    Mois = named<QLabel>(this, "Mois");
    Mois->setFont(bold);
    heading->addWidget(Mois, 1);
    column->addLayout(heading);

    Message = note(this, "Message", true);
    column->addWidget(Message);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);
    const QStringList &names = legal::costFigureNames();
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray n = names.at(i).toLatin1();
        Libelle << named<QLabel>(this, n + "Libelle");
        Valeur << named<QLabel>(this, n.constData());
        Valeur[i]->setFont(bold);
        Valeur[i]->setAlignment(Qt::AlignRight | Qt::AlignTop);
        Valeur[i]->setMinimumWidth(110);
        Valeur[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        Calcul << named<QLabel>(this, n + "Calcul");
        Calcul[i]->setWordWrap(true);
        Calcul[i]->setMinimumWidth(380);
        // The texts come from the figures and the legal table's sources: never markup.
        for (QLabel *l : {Libelle[i], Valeur[i], Calcul[i]})
            l->setTextFormat(Qt::PlainText);
        grid->addWidget(Libelle[i], i, 0, Qt::AlignTop);
        grid->addWidget(Valeur[i], i, 1, Qt::AlignTop);
        grid->addWidget(Calcul[i], i, 2, Qt::AlignTop);
    }
    grid->setColumnStretch(2, 1);
    column->addLayout(grid);
    CoutMois = Valeur[0];
    HeuresPayees = Valeur[1];
    CoutHoraire = Valeur[2];
    CMG = Valeur[3];
    PriseEnCharge = Valeur[4];
    ResteACharge = Valeur[5];
    look::setTextColour(ResteACharge, look::red);

    Depassement = note(this, "Depassement", true);
    column->addWidget(Depassement);
    Remarques = note(this, "Remarques", false);
    column->addWidget(Remarques);
    Avertissement = named<QLabel>(this, "Avertissement");
    Avertissement->setWordWrap(true);
    Avertissement->setText(QStringLiteral("Estimation : le montant versé par la CAF (le CMG) fait foi, et "
                                          "le service en ligne indique chaque mois ce qui est réellement prélevé."));
    column->addWidget(Avertissement);
    column->addStretch(1);

    auto *buttons = new QHBoxLayout;
    Aide = named<QPushButton>(this, "Aide");
    Aide->setText(QStringLiteral("&Aide"));
    Fermer = named<QPushButton>(this, "Fermer");
    Fermer->setText(QStringLiteral("&Fermer"));
    buttons->addWidget(Aide);
    buttons->addStretch(1);
    buttons->addWidget(Fermer);
    column->addLayout(buttons);
    connect(Fermer, &QPushButton::clicked, this, &QWidget::hide);
    connect(Aide, &QPushButton::clicked, this, [] { requestHelp(HELP_CONTEXT, FamilyCostHelp); });

    resize(780, 380);
    centreOnScreen(this);
}

TCout *TCout::open()
{
    if (!win().Cout)
        win().Cout = new TCout;
    return win().Cout;
}

void TCout::clearFigures()
{
    for (QList<QLabel *> *column : {&Libelle, &Valeur, &Calcul})
        for (QLabel *l : *column)
            l->clear();
    for (QLabel *l : {Depassement, Remarques})
        say(l, {});
}

void TCout::showFor(int slot, const SlipInput &in, const SlipResult &slip,
                    const std::optional<ContractHours> &contract)
{
    prenom->setText(in.prenom3);
    const std::optional<MonthKey> month = MonthKey::fromText(in.moan);
    Mois->setText(month ? month->title() : QString());
    clearFigures();
    guarded([&] {
        QString why;
        const legal::Loaded law = legal::loadTable(programFolder() + folder::legalTable);
        if (!month)
            why = rtl::noValidatedMonth();
        else if (!slip.complete())
            why = rtl::slipNotComputed(*slip.error);
        else if (!law.table)
            why = law.message;
        say(Message, why);
        if (!why.isEmpty())
            return;
        TParametres *p = win().Parametres;
        p->ensureLoaded();
        const legal::FamilyCost cost =
            legal::estimateFamilyCost(*law.table, legal::slipCostOf(in, slip, contract),
                                      legal::aidFamilyOf(p->familyOnScreen(), slot, p->birthDate(slot)));
        for (int i = 0; i < cost.figures.size() && i < Valeur.size(); ++i) {
            Libelle[i]->setText(cost.figures[i].label);
            Valeur[i]->setText(cost.figures[i].value);
            Calcul[i]->setText(cost.figures[i].how);
        }
        say(Depassement, cost.capLine);
        say(Remarques, cost.notes.join('\n'));
    });
    showAndActivate(this);
}
