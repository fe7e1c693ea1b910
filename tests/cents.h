#pragma once
// The amount a shown text stands for, in whole cents, read back from the text
// alone: a slip's "1 000.00" (a space between thousands) or a French
// "1234,50" (a decimal comma), through the program's own number parse.

#include "common/numbers.h"

#include <QString>
#include <cmath>
#include <optional>

inline qint64 cents(QString shown)
{
    shown.remove(' ');
    shown.replace(',', '.');
    return qint64(std::llround(double(parseFloat(shown)) * 100));
}
inline qint64 cents(const std::optional<QString> &shown) { return cents(shown.value_or(QString())); }
