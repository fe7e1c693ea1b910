#include "legal/minimums.h"

#include "attendance/duration.h"
#include "attendance/monthsheet.h"
#include "common/environment.h"
#include "common/errors.h"

namespace legal {

namespace {
// The sign stays on the line of its amount when the note wraps.
QString euros(Money m) { return formatAmount(m) + QStringLiteral("\u00a0€"); }

// The month key MMYY as the first day of its month; invalid when not a key.
QDate firstDayOf(const QString &moan)
{
    bool okMonth = false, okYear = false;
    const int month = moan.left(2).toInt(&okMonth);
    const int year = moan.mid(2, 2).toInt(&okYear);
    if (moan.size() != 4 || !okMonth || !okYear || month < 1 || month > 12)
        return {};
    return QDate(2000 + year, month, 1);
}
} // namespace

std::optional<Money> grossHourlyWage(bool grossBasis, const QString &SH, const QString &SHbr,
                                     const std::array<QString, ContributionLines> &netRate)
{
    try {
        return grossBasis ? moneyFromText(SHbr) : grossOfNet(moneyFromText(SH), netRate);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

QString wageWarning(const Table &table, Money grossHourly, const QDate &date, std::optional<Money> net)
{
    const std::optional<Value> minimum = table.inForce(Key::ChildminderHourly, date);
    if (!minimum || grossHourly.count() >= minimum->amount.count())
        return {};
    const QString wage =
        net ? QStringLiteral("Salaire horaire net de %1, soit %2 brut avec les cotisations de l'enfant,")
                  .arg(euros(*net), euros(grossHourly))
            : QStringLiteral("Salaire horaire brut de %1").arg(euros(grossHourly));
    return QStringLiteral("%1 inférieur au minimum d'une assistante maternelle : %2 brut de l'heure depuis le %3.")
        .arg(wage, euros(minimum->amount), shortDate(minimum->from));
}

QString hourlyUpkeepWarning(const Table &table, Money perHour, const QDate &date)
{
    const std::optional<Value> minimum = table.inForce(Key::UpkeepPer9Hours, date);
    // Compared for 9 hours, where the minimum is given, so that no rounding
    // of a per-hour figure decides.
    if (!minimum || perHour.count() * 9 >= minimum->amount.count())
        return {};
    return QStringLiteral("Indemnité d'entretien de %1 de l'heure, soit %2 pour 9 heures, inférieure au minimum : "
                          "%3 pour 9 heures de garde depuis le %4.")
        .arg(euros(perHour), euros(Money::fromCount(perHour.count() * 9)), euros(minimum->amount),
             shortDate(minimum->from));
}

QString dailyUpkeepWarning(const Table &table, Money perDay, const QDate &date)
{
    const std::optional<Value> minimum = table.inForce(Key::UpkeepPerDay, date);
    if (!minimum || perDay.count() >= minimum->amount.count())
        return {};
    return QStringLiteral(
               "Indemnité d'entretien de %1 par jour inférieure au minimum : %2 par jour de garde depuis le %3.")
        .arg(euros(perDay), euros(minimum->amount), shortDate(minimum->from));
}

std::optional<Money> dayUpkeepMinimum(const Table &table, long double hours, const QDate &date)
{
    const std::optional<Value> perDay = table.inForce(Key::UpkeepPerDay, date);
    const std::optional<Value> per9 = table.inForce(Key::UpkeepPer9Hours, date);
    if (!perDay || !per9)
        return std::nullopt;
    const Money proRata = round4(per9->amount.value() * hours / 9.0L);
    return proRata.count() > perDay->amount.count() ? proRata : perDay->amount;
}

QStringList monthWarnings(const Table &table, const SlipInput &in, bool grossBasis)
{
    const QDate month = firstDayOf(in.moan);
    if (!month.isValid())
        return {};
    QStringList lines;
    try {
        if (const std::optional<Money> gross = grossHourlyWage(grossBasis, in.SH, in.SHbr, in.netRate)) {
            const std::optional<Money> net = grossBasis ? std::nullopt : std::optional(moneyFromText(in.SH));
            const QString wage = wageWarning(table, *gross, month, net);
            if (!wage.isEmpty())
                lines << wage;
        }
        const Money perHour = in.CheckBox11 ? moneyFromText(in.ETH) : Money();
        const Money perDay = in.CheckBox12 ? moneyFromText(in.EFJ) : Money();
        int shortDays = 0;
        QString first;
        for (const SheetDay &d : in.days) {
            if (d.date.isEmpty())
                continue;
            const bool flat = d.flatRate == sheet::mark(sheet::Flat);
            const long double hours = d.duration.isEmpty() ? 0.0L : durationHoursExtended(d.duration);
            if (hours <= 0 && !flat)
                continue; // no care that day
            const std::optional<Money> minimum = dayUpkeepMinimum(table, hours, month);
            if (!minimum)
                break;
            const Money paid = round4(perHour.value() * hours + (flat ? perDay.value() : 0.0L));
            if (shown(paid).count() >= shown(*minimum).count())
                continue;
            if (shortDays++ == 0)
                first = QStringLiteral("le %1 : %2 pour %3 h, minimum %4")
                            .arg(d.date, euros(paid), cutTwoDecimals(double(hours)), euros(*minimum));
        }
        if (shortDays > 0) {
            const Value per9 = *table.inForce(Key::UpkeepPer9Hours, month);
            const Value perDayMinimum = *table.inForce(Key::UpkeepPerDay, month);
            lines << QStringLiteral("Indemnité d'entretien inférieure au minimum sur %1 jour(s) du mois, dont %2 "
                                    "(%3 pour 9 heures, au prorata, et au moins %4 par jour, depuis le %5).")
                         .arg(shortDays)
                         .arg(first, euros(per9.amount), euros(perDayMinimum.amount), shortDate(per9.from));
        }
    } catch (const RuntimeError &) {
        return {}; // a text that does not read: the slip itself says so
    }
    return lines;
}

} // namespace legal
