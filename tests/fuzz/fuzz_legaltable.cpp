// The table of legal values edited by hand: any bytes. It is read as a table
// or refused with the damaged-table message; a table read gives, for every
// key and date, either nothing or a value in force from a date not after it,
// never negative; and an edition never gives way to itself.

#include "fuzzcheck.h"

#include "common/errors.h"
#include "legal/legaltable.h"

#include <QDate>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    FUZZ_CHECK(!legal::shippedReplaces(bytes, bytes) || bytes.isEmpty());
    try {
        const legal::Table t = legal::Table::parse(bytes, QStringLiteral("Baremes.txt"));
        FUZZ_CHECK(t.edition() >= 1);
        for (legal::Key key : {legal::Key::Smic, legal::Key::ChildminderHourly, legal::Key::UpkeepPerDay,
                               legal::Key::UpkeepPer9Hours, legal::Key::CreditCeiling, legal::Key::CreditRate}) {
            for (const QDate &date : {QDate(1, 1, 1), QDate(2022, 1, 1), QDate(2026, 6, 30), QDate(9999, 12, 31)}) {
                const std::optional<legal::Value> v = t.inForce(key, date);
                if (v) {
                    FUZZ_CHECK(v->from <= date);
                    FUZZ_CHECK(v->amount.count() >= 0);
                    FUZZ_CHECK(!v->source.isEmpty());
                }
            }
        }
    } catch (const RuntimeError &e) {
        FUZZ_CHECK(
            e.message().startsWith(QStringLiteral("Le fichier des valeurs légales Baremes.txt est abîmé (ligne ")));
    }
    return 0;
}
