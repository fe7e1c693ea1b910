#pragma once
// The lines that tell a parent a wage or a maintenance allowance is below the
// legal minimum in force. They only inform: nothing is blocked and no stored
// value changes. Each returns the French line, or "" when the amount is at
// or above the minimum, or when the minimum on that date is unknown (the
// table starts later): no check rather than a guess.

#include "legal/legaltable.h"
#include "payslip/slip.h"

#include <QDate>
#include <QStringList>
#include <array>
#include <optional>

namespace legal {

// The gross hourly wage of a child's pay rules: `SHbr` on a gross basis; on a
// net basis `SH` carried to gross by the child's own NET coefficients, as
// the net slip works out its contributions. nullopt when a text is not a
// number (the slip says so when it is computed).
std::optional<Money> grossHourlyWage(bool grossBasis, const QString &SH, const QString &SHbr,
                                     const std::array<QString, ContributionLines> &netRate);

// The hourly wage against the childminder's minimum gross hourly wage in
// force on `date`. `net` is the net wage it was carried from, said too.
QString wageWarning(const Table &table, Money grossHourly, const QDate &date, std::optional<Money> net = std::nullopt);

// A maintenance allowance per hour against the minimum for 9 hours of care.
QString hourlyUpkeepWarning(const Table &table, Money perHour, const QDate &date);
// A maintenance allowance per day against the minimum per day of care,
// whatever the day's length.
QString dailyUpkeepWarning(const Table &table, Money perDay, const QDate &date);

// The minimum maintenance allowance of a day of `hours` hours of care: the
// minimum for 9 hours pro rata to the hours, never less than the minimum per
// day. nullopt when either is unknown on `date`.
std::optional<Money> dayUpkeepMinimum(const Table &table, long double hours, const QDate &date);

// The notes of one month's slip inputs, in force on the month's first day:
// the hourly wage, and the days whose maintenance allowance (per hour times
// the day's hours, plus the daily one on a flat-rate day) falls short. Empty
// when all is at the minimum, the month key is not one, or a text does not
// read.
QStringList monthWarnings(const Table &table, const SlipInput &in, bool grossBasis);

} // namespace legal
