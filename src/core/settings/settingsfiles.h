#pragma once
// The settings files read and written together, as the parameters window
// does when it is opened and on "&OK": the rates, the parameters and the
// family's particulars.
//
// Reading goes as far as it can: a rates file that cannot be read leaves the
// contribution table empty but the parameter file is still read, so that a
// later "&OK" does not write blank children over valid ones. Writing replaces
// both files or neither. A file that is there but could not be read is kept
// beside its replacement as "<name>.bak", so that a half-readable file is
// never lost outright.

#include "familyfile.h"
#include "paramfile.h"
#include "ratesfile.h"

#include <QStringList>

struct SettingsFiles {
    // Set by loadSettings(): the file is there but was not read; the next
    // successful saveSettings() keeps it as "<name>.bak" and clears the mark.
    bool keepRates = false;
    bool keepParams = false;
    bool keepFamily = false;
    // The family file as read: it is written only when the particulars
    // changed (or to replace a damaged one), never over a later version's.
    Family familyRead;
    bool familyNewer = false;
};

// The family's particulars file of the program folder.
QString familyFilePath();

// Loads the rates list from Taux.txt, then the slots from Paramtre.bvp.
// Returns the error texts met, the rates file's first. A rates file that
// could not be read leaves 48 empty lines in the list (an empty contribution
// table, which "&OK" then writes as shown).
// With `family`, the family's particulars from Famille.txt last (its error
// after the others).
QStringList loadSettings(SettingsFiles &state, RatesList &rates, ParamSlots &slotSet,
                         const SlotReadCallback &onSlotRead = {}, Family *family = nullptr);

// Writes Taux.txt and Paramtre.bvp together: both are replaced, or on a
// failure neither, and the failure is raised with the runtime's text.
// With `family`, Famille.txt is replaced with them, as the state says.
void saveSettings(SettingsFiles &state, const RatesList &rates, const ParamSlots &slotSet,
                  const Family *family = nullptr);
