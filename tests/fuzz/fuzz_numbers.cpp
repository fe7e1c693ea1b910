// Numbers typed in the parameters: a real or an integer read with ".", and
// the general format that writes totals. A text read as a number gives the
// same number through the raising and the quiet reader, and a number in
// general format reads back to 15 significant digits.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "common/numbers.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setDecimalSeparator('.');
    const QString text = textOf(data, size);

    const auto real = tryParseFloat(text);
    try {
        const long double v = parseFloat(text);
        FUZZ_CHECK(real && *real == v);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(!real && e.message() == rtl::notAFloat(text));
    }
    if (real) {
        FUZZ_CHECK(std::isfinite(*real));
        const QString general = formatGeneral(*real, 15);
        const auto back = tryParseFloat(general);
        FUZZ_CHECK(back);
        FUZZ_CHECK(std::fabs(*back - *real) <= std::fabs(*real) * 1e-14L);
    }

    const auto whole = tryParseInt(text);
    try {
        const qint32 v = parseInt(text);
        FUZZ_CHECK(whole && *whole == v);
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(!whole && e.message() == rtl::notAnInteger(text));
    }
    if (whole)
        FUZZ_CHECK(tryParseInt(QString::number(*whole)) == whole);
    return 0;
}
