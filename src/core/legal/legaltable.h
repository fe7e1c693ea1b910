#pragma once
// The legal values with their dates: the minimum wage, the childminder's
// minimum hourly wage, the minimum maintenance allowance, the childcare tax
// credit's ceiling and rate. They change at fixed dates, so they live in a
// data file shipped with the program ("Baremes.txt", UTF-8), never in code.
//
// The file's first line is "BERLIVO VALEURS LEGALES;<edition>;<sha256>": the
// edition, a whole number that grows with each shipped file, and the SHA-256
// (lower-case hex) of every byte after that line. Then one value a line,
// "key;amount;YYYY-MM-DD;source", the amount with "." (euros, or percent for
// a rate); blank lines and lines starting with "#" are comments. A value is
// in force from its date until the next row of the same key.

#include "common/errors.h"
#include "payslip/money.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace legal {

enum class Key {
    Smic,                   // "smic_horaire_brut": minimum wage, gross per hour
    ChildminderHourly,      // "am_horaire_brut_min": childminder's minimum gross hourly wage
    UpkeepPerDay,           // "entretien_min_jour": minimum maintenance per day of care
    UpkeepPer9Hours,        // "entretien_min_9h": minimum maintenance for 9 hours of care
    CreditCeiling,          // "credit_garde_plafond": costs retained per child and year
    CreditRate,             // "credit_garde_taux": the credit's rate, in percent
    WeekHoursMax,           // "semaine_heures_max": the most hours a week, where majorated hours start
    MajorationMin,          // "majoration_heures_sup_min": the least majoration of those hours, in percent
    IncompleteYearWeeksMax, // "annee_incomplete_semaines_max": the most weeks of care of an incomplete year
    // The childcare aid (CMG) worked out per hour since its reform:
    AidHourlyCap,           // "cmg_plafond_horaire_am": the most hourly cost counted for a childminder
    AidReferenceCost,       // "cmg_cout_horaire_reference": the reference hourly cost Cref
    AidEffortRate1,         // "cmg_taux_effort_1": the effort rate of a family of 1 child, in percent
    AidEffortRate2,         // "cmg_taux_effort_2": of 2 children
    AidEffortRate3,         // "cmg_taux_effort_3": of 3 children
    AidEffortRate4,         // "cmg_taux_effort_4_a_7": of 4 to 7 children
    AidEffortRate8,         // "cmg_taux_effort_8": of 8 children or more
    AidResourcesCeiling,    // "cmg_ressources_plafond": the monthly resources above which there is no aid
    AidAgeLimit,            // "cmg_age_limite": the aid stops with the month of this birthday
    AidAgeLimitSingle,      // "cmg_age_limite_parent_isole": the same for a single parent
    AidSharedPerParent,     // "cmg_garde_alternee_par_parent": 1 from the day each parent of a child
                            // in shared custody has an aid of their own
};
// The key as the file spells it.
QString keyName(Key key);

// A source beginning with this mark names a value the program's authors could
// not check against its text: it is shown as such wherever it is used.
inline const QString unverifiedMark = QStringLiteral("NON VÉRIFIÉ");

struct Value {
    Money amount;
    QDate from;
    QString source;
    bool verified() const { return !source.startsWith(unverifiedMark); }
};

class Table {
public:
    // The table in `bytes`, read from `path` (named in the messages). A
    // damaged table raises rtl::legalTableDamaged with the first bad line.
    static Table parse(const QByteArray &bytes, const QString &path);
    // Reads the file; a missing one raises rtl::legalTableMissing.
    static Table load(const QString &path);

    int edition() const { return m_edition; }
    // The value of `key` in force on `date`; nullopt before its first row:
    // unknown, never a guess.
    std::optional<Value> inForce(Key key, const QDate &date) const;
    // The date of the first row of `key`: the day a rule it belongs to
    // began; nullopt when the table has none.
    std::optional<QDate> since(Key key) const;

private:
    struct Row {
        Key key;
        Value value;
    };
    int m_edition = 0;
    QList<Row> m_rows;
};

// The table at `path`, or the French message saying why there is none (a
// window shows the message where its warnings would stand).
struct Loaded {
    std::optional<Table> table;
    QString message;
};
Loaded loadTable(const QString &path);

// The first word of this file's header.
inline const QByteArray legalValuesMagic = QByteArrayLiteral("BERLIVO VALEURS LEGALES");

// What a file's header says of it: its edition (0 when the header is not
// one) and whether the rest of the file is still the text it was shipped with.
// The dated tables shipped beside this one share the header's form, each
// with its own first word.
struct Edition {
    int number = 0;
    bool asShipped = false;
};
Edition editionOf(const QByteArray &bytes, const QByteArray &magic = legalValuesMagic);

// The rows of a table in that header's form: its edition, and every line
// after the header that is neither blank nor a comment ("#"), with its line
// number in the file. A header of another form, or a text that is not UTF-8,
// raises what `damaged` makes of line 1 and the reason.
using DamageRaiser = std::function<RuntimeError(int line, const QString &why)>;
struct TableText {
    int edition = 0;
    QList<std::pair<int, QString>> rows;
};
TableText tableText(const QByteArray &bytes, const QByteArray &magic, const DamageRaiser &damaged);

// Whether a table already in the program folder gives way to the one shipped
// with the program: when there is none, or when it is an older edition that
// nobody edited. A file the user changed is theirs and is kept.
bool shippedReplaces(const QByteArray &present, const QByteArray &shipped,
                     const QByteArray &magic = legalValuesMagic);

} // namespace legal
