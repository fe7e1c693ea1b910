// The parameter file as a user may bring it: copied from another machine,
// cut short, padded, or not a parameter file at all. Reading it must either
// fill the slots record by record or stop with "Lecture au-delà de la fin de
// fichier", and what was read must write back and read again unchanged.

#include "fuzzcheck.h"

#include "common/environment.h"
#include "common/errors.h"
#include "settings/paramfile.h"
#include "settings/ratesfile.h"

#include <QFile>

namespace {
void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(f.write(bytes) == bytes.size());
}

QByteArray allRecords(const ParamSlots &slotSet)
{
    QByteArray out;
    for (const ParamRecord &r : slotSet.slot)
        out += paramrecord::encode(r);
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString folder = fuzzProgramFolder();
    static const RatesList rates(RatesList::splitLines(QStringLiteral("a\nb\n0.0348\n")));
    const QByteArray bytes = bytesOf(data, size);
    writeRaw(paramFilePath(), bytes);

    ParamSlots slotSet;
    int callbacks = 0;
    QString error;
    try {
        ReadParamFile(slotSet, rates, [&](int slot, const QString &caption) {
            ++callbacks;
            FUZZ_CHECK(slot == callbacks);
            FUZZ_CHECK(caption == slotSet.record(slot).prenom3);
        });
    } catch (const RuntimeError &e) {
        error = e.message();
    }
    FUZZ_CHECK(slotSet.current == 1);

    // Whole records are read up to five; a part record is the one error.
    const qsizetype size1 = paramrecord::Size;
    const qsizetype whole = qMin<qsizetype>(bytes.size() / size1, SlotCount);
    const bool cutShort = bytes.isEmpty() || (whole < SlotCount && bytes.size() % size1 != 0);
    FUZZ_CHECK(error == (cutShort ? rtl::readBeyondEnd() : QString()));
    FUZZ_CHECK(callbacks == whole);
    for (int n = 1; n <= whole; ++n) {
        const QByteArray stored = bytes.mid((n - 1) * size1, size1);
        // Unused bytes are not significant: the record re-encoded reads the same.
        const ParamRecord &r = slotSet.record(n);
        FUZZ_CHECK(paramrecord::encode(paramrecord::decode(paramrecord::encode(r))) == paramrecord::encode(r));
        FUZZ_CHECK(paramrecord::encode(r) == paramrecord::encode(paramrecord::decode(stored)));
        // The dates go to the date pickers whatever the bytes hold.
        for (const auto &f : paramrecord::dateFields())
            FUZZ_CHECK(fromDateNumber(r.*f.member).isValid());
    }

    // What was read writes back as five records and reads again the same.
    if (error.isEmpty()) {
        const QByteArray before = allRecords(slotSet);
        WriteParamFile(slotSet);
        ParamSlots again;
        ReadParamFile(again, rates);
        FUZZ_CHECK(allRecords(again) == before);
    }
    return 0;
}
