#pragma once
// The parameter record of one child slot and its 1136-byte stored form.
//
// Every field mirrors one control of the parameters window and carries its
// name. Values are kept as the text typed; the windows that compute convert
// them. The stored form is packed little-endian: texts are a length byte and
// that many Windows-1252 characters in a fixed capacity, dates IEEE doubles
// (days since 30/12/1899), radio groups int32 item indexes, tick boxes one
// byte (0 not ticked, 1 ticked, 2 greyed).

#include "common/counts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

struct ParamRecord {
    // Employee (the childminder).
    QString nom1, prenom1, Adr11, Adr12, cp1, Ville1, Tel1, Secu;
    // Employer (the parent) and the child.
    QString nom2, prenom2, adr21, adr22, cp2, ville2, Tel2, urssaf, nom3, prenom3;
    double datenaiss = 0; // date of birth
    // Pay rules.
    QString SH, SHbr, FJ, FJbr, conge, Indentr, PD, D, G, Sp;
    // The contribution table (lines 1 to 9): StaticText1..9, Edit1..9,
    // Edit10..18, and Edit19, Edit20, Edit23, Edit25..Edit30.
    std::array<QString, ContributionLines> lineName, netRate, grossRate, basePercent;
    // Allowances and leave of the current month.
    QString diverse, abs, accpte, ETH, EFJ;
    double du = 0, au = 0;
    // Radio groups: pol1 (0 Madame, 1 Mademoiselle, 2 Monsieur), pol2
    // (0 Monsieur, 1 Madame, 2 Mademoiselle), Conges (0 spread over the year,
    // 1 in the holiday month), Netbrut (0 net, 1 gross).
    qint32 pol1 = 0, pol2 = 0, Conges = 0, Netbrut = 0;
    // Tick boxes: CheckBox1..9 (contribution lines), CheckBox10 (leave taken),
    // CheckBox11/12 (maintenance per hour/day), Indentre (holiday surcharge).
    std::array<quint8, ContributionLines> lineTick{};
    quint8 CheckBox10 = 0, CheckBox11 = 0, CheckBox12 = 0, Indentre = 0;

    bool operator==(const ParamRecord &) const = default;
};

namespace paramrecord {
constexpr int Size = 1136;

// One text field of the stored form: its control name, where it lies and how
// many characters it keeps.
struct TextField {
    QString name;
    int offset;
    int capacity;
    std::function<QString &(ParamRecord &)> ref;
};
struct DateField {
    QString name;
    int offset;
    double ParamRecord::*member;
};
struct IntField {
    QString name;
    int offset;
    qint32 ParamRecord::*member;
};
struct StateField {
    QString name;
    int offset;
    std::function<quint8 &(ParamRecord &)> ref;
};
const std::vector<TextField> &textFields();
const std::vector<DateField> &dateFields();
const std::vector<IntField> &intFields();
const std::vector<StateField> &stateFields();
// The text field of that name; nullptr when there is none.
const TextField *textField(const QString &name);

// The control names of the base percentages of lines 1 to 9.
extern const std::array<const char *, ContributionLines> baseNames;

// The items of the two title groups: pol1, the employee's, and pol2, the
// employer's (item index 0, 1, 2).
const QStringList &employeeTitles();
const QStringList &employerTitles();

// The text the parameters window shows for a field's stored value: the wages,
// meal and month allowances of a child show "0" rather than nothing, so that
// a slip reads a number from a field never filled in.
QString shownText(const QString &field, const QString &value);

// The stored form of a record: texts cut to their capacity, unused bytes 0.
QByteArray encode(const ParamRecord &record);
// Reads a stored record (missing bytes read as 0). A length byte beyond the
// field's capacity is read as the capacity; unused bytes are ignored.
ParamRecord decode(const QByteArray &bytes);
// The record as it comes back from its stored form: every text cut to its
// capacity (and to the code page).
ParamRecord stored(const ParamRecord &record);
} // namespace paramrecord
