#pragma once
// The family's particulars that the childcare aid (CMG) is estimated from,
// typed once in the parameters window, and their file "Famille.txt".
//
// The parameter file's layout is fixed, so these live in a small file of
// their own: UTF-8 text, its first line "BERLIVO FAMILLE;<version>", then
// one particular a line, "key;value" ("#" starts a comment):
//   ressources;3000.00        the month's resources the office counts (empty: not typed)
//   enfants_a_charge;2        dependent children (0: not typed)
//   parent_isole;0            1 for a single parent
//   enfant;<slot>;<aeeh>;<alternee>   per child slot 1 to 5, each 0 or 1
// A file of a later version is read for the keys this one knows and never
// replaced: what it holds beyond them would be lost.

#include "common/counts.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

struct ChildAid {
    bool disabilityAllowance = false; // the child receives the AEEH
    bool sharedCustody = false;       // "Alternee": the child lives with each parent in turn
    friend bool operator==(const ChildAid &, const ChildAid &) = default;
};

struct Family {
    std::optional<qint64> resources; // cents a month; none when not typed
    int children = 0;                // 0 when not typed
    bool singleParent = false;
    std::array<ChildAid, ChildCount> child{}; // slot 1 first
    friend bool operator==(const Family &, const Family &) = default;
};

namespace family {
// The file's version this program writes.
inline constexpr int Version = 1;
// The most dependent children a family may type.
inline constexpr int MaxChildren = 20;

QByteArray fileBytes(const Family &f);
// The particulars in `bytes`; a damaged file raises aidmsg::familyFileDamaged
// naming `path`, the line and why. `version` receives the file's.
Family parse(const QByteArray &bytes, const QString &path, int *version = nullptr);

// An amount of resources as typed: blanks around, "," or "." and at most two
// decimals, not negative; nullopt for a blank text or one that is not such
// an amount.
std::optional<qint64> typedCents(const QString &text);
// Cents as the field and the file show them: "3000.00".
QString centsText(qint64 cents);

// The file read: the particulars, or none typed when there is no file; a
// damaged one gives its message (and no particulars); a later version's is
// read and marked so.
struct Loaded {
    Family family;
    QString message;
    bool present = false; // there is a file
    bool damaged = false; // there is one, and it could not be read
    bool newer = false;   // written by a later version
};
Loaded load(const QString &path);
// Writes the file whole (writeWholeFile's rules and errors).
void store(const QString &path, const Family &f);
} // namespace family
