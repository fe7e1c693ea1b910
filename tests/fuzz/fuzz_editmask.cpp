// The masked fields (postcodes, telephones, social-security and URSSAF
// numbers) show whatever text the parameter file holds for them, and take
// any key or paste. The cells always fit the mask, literals in place, and a
// text the field gives reads back to the same cells.

#include "fuzzcheck.h"

#include "settings/editmask.h"

#include <array>

namespace {
const std::array<EditMask, 4> &masks()
{
    static const std::array<EditMask, 4> m = {
        EditMask(QStringLiteral("00 000;1;_")),
        EditMask(QStringLiteral("!00\\.00\\.00\\.00\\.00;1;_")),
        EditMask(QStringLiteral("!0 00 00 00 000 000\\ -99;1;_")),
        EditMask(QStringLiteral("!00 00 000 000 000;1;_")),
    };
    return m;
}

void checkCells(const EditMask &mask, const QString &cells)
{
    FUZZ_CHECK(cells.size() == mask.length());
    for (int p = 0; p < mask.length(); ++p)
        FUZZ_CHECK(mask.isLiteral(p) ? cells[p] == mask.blankCells()[p]
                                     : (cells[p] == ' ' || mask.accepts(p, cells[p])));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const EditMask &mask = masks()[data[0] % masks().size()];
    const QString text = textOf(data + 2, size - 2);

    const QString cells = mask.cellsFrom(text);
    checkCells(mask, cells);
    const QString shown = mask.text(cells);
    FUZZ_CHECK(mask.cellsFrom(shown) == cells);
    FUZZ_CHECK(mask.cellsFromDisplay(mask.display(cells)) == cells);

    // A key or a paste over a selection chosen by the second byte.
    const int from = data[1] % (mask.length() + 1);
    const int to = from + (data[1] >> 4) % (mask.length() + 1 - from);
    const EditMask::Edit results[] = {
        mask.typed(cells, from, to, text.isEmpty() ? QChar('5') : text.at(0)),
        mask.erased(cells, from, to, data[1] & 1),
        mask.pasted(cells, from, to, text),
    };
    for (const EditMask::Edit &e : results) {
        checkCells(mask, e.cells);
        FUZZ_CHECK(e.cursor >= 0 && e.cursor <= mask.length());
        if (!e.accepted)
            FUZZ_CHECK(e.cells == cells);
    }
    FUZZ_CHECK(mask.firstMissing(cells) >= -1 && mask.firstMissing(cells) < mask.length());
    return 0;
}
