#include "settings/familyfile.h"

#include "settings/wholefile.h"

#include "common/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace family {

namespace {
const QByteArray magic = QByteArrayLiteral("BERLIVO FAMILLE");

// What the file says above its lines, for whoever opens it.
const char *const heading = "# Renseignements de la famille pour l'estimation du CMG (Berlivo Paye).\n"
                            "# ressources : ressources mensuelles retenues par la CAF ; enfants_a_charge : nombre\n"
                            "# d'enfants à charge ; parent_isole : 1 pour un parent isolé ;\n"
                            "# enfant;<numéro 1 à 5>;<AEEH 0 ou 1>;<garde alternée 0 ou 1>.\n";

std::optional<bool> flag(const QString &text)
{
    if (text == QLatin1String("0"))
        return false;
    if (text == QLatin1String("1"))
        return true;
    return std::nullopt;
}
} // namespace

QString centsText(qint64 cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QChar('0'));
}

std::optional<qint64> typedCents(const QString &text)
{
    static const QRegularExpression amount(QStringLiteral("^(\\d{1,9})(?:[.,](\\d{0,2}))?$"));
    const QRegularExpressionMatch m = amount.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString decimals = m.captured(2).leftJustified(2, '0');
    return m.captured(1).toLongLong() * 100 + decimals.toLongLong();
}

QByteArray fileBytes(const Family &f)
{
    QString text = QString::fromLatin1(magic) + ';' + QString::number(Version) + '\n' + QString::fromUtf8(heading);
    text += QStringLiteral("ressources;%1\n").arg(f.resources ? centsText(*f.resources) : QString());
    text += QStringLiteral("enfants_a_charge;%1\n").arg(f.children);
    text += QStringLiteral("parent_isole;%1\n").arg(int(f.singleParent));
    for (int slot = 1; slot <= ChildCount; ++slot) {
        const ChildAid &c = f.child[std::size_t(slot - 1)];
        text += QStringLiteral("enfant;%1;%2;%3\n").arg(slot).arg(int(c.disabilityAllowance)).arg(int(c.sharedCustody));
    }
    return text.toUtf8();
}

Family parse(const QByteArray &bytes, const QString &path, int *version)
{
    const QString shown = QDir::toNativeSeparators(path);
    auto damaged = [&](int line, const QString &why) { return RuntimeError(aidmsg::familyFileDamaged(shown, line, why)); };
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter))
        throw damaged(1, QStringLiteral("le texte n'est pas en UTF-8"));
    const QStringList lines = text.split('\n');
    const QStringList header = lines.first().trimmed().split(';');
    bool ok = false;
    const int fileVersion = header.size() == 2 ? header[1].toInt(&ok) : 0;
    if (header.size() != 2 || header[0] != QLatin1String(magic) || !ok || fileVersion < 1)
        throw damaged(1, QStringLiteral("en-tête attendu « %1;<version> »").arg(QString::fromLatin1(magic)));
    if (version)
        *version = fileVersion;

    Family f;
    for (int i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QStringList fields = line.split(';');
        const QString &key = fields[0];
        const int number = i + 1;
        const auto bad = [&](const QString &value) {
            return damaged(number, QStringLiteral("valeur illisible « %1 » pour %2").arg(value, key));
        };
        const auto wanted = [&](qsizetype count) {
            if (fields.size() != count)
                throw damaged(number, QStringLiteral("%1 champs attendus, %2 trouvés").arg(count).arg(fields.size()));
        };
        if (key == QLatin1String("ressources")) {
            wanted(2);
            f.resources = typedCents(fields[1]);
            if (!f.resources && !fields[1].isEmpty())
                throw bad(fields[1]);
        } else if (key == QLatin1String("enfants_a_charge")) {
            wanted(2);
            f.children = fields[1].toInt(&ok);
            if (!ok || f.children < 0 || f.children > MaxChildren)
                throw bad(fields[1]);
        } else if (key == QLatin1String("parent_isole")) {
            wanted(2);
            const std::optional<bool> single = flag(fields[1]);
            if (!single)
                throw bad(fields[1]);
            f.singleParent = *single;
        } else if (key == QLatin1String("enfant")) {
            wanted(4);
            const int slot = fields[1].toInt(&ok);
            if (!ok || slot < 1 || slot > ChildCount)
                throw bad(fields[1]);
            const std::optional<bool> aeeh = flag(fields[2]), shared = flag(fields[3]);
            if (!aeeh || !shared)
                throw bad(fields[aeeh ? 3 : 2]);
            f.child[std::size_t(slot - 1)] = {*aeeh, *shared};
        } else if (fileVersion <= Version) {
            // A later version may add keys; this one knows all of its own.
            throw damaged(number, QStringLiteral("clé inconnue « %1 »").arg(key));
        }
    }
    return f;
}

Loaded load(const QString &path)
{
    Loaded l;
    QFile file(path);
    if (!QFileInfo::exists(path))
        return l;
    l.present = true;
    if (!file.open(QIODevice::ReadOnly)) {
        l.damaged = true;
        l.message = rtl::cannotOpenFile(QDir::toNativeSeparators(path));
        return l;
    }
    try {
        int version = 0;
        l.family = parse(file.readAll(), path, &version);
        l.newer = version > Version;
        if (l.newer)
            l.message = aidmsg::familyFileTooNew(QDir::toNativeSeparators(path));
    } catch (const RuntimeError &e) {
        l.damaged = true;
        l.message = e.message();
    }
    return l;
}

void store(const QString &path, const Family &f) { writeWholeFile(path, fileBytes(f)); }

} // namespace family
