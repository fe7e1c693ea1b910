#pragma once
// The contribution table a slot starts with, as the program ships it in
// data/Taux.txt and reads it with its own reader: the tests and benchmarks
// that fill a slip's table take it from that one home.

#include "common/counts.h"
#include "settings/ratesfile.h"

#include <array>

struct ContributionTable {
    std::array<QString, ContributionLines> names, net, gross, bases;
};

inline const ContributionTable &shippedRates()
{
    static const ContributionTable table = [] {
        RatesList list;
        list.load(QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt"));
        ContributionTable t;
        for (int k = 0; k < ContributionLines; ++k) {
            const auto i = size_t(k);
            t.names[i] = list.line(rates::NameLine + k);
            t.net[i] = list.line(rates::NetLine + k);
            t.gross[i] = list.line(rates::GrossLine + k);
            t.bases[i] = list.line(rates::BaseLine + k);
        }
        return t;
    }();
    return table;
}
