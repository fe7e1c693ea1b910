#pragma once
// The months a child's table holds, as a parent picks one again: each with
// its number of days and whether its slip was saved, and on which basis;
// and a month taken back from its stored days into the sheet its
// validation left, so that its slip and its declaration are those of the
// month just typed.

#include "archive/sliparchive.h"
#include "attendance/monthsheet.h"

#include <QList>
#include <QString>

struct StoredMonth {
    QString key; // MMYY
    int days = 0;
    bool slipSaved = false;
    bool grossBasis = false;
    bool contract = false;

    // "Mars 2002"; a key that is not a month, as it is.
    QString title() const;
    // "12 jours", "1 jour"
    QString daysText() const;
    // "enregistré (net)", "enregistré (contrat, brut)", "non enregistré"
    QString slipText() const;
    // The three, as one line of a list.
    QString line() const;
};

// The months of child slot `slot` (1 to 5) in its table in the program
// folder, the latest first. An archive that cannot be read leaves every
// month's slip unsaved: the year summary says why.
QList<StoredMonth> storedMonths(const QString &programFolder, int slot);

// The slip saved for month `key` of slot `slot`; none when none was saved
// or the archive cannot be read now.
std::optional<ArchivedSlip> savedSlip(const QString &programFolder, int slot, const QString &key);

// Where a month's saved slip and the one its days and the parameters give
// today part: the basis when it changed, then one line per figure, with the
// decimal comma of the declaration ("Salaire net : 950,30 € enregistré,
// 960,10 € aujourd'hui"); none when they agree.
QStringList slipDifferences(const ArchivedSlip &saved, const ArchivedSlip &today);
// The line said above them.
QString slipDifferencesHeading();

// The month `key` as the table of slot `slot` holds it, validated again as
// "&Valide" validates a sheet: the same totals and month key. None stored
// gives an empty validation.
MonthValidation storedMonthSheet(const QString &programFolder, int slot, const QString &key);
