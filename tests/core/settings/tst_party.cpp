#include "settings/paramrecord.h"
#include "settings/party.h"

#include <QtTest>

namespace {
// A record whose every party text differs from every other, so that a
// particular read from the wrong field shows.
ParamRecord distinctRecord()
{
    ParamRecord r;
    r.nom1 = "Durand";
    r.prenom1 = "Anne";
    r.Adr11 = "12 rue des Lilas";
    r.Adr12 = "Bât. B";
    r.cp1 = "69 003";
    r.Ville1 = "Lyon";
    r.Tel1 = "04.78.00.00.01";
    r.Secu = "2 75 03 75 112 005 -42";
    r.nom2 = "Martin";
    r.prenom2 = "Paul";
    r.adr21 = "3 place Bellecour";
    r.adr22 = "Esc. 2";
    r.cp2 = "69 100";
    r.ville2 = "Villeurbanne";
    r.Tel2 = "04.78.00.00.02";
    r.urssaf = "69 12 345 678 901";
    return r;
}
} // namespace

class TestParty : public QObject {
    Q_OBJECT
private slots:
    void readFromItsOwnFields_data()
    {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("title");
        QTest::addColumn<QStringList>("expected");
        const ParamRecord r = distinctRecord();
        QTest::newRow("employee") << int(party::Side::Employee) << 2
                                  << QStringList{"Monsieur", r.nom1,   r.prenom1, r.Adr11, r.Adr12,
                                                 r.cp1,      r.Ville1, r.Tel1,    r.Secu};
        QTest::newRow("employer") << int(party::Side::Employer) << 1
                                  << QStringList{"Madame", r.nom2,   r.prenom2, r.adr21, r.adr22,
                                                 r.cp2,    r.ville2, r.Tel2,    r.urssaf};
        QTest::newRow("no title chosen") << int(party::Side::Employee) << -1
                                         << QStringList{"",    r.nom1,   r.prenom1, r.Adr11, r.Adr12,
                                                        r.cp1, r.Ville1, r.Tel1,    r.Secu};
    }
    void readFromItsOwnFields()
    {
        QFETCH(int, side);
        QFETCH(int, title);
        QFETCH(QStringList, expected);
        ParamRecord r = distinctRecord();
        (side == int(party::Side::Employee) ? r.pol1 : r.pol2) = title;
        const party::Party p = party::of(r, party::Side(side));
        QStringList got;
        for (QString party::Party::*m : party::members<QString>)
            got << p.*m;
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(TestParty)
#include "tst_party.moc"
