#include "contract/endofcontract.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "contract/contractrules.h"

#include <QHash>
#include <QSet>

namespace contract {

namespace {
QDate firstOfMonth(QDate d) { return QDate(d.year(), d.month(), 1); }

// Exact hours are counted in 1/1200 of a minute: whole minutes, twelfths of
// a minute (M) and hundredths of an hour (the extra hours of the slips) all
// fall on it.
constexpr qint64 PerMinute = 1200;
constexpr qint64 PerHundredth = PerMinute * 60 / 100;

// Hundredths of an hour of an exact count, half away from zero.
qint64 hundredthsOf(qint64 units) { return rules::hundredthsOfHour(units, PerMinute); }

QString euros(Money m) { return formatAmount(m) + QStringLiteral(" €"); }
QString hours(qint64 hundredths)
{
    const qint64 a = hundredths < 0 ? -hundredths : hundredths;
    return QStringLiteral("%1%2.%3 h")
        .arg(hundredths < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QLatin1Char('0'));
}
} // namespace

NoticeSpan noticeOf(const Contract &c)
{
    NoticeSpan n;
    if (!c.endReason || !c.notified.isValid() || !c.first.isValid())
        return n;
    // The notice runs from the day the letter was first presented, that day
    // included. None while on trial, for serious misconduct, or when the
    // approval is withdrawn (the childminder may no longer work).
    switch (*c.endReason) {
    case EndReason::ChildWithdrawn:
    case EndReason::Resignation:
        n.notice = c.notified < c.first.addYears(rules::LongNoticeFromYears) ? Notice::FifteenDays : Notice::OneMonth;
        n.end = n.notice == Notice::FifteenDays ? c.notified.addDays(rules::ShortNoticeDays - 1)
                                                : c.notified.addMonths(rules::LongNoticeMonths).addDays(-1);
        break;
    default: break;
    }
    return n;
}

QDate contractEndDate(const Contract &c)
{
    const QDate noticeEnd = noticeOf(c).end;
    return noticeEnd.isValid() && c.last.isValid() && noticeEnd > c.last ? noticeEnd : c.last;
}

Money EndOfContract::totalPaid() const
{
    return noticePay + indemnity + trueUpPaid() + leavePay;
}

EndOfContract endOfContract(const Contract &c, const QList<StoredDay> &days, const QList<SavedSlipFigures> &slips,
                            const QList<MonthFigures> &months, Money rate, const QList<LeavePeriod> &leave)
{
    EndOfContract e;
    if (!c.isRegular() || !c.first.isValid()) {
        e.failure = contractmsg::noMensualisedSalary();
        return e;
    }
    if (!c.last.isValid())
        e.failure = endmsg::lastDayMissing();
    else if (!c.endReason)
        e.failure = endmsg::reasonMissing();
    else if (!c.notified.isValid())
        e.failure = endmsg::notificationMissing();
    if (!e.failure.isEmpty())
        return e;

    const NoticeSpan notice = noticeOf(c);
    e.notice = notice.notice;
    e.noticeEnd = notice.end;
    e.contractEnd = contractEndDate(c);
    if (e.notice != Notice::None) {
        // The notice days after the last day of care, at the contract's
        // planning as though it went on.
        Contract goingOn = c;
        goingOn.last = QDate();
        for (QDate d = std::max(c.last.addDays(1), c.notified); d <= e.noticeEnd; d = d.addDays(1))
            e.noticeMinutes += goingOn.plannedOn(d);
        e.noticePay = rules::payOfMinutes(e.noticeMinutes, 1, rate);
    }

    // The saved slips of the contract's months.
    const QDate firstMonth = firstOfMonth(c.first), lastMonth = firstOfMonth(c.last);
    QSet<QDate> saved;
    qint64 gross = 0, earlier = 0, extraHundredths = 0;
    for (const SavedSlipFigures &s : slips) {
        if (s.month < firstMonth || s.month > lastMonth)
            continue;
        saved.insert(s.month);
        // A net slip's gross is its net with the contributions worked out on it.
        const qint64 salary = s.grossBasis ? s.salbrut : s.salnet + s.totcs;
        gross += salary;
        if (s.month < lastMonth)
            earlier += salary;
        e.fromNet = e.fromNet || !s.grossBasis;
        extraHundredths += s.complementaryHours + s.majoratedHours;
    }
    for (QDate m = firstMonth; m <= lastMonth; m = m.addMonths(1))
        if (!saved.contains(m))
            e.missingMonths << m;

    e.indemnityDue = *c.endReason == EndReason::ChildWithdrawn &&
                     c.notified >= c.first.addMonths(rules::IndemnityFromMonths);
    e.salaryTotal = Money::fromCents(gross);
    e.earlierTotal = Money::fromCents(earlier);
    if (e.indemnityDue)
        e.indemnity = partOf(e.salaryTotal, 1, rules::IndemnityDivisor);

    // An incomplete year pays M every month whatever the weeks of care fell
    // in it: at the end, the hours really worked are set against those paid.
    e.trueUpApplies = c.kind == Kind::IncompleteYear;
    if (e.trueUpApplies) {
        QHash<QDate, int> stored;
        for (const StoredDay &d : days)
            if (c.inside(d.date))
                stored.insert(d.date, d.minutes);
        qint64 worked = 0;
        for (int minutes : std::as_const(stored))
            worked += qint64(minutes) * PerMinute;
        worked -= extraHundredths * PerHundredth;
        qint64 paid = 0;
        for (const MonthFigures &f : months)
            if (f.complete())
                paid += f.mensualisedTwelfths * (PerMinute / rules::MonthsPerYear) - f.deductedMinutes * PerMinute;
        e.workedHundredths = hundredthsOf(worked);
        e.paidHundredths = hundredthsOf(paid);
        e.trueUp = rules::payOfMinutes(worked - paid, PerMinute, rate);
    }

    // The leave the paid-leave periods put on the last slip.
    for (const LeavePeriod &p : leave)
        for (const LeavePayout &o : p.payouts)
            if (o.month == lastMonth) {
                e.leaveDays += o.days;
                e.leavePay += o.amount;
            }
    return e;
}

Money lastSlipIndemnity(const EndOfContract &e, Money lastGross)
{
    if (!e.complete() || !e.indemnityDue)
        return Money();
    return partOf(e.earlierTotal + shown(lastGross), 1, rules::IndemnityDivisor);
}

QList<EndLine> endLines(const EndOfContract &e)
{
    if (!e.complete())
        return {};
    QList<EndLine> lines;
    const bool notice = e.notice != Notice::None;
    lines << EndLine{QStringLiteral("Préavis"),
                     e.notice == Notice::FifteenDays ? QStringLiteral("%1 jours").arg(rules::ShortNoticeDays)
                     : e.notice == Notice::OneMonth  ? QStringLiteral("%1 mois").arg(rules::LongNoticeMonths)
                                                     : QStringLiteral("aucun")};
    lines << EndLine{QStringLiteral("Fin du préavis"), notice ? shortDate(e.noticeEnd) : QString()};
    lines << EndLine{QStringLiteral("Fin du contrat (certificat de travail)"), shortDate(e.contractEnd)};
    lines << EndLine{QStringLiteral("Préavis non effectué (heures prévues)"),
                     hours(rules::hundredthsOfHour(e.noticeMinutes))};
    lines << EndLine{QStringLiteral("Indemnité compensatrice de préavis"), euros(e.noticePay)};
    lines << EndLine{QStringLiteral("Total des salaires bruts du contrat"),
                     euros(e.salaryTotal) +
                         (e.fromNet ? QStringLiteral(" (salaires nets ramenés au brut par les cotisations de chaque "
                                                     "bulletin)")
                                    : QString())};
    lines << EndLine{QStringLiteral("Indemnité de rupture (1/%1)").arg(rules::IndemnityDivisor),
                     e.indemnityDue ? euros(e.indemnity) : QStringLiteral("non due")};
    if (e.trueUpApplies) {
        lines << EndLine{QStringLiteral("Heures réellement travaillées"), hours(e.workedHundredths)};
        lines << EndLine{QStringLiteral("Heures payées par la mensualisation"), hours(e.paidHundredths)};
        lines << EndLine{QStringLiteral("Régularisation"),
                         e.trueUp < Money() ? euros(e.trueUp) + QStringLiteral(" : non récupérée")
                                              : euros(e.trueUp)};
    } else {
        lines << EndLine{QStringLiteral("Régularisation"), QStringLiteral("sans objet (année complète)")};
    }
    lines << EndLine{QStringLiteral("Congés payés non pris"),
                     QStringLiteral("%1 jour%2 : %3").arg(e.leaveDays).arg(e.leaveDays > 1 ? "s" : "").arg(euros(e.leavePay))};
    QStringList missing;
    for (const QDate &m : e.missingMonths)
        missing << MonthKey::of(m.month(), m.year()).title() + QStringLiteral(" : manquant");
    lines << EndLine{QStringLiteral("Bulletins non enregistrés"),
                     missing.isEmpty() ? QStringLiteral("aucun") : missing.join(QStringLiteral(", "))};
    lines << EndLine{QStringLiteral("Total versé à la fin du contrat"), euros(e.totalPaid())};
    return lines;
}

QList<EndLine> receiptLines(const EndOfContract &e)
{
    QList<EndLine> lines;
    if (!e.complete())
        return lines;
    const auto add = [&](const QString &caption, Money m) {
        if (m != Money())
            lines << EndLine{caption, euros(m)};
    };
    add(QStringLiteral("Indemnité compensatrice de préavis"), e.noticePay);
    add(QStringLiteral("Indemnité de rupture"), e.indemnity);
    add(QStringLiteral("Régularisation des heures (année incomplète)"), e.trueUpPaid());
    add(QStringLiteral("Indemnité compensatrice de congés payés (%1 jours)").arg(e.leaveDays), e.leavePay);
    lines << EndLine{QStringLiteral("Total"), euros(e.totalPaid())};
    return lines;
}

} // namespace contract
