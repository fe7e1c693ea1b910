#pragma once
// The childcare tax credit of one child and year, from the archived slips.
//
// A child under 6 on 1 January of the year (born on or after 1 January of
// the year minus 6) opens it: the year's costs (net salaries plus maintenance
// allowances, meals excluded) less the childcare aid (CMG) received are what
// the tax form takes, in the box of the child's rank (7GA, 7GB, 7GC; in
// shared custody 7GE, 7GF, 7GG); the costs retained are capped at the ceiling
// (half of it in shared custody) and the credit is the rate of them. The
// ceiling and the rate are those in force on 1 January of the year. What the
// online service's yearly certificate says is the official figure: this is
// the parent's check.

#include "archive/sliparchive.h"
#include "archive/yearsummary.h"
#include "legal/legaltable.h"
#include "settings/familyfile.h"

#include <QDate>
#include <QList>
#include <QString>
#include <array>

namespace legal {

// One child of the year, as the credit sees it.
struct CareYear {
    int slot = 0;
    QDate birth;      // as the parameters hold it
    qint64 costs = 0; // cents: net salaries and maintenance allowances archived
    CareAid aid;
    QList<ArchivedSlip> slips{}; // the year's archived slips
};

struct TaxCredit {
    enum class Status {
        Credit,       // the figures below hold
        BirthUnknown, // the date of birth is not one the year can use
        TooOld,       // 6 or older on 1 January
        NoCosts,      // nothing archived for the year
        NoValues,     // the ceiling or the rate is unknown for the year
    };
    Status status = Status::NoCosts;
    QString reason;      // why there is no credit; "" with one
    qint64 costs = 0;    // cents
    qint64 cmg = 0;      // cents, as typed, or estimated where none was typed
    bool cmgEstimated = false;
    QString cmgNote;     // why the aid could not be estimated where none was typed, or ""
    bool shared = false; // shared custody
    qint64 declared = 0; // costs less the aid, never below 0
    qint64 ceiling = 0;  // the child's ceiling (halved in shared custody)
    qint64 retained = 0; // the declared costs up to the ceiling
    qint64 credit = 0;   // cents
    Money rate;          // percent
    QString box;         // "7GA" ... ; "" when the rank cannot be told
    QString boxNote;     // why there is no box, or ""
};

// A date of birth the year can use: a real date, not the empty record's
// 30/12/1899, and not after the end of the year (a child not yet born then
// had no care; such a date is the day the slot was made, not typed yet).
bool birthKnown(const QDate &birth, int year);
// Under 6 on 1 January of `year`, as the tax form counts: born on or after
// 1 January of year - 6.
bool underSix(const QDate &birth, int year);

// The credit of `slot` among the year's children (every slot, for the box
// rank: the children under 6 with costs that year and the same kind of
// custody, in slot order).
TaxCredit taxCredit(const Table &table, int year, const QList<CareYear> &children, int slot);

// The year's children from the archive of the program folder (ending with
// "/"): each slot's archived costs and typed aid. `births` are the dates the
// parameters hold, slot 1 first. Without an archive every child has no cost.
QList<CareYear> careYears(const QString &programFolder, int year, const std::array<QDate, ChildCount> &births);

// The credit of a child and year from the program folder (ending with "/"):
// its archive and its table of legal values, with the dates of birth the
// parameters hold; and the aid typed for that child and year. A file that
// cannot be read gives no credit, its message as the reason.
struct YearCredit {
    TaxCredit credit;
    CareAid aid;
};
// With the family's particulars, an aid not typed (0) is estimated from the
// year's archived slips (familycost.h) and marked so.
YearCredit yearCredit(const QString &programFolder, int year, int slot, const std::array<QDate, ChildCount> &births,
                      const std::optional<Family> &family = std::nullopt);

// Keeps the aid typed for a child and year in the archive of the program
// folder (laying the archive out when it is new).
void storeCareAid(const QString &programFolder, int slot, int year, const CareAid &aid);
// An amount of aid as typed, with "," or ".", in cents; blank is 0. A text
// that is not an amount, or a negative one, raises the runtime's
// floating-point error.
qint64 typedCents(const QString &text);

// The credit's figures as label and amount text (for the window, the CSV and
// the PDF); only the reason when there is no credit.
QList<TaxFigure> creditFigures(const TaxCredit &credit);

} // namespace legal
