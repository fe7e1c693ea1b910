// One parameter record of any length and content: every text within its
// capacity, the stored form always 1136 bytes, and a record that comes back
// from its stored form unchanged by a second trip.

#include "fuzzcheck.h"

#include "common/environment.h"
#include "settings/paramrecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    ParamRecord r = paramrecord::decode(bytes);
    for (const paramrecord::TextField &f : paramrecord::textFields())
        FUZZ_CHECK(f.ref(r).size() <= f.capacity);
    for (const auto &f : paramrecord::dateFields())
        FUZZ_CHECK(fromDateNumber(r.*f.member).isValid());

    const QByteArray encoded = paramrecord::encode(r);
    FUZZ_CHECK(encoded.size() == paramrecord::Size);
    FUZZ_CHECK(paramrecord::encode(paramrecord::decode(encoded)) == encoded);
    // Length bytes and texts, radio indexes and tick states read back as stored.
    if (bytes.size() >= paramrecord::Size) {
        for (const paramrecord::TextField &f : paramrecord::textFields()) {
            const int length = qMin(int(quint8(bytes[f.offset])), f.capacity);
            FUZZ_CHECK(encoded.mid(f.offset, length + 1) == char(length) + bytes.mid(f.offset + 1, length));
        }
        for (const auto &f : paramrecord::intFields())
            FUZZ_CHECK(encoded.mid(f.offset, 4) == bytes.mid(f.offset, 4));
        for (const auto &f : paramrecord::stateFields())
            FUZZ_CHECK(encoded[f.offset] == bytes[f.offset]);
    }

    // The same input as the texts a user types: stored() keeps them within
    // their capacity and is stable.
    const QString text = textOf(data, size);
    ParamRecord typed;
    for (const paramrecord::TextField &f : paramrecord::textFields())
        f.ref(typed) = text;
    const ParamRecord once = paramrecord::stored(typed);
    FUZZ_CHECK(paramrecord::stored(once) == once);
    return 0;
}
