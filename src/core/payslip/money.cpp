#include "payslip/money.h"

#include "common/errors.h"
#include "common/numbers.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {
// 2^63: the first count beyond a signed 64-bit integer.
constexpr long double countLimit = 9223372036854775808.0L;

// Ties to even whatever the floating-point environment says. For |x| < 2^63
// the fraction x - floor(x) is exact, so the tie test is exact too.
std::optional<qint64> nearestCount(long double x)
{
    if (!std::isfinite(x))
        return std::nullopt;
    long double whole = std::floor(x);
    const long double fraction = x - whole;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0))
        whole += 1;
    if (whole < -countLimit || whole >= countLimit)
        return std::nullopt;
    return static_cast<qint64>(whole);
}

// The text of a number scaled by 10^4 through its exponent, so that its
// ten-thousandths are read exactly from the decimal digits (0.00005 is then
// the exact tie 0.5, which round4 sends to 0). nullopt for a text whose
// exponent does not read back.
std::optional<long double> readTenThousandths(const QString &text)
{
    QString t = text.trimmed();
    qsizetype e = t.lastIndexOf('e', -1, Qt::CaseInsensitive);
    qint64 exponent = 0;
    if (e >= 0) {
        const auto written = tryParseInt(t.mid(e + 1));
        if (!written)
            return std::nullopt;
        exponent = *written;
        t.truncate(e);
    }
    return tryParseFloat(t + 'E' + QString::number(exponent + 4));
}

QString &pinnedGroupSeparator()
{
    static QString s;
    return s;
}
} // namespace

Money round4(long double euros)
{
    if (const auto c = nearestCount(euros * 10000.0L))
        return Money::fromCount(*c);
    throw RuntimeError(rtl::invalidFloatOperation());
}

Money moneyFromText(const QString &text)
{
    const long double euros = parseFloat(text);
    const auto scaled = readTenThousandths(text);
    if (const auto c = nearestCount(scaled ? *scaled : euros * 10000.0L))
        return Money::fromCount(*c);
    throw RuntimeError(rtl::notAFloat(text));
}

qint64 roundRatio(__int128 numerator, __int128 denominator)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const __int128 n = numerator < 0 ? -numerator : numerator, d = denominator < 0 ? -denominator : denominator;
    __int128 q = n / d;
    const __int128 twice = 2 * (n % d);
    if (twice > d || (twice == d && q % 2 == 1))
        ++q;
    return qint64(negative ? -q : q);
}

qint64 roundHalfAway(__int128 numerator, __int128 denominator)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const __int128 n = numerator < 0 ? -numerator : numerator, d = denominator < 0 ? -denominator : denominator;
    const __int128 q = (2 * n + d) / (2 * d);
    return qint64(negative ? -q : q);
}

Money centsOf(__int128 numerator, __int128 denominator)
{
    return Money::fromCents(roundHalfAway(numerator, denominator));
}

Money partOf(Money amount, __int128 numerator, __int128 denominator)
{
    return centsOf(amount.count() * numerator, denominator * 100);
}

Money shown(Money amount)
{
    qint64 cents = roundRatio(amount.count(), 100);
    // The largest counts round past the money range: keep them at the last cent inside it.
    const qint64 limit = std::numeric_limits<qint64>::max() / 100;
    cents = std::clamp(cents, -limit, limit);
    return Money::fromCount(cents * 100);
}

qint64 shownCents(Money amount) { return shown(amount).count() / 100; }

QString centsText(qint64 cents)
{
    const quint64 magnitude = cents < 0 ? 0 - quint64(cents) : quint64(cents);
    const QString text = QStringLiteral("%1,%2").arg(magnitude / 100).arg(magnitude % 100, 2, 10, QChar('0'));
    return cents < 0 ? '-' + text : text;
}

QString groupSeparator()
{
    const QString &pinned = pinnedGroupSeparator();
    return pinned.isEmpty() ? QLocale::system().groupSeparator() : pinned;
}

void setGroupSeparator(const QString &separator) { pinnedGroupSeparator() = separator; }

QString formatAmount(Money amount)
{
    const qint64 c = shown(amount).count();
    const quint64 cents = (c < 0 ? 0 - quint64(c) : quint64(c)) / 100;
    const QString whole = QString::number(cents / 100);
    const QString group = groupSeparator();
    QString out;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            out += group;
        out += whole.at(i);
    }
    out += decimalSeparator();
    out += QStringLiteral("%1").arg(cents % 100, 2, 10, QChar('0'));
    return c < 0 ? '-' + out : out;
}
