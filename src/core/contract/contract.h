#pragma once
// A child's contract with the childminder: its kind, its dates, the planned
// hours of each weekday, the weeks of care in a year and the periods without
// care, the rates added to extra hours, and the child's absences.
//
// Hours are whole minutes; dates are plain calendar days. A regular contract
// (a complete or an incomplete year) is paid a mensualised salary; the
// occasional kind is what a child without a contract has, paid by the hour
// as the ordinary slips compute it.

#include "contract/contractrules.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace legal {
class Table;
}

namespace contract {

// In the order of the window's radio group.
enum class Kind { Occasional = 0, CompleteYear = 1, IncompleteYear = 2 };
// In the order of the absences' drop-down.
enum class Reason { MinderAbsent = 0, ChildSick = 1, ChildInHospital = 2, ParentsChoice = 3, MinderLeave = 4 };

// When the paid leave of an incomplete year is paid, in the order of the
// window's drop-down.
enum class LeavePayment { InJune = 0, MainLeave = 1, AsTaken = 2 };
// Why a contract ends, in the order of the window's drop-down.
enum class EndReason {
    ChildWithdrawn = 0,
    Resignation = 1,
    SeriousMisconduct = 2,
    ApprovalWithdrawn = 3,
    TrialPeriod = 4
};

// "Heures réelles (accueil occasionnel)", "Année complète (52 semaines)", "Année incomplète".
const QStringList &kindTexts();
// "En une fois, en juin", "À la prise principale des congés", "Au fur et à mesure de la prise".
const QStringList &leavePaymentTexts();
// The five reasons of an absence, as the window lists them.
const QStringList &reasonTexts();
// A reason as a slip lists it, inside its brackets: the window's text with
// its own brackets turned into a comma ("Enfant malade, certificat médical").
QString reasonOnSlip(Reason reason);
// "Lundi" to "Dimanche", the planning's captions.
const QStringList &weekdayTexts();
// The five reasons a contract ends, as the window lists them.
const QStringList &endReasonTexts();

// What each value of a contract may be, typed or read from its file: the
// window's pickers and spin boxes allow no more, the file's checks are made
// from them, and a file holding a value outside them is a damaged one.
struct IntRange {
    int min, max;
    constexpr bool contains(qint64 v) const { return v >= min && v <= max; }
};
inline constexpr IntRange KindRange{0, 2};
// A day's planned time is shown HH:MM: 23:59 at most.
inline constexpr IntRange DayMinutesRange{0, 23 * 60 + 59};
inline constexpr IntRange WeeksRange{0, rules::WeeksPerYear};
inline constexpr IntRange MajorationRange{0, 100};
inline constexpr IntRange ReasonRange{0, 4};
inline constexpr IntRange LeavePaymentRange{0, 2};
inline constexpr IntRange EndReasonRange{0, 4};
// The span of every date of a contract. The window's empty date picker shows
// 01/01/1900, so the span starts after it; no loop over days or years ever
// runs beyond this span.
inline const QDate FirstDateAllowed{1901, 1, 1};
inline const QDate LastDateAllowed{2100, 12, 31};

// The captions of the contract's fields and tables, as the window labels
// them and as a message names them.
inline const QString FirstCaption = QStringLiteral("Début du contrat");
inline const QString LastCaption = QStringLiteral("Fin du contrat");
inline const QString NotifiedCaption = QStringLiteral("Lettre présentée le");
inline const QString PeriodsCaption = QStringLiteral("Périodes sans accueil");
inline const QString AbsencesCaption = QStringLiteral("Absences");
inline const QString WeeksCaption = QStringLiteral("Semaines d'accueil par an");
inline const QString AlsaceMoselleCaption = QStringLiteral("Jours fériés d'Alsace-Moselle");
inline const QString HolidaysWorkedCaption = QStringLiteral("Jours fériés travaillés");
inline const QString MajHCCaption = QStringLiteral("Majoration des heures complémentaires");
// "<field> : <value> n'est pas entre <min> et <max>."; empty inside the range.
QString rangeFault(const QString &field, int value, IntRange range);

// The legal limits a contract is checked and paid against, as the table of
// legal values gives them on a date.
struct Limits {
    int weekMinutes = 0;  // the most a week may plan, and where majorated hours start
    int minimumMajHM = 0; // the least majoration of the hours beyond it, in percent
    int maximumWeeks = 0; // the most weeks of care of an incomplete year
};
// The limits in force on `date`; none while the table has no value of one
// of them on that date (no check rather than a guess).
std::optional<Limits> limitsOn(const legal::Table &table, QDate date);

// The majorated hours' caption, with the week's limit in force: "Majoration
// des heures au-delà de 45 h"; "... au-delà du maximum de la semaine" while
// no limit is known.
QString majHMCaption(const std::optional<Limits> &limits);

// Both days included. A range whose dates are not set is one a user left empty.
struct DateRange {
    QDate from, to;
    bool contains(QDate d) const { return d >= from && d <= to; }
    bool overlaps(const DateRange &o) const { return from <= o.to && o.from <= to; }
    friend bool operator==(const DateRange &, const DateRange &) = default;
};

struct Absence {
    DateRange range;
    Reason reason = Reason::MinderAbsent;
    friend bool operator==(const Absence &, const Absence &) = default;
};

// A weekday's planned times, in minutes after midnight: when the child
// arrives and, for a child who goes home at noon, the one break of the day
// (leaving, then back). The departure follows from the weekday's planned
// hours. Each is none while not given: a contract of an earlier file has
// hours and no times.
struct DayTimes {
    std::optional<int> arrival;
    std::optional<int> breakFrom, breakTo; // both or neither
    bool hasBreak() const { return breakFrom && breakTo; }
    friend bool operator==(const DayTimes &, const DayTimes &) = default;
};

struct Contract {
    Kind kind = Kind::Occasional;
    QDate first;
    QDate last;                          // null while the end is not known
    std::array<int, 7> plannedMinutes{}; // Monday to Sunday
    std::array<DayTimes, 7> plannedTimes{}; // Monday to Sunday
    // Good Friday and 26 December are public holidays too (Alsace-Moselle).
    bool alsaceMoselle = false;
    // The planning is kept on public holidays: a holiday on a planned day is
    // a day of care (paid as the parameters' holiday setting says).
    bool holidaysWorked = false;
    int weeks = 0;                       // weeks of care a year, for an incomplete year
    QList<DateRange> periodsWithoutCare;
    int majHC = 0; // percent added to complementary hours
    // Percent added to hours beyond the week's limit: a new contract in the
    // window takes the least majoration in force (Limits::minimumMajHM).
    int majHM = 0;
    QList<Absence> absences;
    LeavePayment leavePayment = LeavePayment::InJune; // an incomplete year's
    // How it ends: none while no end is given; the day the letter ending it
    // was first presented (the notice runs from it).
    std::optional<EndReason> endReason;
    QDate notified;

    bool isRegular() const { return kind != Kind::Occasional; }
    int weeklyMinutes() const;
    // A year's weeks for a complete year, `weeks` for an incomplete one.
    int weeksPerYear() const;
    bool inside(QDate d) const { return d >= first && (last.isNull() || d <= last); }
    bool withoutCare(QDate d) const;
    // The weekday's hours of a day inside the contract and not in a period
    // without care; 0 for any other day.
    int plannedOn(QDate d) const;
    // The departure of weekday `index` (0 Monday): the arrival, the planned
    // hours and the break; none without an arrival.
    std::optional<int> departure(int index) const;
    // Whether every weekday with planned hours has its arrival.
    bool timesComplete() const;
    // The first day of the contract year holding `d`: the contract years run
    // from the first day's anniversaries.
    QDate contractYearStart(QDate d) const;

    friend bool operator==(const Contract &, const Contract &) = default;
};

// The first value of `c` outside the ranges above, in French naming the
// field as the window labels it (with `limits`, those in force); empty when
// every value lies inside them. Dates that are not set are left to validate().
QString valueFault(const Contract &c, const std::optional<Limits> &limits = std::nullopt);
// What a contract typed in the window may not be, beyond what a stored one is
// checked for: a regular contract planning no hour, an absence wholly
// outside the contract. Empty when it may be stored.
QString entryFault(const Contract &c);
// The contract with each absence that reaches outside its dates cut to
// them, and a line for each one cut, naming its row.
std::pair<Contract, QStringList> absencesCutToContract(Contract c);

// The first fault of the planned times: an arrival on a day without hours,
// a break half given, given without an arrival or outside the day, a day
// running past midnight. Empty when there is none.
QString timesFault(const Contract &c);

// The first fault of a contract that cannot be stored, in French, naming the
// field; empty when it may be stored. Without limits, the legal ones are
// not checked.
QString validate(const Contract &c, const std::optional<Limits> &limits);
// A note that does not stop the contract (a majoration below the legal
// minimum); empty when there is none.
QString warning(const Contract &c, const std::optional<Limits> &limits);
// How many weeks of care the periods without care leave in the contract
// year starting at `yearStart`: the Monday-to-Sunday weeks whose Monday lies
// in that year and that keep at least one weekday with hours outside every
// period, a year's weeks at most.
int weeksLeftInYear(const Contract &c, QDate yearStart);

// The line the window shows when the periods without care of the contract
// year holding `today` (the first one before the contract starts, the one
// holding its last day once it is over) leave a
// number of weeks of care other than `weeks`; empty otherwise, and for a
// complete year.
QString weeksNote(const Contract &c, QDate today);

// "HH:MM" of a count of minutes (hours beyond 99 are written whole).
QString minutesText(qint64 minutes);

} // namespace contract
