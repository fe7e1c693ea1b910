// Windows-1252 both ways. Every byte has a character and comes back as the
// same byte; every character of a text becomes one byte (a character beyond
// the 16-bit plane one "?").

#include "fuzzcheck.h"

#include "common/text1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const QString decoded = fromWin1252(bytes);
    FUZZ_CHECK(decoded.size() == bytes.size());
    FUZZ_CHECK(toWin1252(decoded) == bytes);

    const QString text = textOf(data, size);
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++characters)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    const QByteArray encoded = toWin1252(text);
    FUZZ_CHECK(encoded.size() == characters);
    // What the code page holds survives the trip back.
    FUZZ_CHECK(toWin1252(fromWin1252(encoded)) == encoded);
    return 0;
}
