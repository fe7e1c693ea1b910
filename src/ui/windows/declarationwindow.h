#pragma once
// The month's declaration figures, each ready to copy into the online
// declaration service, worked out afresh from the parameters and the month
// sheet each time the window becomes active.

#include "widgets/form.h"
#include "payslip/declaration.h"
#include "payslip/slip.h"

#include <QList>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct Declaration;

class TDeclaration : public Form {
    Q_OBJECT
public:
    explicit TDeclaration(QWidget *parent = nullptr);

    // Eight figures for a month paid by the hour, ten for a regular
    // contract's month (its complementary and majorated hours), eleven when
    // the month pays paid leave on top of the base.
    static constexpr int FigureCount = 11;
    QLabel *prenom, *Message, *Note;
    // The month declared: the one validated in the hours window, or any
    // month the child's table holds, the latest first.
    QComboBox *MoisDeclaration;
    // The month's wage or maintenance allowances below the legal minimum in
    // force that month (or why nothing could be checked); hidden otherwise.
    QLabel *Avertissement;
    // A month from the table whose saved slip differs from what its days and
    // the parameters give today: both figures; hidden otherwise.
    QLabel *Ecart;
    QList<QLabel *> Libelle, Detail; // Libelle1..11, Detail1..11
    QList<QLineEdit *> Valeur;       // Valeur1..11
    QList<QPushButton *> Copier;     // Copier1..11
    QPushButton *ToutCopier, *Fermer;
    // "Coût pour la famille": the month declared, what it costs the family.
    QPushButton *Cout;

    // Lists the months again and recomputes the figures of the month chosen
    // from the windows as they stand.
    void FormActivate();

protected:
    void onActivate() override { FormActivate(); }

private:
    void fillMonths();
    void compute();
    void show(const Declaration &d);
    void CoutClick();
    QString m_allText;
    // The slip the figures shown come from, for the cost window.
    struct Figures {
        SlipInput input;
        SlipResult slip;
        std::optional<ContractHours> hours;
    };
    std::optional<Figures> m_figures;
    // The hours window's month when the list was last filled: a month newly
    // validated there is the one declared, else the choice made here stays.
    QString m_sheetMonth;
};
