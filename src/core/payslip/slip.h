#pragma once
// The month's pay slip, worked out from the parameters and the month sheet.
//
// A slip window gathers a SlipInput (slipInputFrom: the child's record as the
// parameters window shows it and the hours window's month), calls the
// computation of its basis and writes the result into its labels. The
// computation runs its steps in a fixed order, because later steps use the
// amounts as earlier steps show them; when a text does not read as a number
// it stops at the step that reads it, and the result keeps what was filled
// before that point.

#include "attendance/monthsheet.h"
#include "common/counts.h"
#include "payslip/money.h"
#include "settings/paramrecord.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

// One day row of the hours window's month sheet, the columns the slip reads
// (each holds its mark, sheet::mark(), when ticked).
struct SheetDay {
    QString date;     // DD/MM/YYYY
    QString duration; // HH:MM:SS
    QString flatRate;
    QString breakfast;
    QString lunch;
    QString snack;
    QString dinner;
    QString holiday;

    friend bool operator==(const SheetDay &, const SheetDay &) = default;
};

// Everything a slip reads, as the windows hold it: texts as typed, item
// indexes, check states and dates. Members are named after their controls.
struct SlipInput {
    // hours window
    QString moan;    // month key MMYY
    QString totheur; // the month's hours, decimal text
    std::array<SheetDay, 31> days{};

    // parameters window: the parties
    QString prenom3, nom3;
    int pol1 = -1; // employee's title: Madame, Mademoiselle, Monsieur
    QString nom1, prenom1, Adr11, Adr12, cp1, Ville1, Secu;
    int pol2 = -1; // employer's title: Monsieur, Madame, Mademoiselle
    QString nom2, prenom2, adr21, adr22, cp2, ville2, urssaf;

    // leave taken this month
    bool CheckBox10 = false;
    QDate du, au;

    // the nine contribution lines
    std::array<QString, ContributionLines> lineName;    // StaticText1..9
    std::array<QString, ContributionLines> netRate;     // Edit1..9, NET coefficients
    std::array<QString, ContributionLines> grossRate;   // Edit10..18, BRUT rates in percent
    std::array<QString, ContributionLines> basePercent; // Edit19, 20, 23, 25..30, whole numbers

    // pay
    QString SH, FJ, SHbr, FJbr;
    bool Indentre = false;   // holiday supplement on
    QString Indentr;         // its multiplier
    bool CheckBox11 = false; // hourly maintenance allowance on
    QString ETH;
    bool CheckBox12 = false; // daily maintenance allowance on
    QString EFJ;
    QString diverse, abs, accpte;
    QString PD, D, G, Sp; // allowance per breakfast, lunch, snack, dinner

    QDate today; // date of issue

    friend bool operator==(const SlipInput &, const SlipInput &) = default;
};

// The new text of one label; nullopt when this computation did not set it.
using SlipText = std::optional<QString>;

// Every text of a slip, named after the slip window's labels. A computation
// that stopped leaves the fields it did not reach unset.
struct SlipResult {
    SlipText mois, an;
    SlipText prenom, nom;
    SlipText pol1, prenom1, nom1, adr11, adr12, cp1, ville1, secu1;
    SlipText pol2, prenom2, nom2, adr21, adr22, cp2, ville2, secu2;
    // A title whose radio group has no item chosen keeps its text: the
    // title is then unset although its step was done.
    bool pol1Kept = false, pol2Kept = false;
    SlipText du, au;
    std::array<SlipText, ContributionLines> St;   // line names
    std::array<SlipText, ContributionLines> rate; // net: Ed1..Ed9; gross: Ed10..Ed18
    std::array<SlipText, ContributionLines> base; // gross only: Ed19, Ed20, Ed23, Ed25..Ed30
    SlipText Date;
    std::array<std::array<SlipText, 3>, 32> Grille; // [row][column], row 0 the titles
    SlipText totheur, nbjf, feri1, feri2;
    SlipText salbrut; // gross only
    SlipText salnet, Cong, abs, diver, entret;
    std::array<SlipText, ContributionLines> cs;
    SlipText totcs, nour, acpt, net;
    SlipText salimp; // gross only

    // The amounts as shown, to the cent, for what reads the slip's figures
    // rather than its texts; meaningful where the text is set.
    struct Amounts {
        Money salbrut, salnet, Cong, abs, diver, entret, nour, acpt, net, totcs, salimp;
        std::array<Money, ContributionLines> cs{};
    } amounts;

    // The runtime's message when a text did not read, and the step that read it.
    std::optional<QString> error;
    int stoppedAtStep = 0;
    bool complete() const { return !error; }
};

// Net basis: the contributions are shown for information, the amount to pay
// is the net salary plus the allowances less the advance.
SlipResult computeNetSlip(const SlipInput &in);
// Gross basis: the contributions are deducted from the gross salary, and the
// taxable salary is shown.
SlipResult computeGrossSlip(const SlipInput &in);
// A month of a regular contract, on either basis: the month's salary S (the
// contract's mensualised base, less its absences, plus its extra hours and
// holiday supplement) takes the place of the base pay, so the slip's salary
// is round4(abs + (diverse + S)); no share of 10 % is added. `leave` is the
// part of S that is the month's paid leave, shown as Cong (0 in a month
// without one). The allowances, meals, advance, contributions and amount to
// pay follow the rules of the basis, through the same steps. `nonSalary`, a
// sum not subject to contributions (the termination indemnity of a
// contract's last slip), is added to the amount to pay.
SlipResult computeContractSlip(const SlipInput &in, bool grossBasis, Money monthSalary, Money leave = Money(),
                               Money nonSalary = Money());

// One contribution line on the net basis: the net amount times the line's NET
// coefficient (its text), to the ten-thousandth. A coefficient that is not a
// number raises the runtime's floating-point error.
Money netBasisContribution(long double netAmount, const QString &coefficient);
// A net amount carried to gross by the same lines: the net amount plus what
// each of the nine lines costs on it, as the net slip works them out.
Money grossOfNet(Money net, const std::array<QString, ContributionLines> &netRate);

// The columns of day row `row` (1 to 31) of a month sheet that a slip reads.
SheetDay sheetDay(const MonthSheet &sheet, int row);

// What a slip reads, and the one way to gather it: the child's parameter
// record as it stands (on screen, unconfirmed edits included), the month
// sheet with the month key and the month's hours its last validation wrote
// (the key is the hours window's placeholder before any), and the date of
// issue. A tick box greyed in the record counts as ticked.
SlipInput slipInputFrom(const ParamRecord &record, const MonthSheet &sheet, const QString &monthKey,
                        const QString &totalHours, const QDate &today);
