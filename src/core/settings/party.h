#pragma once
// The two parties to the childminding contract, the childminder (the
// employee) and the parent (the employer), and the particulars the
// parameters hold of each. One shape serves every place a party appears:
// its texts, the names of the controls and fields that keep them, the
// controls or labels a window makes of them, where those stand.

#include <QString>
#include <QStringList>
#include <array>

struct ParamRecord;

namespace party {
enum class Side { Employee, Employer };

template <class T>
struct Particulars {
    T title; // Madame, Monsieur...
    T surname, firstName, address1, address2, postcode, town, phone;
    T number; // the childminder's social security number, the employer's URSSAF number
};

// Every particular in the order the parameters window shows them, to walk
// two shapes side by side.
template <class T>
inline constexpr std::array<T Particulars<T>::*, 9> members = {
    &Particulars<T>::title,    &Particulars<T>::surname,  &Particulars<T>::firstName,
    &Particulars<T>::address1, &Particulars<T>::address2, &Particulars<T>::postcode,
    &Particulars<T>::town,     &Particulars<T>::phone,    &Particulars<T>::number};

// The names of the parameters' controls, and of the record's fields, that
// hold a party's particulars: "pol1", "nom1" ... "Secu"; "pol2" ... "urssaf".
const Particulars<const char *> &fieldNames(Side side);
// The items of the party's title group (item index 0, 1, 2).
const QStringList &titles(Side side);

// A party's particulars as texts.
using Party = Particulars<QString>;
// The party as the record holds it, each text as typed; the title is its
// item's text, empty when no item is chosen.
Party of(const ParamRecord &record, Side side);
} // namespace party
