#include "settings/party.h"

#include "settings/paramrecord.h"

namespace party {

const Particulars<const char *> &fieldNames(Side side)
{
    static const Particulars<const char *> employee = {"pol1", "nom1",   "prenom1", "Adr11", "Adr12",
                                                       "cp1",  "Ville1", "Tel1",    "Secu"};
    static const Particulars<const char *> employer = {"pol2", "nom2",   "prenom2", "adr21", "adr22",
                                                       "cp2",  "ville2", "Tel2",    "urssaf"};
    return side == Side::Employee ? employee : employer;
}

const QStringList &titles(Side side)
{
    return side == Side::Employee ? paramrecord::employeeTitles() : paramrecord::employerTitles();
}

Party of(const ParamRecord &record, Side side)
{
    // The record's fields are reached by their names, through references.
    ParamRecord r = record;
    const Particulars<const char *> &names = fieldNames(side);
    Party p;
    p.title = titles(side).value(side == Side::Employee ? record.pol1 : record.pol2);
    for (std::size_t i = 1; i < members<QString>.size(); ++i)
        p.*members<QString>[i] = paramrecord::textField(QString::fromLatin1(names.*members<const char *>[i]))->ref(r);
    return p;
}

} // namespace party
