#include "settings/numberfields.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "settings/ratesfile.h"

#include <vector>

namespace numberfield {
namespace {
const std::vector<Field> &fields()
{
    static const std::vector<Field> all = [] {
        std::vector<Field> f = {
            {QStringLiteral("SH"), QStringLiteral("Salaire horaire (NET)"), Kind::Amount, 0, true},
            {QStringLiteral("SHbr"), QStringLiteral("Salaire horaire (BRUT)"), Kind::Amount, 0, true},
            {QStringLiteral("FJ"), QStringLiteral("Forfait journalier (NET)"), Kind::Amount, 0},
            {QStringLiteral("FJbr"), QStringLiteral("Forfait journalier (BRUT)"), Kind::Amount, 0},
            {QStringLiteral("Indentr"), QStringLiteral("Majoration jour férié"), Kind::Coefficient, 0},
            {QStringLiteral("PD"), QStringLiteral("Indemnité de repas, Petit Déjeuner"), Kind::Amount, 0},
            {QStringLiteral("D"), QStringLiteral("Indemnité de repas, Déjeuner"), Kind::Amount, 0},
            {QStringLiteral("G"), QStringLiteral("Indemnité de repas, Goûter"), Kind::Amount, 0},
            {QStringLiteral("Sp"), QStringLiteral("Indemnité de repas, Diner"), Kind::Amount, 0},
            {QStringLiteral("diverse"), QStringLiteral("Indemnités diverses"), Kind::Amount, 0},
            {QStringLiteral("abs"), QStringLiteral("Indemnités d'absence"), Kind::Amount, 0},
            {QStringLiteral("accpte"), QStringLiteral("Accompte déjà versé"), Kind::Amount, 0},
            {QStringLiteral("ETH"), QStringLiteral("Indemnité d'entretien au taux horaire"), Kind::Amount, 0},
            {QStringLiteral("EFJ"), QStringLiteral("Indemnité d'entretien au forfait journalier"), Kind::Amount, 0},
        };
        // The contribution table: lines 9 to 35 of the rates list.
        const struct {
            int firstLine;
            const char *label;
            Kind kind;
        } columns[] = {{rates::NetLine, "Taux NET", Kind::Coefficient},
                       {rates::GrossLine, "Taux BRUT", Kind::Coefficient},
                       {rates::BaseLine, "Assiette", Kind::Whole}};
        for (const auto &c : columns)
            for (int k = 0; k < 9; ++k)
                f.push_back({rates::lineField(c.firstLine + k),
                             QStringLiteral("%1, ligne %2").arg(QLatin1String(c.label)).arg(k + 1), c.kind, k + 1});
        return f;
    }();
    return all;
}
} // namespace

const Field *find(const QString &name)
{
    for (const Field &f : fields())
        if (f.name == name)
            return &f;
    return nullptr;
}

QString caption(const Field &field, const QString &lineName)
{
    QString name = lineName.trimmed();
    while (name.endsWith(QLatin1Char(':')) || name.endsWith(QLatin1Char('.')))
        name = name.chopped(1).trimmed();
    return field.line && !name.isEmpty() ? QStringLiteral("%1 (%2)").arg(field.label, name) : field.label;
}

QString example(Kind kind)
{
    switch (kind) {
    case Kind::Amount: return QStringLiteral("5.13");
    case Kind::Coefficient: return QStringLiteral("0.0936");
    case Kind::Whole: return QStringLiteral("95");
    }
    return {};
}

std::optional<QString> accepted(const QString &typed, Kind kind)
{
    QString text = typed.trimmed();
    if (text.isEmpty())
        return text;
    // One comma where the point should be; "1,234.5" or "1,2,3" are no
    // decimal comma and stay refused.
    if (text.count(QLatin1Char(',')) == 1 && !text.contains(QLatin1Char('.')))
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    const bool number = kind == Kind::Whole ? tryParseInt(text).has_value() : tryParseFloat(text).has_value();
    if (!number)
        return std::nullopt;
    return text;
}

QString refusal(const Field &field, const QString &name, const QString &kept, int capacity)
{
    if (field.positive && !kept.isEmpty() && tryParseFloat(kept).value_or(0) <= 0)
        return rtl::wageNotPositive(name, kept);
    if (capacity > 0 && kept.size() > capacity)
        return rtl::fieldTooLong(name, kept, capacity);
    return {};
}
} // namespace numberfield
