#include "contract/contractslip.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "contract/contractrules.h"
#include "settings/numberfields.h"

namespace contract {

QString decimalHours(qint64 hundredths)
{
    const QString sign = hundredths < 0 ? QStringLiteral("-") : QString();
    const qint64 h = hundredths < 0 ? -hundredths : hundredths;
    return sign + QStringLiteral("%1.%2").arg(h / 100).arg(h % 100, 2, 10, QChar('0'));
}

namespace {
QString minutesAsHours(qint64 minutes) { return decimalHours(rules::hundredthsOfHour(minutes)); }

// "du 03/03/2026 au 05/03/2026 (Enfant malade, certificat médical)", or
// "le 03/03/2026 (...)" for one day; the days before or after the contract
// are "hors contrat".
QString runText(const DeductedRun &run)
{
    const QString days = run.range.from == run.range.to
                             ? QStringLiteral("le %1").arg(shortDate(run.range.from))
                             : QStringLiteral("du %1 au %2").arg(shortDate(run.range.from), shortDate(run.range.to));
    const QString why = run.outsideContract ? QStringLiteral("hors contrat") : reasonOnSlip(run.reason);
    return QStringLiteral("%1 (%2)").arg(days, why);
}

// The planned days (a weekday with hours, outside the periods without care)
// of the runs deducted from the base.
int deductedDays(const Contract &c, const QList<DeductedRun> &runs)
{
    int days = 0;
    for (const DeductedRun &run : runs)
        for (QDate d = run.range.from; d <= run.range.to; d = d.addDays(1))
            days += !c.withoutCare(d) && c.plannedMinutes[size_t(d.dayOfWeek() - 1)] > 0;
    return days;
}
} // namespace

namespace {
// The rate and the holiday setting as the slips read them; a text that is
// not a number stops the slip with the runtime's message after the field's
// name, as theirs do. False when it stopped.
bool readRate(const SlipInput &in, bool grossBasis, Money &rate, HolidaySetting &holiday, ContractSlip &out)
{
    const auto named = [](const char *field, const QString &text) {
        try {
            return moneyFromText(text);
        } catch (const RuntimeError &e) {
            const numberfield::Field *f = numberfield::find(QString::fromLatin1(field));
            throw RuntimeError(f ? rtl::inField(numberfield::caption(*f), e.message()) : e.message());
        }
    };
    try {
        rate = grossBasis ? named("SHbr", in.SHbr) : named("SH", in.SH);
        holiday.on = in.Indentre;
        if (holiday.on)
            holiday.multiplier = named("Indentr", in.Indentr);
    } catch (const RuntimeError &e) {
        out.slip.error = e.message();
        return false;
    }
    return true;
}

// The pay block, the hours kept, and the rest of the slip, from the month's
// figures of contract `c` and the paid leave of the month.
void finish(ContractSlip &out, const SlipInput &in, bool grossBasis, const Contract &c, const QList<LeavePayout> &leave,
            const std::optional<EndOfContract> &end)
{
    const MonthFigures &f = out.figures;
    if (!f.complete()) {
        out.failure = f.failure;
        return;
    }
    out.leave = leave;
    Money leavePay;
    int leaveDays = 0, paidDays = 0;
    for (const LeavePayout &o : leave) {
        leavePay += o.amount;
        leaveDays += o.days;
        // The days whose hours the declaration adds to the normal ones: an
        // incomplete year's, paid on top of the base.
        if (!o.complement && c.kind == Kind::IncompleteYear)
            paidDays += o.days;
    }
    // The month of the last day pays the end: the notice not worked and the
    // true-up with the salary, the indemnity apart (leave is in `leave`).
    const bool ends =
        end && end->complete() && c.last.isValid() && f.year == c.last.year() && f.month == c.last.month();
    if (ends)
        out.end = end;
    const Money salary = f.salary + leavePay + (ends ? end->noticePay + end->trueUpPaid() : Money());
    ContractPay &p = out.pay;
    p.hmens = decimalHours(f.mensualisedHundredths);
    p.tauxh = (grossBasis ? in.SHbr : in.SH).trimmed();
    p.salmens = formatAmount(f.base);
    p.habs = minutesAsHours(f.deductedMinutes);
    p.hplan = minutesAsHours(f.plannedMonth);
    p.deduc = formatAmount(-f.deduction);
    QStringList runs;
    for (const DeductedRun &run : f.deducted)
        runs << runText(run);
    p.datesabs = runs.join(QStringLiteral(" ; "));
    p.hcomp = minutesAsHours(f.complementaryMinutes);
    p.mtcomp = formatAmount(f.complementaryPay);
    p.hmaj = minutesAsHours(f.majoratedMinutes);
    p.mtmaj = formatAmount(f.majoratedPay);
    p.hferie = minutesAsHours(f.holidayMinutes);
    p.mtferie = formatAmount(f.holidaySupplement);
    p.libcp = leaveCaption(leave) + QStringLiteral(" :");
    p.jcp = QString::number(leaveDays);
    p.mtcp = formatAmount(leavePay);
    if (ends) {
        p.hpreavis = minutesAsHours(end->noticeMinutes);
        p.mtpreavis = formatAmount(end->noticePay);
        p.mtregul = formatAmount(end->trueUpPaid());
    }
    p.salmois = formatAmount(salary);

    ContractHours &h = out.hours;
    h.mensualisedTwelfths = f.mensualisedTwelfths;
    h.deductedMinutes = f.deductedMinutes;
    h.complementaryMinutes = f.complementaryMinutes;
    h.majoratedMinutes = f.majoratedMinutes;
    for (const int minutes : c.plannedMinutes)
        h.plannedWeekdays += minutes > 0;
    h.weeksPerYear = f.weeksPerYear;
    h.deductedDays = deductedDays(c, f.deducted);
    h.leaveDays = paidDays;
    h.weeklyMinutes = c.weeklyMinutes();

    out.slip = computeContractSlip(in, grossBasis, salary, leavePay);
    if (ends && end->indemnityDue && out.slip.complete()) {
        // The indemnity counts this slip's own gross salary: worked out on
        // the slip once, then paid on top of what it leaves to pay.
        const auto &a = out.slip.amounts;
        const Money gross = grossBasis ? a.salbrut : a.salnet + a.totcs;
        out.indemnity = lastSlipIndemnity(*end, gross);
        p.mtrupture = formatAmount(out.indemnity);
        out.slip = computeContractSlip(in, grossBasis, salary, leavePay, out.indemnity);
    }
}

} // namespace

ContractSlip contractSlip(const SlipInput &in, bool grossBasis, const MonthPartsOf &partsOf)
{
    ContractSlip out;
    const std::optional<MonthKey> key = MonthKey::fromText(in.moan);
    if (!key) {
        out.failure = rtl::noValidatedMonth();
        return out;
    }
    Money rate;
    HolidaySetting holiday;
    if (!readRate(in, grossBasis, rate, holiday, out))
        return out;
    MonthParts parts = partsOf(*key, rate, holiday);
    out.figures = std::move(parts.figures);
    finish(out, in, grossBasis, parts.contract, parts.leave, parts.end);
    if (out.failure.isEmpty())
        out.notes = typedDayNotes(parts.contract, *key, in.days);
    return out;
}

QString leaveCaption(const QList<LeavePayout> &leave)
{
    const bool complement =
        !leave.isEmpty() && std::all_of(leave.begin(), leave.end(), [](const LeavePayout &o) { return o.complement; });
    return complement ? QStringLiteral("Complément congés payés") : QStringLiteral("Congés payés");
}

ContractSlip contractSlip(const SlipInput &in, bool grossBasis, const Contract &c, const QList<StoredDay> &days,
                          const Limits &limits, const QList<LeavePayout> &leave,
                          const std::optional<EndOfContract> &end)
{
    return contractSlip(in, grossBasis, [&](const MonthKey &key, Money rate, const HolidaySetting &holiday) {
        return MonthParts{monthFigures(c, key.year(), key.month(), days, rate, holiday, limits), c, leave, end};
    });
}

namespace {
// A complete or an incomplete year whose dates cover some of the month.
bool paysMonth(const Contract &c, const MonthKey &key)
{
    if (!c.isRegular() || !c.first.isValid())
        return false;
    const QDate first(key.year(), key.month(), 1);
    return c.first <= first.addMonths(1).addDays(-1) && (c.last.isNull() || c.last >= first);
}
} // namespace

QStringList typedDayNotes(const Contract &c, const MonthKey &month, const std::array<SheetDay, 31> &days)
{
    int before = 0, after = 0;
    QStringList inAbsence;
    for (const SheetDay &typed : days) {
        const QDate d = QDate::fromString(typed.date, shortDateFormat());
        if (!d.isValid() || d.year() != month.year() || d.month() != month.month())
            continue;
        if (d < c.first)
            ++before;
        else if (c.last.isValid() && d > c.last)
            ++after;
        else if (std::any_of(c.absences.begin(), c.absences.end(),
                             [&](const Absence &a) { return a.range.contains(d); }))
            inAbsence << d.toString(QStringLiteral("dd/MM"));
    }
    QStringList notes;
    if (before > 0)
        notes << contractmsg::typedBeforeStart(before, shortDate(c.first));
    if (after > 0)
        notes << contractmsg::typedAfterEnd(after);
    if (!inAbsence.isEmpty())
        notes << contractmsg::typedInAbsence(inAbsence);
    return notes;
}

QString hourlySlipNote(const std::optional<Contract> &c, const QString &monthKey, bool grossBasis)
{
    const std::optional<MonthKey> key = MonthKey::fromText(monthKey);
    if (!key || !c || !c->isRegular() || !c->first.isValid() || paysMonth(*c, *key))
        return {};
    return contractmsg::hourlySlipOutsideContract(
        contractmsg::monthOutsideContract(key->title(), shortDate(c->first),
                                          c->last.isValid() ? shortDate(c->last) : QString()),
        grossBasis);
}

bool paidByContract(const Contract &c, const QString &monthKey)
{
    const std::optional<MonthKey> key = MonthKey::fromText(monthKey);
    return key && paysMonth(c, *key);
}

} // namespace contract
