#include "legal/legaltable.h"

#include "common/errors.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <array>

namespace legal {

namespace {
struct KeyName {
    Key key;
    const char *name;
};
constexpr std::array<KeyName, 20> keyNames{{
    {Key::Smic, "smic_horaire_brut"},
    {Key::ChildminderHourly, "am_horaire_brut_min"},
    {Key::UpkeepPerDay, "entretien_min_jour"},
    {Key::UpkeepPer9Hours, "entretien_min_9h"},
    {Key::CreditCeiling, "credit_garde_plafond"},
    {Key::CreditRate, "credit_garde_taux"},
    {Key::WeekHoursMax, "semaine_heures_max"},
    {Key::MajorationMin, "majoration_heures_sup_min"},
    {Key::IncompleteYearWeeksMax, "annee_incomplete_semaines_max"},
    {Key::AidHourlyCap, "cmg_plafond_horaire_am"},
    {Key::AidReferenceCost, "cmg_cout_horaire_reference"},
    {Key::AidEffortRate1, "cmg_taux_effort_1"},
    {Key::AidEffortRate2, "cmg_taux_effort_2"},
    {Key::AidEffortRate3, "cmg_taux_effort_3"},
    {Key::AidEffortRate4, "cmg_taux_effort_4_a_7"},
    {Key::AidEffortRate8, "cmg_taux_effort_8"},
    {Key::AidResourcesCeiling, "cmg_ressources_plafond"},
    {Key::AidAgeLimit, "cmg_age_limite"},
    {Key::AidAgeLimitSingle, "cmg_age_limite_parent_isole"},
    {Key::AidSharedPerParent, "cmg_garde_alternee_par_parent"},
}};

std::optional<Key> keyOf(const QString &name)
{
    for (const KeyName &k : keyNames)
        if (name == QLatin1String(k.name))
            return k.key;
    return std::nullopt;
}

// The header line and the rest of the file, split at the first line end.
std::pair<QByteArray, QByteArray> splitHeader(QByteArray bytes)
{
    // An editor may have put a byte order mark in front.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const qsizetype end = bytes.indexOf('\n');
    if (end < 0)
        return {bytes, {}};
    QByteArray header = bytes.left(end);
    if (header.endsWith('\r'))
        header.chop(1);
    return {header, bytes.mid(end + 1)};
}
} // namespace

QString keyName(Key key)
{
    for (const KeyName &k : keyNames)
        if (k.key == key)
            return QLatin1String(k.name);
    return {};
}

Edition editionOf(const QByteArray &bytes, const QByteArray &magic)
{
    const auto [header, rest] = splitHeader(bytes);
    const QList<QByteArray> parts = header.split(';');
    Edition e;
    if (parts.size() != 3 || parts[0] != magic)
        return e;
    bool ok = false;
    const int number = parts[1].toInt(&ok);
    if (!ok || number < 1)
        return e;
    e.number = number;
    e.asShipped = QCryptographicHash::hash(rest, QCryptographicHash::Sha256).toHex() == parts[2];
    return e;
}

bool shippedReplaces(const QByteArray &present, const QByteArray &shipped, const QByteArray &magic)
{
    if (present.isEmpty())
        return true;
    const Edition have = editionOf(present, magic);
    return have.asShipped && have.number < editionOf(shipped, magic).number;
}

TableText tableText(const QByteArray &bytes, const QByteArray &magic, const DamageRaiser &damaged)
{
    const Edition edition = editionOf(bytes, magic);
    if (edition.number == 0)
        throw damaged(1, QStringLiteral("en-tête attendu « %1;<édition>;<empreinte> »").arg(QString::fromLatin1(magic)));
    TableText t;
    t.edition = edition.number;
    const QString text = QString::fromUtf8(splitHeader(bytes).second);
    if (text.contains(QChar::ReplacementCharacter))
        throw damaged(1, QStringLiteral("le texte n'est pas en UTF-8"));
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        t.rows.append({i + 2, line}); // the header is line 1
    }
    return t;
}

Table Table::parse(const QByteArray &bytes, const QString &path)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    auto damaged = [&](int line, const QString &why) {
        return RuntimeError(rtl::legalTableDamaged(shownPath, line, why));
    };

    const TableText text = tableText(bytes, legalValuesMagic, damaged);
    Table t;
    t.m_edition = text.edition;
    for (const auto &[lineNumber, line] : text.rows) {
        const QStringList fields = line.split(';');
        if (fields.size() != 4)
            throw damaged(lineNumber, QStringLiteral("4 champs attendus, %1 trouvés").arg(fields.size()));
        const std::optional<Key> key = keyOf(fields[0].trimmed());
        if (!key)
            throw damaged(lineNumber, QStringLiteral("clé inconnue « %1 »").arg(fields[0].trimmed()));
        Row row{*key, {}};
        try {
            row.value.amount = moneyFromText(fields[1].trimmed());
        } catch (const RuntimeError &) {
            throw damaged(lineNumber, QStringLiteral("montant illisible « %1 »").arg(fields[1].trimmed()));
        }
        if (row.value.amount.count() < 0)
            throw damaged(lineNumber, QStringLiteral("montant négatif « %1 »").arg(fields[1].trimmed()));
        row.value.from = QDate::fromString(fields[2].trimmed(), Qt::ISODate);
        if (!row.value.from.isValid())
            throw damaged(lineNumber, QStringLiteral("date illisible « %1 »").arg(fields[2].trimmed()));
        row.value.source = fields[3].trimmed();
        if (row.value.source.isEmpty())
            throw damaged(lineNumber, QStringLiteral("source manquante"));
        for (const Row &r : t.m_rows)
            if (r.key == row.key && r.value.from == row.value.from)
                throw damaged(lineNumber, QStringLiteral("deux valeurs de %1 au %2")
                                              .arg(keyName(row.key), row.value.from.toString(Qt::ISODate)));
        t.m_rows << row;
    }
    // Latest first: the first row of a key not after the date is the one in force.
    std::stable_sort(t.m_rows.begin(), t.m_rows.end(),
                     [](const Row &a, const Row &b) { return a.value.from > b.value.from; });
    return t;
}

Table Table::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw RuntimeError(rtl::legalTableMissing(QDir::toNativeSeparators(path)));
    return parse(f.readAll(), path);
}

Loaded loadTable(const QString &path)
{
    Loaded l;
    try {
        l.table = Table::load(path);
    } catch (const RuntimeError &e) {
        l.message = e.message();
    }
    return l;
}

std::optional<Value> Table::inForce(Key key, const QDate &date) const
{
    if (!date.isValid())
        return std::nullopt;
    for (const Row &r : m_rows)
        if (r.key == key && r.value.from <= date)
            return r.value;
    return std::nullopt;
}

std::optional<QDate> Table::since(Key key) const
{
    // The rows are latest first: the last row of the key is its first.
    std::optional<QDate> first;
    for (const Row &r : m_rows)
        if (r.key == key)
            first = r.value.from;
    return first;
}

} // namespace legal
