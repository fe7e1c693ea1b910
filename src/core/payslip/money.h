#pragma once
// Money as the slips hold it, and the way an amount is shown.
//
// An amount is a signed 64-bit count of ten-thousandths of a euro. Products
// and sums are worked out in extended precision (long double) and come back
// to money through round4, to the nearest ten-thousandth with ties to even.
// On screen an amount has two decimals, rounded with ties to even, and its
// whole part grouped by thousands.

#include <QString>
#include <QtGlobal>

class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCount(qint64 tenThousandths) { return Money(tenThousandths); }

    constexpr qint64 count() const { return m_count; }
    // The amount in euros, in extended precision, for the products and sums.
    long double value() const { return static_cast<long double>(m_count) / 10000.0L; }

    friend constexpr bool operator==(Money, Money) = default;

private:
    constexpr explicit Money(qint64 count) : m_count(count) {}
    qint64 m_count = 0;
};

// To the nearest ten-thousandth, ties to even. A value that no money can hold
// (beyond about 9.2E14 euros, or not finite) raises the runtime's invalid
// floating-point operation error.
Money round4(long double euros);

// The amount a text holds, rounded by round4 past the fourth decimal. A text
// that is not a number, or too large for money, raises
// "'%s' n'est pas une valeur en virgule flottante correcte".
Money moneyFromText(const QString &text);

// The amount as shown: rounded to the cent, ties to even, on the absolute value.
Money shown(Money amount);
// The amount as shown, in whole cents.
qint64 shownCents(Money amount);

// The whole number nearest to numerator / denominator, ties to even, worked
// out exactly. The denominator is not 0.
qint64 roundRatio(__int128 numerator, __int128 denominator);

// Whole cents as French text: "1234,56", "-3,10" (a decimal comma, no
// grouping, no sign of currency), as forms and spreadsheets take them.
QString centsText(qint64 cents);

// The thousands separator of the amount display: the system's one unless a
// test pins another (an empty text restores the system's).
QString groupSeparator();
void setGroupSeparator(const QString &separator);

// "1 234.56", "-12.34", "0.00": two decimals with the program's decimal
// separator, the whole part grouped by thousands, "-" before a negative amount.
QString formatAmount(Money amount);
