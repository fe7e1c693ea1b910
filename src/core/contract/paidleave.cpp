#include "contract/paidleave.h"

#include "common/environment.h"
#include "common/monthkey.h"
#include "common/programfiles.h"
#include "legal/legaltable.h"

#include <QDir>
#include <QHash>

namespace contract {

namespace {
QDate firstOfMonth(QDate d) { return QDate(d.year(), d.month(), 1); }

// The leave days of the contract's paid-leave absences from `from` to `to`:
// working days (Monday to Saturday) inside the contract, public holidays
// left out, in date order, each once.
QList<QDate> leaveDays(const Contract &c, QDate from, QDate to, const QHash<QDate, StoredDay> &stored,
                       const Absence *only = nullptr)
{
    QMap<QDate, bool> taken;
    for (const Absence &a : c.absences) {
        if (a.reason != Reason::MinderLeave || (only && !(a == *only)))
            continue;
        for (QDate d = std::max(a.range.from, from); d <= std::min(a.range.to, to); d = d.addDays(1)) {
            if (!c.inside(d) || d.dayOfWeek() == Qt::Sunday)
                continue;
            if (auto s = stored.constFind(d); s != stored.constEnd() && s->holiday)
                continue;
            taken.insert(d, true);
        }
    }
    return taken.keys();
}

// Adds `amount` for `days` to the month's payout of the same kind, or opens it.
void addPayout(QList<LeavePayout> &payouts, QDate month, int days, Money amount, bool complement)
{
    if (days == 0 && amount.count() == 0)
        return;
    for (LeavePayout &p : payouts)
        if (p.month == month && p.complement == complement) {
            p.days += days;
            p.amount = Money::fromCount(p.amount.count() + amount.count());
            return;
        }
    payouts << LeavePayout{month, days, amount, complement};
    std::sort(payouts.begin(), payouts.end(),
              [](const LeavePayout &a, const LeavePayout &b) { return a.month < b.month; });
}
} // namespace

int leavePeriodOf(QDate day)
{
    const QDate thursday = day.addDays(Qt::Thursday - day.dayOfWeek());
    return thursday.month() >= 6 ? thursday.year() : thursday.year() - 1;
}

DateRange leavePeriodWeeks(int startYear)
{
    const QDate june(startYear, 6, 1);
    // The first week is the one whose Thursday is on or after 1 June, the
    // last one the one whose Thursday is on or before 31 May.
    const QDate firstThursday = june.addDays((Qt::Thursday - june.dayOfWeek() + 7) % 7);
    const QDate may(startYear + 1, 5, 31);
    const QDate lastThursday = may.addDays(-((may.dayOfWeek() - Qt::Thursday + 7) % 7));
    return {firstThursday.addDays(-3), lastThursday.addDays(3)};
}

QList<LeavePeriod> paidLeave(const Contract &c, const QList<StoredDay> &days, Money rate, const MonthSalaries &salaries,
                             QDate today)
{
    QList<LeavePeriod> periods;
    if (!c.isRegular() || !c.first.isValid())
        return periods;
    QHash<QDate, StoredDay> stored;
    for (const StoredDay &d : days)
        stored.insert(d.date, d);

    const QDate lastDay = c.last.isValid() ? std::min(c.last, today) : today;
    const int firstPeriod = leavePeriodOf(c.first);
    const int lastPeriod = std::max(firstPeriod, leavePeriodOf(std::max(lastDay, c.first)));
    const QHash<QDate, int> deducted = deductedAbsenceDays(c, c.first, leavePeriodWeeks(lastPeriod).to, stored);
    const bool complete = c.kind == Kind::CompleteYear;
    const std::optional<QDate> lastSlip = c.last.isValid() ? std::optional<QDate>(firstOfMonth(c.last)) : std::nullopt;

    // Leave taken in the contract's first months is drawn from the period
    // before it, which earned nothing: that period is shown only then.
    for (int y = firstPeriod - 1; y <= lastPeriod; ++y) {
        LeavePeriod p;
        p.startYear = y;
        p.from = QDate(y, 6, 1);
        p.to = QDate(y + 1, 5, 31);
        const DateRange weeks = leavePeriodWeeks(y);
        const QDate end = c.last.isValid() ? std::min(c.last, weeks.to) : weeks.to;
        p.running = today < end;

        // A week of care holds a planned day that was not deducted; while
        // the period runs, only the weeks already over count.
        for (QDate monday = weeks.from; monday < weeks.to; monday = monday.addDays(7)) {
            if (p.running && monday.addDays(6) > today)
                break;
            for (int k = 0; k < 7; ++k) {
                const QDate d = monday.addDays(k);
                if (c.plannedOn(d) > 0 && !deducted.contains(d)) {
                    ++p.weeksOfCare;
                    break;
                }
            }
        }
        // 2.5 days per 4 weeks: weeks x 5 / 8, rounded up to a whole day.
        p.daysEarned = std::min(30, (p.weeksOfCare * 5 + 7) / 8);
        p.earnedTenths = p.running ? std::min(300, (p.weeksOfCare * 50 * 2 + 8) / 16) : p.daysEarned * 10;

        const QDate leaveFrom(y + 1, 6, 1);
        const QDate leaveTo(y + 2, 5, 31);
        const QList<QDate> taken = leaveDays(c, leaveFrom, leaveTo, stored);
        if (y < firstPeriod && taken.isEmpty())
            continue;
        p.daysTaken = int(taken.size());
        p.daysLeft = std::max(0, p.daysEarned - p.daysTaken);
        if (complete)
            p.unpaidDays = taken.mid(p.daysEarned);

        // The period's pay: each month's salary, with the leave of the
        // period before paid on those months' slips.
        qint64 pay = 0;
        for (QDate m = p.from; m <= p.to; m = m.addMonths(1))
            pay += salaries.value(m).count();
        if (!periods.isEmpty())
            for (const LeavePayout &paid : periods.last().payouts)
                if (paid.month >= p.from && paid.month <= p.to)
                    pay += paid.amount.count();
        p.pay = Money::fromCount(pay);
        p.tenPercent = centsOf(pay, 1000);
        // days / 6 x H minutes / 60 x R / 10000 euros, in cents.
        // While the period runs, the kept salary is that of the days earned so
        // far, not rounded up: weeks x 5 / 8 days, 30 at most.
        if (p.running)
            p.keptSalary =
                centsOf(__int128(std::min(p.weeksOfCare * 5, 30 * 8)) * c.weeklyMinutes() * rate.count() * 100,
                        __int128(8) * 6 * 60 * 10000);
        else
            p.keptSalary =
                centsOf(__int128(p.daysEarned) * c.weeklyMinutes() * rate.count() * 100, __int128(6) * 60 * 10000);
        p.tenPercentChosen = p.tenPercent.count() > p.keptSalary.count();
        p.amount = p.tenPercentChosen ? p.tenPercent : p.keptSalary;

        const QDate june = leaveFrom;
        const QDate may(y + 2, 5, 1);
        if (complete) {
            // The leave is in the base: a better tenth adds the difference in
            // June, for the days to be taken inside the base. A contract over
            // before that June takes none of them there: its days are all
            // paid at the end, at the better amount already.
            const bool juneInContract = !lastSlip || *lastSlip >= june;
            if (p.tenPercentChosen && juneInContract)
                addPayout(p.payouts, june, 0, Money::fromCount(p.tenPercent.count() - p.keptSalary.count()), true);
            // A contract that ends before the leave year is over pays the
            // days it did not take: at the better amount, or at the kept
            // salary once June has paid the difference on every day earned.
            if (lastSlip && c.last < leaveTo && p.daysEarned > 0) {
                const int left = std::max(0, p.daysEarned - int(leaveDays(c, leaveFrom, c.last, stored).size()));
                const Money rateOfDays = juneInContract ? p.keptSalary : p.amount;
                addPayout(p.payouts, *lastSlip, left,
                          centsOf(__int128(rateOfDays.count()) * left, __int128(100) * p.daysEarned), false);
            }
        } else {
            switch (c.leavePayment) {
            case LeavePayment::InJune: addPayout(p.payouts, june, p.daysEarned, p.amount, false); break;
            case LeavePayment::MainLeave: {
                // The first leave of at least 12 working days starting in the leave year.
                QDate month = may;
                QList<Absence> leaves;
                for (const Absence &a : c.absences)
                    if (a.reason == Reason::MinderLeave)
                        leaves << a;
                std::sort(leaves.begin(), leaves.end(),
                          [](const Absence &a, const Absence &b) { return a.range.from < b.range.from; });
                for (const Absence &a : leaves) {
                    const QList<QDate> own = leaveDays(c, leaveFrom, leaveTo, stored, &a);
                    if (own.size() >= 12) {
                        month = firstOfMonth(own.first());
                        break;
                    }
                }
                addPayout(p.payouts, month, p.daysEarned, p.amount, false);
                break;
            }
            case LeavePayment::AsTaken: {
                // Each month its share of the days earned; the rest in May.
                int paidDays = 0;
                qint64 paidCents = 0;
                for (const QDate &d : taken) {
                    if (paidDays == p.daysEarned)
                        break;
                    ++paidDays;
                    const qint64 due =
                        centsOf(__int128(p.amount.count()) * paidDays, __int128(100) * p.daysEarned).count();
                    addPayout(p.payouts, firstOfMonth(d), 1, Money::fromCount(due - paidCents), false);
                    paidCents = due;
                }
                addPayout(p.payouts, may, p.daysEarned - paidDays, Money::fromCount(p.amount.count() - paidCents),
                          false);
                break;
            }
            }
        }
        // What a contract that ends has not paid yet goes on its last slip.
        if (lastSlip) {
            QList<LeavePayout> moved;
            for (const LeavePayout &o : std::as_const(p.payouts))
                addPayout(moved, std::min(o.month, *lastSlip), o.days, o.amount, o.complement);
            p.payouts = moved;
        }
        periods << p;
    }
    return periods;
}

QList<QDate> unpaidLeaveDays(const Contract &c, const QList<StoredDay> &days, QDate from, QDate to)
{
    QList<QDate> unpaid;
    if (c.kind != Kind::CompleteYear || !c.first.isValid())
        return unpaid;
    // The leave years the range touches, each drawn from the period before it.
    const int firstYear = from.month() >= 6 ? from.year() : from.year() - 1;
    const int lastYear = to.month() >= 6 ? to.year() : to.year() - 1;
    const QList<LeavePeriod> periods = paidLeave(c, days, Money(), {}, QDate(lastYear + 1, 5, 31));
    for (const LeavePeriod &p : periods)
        if (p.startYear + 1 >= firstYear && p.startYear + 1 <= lastYear)
            for (const QDate &d : p.unpaidDays)
                if (d >= from && d <= to)
                    unpaid << d;
    return unpaid;
}

QList<LeavePeriod> paidLeaveOf(const QString &programFolder, int slot, const Contract &c, Money rate,
                               const HolidaySetting &holiday, QDate today)
{
    if (!c.isRegular() || !c.first.isValid())
        return {};
    const QDir dir(programFolder);
    const legal::Loaded law = legal::loadTable(dir.filePath(folder::legalTable));
    // The days of every period up to the end of the last leave year.
    const QDate lastDay = c.last.isValid() ? std::min(c.last, today) : today;
    const int lastPeriod = std::max(leavePeriodOf(c.first), leavePeriodOf(std::max(lastDay, c.first)));
    const QDate from = std::min(c.first, leavePeriodWeeks(leavePeriodOf(c.first)).from);
    const QDate to(lastPeriod + 2, 5, 31);
    const QList<StoredDay> days = DayTable::workedDays(dir.filePath(folder::dayTable(slot)), from, to);

    MonthSalaries salaries;
    const QDate end = std::min(c.last.isValid() ? c.last : lastDay, QDate(lastPeriod + 1, 5, 31));
    for (QDate m(c.first.year(), c.first.month(), 1); m <= end; m = m.addMonths(1)) {
        const std::optional<Limits> limits = law.table ? limitsOn(*law.table, m) : std::nullopt;
        if (!limits)
            continue;
        const MonthFigures f = monthFigures(c, m.year(), m.month(), days, rate, holiday, *limits);
        if (f.complete())
            salaries.insert(m, f.salary);
    }
    return paidLeave(c, days, rate, salaries, today);
}

QList<LeavePayout> payoutsIn(const QList<LeavePeriod> &periods, QDate month)
{
    QList<LeavePayout> paid;
    for (const LeavePeriod &p : periods)
        for (const LeavePayout &o : p.payouts)
            if (o.month == month)
                addPayout(paid, month, o.days, o.amount, o.complement);
    std::sort(paid.begin(), paid.end(),
              [](const LeavePayout &a, const LeavePayout &b) { return !a.complement && b.complement; });
    return paid;
}

const QStringList &leaveColumns()
{
    static const QStringList columns = {
        QStringLiteral("Période"),  QStringLiteral("Semaines"),       QStringLiteral("Acquis"),
        QStringLiteral("Pris"),     QStringLiteral("Restants"),       QStringLiteral("10 %"),
        QStringLiteral("Maintien"), QStringLiteral("Montant retenu"), QStringLiteral("Payé")};
    return columns;
}

QList<QStringList> leaveRows(const QList<LeavePeriod> &periods)
{
    const auto tenths = [](int count) { return QStringLiteral("%1.%2").arg(count / 10).arg(count % 10); };
    QList<QStringList> rows;
    for (auto p = periods.crbegin(); p != periods.crend(); ++p) {
        QStringList paid;
        for (const LeavePayout &o : p->payouts)
            paid << QStringLiteral("%1%2 : %3")
                        .arg(o.complement ? QStringLiteral("complément ") : QString(),
                             MonthKey::of(o.month.month(), o.month.year()).title(), formatAmount(o.amount));
        QString period = shortDate(p->from) + QStringLiteral(" - ") + shortDate(p->to);
        if (p->running)
            period += QStringLiteral(" (en cours)");
        rows << QStringList{period,
                            QString::number(p->weeksOfCare),
                            p->running ? tenths(p->earnedTenths) : QString::number(p->daysEarned),
                            QString::number(p->daysTaken),
                            p->running ? tenths(std::max(0, p->earnedTenths - 10 * p->daysTaken))
                                       : QString::number(p->daysLeft),
                            formatAmount(p->tenPercent),
                            formatAmount(p->keptSalary),
                            formatAmount(p->amount),
                            paid.join(QStringLiteral("; "))};
    }
    return rows;
}

} // namespace contract
