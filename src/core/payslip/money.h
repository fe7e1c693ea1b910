#pragma once
// Money as the slips hold it, its roundings, and the way an amount is shown.
//
// An amount is a signed 64-bit count of ten-thousandths of a euro. The
// slips' products and sums are worked out in extended precision (long
// double) and come back to money through round4, to the nearest
// ten-thousandth with ties to even. On screen an amount has two decimals,
// rounded with ties to even, and its whole part grouped by thousands.
// What the program works out exactly from whole numbers (a contract's
// amounts and hours) is rounded once, half away from zero.

#include <QString>
#include <QtGlobal>

#include <compare>

class Money {
public:
    constexpr Money() = default;
    static constexpr Money fromCount(qint64 tenThousandths) { return Money(tenThousandths); }
    static constexpr Money fromCents(qint64 cents) { return Money(cents * 100); }

    constexpr qint64 count() const { return m_count; }
    // The amount in euros, in extended precision, for the products and sums.
    long double value() const { return static_cast<long double>(m_count) / 10000.0L; }

    friend constexpr bool operator==(Money, Money) = default;
    friend constexpr auto operator<=>(Money, Money) = default;
    // Exact sums and differences (an amount beyond the count's range is not
    // one any slip holds).
    friend constexpr Money operator+(Money a, Money b) { return Money(a.m_count + b.m_count); }
    friend constexpr Money operator-(Money a, Money b) { return Money(a.m_count - b.m_count); }
    friend constexpr Money operator-(Money a) { return Money(-a.m_count); }
    constexpr Money &operator+=(Money b) { return *this = *this + b; }

private:
    constexpr explicit Money(qint64 count) : m_count(count) {}
    qint64 m_count = 0;
};

// The roundings, each rule named once.
//
// Ties to even, the slips' rule (the runtime of the original program):
// to the nearest ten-thousandth, ties to even. A value that no money can hold
// (beyond about 9.2E14 euros, or not finite) raises the runtime's invalid
// floating-point operation error.
Money round4(long double euros);
// The whole number nearest to numerator / denominator, ties to even, worked
// out exactly. The denominator is not 0.
qint64 roundRatio(__int128 numerator, __int128 denominator);
// Half away from zero, the rule of what the program works out exactly: the
// whole number nearest to numerator / denominator, a tie going away from
// zero (2.5 to 3, -2.5 to -3). The denominator is not 0.
qint64 roundHalfAway(__int128 numerator, __int128 denominator);
// numerator / denominator cents, to the cent by roundHalfAway.
Money centsOf(__int128 numerator, __int128 denominator);
// amount x numerator / denominator, to the cent by roundHalfAway.
Money partOf(Money amount, __int128 numerator, __int128 denominator);

// The amount a text holds, rounded by round4 past the fourth decimal. A text
// that is not a number, or too large for money, raises
// "'%s' n'est pas une valeur en virgule flottante correcte".
Money moneyFromText(const QString &text);

// The amount as shown: rounded to the cent, ties to even, on the absolute value.
Money shown(Money amount);
// The amount as shown, in whole cents.
qint64 shownCents(Money amount);

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
