// Amounts typed in the parameters and the two-decimal display of the slips.
// A text read as money is its number to the nearest ten-thousandth; an
// amount shown reads back as the amount rounded to the cent.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "payslip/money.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setDecimalSeparator('.');
    setGroupSeparator(QStringLiteral(" "));
    const QString text = textOf(data, size);

    const auto real = tryParseFloat(text);
    Money m;
    bool read = true;
    try {
        m = moneyFromText(text);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(e.message() == rtl::notAFloat(text));
        read = false;
    }
    if (!real)
        FUZZ_CHECK(!read);
    else if (std::fabs(*real) < 9.0e14L)
        FUZZ_CHECK(read && std::fabs(m.value() - *real) <= 0.00005L + std::fabs(*real) * 1e-17L);

    // Whatever count it holds, the amount shows and reads back as shown.
    if (size >= sizeof(qint64)) {
        qint64 count;
        std::memcpy(&count, data, sizeof count);
        m = Money::fromCount(count);
    }
    const QString display = formatAmount(m);
    const Money cents = shown(m);
    FUZZ_CHECK(cents.count() % 100 == 0);
    FUZZ_CHECK(moneyFromText(QString(display).remove(' ')) == cents);

    // round4 of any extended value: money or the invalid operation error.
    if (size >= sizeof(long double)) {
        long double x;
        std::memcpy(&x, data, sizeof x);
        try {
            const Money r = round4(x);
            FUZZ_CHECK(std::fabs(r.value() - x) <= 0.00005L + std::fabs(x) * 1e-17L);
        } catch (const RuntimeError &e) {
            FUZZ_CHECK(e.message() == rtl::invalidFloatOperation());
        }
    }
    return 0;
}
