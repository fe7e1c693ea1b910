#include "legal/familycost.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "legal/taxcredit.h"

namespace legal {

namespace {
QString euros(Money m) { return formatAmount(m) + QStringLiteral(" €"); }

// A percent with its decimals as the table gives them, at least two: "0.0619".
QString percentText(Money rate)
{
    QString digits = QString::number(rate.count() % 10000).rightJustified(4, '0');
    while (digits.size() > 2 && digits.endsWith('0'))
        digits.chop(1);
    return QString::number(rate.count() / 10000) + '.' + digits;
}

// Hundredths of a percent: "86.02".
QString hundredthsText(qint64 hundredths) { return centsText(hundredths).replace(',', '.'); }

// The effort rate's row for `children`, moved down one row for each child
// receiving the disability allowance.
Key effortKey(int children, int disabled)
{
    static constexpr Key rows[] = {Key::AidEffortRate1, Key::AidEffortRate2, Key::AidEffortRate3, Key::AidEffortRate4,
                                   Key::AidEffortRate8};
    const int row = children <= 3 ? children - 1 : children <= 7 ? 3 : 4;
    return rows[std::min(row + disabled, 4)];
}
} // namespace

AidFamily aidFamilyOf(const Family &f, int slot, const QDate &birth)
{
    AidFamily a;
    if (f.resources)
        a.resources = Money::fromCents(*f.resources);
    a.children = f.children;
    a.singleParent = f.singleParent;
    for (const ChildAid &c : f.child)
        a.disabledChildren += c.disabilityAllowance;
    if (slot >= 1 && slot <= ChildCount)
        a.sharedCustody = f.child[std::size_t(slot - 1)].sharedCustody;
    a.birth = birth;
    return a;
}

const QStringList &costFigureNames()
{
    static const QStringList names = {QStringLiteral("CoutMois"), QStringLiteral("HeuresPayees"),
                                      QStringLiteral("CoutHoraire"), QStringLiteral("CMG"),
                                      QStringLiteral("PriseEnCharge"), QStringLiteral("ResteACharge")};
    return names;
}

SlipCost slipCostOf(const SlipInput &in, const SlipResult &slip, const std::optional<ContractHours> &contract)
{
    SlipCost c;
    const std::optional<MonthKey> month = MonthKey::fromText(in.moan);
    if (!month || !slip.complete())
        return c;
    c.year = month->year();
    c.month = month->month();
    const SlipResult::Amounts &a = slip.amounts;
    c.netSalary = a.salnet;
    c.upkeep = a.entret;
    c.meals = a.nour;
    c.contributions = a.totcs;
    if (contract) {
        // Each count of hours is declared whole on its own line.
        const qint64 lines[] = {contract->normalTwelfths(), 12 * contract->complementaryMinutes,
                                12 * contract->majoratedMinutes};
        for (const qint64 twelfths : lines) {
            c.declaredHours += wholeHoursOfTwelfths(twelfths);
            c.exactHours += hundredthsOfTwelfths(twelfths);
        }
    } else {
        try {
            const Money hours = moneyFromText(in.totheur);
            c.declaredHours = declaredHours(hours);
            c.exactHours = roundHalfAway(hours.count(), 100);
        } catch (const RuntimeError &) {
            // A slip that computed read its hours: not reached.
        }
    }
    return c;
}

SlipCost slipCostOf(const ArchivedSlip &slip)
{
    SlipCost c;
    c.year = slip.year();
    c.month = slip.month();
    c.netSalary = Money::fromCents(slip.salnet);
    c.upkeep = Money::fromCents(slip.entret);
    c.meals = Money::fromCents(slip.nour);
    c.contributions = Money::fromCents(slip.totcs);
    for (const qint64 hundredths : {slip.hours, slip.complementaryHours, slip.majoratedHours}) {
        c.declaredHours += roundHalfAway(hundredths, 100);
        c.exactHours += hundredths;
    }
    return c;
}

YearAid estimatedYearAid(const Table &table, const QList<ArchivedSlip> &slips, const AidFamily &family)
{
    YearAid y;
    qint64 sum = 0;
    for (const ArchivedSlip &slip : slips) {
        if (slip.month() == 0)
            continue;
        const FamilyCost f = estimateFamilyCost(table, slipCostOf(slip), family);
        if (f.status == FamilyCost::Status::NotEstimated) {
            y.why = aidmsg::yearNotEstimated(MonthKey::of(slip.month(), slip.year()).title(), f.reason);
            y.months = 0;
            return y;
        }
        sum += f.aid.count() / 100;
        ++y.months;
    }
    if (y.months > 0)
        y.cents = sum;
    return y;
}

FamilyCost estimateFamilyCost(const Table &table, const SlipCost &slip, const AidFamily &family)
{
    FamilyCost f;
    const QDate first(slip.year, slip.month, 1);
    const QDate last = first.addMonths(1).addDays(-1);
    const QString monthTitle = MonthKey::of(slip.month, slip.year).title();

    f.monthCost = slip.netSalary + slip.upkeep + slip.meals;
    const qint64 cost = f.monthCost.count();
    const qint64 hours = slip.declaredHours;
    if (hours > 0)
        f.hourlyCost = centsOf(cost, __int128(100) * hours);

    // The lines that hold whatever the aid: the cost and the hours.
    QList<CostFigure> &fig = f.figures;
    fig.append({costFigureNames().at(0), QStringLiteral("Coût du mois"), euros(f.monthCost),
                QStringLiteral("salaire net %1 + indemnités d'entretien %2 + repas %3")
                    .arg(formatAmount(slip.netSalary), formatAmount(slip.upkeep), formatAmount(slip.meals))});
    fig.append({costFigureNames().at(1), QStringLiteral("Heures payées"), QStringLiteral("%1 h").arg(hours),
                QStringLiteral("heures déclarées, en heures entières (%1 h exactement)")
                    .arg(hundredthsText(slip.exactHours))});

    // Before the per-hour rule, or without a value it needs, no estimate.
    const auto inForce = [&](Key key) { return table.inForce(key, first); };
    const auto notEstimated = [&](const QString &why) {
        f.status = FamilyCost::Status::NotEstimated;
        f.reason = why;
        fig.append({costFigureNames().at(2), QStringLiteral("Coût horaire"),
                    hours > 0 ? QStringLiteral("%1 €/h").arg(formatAmount(f.hourlyCost)) : QString(),
                    hours > 0 ? QStringLiteral("%1 / %2 h").arg(formatAmount(f.monthCost)).arg(hours) : QString()});
        for (int i = 3; i < costFigureNames().size(); ++i)
            fig.append({costFigureNames().at(i), {}, {}, {}});
        fig[3].label = QStringLiteral("CMG estimé");
        fig[3].how = why;
        fig[4].label = QStringLiteral("Cotisations prises en charge");
        fig[5].label = QStringLiteral("Reste à la charge de la famille");
        return f;
    };
    const std::optional<Value> cap = inForce(Key::AidHourlyCap);
    if (!cap) {
        const std::optional<QDate> since = table.since(Key::AidHourlyCap);
        return notEstimated(since && *since > first ? aidmsg::olderRule(*since)
                                                    : aidmsg::valueMissing(keyName(Key::AidHourlyCap), monthTitle));
    }
    if (!family.resources || family.children < 1)
        return notEstimated(aidmsg::familyMissing());
    if (family.sharedCustody && !inForce(Key::AidSharedPerParent)) {
        const std::optional<QDate> since = table.since(Key::AidSharedPerParent);
        return notEstimated(since ? aidmsg::sharedBefore(*since)
                                  : aidmsg::valueMissing(keyName(Key::AidSharedPerParent), monthTitle));
    }
    const Key rateKey = effortKey(family.children, family.disabledChildren);
    const Key ageKey = family.singleParent ? Key::AidAgeLimitSingle : Key::AidAgeLimit;
    for (const Key k : {Key::AidReferenceCost, Key::AidResourcesCeiling, rateKey, ageKey})
        if (!inForce(k))
            return notEstimated(aidmsg::valueMissing(keyName(k), monthTitle));
    if (hours <= 0)
        return notEstimated(aidmsg::noHours());

    const Value reference = *inForce(Key::AidReferenceCost);
    const Value ceiling = *inForce(Key::AidResourcesCeiling);
    const Value rate = *inForce(rateKey);
    const Value age = *inForce(ageKey);
    const Money resources = *family.resources;
    f.effortRate = rate.amount;
    for (const Key k : {Key::AidHourlyCap, Key::AidReferenceCost, Key::AidResourcesCeiling, rateKey, ageKey})
        if (const Value v = *inForce(k); !v.verified())
            f.notes << QStringLiteral("Valeur non vérifiée du barème : %1 = %2 (%3).")
                           .arg(keyName(k), percentText(v.amount), v.source);

    // The hourly cost against the cap, exactly: C > cap x hours.
    const __int128 capped = __int128(cap->amount.count()) * hours;
    f.capPassed = cost > capped;
    f.counted = f.capPassed ? centsOf(capped, 100) : f.monthCost;
    fig.append({costFigureNames().at(2), QStringLiteral("Coût horaire"),
                QStringLiteral("%1 €/h").arg(formatAmount(f.hourlyCost)),
                QStringLiteral("%1 / %2 h, %3 plafond de %4 €/h")
                    .arg(formatAmount(f.monthCost))
                    .arg(hours)
                    .arg(f.capPassed ? QStringLiteral("au-dessus du") : QStringLiteral("dans le"),
                         formatAmount(cap->amount))});

    // No aid: resources above the ceiling, or a child past the age limit.
    QString noAid;
    if (resources > ceiling.amount)
        noAid = aidmsg::aboveCeiling(formatAmount(resources), formatAmount(ceiling.amount));
    const int limit = int(age.amount.count() / 10000);
    if (birthKnown(family.birth, slip.year)) {
        const QDate birthday = family.birth.addYears(limit);
        if (noAid.isEmpty() && birthday <= last)
            noAid = aidmsg::tooOld(limit, shortDate(birthday), family.singleParent);
    } else {
        f.notes << QStringLiteral("La date de naissance de l'enfant n'est pas connue : la limite d'âge (%1 ans) n'est "
                                  "pas vérifiée.")
                       .arg(limit);
    }
    if (family.sharedCustody)
        f.notes << QStringLiteral("Garde alternée : ce CMG est le vôtre, sur vos frais et vos ressources ; l'autre "
                                  "parent a le sien.");

    if (!noAid.isEmpty()) {
        f.status = FamilyCost::Status::NoAid;
        f.reason = noAid;
        f.takeover = FamilyCost::Takeover::None;
        f.takenHundredths = 0;
        f.contributionsLeft = slip.contributions;
        f.employerPartUnknown = true;
        f.left = f.monthCost + f.contributionsLeft;
        fig.append({costFigureNames().at(3), QStringLiteral("CMG estimé"), QStringLiteral("aucun"), noAid});
        fig.append({costFigureNames().at(4), QStringLiteral("Cotisations prises en charge"), QStringLiteral("aucune"),
                    QStringLiteral("sans CMG, la famille paie toutes les cotisations")});
        fig.append({costFigureNames().at(5), QStringLiteral("Reste à la charge de la famille"), euros(f.left),
                    QStringLiteral("%1 + cotisations salariales %2, plus les cotisations patronales (non estimées)")
                        .arg(formatAmount(f.monthCost), formatAmount(slip.contributions))});
        return f;
    }

    // CMG = counted x (1 - Rf x t / Cref), the rate in percent: in counts of
    // ten-thousandths, counted x (10^6 Cref - Rf t) / (10^6 Cref) euros.
    f.status = FamilyCost::Status::Estimated;
    const __int128 scale = __int128(1000000) * reference.amount.count();
    const __int128 kept = scale - __int128(resources.count()) * rate.amount.count();
    f.aid = kept > 0 ? centsOf(__int128(f.counted.count()) * kept, 100 * scale) : Money();
    f.aidEuros = roundHalfAway(f.aid.count(), 10000);
    fig.append({costFigureNames().at(3), QStringLiteral("CMG estimé"), euros(f.aid),
                QStringLiteral("%1%2 x (1 - %3 x %4 % / %5), soit environ %6 € versés (la CAF arrondit à l'euro)")
                    .arg(formatAmount(f.counted),
                         f.capPassed ? QStringLiteral(" (%1 x %2 h)").arg(formatAmount(cap->amount)).arg(hours)
                                     : QString(),
                         formatAmount(resources), percentText(rate.amount), formatAmount(reference.amount))
                    .arg(f.aidEuros)});

    if (!f.capPassed) {
        f.takeover = FamilyCost::Takeover::All;
        f.left = f.monthCost - f.aid;
        fig.append({costFigureNames().at(4), QStringLiteral("Cotisations prises en charge"), QStringLiteral("toutes"),
                    QStringLiteral("avec le CMG et un coût horaire au plus le plafond, la CAF prend en charge toutes "
                                   "les cotisations, salariales et patronales")});
        fig.append({costFigureNames().at(5), QStringLiteral("Reste à la charge de la famille"), euros(f.left),
                    QStringLiteral("%1 - %2").arg(formatAmount(f.monthCost), formatAmount(f.aid))});
        return f;
    }

    // Above the cap the contributions are taken over in the share counted / C.
    f.takeover = FamilyCost::Takeover::Share;
    f.takenHundredths = roundHalfAway(__int128(f.counted.count()) * 10000, cost);
    const QString leftShare = hundredthsText(10000 - f.takenHundredths);
    f.contributionsLeft = partOf(slip.contributions, cost - f.counted.count(), cost);
    f.employerPartUnknown = true;
    f.left = f.monthCost - f.aid + f.contributionsLeft;
    fig.append({costFigureNames().at(4), QStringLiteral("Cotisations prises en charge"),
                QStringLiteral("%1 %").arg(hundredthsText(f.takenHundredths)),
                QStringLiteral("en partie, au-dessus du plafond : %1 / %2")
                    .arg(formatAmount(f.counted), formatAmount(f.monthCost))});
    fig.append({costFigureNames().at(5), QStringLiteral("Reste à la charge de la famille"), euros(f.left),
                QStringLiteral("%1 - %2 + %3 % des cotisations salariales (%4), plus %3 % des cotisations patronales "
                               "(non estimées)")
                    .arg(formatAmount(f.monthCost), formatAmount(f.aid), leftShare,
                         formatAmount(f.contributionsLeft))});
    f.capLine = QStringLiteral("Le coût horaire (%1 €/h) dépasse le plafond de %2 €/h : seuls %3 € sont comptés pour "
                               "le CMG, et la CAF ne prend en charge que %4 % des cotisations. La famille paie les "
                               "%5 % restants : %6 € de cotisations salariales, plus la même part des cotisations "
                               "patronales, que le programme n'estime pas.")
                    .arg(formatAmount(f.hourlyCost), formatAmount(cap->amount), formatAmount(f.counted),
                         hundredthsText(f.takenHundredths), leftShare, formatAmount(f.contributionsLeft));
    return f;
}

} // namespace legal
