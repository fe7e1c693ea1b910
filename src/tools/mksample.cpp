// Lays out a sample family in a program folder already laid out, so that the
// README's screenshots show a real month: child 1, Lina, born in 2024, paid
// net by her childminder under a complete-year contract from Monday
// 5 January 2026: 9 hours from 08:30 on Monday, Tuesday, Thursday and
// Friday, Wednesday morning 08:30 to 12:30, with a maintenance allowance of
// 0.70 an hour and the contribution rows in force today, as "Barème en
// vigueur" fills them. The names are made up; nothing else of the folder
// changes.

#include "common/environment.h"
#include "common/errors.h"
#include "common/programfiles.h"
#include "contract/contractstore.h"
#include "settings/paramrecord.h"
#include "legal/contributions.h"
#include "settings/settingsfiles.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <cstdio>
#include <utility>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: berlivo_sample <program folder>\n");
        return 2;
    }
    const QString dir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    setProgramFolder(dir);
    try {
        SettingsFiles state;
        RatesList rates;
        ParamSlots children;
        const QStringList errors = loadSettings(state, rates, children);
        if (!errors.isEmpty())
            throw RuntimeError(errors.join('\n'));

        ParamRecord &r = children.record(1);
        r = defaultRecord(rates, QDateTime(QDate(2026, 1, 5), QTime(9, 0)));
        // The two parties and the child, by the record's own field names;
        // the titles stay at their first items, Madame and Monsieur.
        const std::pair<const char *, const char *> texts[] = {
            {"nom1", "DURAND"},  {"prenom1", "Sophie"}, {"Adr11", "12 rue des Lilas"}, {"cp1", "69003"},
            {"Ville1", "LYON"},  {"nom2", "MARTIN"},    {"prenom2", "Paul"},           {"adr21", "4 place Bellecour"},
            {"cp2", "69002"},    {"ville2", "LYON"},    {"nom3", "MARTIN"},            {"prenom3", "Lina"},
            {"SH", "4.50"},      {"ETH", "0.70"}};
        for (const auto &[field, text] : texts)
            paramrecord::textField(QString::fromLatin1(field))->ref(r) = QString::fromUtf8(text);
        r.datenaiss = toDateNumber(QDateTime(QDate(2024, 2, 10), QTime(0, 0)));
        r.Netbrut = 0;    // net
        r.CheckBox11 = 1; // maintenance by the hour

        const legal::Contributions table = legal::Contributions::load(dir + '/' + folder::contributionTable);
        const legal::RateRows rows = legal::rowsOf(table.inForce(QDate::currentDate(), false));
        for (size_t k = 0; k < rows.names.size(); ++k) {
            const int line = int(k);
            rates.setLine(rates::NameLine + line, r.lineName[k] = rows.names[k]);
            rates.setLine(rates::NetLine + line, r.netRate[k] = rows.net[k]);
            rates.setLine(rates::GrossLine + line, r.grossRate[k] = rows.gross[k]);
            rates.setLine(rates::BaseLine + line, r.basePercent[k] = rows.bases[k]);
        }
        saveSettings(state, rates, children);

        contract::Contract c;
        c.kind = contract::Kind::CompleteYear;
        c.first = QDate(2026, 1, 5);
        for (int d : {0, 1, 3, 4}) {
            c.plannedMinutes[size_t(d)] = 9 * 60;
            c.plannedTimes[size_t(d)].arrival = 8 * 60 + 30;
        }
        c.plannedMinutes[2] = 4 * 60;
        c.plannedTimes[2] = {8 * 60 + 30, std::nullopt, std::nullopt};
        storeContract(dir + '/' + folder::contracts, 1, c);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "berlivo_sample: %s\n", e.what());
        return 1;
    }
    std::printf("berlivo_sample: child 1 (Lina) and her contract in %s\n", qPrintable(dir));
    return 0;
}
