#pragma once
// One day of care as the day-record tables hold it: thirteen fields, their
// names, and the conversions between the program's text forms (DD/MM/YYYY,
// HH:MM:SS, "." decimals, "Vrai"/"Faux") and the stored values.
//
// On disk a date is ISO text YYYY-MM-DD, a time HH:MM:SS, Durée a real, a
// flag 0 or 1, Moan four characters, and an empty field is NULL, so that any
// SQLite tool reads a table sensibly.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

namespace day {

enum Field { Date, Heure1, Heure2, Heure3, Heure4, Duree, FJ, PD, Dej, Gouter, Diner, Ferie, Moan, FieldCount };
enum class Kind { Date, Time, Real, Flag, Key };

// The field names, in the table's order: "Date", "Heure1" ... "Ferié", "Moan".
const QStringList &fieldNames();
// The titles of the fields' columns on the month sheet, "Date" to "Ferié"
// (the month key has none).
const QStringList &sheetTitles();
Kind kindOf(int field);
// The index of a field name (exact match), or -1.
int fieldIndex(const QString &name);

// The text form of a value to store: an empty text gives NULL. A text that
// is not of the field's form raises the runtime's conversion error; a month
// key longer than four characters is cut to four.
QVariant fromText(int field, const QString &text);
// The stored value back in text form ("" for NULL).
QString toText(int field, const QVariant &stored);
// A value of the field's own type (QDate, QTime, double, bool, or text as
// fromText reads it) in stored form.
QVariant fromValue(int field, const QVariant &value);
// The stored value as a value of the field's own type (null stays null).
QVariant toValue(int field, const QVariant &stored);

inline QString flagText(bool on) { return on ? QStringLiteral("Vrai") : QStringLiteral("Faux"); }

// One day to store: the text of each field in the table's order.
using Record = std::array<QString, FieldCount>;

} // namespace day
