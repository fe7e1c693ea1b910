#include "contract/paidleave.h"

#include "common/environment.h"
#include "common/monthkey.h"
#include "contract/contractrules.h"

#include <QHash>

namespace contract {

namespace {
QDate firstOfMonth(QDate d) { return QDate(d.year(), d.month(), 1); }

// Adds `amount` for `days` to the month's payout of the same kind, or opens it.
void addPayout(QList<LeavePayout> &payouts, QDate month, int days, Money amount, bool complement)
{
    if (days == 0 && amount == Money())
        return;
    for (LeavePayout &p : payouts)
        if (p.month == month && p.complement == complement) {
            p.days += days;
            p.amount += amount;
            return;
        }
    payouts << LeavePayout{month, days, amount, complement};
    std::sort(payouts.begin(), payouts.end(),
              [](const LeavePayout &a, const LeavePayout &b) { return a.month < b.month; });
}
} // namespace

QList<LeavePeriod> paidLeave(const Contract &c, const QList<StoredDay> &days, Money rate, const MonthSalaries &salaries,
                             QDate today)
{
    QList<LeavePeriod> periods;
    if (!c.isRegular() || !c.first.isValid())
        return periods;
    const QHash<QDate, StoredDay> stored = byDate(days);
    const int firstPeriod = leavePeriodOf(c.first);
    const int lastPeriod = lastLeavePeriod(c, today);
    const QHash<QDate, int> deducted = deductedAbsenceDays(c, c.first, leavePeriodWeeks(lastPeriod).to, stored);
    const bool complete = c.kind == Kind::CompleteYear;
    const std::optional<QDate> lastSlip = c.last.isValid() ? std::optional<QDate>(firstOfMonth(c.last)) : std::nullopt;

    // Leave taken in the contract's first months is drawn from the period
    // before it, which earned nothing: that period is shown only then.
    for (int y = firstPeriod - 1; y <= lastPeriod; ++y) {
        LeavePeriod p;
        p.startYear = y;
        const DateRange dates = leavePeriodDates(y);
        p.from = dates.from;
        p.to = dates.to;
        const QDate weeksEnd = leavePeriodWeeks(y).to;
        const QDate end = c.last.isValid() ? std::min(c.last, weeksEnd) : weeksEnd;
        p.running = today < end;

        // While the period runs, only the weeks already over count.
        p.weeksOfCare = weeksOfCare(c, y, deducted, p.running ? std::optional(today) : std::nullopt);
        p.daysEarned = rules::daysEarned(p.weeksOfCare);
        p.earnedTenths = p.running ? rules::tenthsEarned(p.weeksOfCare) : p.daysEarned * rules::TenthsPerDay;

        const DateRange leaveYear = leavePeriodDates(y + 1);
        const QDate leaveFrom = leaveYear.from, leaveTo = leaveYear.to;
        const QList<QDate> taken = leaveDays(c, leaveYear, stored);
        if (y < firstPeriod && taken.isEmpty())
            continue;
        p.daysTaken = int(taken.size());
        p.daysLeft = std::max(0, p.daysEarned - p.daysTaken);
        if (complete)
            p.unpaidDays = taken.mid(p.daysEarned);

        // The period's pay: each month's salary, with the leave of the
        // period before paid on those months' slips.
        for (QDate m = p.from; m <= p.to; m = m.addMonths(1))
            p.pay += salaries.value(m);
        if (!periods.isEmpty())
            for (const LeavePayout &paid : periods.last().payouts)
                if (paid.month >= p.from && paid.month <= p.to)
                    p.pay += paid.amount;
        p.tenPercent = partOf(p.pay, rules::LeaveSharePercent, 100);
        // The kept salary of the days earned at the contract's week. While the
        // period runs, that of the days earned so far, not rounded up.
        p.keptSalary =
            p.running ? rules::payOfDays(rules::leaveEarnedExactly(p.weeksOfCare), rules::LeaveEarnedPerDay,
                                         c.weeklyMinutes(), rate)
                      : rules::payOfDays(p.daysEarned, 1, c.weeklyMinutes(), rate);
        p.tenPercentChosen = p.tenPercent > p.keptSalary;
        p.amount = p.tenPercentChosen ? p.tenPercent : p.keptSalary;

        const QDate june = leaveFrom;
        const QDate may = firstOfMonth(leaveTo);
        if (complete) {
            // The leave is in the base: a better tenth adds the difference in
            // June, for the days to be taken inside the base. A contract over
            // before that June takes none of them there: its days are all
            // paid at the end, at the better amount already.
            const bool juneInContract = !lastSlip || *lastSlip >= june;
            if (p.tenPercentChosen && juneInContract)
                addPayout(p.payouts, june, 0, p.tenPercent - p.keptSalary, true);
            // A contract that ends before the leave year is over pays the
            // days it did not take: at the better amount, or at the kept
            // salary once June has paid the difference on every day earned.
            if (lastSlip && c.last < leaveTo && p.daysEarned > 0) {
                const int left = std::max(0, p.daysEarned - int(leaveDays(c, {leaveFrom, c.last}, stored).size()));
                const Money rateOfDays = juneInContract ? p.keptSalary : p.amount;
                addPayout(p.payouts, *lastSlip, left, partOf(rateOfDays, left, p.daysEarned), false);
            }
        } else {
            switch (c.leavePayment) {
            case LeavePayment::InJune: addPayout(p.payouts, june, p.daysEarned, p.amount, false); break;
            case LeavePayment::MainLeave: {
                // The first leave starting in the leave year that is long
                // enough to be the main leave.
                QDate month = may;
                QList<Absence> leaves;
                for (const Absence &a : c.absences)
                    if (a.reason == Reason::MinderLeave)
                        leaves << a;
                std::sort(leaves.begin(), leaves.end(),
                          [](const Absence &a, const Absence &b) { return a.range.from < b.range.from; });
                for (const Absence &a : leaves) {
                    const QList<QDate> own = leaveDays(c, leaveYear, stored, &a);
                    if (own.size() >= rules::MainLeaveDays) {
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
                Money paid;
                for (const QDate &d : taken) {
                    if (paidDays == p.daysEarned)
                        break;
                    ++paidDays;
                    const Money due = partOf(p.amount, paidDays, p.daysEarned);
                    addPayout(p.payouts, firstOfMonth(d), 1, due - paid, false);
                    paid = due;
                }
                addPayout(p.payouts, may, p.daysEarned - paidDays, p.amount - paid, false);
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
    static const QStringList columns = {QStringLiteral("Période"),
                                        QStringLiteral("Semaines"),
                                        QStringLiteral("Acquis"),
                                        QStringLiteral("Pris"),
                                        QStringLiteral("Restants"),
                                        QStringLiteral("%1 %").arg(rules::LeaveSharePercent),
                                        QStringLiteral("Maintien"),
                                        QStringLiteral("Montant retenu"),
                                        QStringLiteral("Payé")};
    return columns;
}

QList<QStringList> leaveRows(const QList<LeavePeriod> &periods)
{
    const auto tenths = [](int count) {
        return QStringLiteral("%1.%2").arg(count / rules::TenthsPerDay).arg(count % rules::TenthsPerDay);
    };
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
                            p->running ? tenths(std::max(0, p->earnedTenths - rules::TenthsPerDay * p->daysTaken))
                                       : QString::number(p->daysLeft),
                            formatAmount(p->tenPercent),
                            formatAmount(p->keptSalary),
                            formatAmount(p->amount),
                            paid.join(QStringLiteral("; "))};
    }
    return rows;
}

} // namespace contract
