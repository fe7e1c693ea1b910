#pragma once
// The parameters that the slips read as numbers, what each is called where
// the parent sees it, and what is accepted in it.
//
// They are kept as the text typed, like every parameter; a text that the
// slip cannot read is refused when the field is left rather than found later
// by the slip, and a comma typed for the decimal separator (as a French user
// types it) is taken as the program's ".".

#include <QString>
#include <optional>

namespace numberfield {
// What a field holds: an amount in euros (5.13), a rate or a multiplier
// (0.0936, 2), or a whole number (a base percentage, 95).
enum class Kind { Amount, Coefficient, Whole };

struct Field {
    QString name;  // the control and record field
    QString label; // how the parent knows it, without the line's own name
    Kind kind;
    int line;              // 1 to 9 for a field of the contribution table, else 0
    bool positive = false; // an hourly wage: nothing is paid at 0 or less
};

// The number field of that control name; nullptr for any other field.
const Field *find(const QString &name);

// How a message names the field: its label, and for a contribution line the
// line's name as the table shows it ("Taux NET, ligne 3 (Sécurité Sociale)").
QString caption(const Field &field, const QString &lineName = {});

// A number of the kind, to show the form expected ("5.13").
QString example(Kind kind);

// The text kept for what was typed: blanks around dropped, one decimal comma
// turned into "."; an empty field stays empty (it reads as 0 once shown
// again). nullopt when the text is not a number of the field's kind.
std::optional<QString> accepted(const QString &typed, Kind kind);

// Why a number accepted by `accepted` still cannot be kept, in French and
// naming the field as `name`: a wage of 0 or less, or a text longer than the
// `capacity` characters the parameter file keeps (it would be cut there, a
// wage of 1000000000 becoming 10000000). Empty when it can.
QString refusal(const Field &field, const QString &name, const QString &kept, int capacity);
} // namespace numberfield
