#include "paramrecord.h"

#include "common/text1252.h"

#include <QtEndian>
#include <cstring>

namespace paramrecord {

const std::array<const char *, ContributionLines> baseNames = {"Edit19", "Edit20", "Edit23", "Edit25", "Edit26",
                                                               "Edit27", "Edit28", "Edit29", "Edit30"};

const QStringList &employeeTitles()
{
    static const QStringList t = {QStringLiteral("Madame"), QStringLiteral("Mademoiselle"), QStringLiteral("Monsieur")};
    return t;
}

const QStringList &employerTitles()
{
    static const QStringList t = {QStringLiteral("Monsieur"), QStringLiteral("Madame"), QStringLiteral("Mademoiselle")};
    return t;
}

QString shownText(const QString &field, const QString &value)
{
    static const QStringList zeroWhenEmpty = {"SH", "SHbr",    "FJ",  "FJbr",   "PD",  "D",  "G",
                                              "Sp", "diverse", "abs", "accpte", "ETH", "EFJ"};
    return value.isEmpty() && zeroWhenEmpty.contains(field) ? QStringLiteral("0") : value;
}

namespace {
template <QString ParamRecord::*M>
QString &member(ParamRecord &r)
{
    return r.*M;
}

std::vector<TextField> buildTextFields()
{
    std::vector<TextField> f = {
        {"nom1", 0, 20, member<&ParamRecord::nom1>},
        {"nom2", 21, 20, member<&ParamRecord::nom2>},
        {"prenom1", 42, 20, member<&ParamRecord::prenom1>},
        {"prenom2", 63, 20, member<&ParamRecord::prenom2>},
        {"Ville1", 84, 20, member<&ParamRecord::Ville1>},
        {"ville2", 105, 20, member<&ParamRecord::ville2>},
        {"nom3", 126, 20, member<&ParamRecord::nom3>},
        {"prenom3", 147, 20, member<&ParamRecord::prenom3>},
        {"Adr11", 168, 35, member<&ParamRecord::Adr11>},
        {"Adr12", 204, 35, member<&ParamRecord::Adr12>},
        {"adr21", 240, 35, member<&ParamRecord::adr21>},
        {"adr22", 276, 35, member<&ParamRecord::adr22>},
        {"cp1", 312, 6, member<&ParamRecord::cp1>},
        {"cp2", 319, 6, member<&ParamRecord::cp2>},
        {"PD", 326, 6, member<&ParamRecord::PD>},
        {"D", 333, 6, member<&ParamRecord::D>},
        {"G", 340, 6, member<&ParamRecord::G>},
        {"Sp", 347, 6, member<&ParamRecord::Sp>},
        {"Tel1", 354, 14, member<&ParamRecord::Tel1>},
        {"Tel2", 369, 14, member<&ParamRecord::Tel2>},
        {"Secu", 384, 22, member<&ParamRecord::Secu>},
        {"urssaf", 407, 17, member<&ParamRecord::urssaf>},
        {"SH", 456, 8, member<&ParamRecord::SH>},
        {"SHbr", 465, 8, member<&ParamRecord::SHbr>},
        {"FJ", 474, 8, member<&ParamRecord::FJ>},
        {"FJbr", 483, 8, member<&ParamRecord::FJbr>},
    };
    for (int i = 0; i < ContributionLines; ++i)
        f.push_back({QStringLiteral("Edit%1").arg(i + 1), 492 + 9 * i, 8,
                     [i](ParamRecord &r) -> QString & { return r.netRate[i]; }});
    for (int i = 0; i < ContributionLines; ++i)
        f.push_back({QStringLiteral("Edit%1").arg(i + 10), 573 + 7 * i, 6,
                     [i](ParamRecord &r) -> QString & { return r.grossRate[i]; }});
    for (int i = 0; i < ContributionLines; ++i)
        f.push_back({QString::fromLatin1(baseNames[i]), 636 + 4 * i, 3,
                     [i](ParamRecord &r) -> QString & { return r.basePercent[i]; }});
    f.push_back({"Indentr", 672, 3, member<&ParamRecord::Indentr>});
    for (int i = 0; i < ContributionLines; ++i)
        f.push_back({QStringLiteral("StaticText%1").arg(i + 1), 676 + 41 * i, 40,
                     [i](ParamRecord &r) -> QString & { return r.lineName[i]; }});
    f.push_back({"conge", 1045, 2, member<&ParamRecord::conge>});
    f.push_back({"diverse", 1048, 10, member<&ParamRecord::diverse>});
    f.push_back({"abs", 1059, 10, member<&ParamRecord::abs>});
    f.push_back({"accpte", 1070, 10, member<&ParamRecord::accpte>});
    f.push_back({"ETH", 1081, 10, member<&ParamRecord::ETH>});
    f.push_back({"EFJ", 1092, 10, member<&ParamRecord::EFJ>});
    return f;
}

std::vector<StateField> buildStateFields()
{
    std::vector<StateField> f;
    f.reserve(ContributionLines + 4); // a tick per contribution line, four switches
    for (int i = 0; i < ContributionLines; ++i)
        f.push_back({QStringLiteral("CheckBox%1").arg(i + 1), 1120 + i,
                     [i](ParamRecord &r) -> quint8 & { return r.lineTick[i]; }});
    f.push_back({"CheckBox10", 1129, [](ParamRecord &r) -> quint8 & { return r.CheckBox10; }});
    f.push_back({"CheckBox11", 1130, [](ParamRecord &r) -> quint8 & { return r.CheckBox11; }});
    f.push_back({"CheckBox12", 1131, [](ParamRecord &r) -> quint8 & { return r.CheckBox12; }});
    f.push_back({"Indentre", 1132, [](ParamRecord &r) -> quint8 & { return r.Indentre; }});
    return f;
}
} // namespace

const std::vector<TextField> &textFields()
{
    static const std::vector<TextField> fields = buildTextFields();
    return fields;
}

const std::vector<DateField> &dateFields()
{
    static const std::vector<DateField> fields = {
        {"datenaiss", 432, &ParamRecord::datenaiss},
        {"du", 440, &ParamRecord::du},
        {"au", 448, &ParamRecord::au},
    };
    return fields;
}

const std::vector<IntField> &intFields()
{
    static const std::vector<IntField> fields = {
        {"pol1", 1104, &ParamRecord::pol1},
        {"pol2", 1108, &ParamRecord::pol2},
        {"Conges", 1112, &ParamRecord::Conges},
        {"Netbrut", 1116, &ParamRecord::Netbrut},
    };
    return fields;
}

const std::vector<StateField> &stateFields()
{
    static const std::vector<StateField> fields = buildStateFields();
    return fields;
}

const TextField *textField(const QString &name)
{
    for (const TextField &f : textFields())
        if (f.name == name)
            return &f;
    return nullptr;
}

QByteArray encode(const ParamRecord &record)
{
    ParamRecord r = record; // the field accessors hand out references
    QByteArray bytes(Size, '\0');
    char *data = bytes.data();
    for (const TextField &f : textFields()) {
        const QByteArray text = toWin1252(f.ref(r)).left(f.capacity);
        data[f.offset] = char(text.size());
        std::memcpy(data + f.offset + 1, text.constData(), size_t(text.size()));
    }
    for (const DateField &f : dateFields()) {
        quint64 bits;
        std::memcpy(&bits, &(r.*f.member), sizeof bits);
        qToLittleEndian(bits, data + f.offset);
    }
    for (const IntField &f : intFields())
        qToLittleEndian(r.*f.member, data + f.offset);
    for (const StateField &f : stateFields())
        data[f.offset] = char(f.ref(r));
    return bytes;
}

ParamRecord decode(const QByteArray &bytes)
{
    QByteArray whole = bytes;
    if (whole.size() < Size)
        whole.resize(Size, '\0');
    const char *data = whole.constData();
    ParamRecord r;
    for (const TextField &f : textFields()) {
        const int length = qMin(int(quint8(data[f.offset])), f.capacity);
        f.ref(r) = fromWin1252(QByteArray(data + f.offset + 1, length));
    }
    for (const DateField &f : dateFields()) {
        const quint64 bits = qFromLittleEndian<quint64>(data + f.offset);
        std::memcpy(&(r.*f.member), &bits, sizeof bits);
    }
    for (const IntField &f : intFields())
        r.*f.member = qFromLittleEndian<qint32>(data + f.offset);
    for (const StateField &f : stateFields())
        f.ref(r) = quint8(data[f.offset]);
    return r;
}

ParamRecord stored(const ParamRecord &record) { return decode(encode(record)); }

} // namespace paramrecord
