#pragma once
// The employee's contribution lines with their dates, and the nine rows of
// the parameters window's contribution table they give on a date.
//
// The lines live in a data file shipped with the program ("Cotisations.txt",
// UTF-8) with the header of the legal values' file, "BERLIVO COTISATIONS;
// <edition>;<sha256>", then one line a row:
//
//     key;heading;rate;base;YYYY-MM-DD;region;source
//
// `rate` is the employee's rate in percent of `base`, itself a percentage of
// the gross salary, both with "." and at most four decimals. A line holds
// from its date until the next row of the same key; a row whose rate is
// "fin" ends the line. `region` is empty for a line that applies everywhere,
// "alsace-moselle" for the local scheme's. Lines sharing a heading make one
// row of the window's table, in the order the headings first appear: the
// first row is the one the gross slip adds back to the net salary to give
// the taxable salary, so the file puts the non-deductible CSG and CRDS first.

#include "common/counts.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace legal {

// The first word of the contribution file's header.
inline const QByteArray contributionsMagic = QByteArrayLiteral("BERLIVO COTISATIONS");

struct Contribution {
    QString key;
    QString heading;
    qint64 rate = 0; // ten-thousandths of a percent
    qint64 base = 0; // ten-thousandths of a percent of the gross salary
    QDate from;
    bool localScheme = false; // Alsace-Moselle only
    bool ends = false;        // the line stops at `from`
    QString source;
};

// The nine rows as the window's controls hold them: names (StaticText1..9),
// NET coefficients (Edit1..9), BRUT rates (Edit10..18) and whole base
// percentages (Edit19, Edit20, Edit23, Edit25..30).
struct RateRows {
    std::array<QString, ContributionLines> names, net, gross, bases;
    friend bool operator==(const RateRows &, const RateRows &) = default;
};

class Contributions {
public:
    // The table in `bytes`, read from `path` (named in the messages). A
    // damaged table raises the contribution table's damage message with the
    // first bad line; so does one that would give, on one of its dates, more
    // rows than the window has or rates of 100 % or more in all.
    static Contributions parse(const QByteArray &bytes, const QString &path);
    // Reads the file; a missing one raises its own message.
    static Contributions load(const QString &path);

    int edition() const { return m_edition; }
    // The lines in force on `date`, in the file's order; for Alsace-Moselle
    // (`localScheme`) its own lines too. Empty before the table's first date.
    QList<Contribution> inForce(const QDate &date, bool localScheme) const;
    // The first date the table knows; invalid for a table without a line.
    QDate firstDate() const;
    // The headings of the local scheme's lines.
    QStringList localHeadings() const;

private:
    int m_edition = 0;
    QList<Contribution> m_lines; // in the file's order
};

// The table at `path`, or the French message saying why there is none (the
// parameters window shows it where its note on the rates would stand).
struct LoadedContributions {
    std::optional<Contributions> table;
    QString message;
};
LoadedContributions loadContributions(const QString &path);

// The table's rows for these lines. Lines of one heading on one whole base
// keep it and add their rates; on a base that is not whole (the CSG's
// 98.25 %), or on several bases, the base is folded into the rate on 100 %
// and the name says which base it was ("CSG déductible sur 98,25 % :").
// Spare rows read "..........", "0.0", "0.00" and "100".
//
// The NET coefficient of a row is its share of the gross, a, over the share
// that remains after all rows, 1 - t: a net salary N is the gross N / (1 - t)
// less its contributions, so the row costs N x a / (1 - t). It is written to
// seven decimals, which keeps its own rounding below a ten-thousandth of a
// euro on any month's pay.
RateRows rowsOf(const QList<Contribution> &lines);

// Whether the rows on screen have the rates of `expected`, row by row: the
// same BRUT rate on the same base (or the same product of the two), the same
// NET coefficient to its seventh decimal. Names are not compared; a text
// that is not a number never matches.
bool sameRates(const RateRows &shown, const RateRows &expected);

} // namespace legal
