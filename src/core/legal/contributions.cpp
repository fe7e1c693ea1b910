#include "legal/contributions.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "legal/legaltable.h"
#include "payslip/money.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>

namespace legal {

namespace {
const QString localSchemeName = QStringLiteral("alsace-moselle");
const QString endWord = QStringLiteral("fin");

// Rates and bases are held in ten-thousandths of a percent; the product of
// the two in 10^-8 of a percent of a percent. 100 % of 100 % is:
constexpr qint64 hundredPercent = qint64(100) * 10000;
constexpr qint64 wholeProduct = hundredPercent * hundredPercent;
// The NET coefficient's decimals: past the seventh, no month's pay moves a
// contribution by a ten-thousandth of a euro.
constexpr int netDecimals = 7;
constexpr qint64 netScale = 10000000;

// A spare row, as the first rates file has them.
const QString spareName = QStringLiteral("..........");
const QString spareNet = QStringLiteral("0.0");
const QString spareGross = QStringLiteral("0.00");

// "2.84925", "7.30", "100": a count of 10^-places as a decimal text, with at
// least `minimum` decimals and no trailing zero past them.
QString decimalText(qint64 count, int places, int minimum)
{
    QString digits = QString::number(count).rightJustified(places + 1, QLatin1Char('0'));
    QString whole = digits.left(digits.size() - places);
    QString fraction = digits.right(places);
    while (fraction.size() > minimum && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
}

// A percentage of the file, exactly: at most four decimals, never negative.
std::optional<qint64> percentOf(const QString &text)
{
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0 && text.size() - point - 1 > 4)
        return std::nullopt;
    if (!tryParseFloat(text))
        return std::nullopt;
    const qint64 count = moneyFromText(text).count();
    return count < 0 ? std::nullopt : std::optional(count);
}

// One row of the table: the lines of one heading.
struct Row {
    QString heading;
    QList<qint64> bases;
    qint64 product = 0; // sum of rate x base
};
} // namespace

Contributions Contributions::parse(const QByteArray &bytes, const QString &path)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    auto damaged = [&](int line, const QString &why) {
        return RuntimeError(rtl::contributionTableDamaged(shownPath, line, why));
    };
    const TableText text = tableText(bytes, contributionsMagic, damaged);
    Contributions t;
    t.m_edition = text.edition;
    QList<int> lineNumbers;
    for (const auto &[lineNumber, line] : text.rows) {
        const QStringList fields = line.split(QLatin1Char(';'));
        if (fields.size() != 7)
            throw damaged(lineNumber, QStringLiteral("7 champs attendus, %1 trouvés").arg(fields.size()));
        const auto field = [&](int i) { return fields[i].trimmed(); };
        Contribution c;
        c.key = field(0);
        c.heading = field(1);
        if (c.key.isEmpty() || c.heading.isEmpty())
            throw damaged(lineNumber, QStringLiteral("clé ou intitulé manquant"));
        c.ends = field(2) == endWord;
        if (!c.ends) {
            const std::optional<qint64> rate = percentOf(field(2));
            const std::optional<qint64> base = percentOf(field(3));
            if (!rate || *rate > hundredPercent)
                throw damaged(lineNumber, QStringLiteral("taux illisible « %1 »").arg(field(2)));
            if (!base || *base == 0 || *base > hundredPercent)
                throw damaged(lineNumber, QStringLiteral("assiette illisible « %1 »").arg(field(3)));
            c.rate = *rate;
            c.base = *base;
        }
        c.from = QDate::fromString(field(4), Qt::ISODate);
        if (!c.from.isValid())
            throw damaged(lineNumber, QStringLiteral("date illisible « %1 »").arg(field(4)));
        if (!field(5).isEmpty() && field(5) != localSchemeName)
            throw damaged(lineNumber, QStringLiteral("région inconnue « %1 »").arg(field(5)));
        c.localScheme = !field(5).isEmpty();
        c.source = field(6);
        if (c.source.isEmpty())
            throw damaged(lineNumber, QStringLiteral("source manquante"));
        for (const Contribution &o : std::as_const(t.m_lines))
            if (o.key == c.key && o.from == c.from)
                throw damaged(lineNumber, QStringLiteral("deux lignes %1 au %2").arg(c.key, field(4)));
        t.m_lines << c;
        lineNumbers << lineNumber;
    }
    // Every table the file can give must fit the window and leave a net: the
    // fault is said at the row that starts the table that does not.
    QSet<QDate> checked;
    for (qsizetype i = 0; i < t.m_lines.size(); ++i) {
        if (checked.contains(t.m_lines[i].from))
            continue;
        checked.insert(t.m_lines[i].from);
        for (const bool local : {false, true}) {
            const QList<Contribution> lines = t.inForce(t.m_lines[i].from, local);
            QSet<QString> headings;
            qint64 total = 0;
            for (const Contribution &c : lines) {
                headings.insert(c.heading);
                total += c.rate * c.base;
            }
            if (headings.size() > ContributionLines)
                throw damaged(lineNumbers[i],
                              QStringLiteral("plus de %1 intitulés en vigueur au %2")
                                  .arg(ContributionLines)
                                  .arg(t.m_lines[i].from.toString(Qt::ISODate)));
            if (total >= wholeProduct)
                throw damaged(lineNumbers[i], QStringLiteral("100 % ou plus de cotisations au %1")
                                                  .arg(t.m_lines[i].from.toString(Qt::ISODate)));
        }
    }
    return t;
}

Contributions Contributions::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw RuntimeError(rtl::contributionTableMissing(QDir::toNativeSeparators(path)));
    return parse(f.readAll(), path);
}

LoadedContributions loadContributions(const QString &path)
{
    LoadedContributions l;
    try {
        l.table = Contributions::load(path);
    } catch (const RuntimeError &e) {
        l.message = e.message();
    }
    return l;
}

QList<Contribution> Contributions::inForce(const QDate &date, bool localScheme) const
{
    // The latest row of each key not after the date is the one in force.
    QHash<QString, qsizetype> latest;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Contribution &c = m_lines[i];
        if (!date.isValid() || c.from > date || (c.localScheme && !localScheme))
            continue;
        const auto found = latest.constFind(c.key);
        if (found == latest.cend() || m_lines[*found].from < c.from)
            latest.insert(c.key, i);
    }
    QList<qsizetype> rows = latest.values();
    std::sort(rows.begin(), rows.end());
    QList<Contribution> lines;
    for (const qsizetype i : rows)
        if (!m_lines[i].ends)
            lines << m_lines[i];
    return lines;
}

QDate Contributions::firstDate() const
{
    QDate first;
    for (const Contribution &c : m_lines)
        if (!first.isValid() || c.from < first)
            first = c.from;
    return first;
}

QStringList Contributions::localHeadings() const
{
    QStringList headings;
    for (const Contribution &c : m_lines)
        if (c.localScheme && !headings.contains(c.heading))
            headings << c.heading;
    return headings;
}

RateRows rowsOf(const QList<Contribution> &lines)
{
    QList<Row> rows;
    qint64 total = 0;
    for (const Contribution &c : lines) {
        auto row = std::find_if(rows.begin(), rows.end(), [&](const Row &r) { return r.heading == c.heading; });
        if (row == rows.end()) {
            rows.append({c.heading, {}, 0});
            row = rows.end() - 1;
        }
        if (!row->bases.contains(c.base))
            row->bases << c.base;
        row->product += c.rate * c.base;
        total += c.rate * c.base;
    }
    RateRows out;
    for (size_t k = 0; k < out.names.size(); ++k) {
        if (k >= size_t(rows.size())) {
            out.names[k] = spareName;
            out.net[k] = spareNet;
            out.gross[k] = spareGross;
            out.bases[k] = QString::number(100);
            continue;
        }
        const Row &row = rows[qsizetype(k)];
        const qint64 base = row.bases.first();
        if (row.bases.size() == 1 && base % 10000 == 0) {
            // A whole base stays the row's base: the rate is the lines' sum.
            out.bases[k] = QString::number(base / 10000);
            out.gross[k] = decimalText(row.product / base, 4, 2);
            out.names[k] = row.heading + QStringLiteral(" :");
        } else {
            // Folded into the rate on 100 %: rate x base / 100, exactly.
            out.bases[k] = QString::number(100);
            out.gross[k] = decimalText(row.product, 10, 2);
            out.names[k] = row.bases.size() > 1
                               ? row.heading + QStringLiteral(" :")
                               : QStringLiteral("%1 sur %2 % :")
                                     .arg(row.heading,
                                          decimalText(base, 4, 0).replace(QLatin1Char('.'), QLatin1Char(',')));
        }
        // a / (1 - t), both as products of a rate and a base.
        const qint64 left = wholeProduct - total;
        out.net[k] = decimalText(roundRatio(__int128(row.product) * netScale, left), netDecimals, netDecimals);
    }
    return out;
}

bool sameRates(const RateRows &shown, const RateRows &expected)
{
    for (size_t k = 0; k < shown.names.size(); ++k) {
        const std::optional<long double> net = tryParseFloat(shown.net[k]);
        const std::optional<long double> rate = tryParseFloat(shown.gross[k]);
        const std::optional<qint32> base = tryParseInt(shown.bases[k]);
        const std::optional<long double> netExpected = tryParseFloat(expected.net[k]);
        const std::optional<long double> rateExpected = tryParseFloat(expected.gross[k]);
        const std::optional<qint32> baseExpected = tryParseInt(expected.bases[k]);
        if (!net || !rate || !base || !netExpected || !rateExpected || !baseExpected)
            return false;
        // Half a unit of the coefficient's last decimal, a hundred-thousandth
        // of a percent of the rate: what a text of the same value may differ by.
        if (std::abs(*net - *netExpected) > 0.6L / netScale)
            return false;
        if (std::abs(*rate * static_cast<long double>(*base) - *rateExpected * static_cast<long double>(*baseExpected)) >
            1e-5L)
            return false;
    }
    return true;
}

} // namespace legal
