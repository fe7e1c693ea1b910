#include "payslip/declaration.h"

#include "attendance/duration.h"
#include "common/errors.h"

#include <QRegularExpression>

namespace {
// "Mars 2002" from the month key 0302; the slip files a month under 20YY.
QString period(const QString &moan)
{
    const int month = moan.left(2).toInt();
    if (moan.size() < 4 || month < 1 || month > 12)
        return {};
    // The slip keeps its own old spelling of August; the declaration spells it right.
    QString name = monthName(month);
    if (month == 8)
        name = QStringLiteral("Août");
    return name + QStringLiteral(" 20") + moan.mid(2, 2);
}

// The cents nearest to numerator / denominator (in cents), ties to even,
// worked out exactly.
qint64 centsOfRatio(__int128 numerator, __int128 denominator)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const __int128 n = numerator < 0 ? -numerator : numerator, d = denominator < 0 ? -denominator : denominator;
    __int128 q = n / d;
    const __int128 twice = 2 * (n % d);
    if (twice > d || (twice == d && q % 2 == 1))
        ++q;
    return qint64(negative ? -q : q);
}

QString decimalComma(QString text) { return text.replace(QChar('.'), QChar(',')); }
} // namespace

int activityDays(const SlipInput &in)
{
    int days = 0;
    for (const SheetDay &d : in.days) {
        if (d.date.isEmpty())
            continue;
        const bool flat = d.flatRate == sheet::mark(sheet::Flat);
        if (flat || (!d.duration.isEmpty() && durationHours(d.duration) > 0))
            ++days;
    }
    return days;
}

QString declarationAmount(Money amount)
{
    const qint64 c = shown(amount).count() / 100;
    const quint64 magnitude = c < 0 ? 0 - quint64(c) : quint64(c);
    const QString text = QStringLiteral("%1,%2").arg(magnitude / 100).arg(magnitude % 100, 2, 10, QChar('0'));
    return c < 0 ? '-' + text : text;
}

qint64 declaredHours(Money hours) { return (hours.count() + 5000) / 10000; }

const QStringList &declarationLabels()
{
    static const QStringList labels = {
        QStringLiteral("Période"),
        QStringLiteral("Nombre d'heures normales"),
        QStringLiteral("Nombre de jours d'activité"),
        QStringLiteral("Salaire horaire net"),
        QStringLiteral("Salaire net total"),
        QStringLiteral("Indemnités d'entretien"),
        QStringLiteral("Indemnités de repas"),
        QStringLiteral("Montant versé au salarié"),
    };
    return labels;
}

Declaration declarationFor(const SlipInput &in, const SlipResult &slip, bool grossBasis)
{
    Declaration d;
    d.childName = in.prenom3;
    // The hours window's key before any validation is its placeholder text;
    // once the window was opened again its sheet and total are emptied while
    // the key of the last validation stays: no month is validated then either.
    static const QRegularExpression monthKey(QStringLiteral("^(0[1-9]|1[0-2])[0-9]{2}$"));
    if (!monthKey.match(in.moan).hasMatch() || in.totheur.trimmed().isEmpty()) {
        d.failure = QStringLiteral("Aucun mois n'a été validé : saisissez les heures du mois, "
                                   "validez-les, puis revenez ici.");
        return d;
    }
    if (!slip.complete()) {
        d.failure = QStringLiteral("Le bulletin de ce mois ne peut pas être calculé : %1").arg(*slip.error);
        return d;
    }
    const SlipResult::Amounts &a = slip.amounts;
    try {
        const Money hours = moneyFromText(in.totheur);
        Money hourly;
        if (grossBasis) {
            if (a.salbrut.count() == 0) {
                d.failure = QStringLiteral("Le salaire brut du mois est nul : il n'y a pas de salaire à déclarer.");
                return d;
            }
            // The gross hourly wage carried over to net by the month's own
            // ratio of net to gross salary.
            hourly = Money::fromCount(100 * centsOfRatio(__int128(moneyFromText(in.SHbr).count()) * a.salnet.count(),
                                                         __int128(a.salbrut.count()) * 100));
        } else {
            hourly = moneyFromText(in.SH);
        }
        const QString values[] = {
            period(in.moan),
            QString::number(declaredHours(hours)),
            QString::number(activityDays(in)),
            declarationAmount(hourly),
            declarationAmount(a.salnet),
            declarationAmount(a.entret),
            declarationAmount(a.nour),
            declarationAmount(a.net),
        };
        for (int i = 0; i < declarationLabels().size(); ++i)
            d.figures.append({declarationLabels().at(i), values[i], {}});
        d.figures[1].detail = QStringLiteral("%1 h exactement").arg(decimalComma(in.totheur));
    } catch (const RuntimeError &e) {
        d.figures.clear();
        d.failure = QStringLiteral("Le bulletin de ce mois ne peut pas être calculé : %1").arg(e.message());
    }
    return d;
}

QString declarationText(const Declaration &d)
{
    QString text;
    for (const DeclarationFigure &f : d.figures)
        text += f.label + '\t' + f.value + '\n';
    return text;
}
