// The text forms of a day: dates DD/MM/YYYY, times and durations HH:MM:SS,
// "Vrai"/"Faux", decimal hours, as typed in the month review or read from a
// table another tool wrote. A text either converts or raises the runtime's
// message; a converted value shows as a text that converts to it again.

#include "fuzzcheck.h"

#include "attendance/dayrecord.h"
#include "attendance/duration.h"
#include "common/monthkey.h"
#include "common/errors.h"
#include "common/numbers.h"

#include <QRegularExpression>
#include <QTime>
#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setDecimalSeparator('.');
    const QString text = textOf(data, size);

    for (int field = 0; field < day::FieldCount; ++field) {
        QVariant stored;
        try {
            stored = day::fromText(field, text);
        } catch (const RuntimeError &) {
            continue;
        }
        FUZZ_CHECK(stored.isNull() == text.isEmpty());
        // Within 15 significant digits of the largest real, the text shown
        // rounds past the range: no duration comes near it.
        if (day::kindOf(field) == day::Kind::Real && std::fabs(stored.toDouble()) > 1e300)
            continue;
        const QString shown = day::toText(field, stored);
        const QVariant back = day::fromText(field, shown);
        // A real shows with 15 significant digits.
        if (day::kindOf(field) == day::Kind::Real)
            FUZZ_CHECK(std::fabs(back.toDouble() - stored.toDouble()) <= std::fabs(stored.toDouble()) * 1e-14);
        else
            FUZZ_CHECK(back == stored);
        FUZZ_CHECK(day::fromValue(field, day::toValue(field, stored)) == stored);
    }
    // A table written by another tool may hold anything in any column.
    for (int field = 0; field < day::FieldCount; ++field) {
        (void)day::toText(field, QVariant(text));
        (void)day::toValue(field, QVariant(text));
    }

    try {
        const double hours = durationHours(text);
        FUZZ_CHECK(std::isfinite(hours) && hours > -100 && hours < 100 + 100 / 60.0);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(e.message().endsWith(QStringLiteral("n'est pas une valeur entière correcte")));
    }
    FUZZ_CHECK(monthKey(text).size() <= 4);

    static const QRegularExpression clock(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"));
    if (size >= 16) {
        quint32 ms[4];
        std::memcpy(ms, data, sizeof ms);
        QTime t[4];
        for (int i = 0; i < 4; ++i)
            t[i] = QTime::fromMSecsSinceStartOfDay(int(ms[i] % 86400000u));
        const QString duration = dayDuration(t[0], t[1], t[2], t[3]);
        FUZZ_CHECK(clock.match(duration).hasMatch());
        FUZZ_CHECK(durationHours(duration) < 24);
    }
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        if (std::isfinite(v)) {
            const QString cut = cutTwoDecimals(v);
            const qsizetype point = cut.indexOf('.');
            const qsizetype exponent = cut.indexOf('E');
            if (point >= 0 && exponent < 0)
                FUZZ_CHECK(cut.size() - point - 1 <= 2);
        }
    }
    return 0;
}
