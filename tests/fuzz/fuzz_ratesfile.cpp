// The rates file edited by hand: any bytes, any line ends. Loading splits it
// into lines without a line break left inside one; saving always writes 48
// lines ending with CR LF, which load back as the same 48 lines.

#include "fuzzcheck.h"

#include "common/text1252.h"
#include "settings/ratesfile.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString folder = fuzzProgramFolder();
    const QByteArray bytes = bytesOf(data, size);
    {
        QFile f(ratesFilePath());
        FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(f.write(bytes) == bytes.size());
    }
    RatesList list;
    list.load(ratesFilePath());
    FUZZ_CHECK(list.lines() == RatesList::splitLines(fromWin1252(bytes)));
    for (const QString &line : list.lines())
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n'));

    const QByteArray saved = list.fileBytes();
    FUZZ_CHECK(saved.count("\r\n") == rates::LineCount && saved.endsWith("\r\n"));
    list.save(ratesFilePath());
    RatesList back;
    back.load(ratesFilePath());
    FUZZ_CHECK(back.lines().size() == rates::LineCount);
    for (int n = 0; n < rates::LineCount; ++n)
        FUZZ_CHECK(back.line(n) == list.line(n));
    return 0;
}
