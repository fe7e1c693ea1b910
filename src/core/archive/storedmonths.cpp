#include "archive/storedmonths.h"

#include "archive/sliparchive.h"
#include "attendance/daytable.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "payslip/money.h"

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
    return contract ? QStringLiteral("enregistré (contrat, %1)").arg(basis)
                    : QStringLiteral("enregistré (%1)").arg(basis);
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

std::optional<ArchivedSlip> savedSlip(const QString &programFolder, int slot, const QString &key)
{
    const QString archivePath = programFolder + SlipArchive::fileName();
    if (!QFileInfo::exists(archivePath))
        return std::nullopt;
    try {
        return SlipArchive(archivePath).find(slot, key);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

QString slipDifferencesHeading()
{
    return QStringLiteral("Le bulletin enregistré de ce mois diffère de ce que donnent aujourd'hui ses jours et "
                          "les paramètres :");
}

QStringList slipDifferences(const ArchivedSlip &saved, const ArchivedSlip &today)
{
    QStringList lines;
    const auto basis = [](const ArchivedSlip &a) {
        return a.grossBasis ? QStringLiteral("brut") : QStringLiteral("net");
    };
    if (saved.grossBasis != today.grossBasis)
        lines << QStringLiteral("Base : %1 enregistré, %2 aujourd'hui").arg(basis(saved), basis(today));
    const auto differ = [&](const QString &label, qint64 was, qint64 is, const QString &unit) {
        if (was != is)
            lines << QStringLiteral("%1 : %2%4 enregistré, %3%4 aujourd'hui")
                         .arg(label, centsText(was), centsText(is), unit);
    };
    const QString euro = QStringLiteral(" €"), hour = QStringLiteral(" h");
    differ(QStringLiteral("Heures"), saved.hours, today.hours, hour);
    if (saved.activityDays != today.activityDays)
        lines << QStringLiteral("Jours d'activité : %1 enregistrés, %2 aujourd'hui")
                     .arg(saved.activityDays)
                     .arg(today.activityDays);
    differ(QStringLiteral("Salaire brut"), saved.salbrut, today.salbrut, euro);
    differ(QStringLiteral("Salaire net"), saved.salnet, today.salnet, euro);
    differ(QStringLiteral("Congés payés"), saved.Cong, today.Cong, euro);
    differ(QStringLiteral("Indemnités d'entretien"), saved.entret, today.entret, euro);
    differ(QStringLiteral("Indemnités de repas"), saved.nour, today.nour, euro);
    differ(QStringLiteral("Net à payer"), saved.net, today.net, euro);
    return lines;
}
