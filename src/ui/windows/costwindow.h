#pragma once
// "Coût pour la famille": what the month of one child's slip costs the
// family, the childcare aid (CMG) estimated, the contributions it takes over
// and what is left to pay, each figure with the line saying how it is
// reached. Opened from the print/save window beside a slip and from the
// month's declaration, for the child and month they show; built when first
// opened. The figures are the pure estimate's (legal/familycost.h), from
// the slip's figures, the family's particulars as the parameters window
// holds them and the legal table.

#include "widgets/form.h"
#include "payslip/declaration.h"
#include "payslip/slip.h"

#include <QList>
#include <optional>

class QLabel;
class QPushButton;

class TCout : public Form {
    Q_OBJECT
public:
    explicit TCout(QWidget *parent = nullptr);

    // The window, built on its first use.
    static TCout *open();

    QLabel *prenom, *Mois;
    // Why there are no figures (no slip, no legal table), or nothing.
    QLabel *Message;
    // CoutMois, HeuresPayees, CoutHoraire, CMG, PriseEnCharge, ResteACharge:
    // the caption (<name>Libelle), the figure (<name>) and how it is reached
    // (<name>Calcul).
    QList<QLabel *> Libelle, Valeur, Calcul;
    QLabel *CoutMois, *HeuresPayees, *CoutHoraire, *CMG, *PriseEnCharge, *ResteACharge;
    // The hourly cost above the cap, and what it costs the family; hidden otherwise.
    QLabel *Depassement;
    // What the estimate rests on (values not verified, the age not checked).
    QLabel *Remarques;
    QLabel *Avertissement; // it is an estimate: the office's figure stands
    QPushButton *Aide, *Fermer;

    // Shows the estimate for the slip of child `slot` worked out from `in`
    // (`slip` on its basis; `contract`, a regular contract's hours).
    void showFor(int slot, const SlipInput &in, const SlipResult &slip,
                 const std::optional<ContractHours> &contract = std::nullopt);

private:
    void clearFigures();
};
