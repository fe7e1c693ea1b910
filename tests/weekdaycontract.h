#pragma once
// The regular contract the window tests pay a month by: a complete year from
// Monday 5 January 2026, 8 hours each weekday, stored for child `slot`.

#include "common/programfiles.h"
#include "contract/contractstore.h"

#include <QDate>
#include <QString>

inline contract::Contract storeWeekdayContract(const QString &programFolder, int slot = 1)
{
    contract::Contract c;
    c.kind = contract::Kind::CompleteYear;
    c.first = QDate(2026, 1, 5);
    for (int d = 0; d < 5; ++d)
        c.plannedMinutes[size_t(d)] = 8 * 60;
    contract::storeContract(programFolder + folder::contracts, slot, c);
    return c;
}
