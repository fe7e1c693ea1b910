#pragma once
// Contract files made by hand to break the program: values outside their
// ranges, dates in other forms, a trigger, tables without their checks. The
// store refuses each one, and so does a restore of a backup holding it.

#include "contract/contractstore.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

namespace hostile {

struct ContractFile {
    const char *name;
    int layout;           // the version whose statements lay it out; 0: tables without any check
    bool ignoreChecks;    // written past SQLite's checks, as a hand-made file can be
    QStringList changes;  // run on two sound contracts (children 1 and 2)
};

inline QList<ContractFile> contractFiles()
{
    return {
        {"start in year 1", 3, false, {"UPDATE Contrats SET debut = '0001-01-01' WHERE enfant = 1"}},
        {"start 0000-00-00", 4, true, {"UPDATE Contrats SET debut = '0000-00-00' WHERE enfant = 1"}},
        {"end in another form", 3, false, {"UPDATE Contrats SET fin = '30/06/2026' WHERE enfant = 1"}},
        {"end before start", 3, false, {"UPDATE Contrats SET fin = '2025-01-01' WHERE enfant = 1"}},
        {"huge majoration", 3, false, {"UPDATE Contrats SET maj_hc = 2147483600 WHERE enfant = 1"}},
        {"1440 minutes", 3, false, {"UPDATE Contrats SET lundi = 1440 WHERE enfant = 1"}},
        {"two days at the integer maximum", 4, true,
         {"UPDATE Contrats SET lundi = 2147483647, mardi = 2147483647 WHERE enfant = 1"}},
        {"negative minutes", 0, false, {"UPDATE Contrats SET jeudi = -60 WHERE enfant = 1"}},
        {"kind 7", 4, true, {"UPDATE Contrats SET type = 7 WHERE enfant = 1"}},
        {"reason 9", 4, true, {"UPDATE Absences SET motif = 9"}},
        {"minutes as text", 4, true, {"UPDATE Contrats SET mardi = 'huit' WHERE enfant = 1"}},
        {"trigger", 4, false,
         {"CREATE TRIGGER efface AFTER DELETE ON Contrats BEGIN DELETE FROM Contrats WHERE enfant = 2; END"}},
        {"arrival at 25:00", 5, true, {"UPDATE Contrats SET arrivee_lundi = 1500 WHERE enfant = 1"}},
        {"holiday option 2", 0, false, {"UPDATE Contrats SET feries_travailles = 2 WHERE enfant = 1"}},
        {"tables without checks", 0, false, {}},
    };
}

// The statements of `layout` with every CHECK, NOT NULL and key dropped:
// the same columns, nothing to hold their values.
inline QStringList withoutChecks(int layout)
{
    return {"CREATE TABLE Contrats (enfant, type, debut, fin, lundi, mardi, mercredi, jeudi, vendredi, samedi, "
            "dimanche, semaines, maj_hc, maj_hm, paiement_cp, motif_fin, date_notification, arrivee_lundi, "
            "pause_lundi, reprise_lundi, arrivee_mardi, pause_mardi, reprise_mardi, arrivee_mercredi, "
            "pause_mercredi, reprise_mercredi, arrivee_jeudi, pause_jeudi, reprise_jeudi, arrivee_vendredi, "
            "pause_vendredi, reprise_vendredi, arrivee_samedi, pause_samedi, reprise_samedi, arrivee_dimanche, "
            "pause_dimanche, reprise_dimanche, alsace_moselle, feries_travailles)",
            "CREATE TABLE Periodes (enfant, ligne, du, au)", "CREATE TABLE Absences (enfant, ligne, du, au, motif)",
            QString("PRAGMA user_version = %1").arg(layout)};
}

// Writes the file at `path`: two sound contracts in the layout asked for,
// then the changes.
inline bool make(const QString &path, const ContractFile &f)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "hostile");
        db.setDatabaseName(path);
        ok = db.open();
        const QStringList layout =
            f.layout == 0 ? withoutChecks(contract::SchemaVersion) : contract::schemaOf(f.layout);
        QStringList statements = layout;
        QString later = f.layout == 0 || f.layout >= 3 ? ", 0, NULL, NULL" : "";
        if (f.layout == 0 || f.layout >= 5)
            later += QString(", NULL").repeated(21) + ", 0, 0";
        for (int child : {1, 2})
            statements << QString("INSERT INTO Contrats VALUES (%1, 2, '2025-09-01', NULL, 480, 480, 480, 480, 480, "
                                  "0, 0, 36, 0, 10%2)")
                              .arg(child)
                              .arg(later);
        statements << "INSERT INTO Absences VALUES (1, 1, '2025-10-06', '2025-10-07', 1)";
        if (f.ignoreChecks)
            statements << "PRAGMA ignore_check_constraints = ON";
        statements << f.changes;
        for (const QString &s : std::as_const(statements))
            ok = ok && QSqlQuery(db).exec(s);
        db.close();
    }
    QSqlDatabase::removeDatabase("hostile");
    return ok;
}

} // namespace hostile
