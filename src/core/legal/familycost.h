#pragma once
// What a month of care costs the family: the childcare aid (CMG) estimated
// for one child's slip, the contributions the aid takes over, and what is
// left for the family to pay.
//
// Since the aid's reform it is worked out per hour and per child:
//     CMG = C x (1 - Rf x t / Cref), never below 0
// C the month's cost counted (the net salary, the maintenance allowances and
// the meals), its hourly cost at most the cap, Rf the family's monthly
// resources, t the effort rate of its number of children, Cref the reference
// hourly cost. With the aid and an hourly cost at most the cap, the office
// takes over every contribution; above the cap, the share cap x hours / C of
// them. The values come from the legal table, in force on the month's first
// day; each line is rounded once, to the cent, half away from zero, from the
// lines above it as shown. It is an estimate: the office's figure stands.
//
// Pure: the slip's figures, the family's particulars and the legal table are
// handed over as values.

#include "archive/sliparchive.h"
#include "legal/legaltable.h"
#include "payslip/declaration.h"
#include "payslip/money.h"
#include "payslip/slip.h"
#include "settings/familyfile.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace legal {

// The family as the aid counts it, for one child.
struct AidFamily {
    std::optional<Money> resources; // a month's, as the office counts them; none when not typed
    int children = 0;               // dependent children; 0 when not typed
    bool singleParent = false;
    int disabledChildren = 0;   // children receiving the disability allowance (AEEH)
    bool sharedCustody = false; // this child
    QDate birth;                // this child's; invalid when unknown
};

// The family of the particulars typed, for the child of `slot` (1 to 5)
// born on `birth`: every child ticked for the disability allowance moves
// the family one rate down.
AidFamily aidFamilyOf(const Family &f, int slot, const QDate &birth);

// The figures of one child's month the estimate reads, as its slip shows them.
struct SlipCost {
    int year = 0, month = 0;
    Money netSalary;          // everything subject to contributions, net
    Money upkeep;             // maintenance allowances
    Money meals;              // meal allowances
    Money contributions;      // the employee's contributions
    qint64 declaredHours = 0; // whole hours, as declared
    qint64 exactHours = 0;    // the hours paid exactly, in hundredths
};

// The slip's figures of a complete slip (slipCostOf reads a stopped one as
// nothing): a contract's month with its hours from the contract.
SlipCost slipCostOf(const SlipInput &in, const SlipResult &slip,
                    const std::optional<ContractHours> &contract = std::nullopt);

// The figures of an archived slip: its hours in hundredths, each count
// declared whole (half up).
SlipCost slipCostOf(const ArchivedSlip &slip);

// One figure of the estimate, under the name of the control that shows it,
// with the line saying how it is reached.
struct CostFigure {
    QString name;  // "CoutMois", "HeuresPayees", "CoutHoraire", "CMG", "PriseEnCharge", "ResteACharge"
    QString label; // "Coût du mois"
    QString value; // "606.25 €"; "" when there is no figure
    QString how;
};

struct FamilyCost {
    enum class Status {
        Estimated,    // the aid estimated (it may be 0)
        NoAid,        // no aid: resources above the ceiling, a child too old
        NotEstimated, // the rule or a value is not known for the month, the family not typed
    };
    enum class Takeover { All, Share, None };

    Status status = Status::NotEstimated;
    QString reason; // why there is no aid, or no estimate; "" with one

    Money monthCost;     // C: net salary, maintenance allowances and meals
    Money hourlyCost;    // C / hours declared (0 without hours)
    bool capPassed = false;
    Money counted;       // C counted for the aid: C, or the cap x hours
    Money effortRate;    // t, in percent
    Money aid;           // the CMG estimated
    qint64 aidEuros = 0; // as the office pays it, to the euro
    Takeover takeover = Takeover::None;
    qint64 takenHundredths = 10000; // the share of the contributions taken over, in hundredths of a percent
    Money contributionsLeft;        // the employee's contributions the family pays
    // The family also pays the employer's contributions not taken over,
    // which the program does not estimate.
    bool employerPartUnknown = false;
    Money left; // what is left for the family to pay, as far as it is estimated

    // The line of its own when the hourly cost passes the cap, and what that costs.
    QString capLine;
    // What the estimate rests on that the parent should know: values not
    // verified, an age not checked, shared custody.
    QStringList notes;
    // CoutMois, HeuresPayees, CoutHoraire, CMG, PriseEnCharge, ResteACharge, in that order.
    QList<CostFigure> figures;
};

// The estimate for the slip's month, by the values of `table` in force on its first day.
FamilyCost estimateFamilyCost(const Table &table, const SlipCost &slip, const AidFamily &family);

// The aid estimated over the archived slips of a year: the sum of the
// months' estimates, in cents (a month without aid counts 0). None when
// there is no slip, or when a month cannot be estimated: `why` then names
// the month and the reason.
struct YearAid {
    std::optional<qint64> cents;
    int months = 0;
    QString why;
};
YearAid estimatedYearAid(const Table &table, const QList<ArchivedSlip> &slips, const AidFamily &family);

// The names of the figures, in order.
const QStringList &costFigureNames();

} // namespace legal
