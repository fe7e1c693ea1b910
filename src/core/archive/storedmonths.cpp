#include "archive/storedmonths.h"

#include "archive/sliparchive.h"
#include "attendance/daytable.h"
#include "common/errors.h"
#include "common/monthkey.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

QString StoredMonth::title() const
{
    const std::optional<MonthKey> k = MonthKey::fromText(key);
    return k ? k->title() : key;
}

QString StoredMonth::daysText() const
{
    return days == 1 ? QStringLiteral("1 jour") : QStringLiteral("%1 jours").arg(days);
}

QString StoredMonth::slipText() const
{
    if (!slipSaved)
        return QStringLiteral("non enregistré");
    const QString basis = grossBasis ? QStringLiteral("brut") : QStringLiteral("net");
    return contract ? QStringLiteral("enregistré (contrat, %1)").arg(basis) : QStringLiteral("enregistré (%1)").arg(basis);
}

QString StoredMonth::line() const
{
    return QStringLiteral("%1 — %2 — bulletin %3").arg(title(), daysText(), slipText());
}

QList<StoredMonth> storedMonths(const QString &programFolder, int slot)
{
    QList<StoredMonth> months;
    QSet<int> years;
    for (const HeldMonth &held : DayTable::heldMonthList(programFolder + tableNameForSlot(slot - 1))) {
        months << StoredMonth{held.key, held.days};
        if (const std::optional<MonthKey> k = MonthKey::fromText(held.key))
            years << k->year();
    }
    const QString archivePath = programFolder + SlipArchive::fileName();
    if (months.isEmpty() || !QFileInfo::exists(archivePath))
        return months;
    QHash<QString, ArchivedSlip> saved;
    try {
        const SlipArchive archive(archivePath);
        for (int year : years)
            for (const ArchivedSlip &a : archive.year(slot, year))
                saved.insert(a.monthKey, a);
    } catch (const RuntimeError &) {
        return months;
    }
    for (StoredMonth &m : months)
        if (const auto found = saved.constFind(m.key); found != saved.cend()) {
            m.slipSaved = true;
            m.grossBasis = found->grossBasis;
            m.contract = found->contract;
        }
    return months;
}

MonthValidation storedMonthSheet(const QString &programFolder, int slot, const QString &key)
{
    return validateMonth(sheetFromDays(DayTable::monthDays(programFolder + tableNameForSlot(slot - 1), key)));
}
