#pragma once
// Text to number and number to text, with the program-wide decimal separator.
//
// The main window sets the separator to "." at its first activation, so every
// conversion the user's data goes through reads and writes ".". The parsing
// rules are those of the runtime: blanks around the number, a leading sign and
// a decimal exponent are accepted; digit grouping is not.

#include <QChar>
#include <QString>
#include <optional>

// The separator in force, and its setter (the main window saves and restores it).
QChar decimalSeparator();
void setDecimalSeparator(QChar separator);

// A real in extended precision; nullopt when the text is not a number.
std::optional<long double> tryParseFloat(const QString &text);
// Same, raising "'%s' n'est pas une valeur en virgule flottante correcte".
long double parseFloat(const QString &text);

// A 32-bit integer (decimal, or hexadecimal after "$" or "0x"); nullopt when
// the text is not one or is out of range.
std::optional<qint32> tryParseInt(const QString &text);
// Same, raising "'%s' n'est pas une valeur entière correcte".
qint32 parseInt(const QString &text);

// General format: the shortest text with up to `precision` significant
// digits, no trailing zeros, an exponent only for very large or very small
// values (7.5, 0, 2.33333333333333, 1E20, 1E-5).
QString formatGeneral(long double value, int precision = 15);
