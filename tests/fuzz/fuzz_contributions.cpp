// The dated contribution lines edited by hand: any bytes. They are read as a
// table or refused with the damaged-table message; a table read gives, on
// any date and for either region, nine rows whose rates read back as numbers
// and match themselves, and an edition never gives way to itself.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "legal/contributions.h"
#include "legal/legaltable.h"

#include <QDate>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    FUZZ_CHECK(!legal::shippedReplaces(bytes, bytes, legal::contributionsMagic) || bytes.isEmpty());
    try {
        const legal::Contributions t = legal::Contributions::parse(bytes, QStringLiteral("Cotisations.txt"));
        FUZZ_CHECK(t.edition() >= 1);
        for (const QDate &date : {QDate(1, 1, 1), t.firstDate(), QDate(2026, 6, 30), QDate(9999, 12, 31)}) {
            for (const bool local : {false, true}) {
                const QList<legal::Contribution> lines = t.inForce(date, local);
                for (const legal::Contribution &c : lines)
                    FUZZ_CHECK(c.from <= date && !c.ends && (local || !c.localScheme));
                const legal::RateRows rows = legal::rowsOf(lines);
                FUZZ_CHECK(legal::sameRates(rows, rows));
                for (size_t k = 0; k < rows.names.size(); ++k) {
                    FUZZ_CHECK(tryParseFloat(rows.net[k]).value_or(-1) >= 0);
                    FUZZ_CHECK(tryParseFloat(rows.gross[k]).value_or(-1) >= 0);
                    FUZZ_CHECK(tryParseInt(rows.bases[k]).value_or(0) > 0);
                }
            }
        }
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(e.message().startsWith(
            QStringLiteral("Le barème des cotisations Cotisations.txt est abîmé (ligne ")));
    }
    return 0;
}
