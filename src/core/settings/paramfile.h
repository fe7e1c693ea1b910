#pragma once
// The five child slots and the parameter file "Paramtre.bvp".
//
// The file holds the records of slots 1 to 5 in order, 1136 bytes each, with
// no header: 5680 bytes, always written whole.

#include "paramrecord.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <functional>

class RatesList;

constexpr int SlotCount = ChildCount;

// A child slot's own name, "Enfant 3": its tab's caption until the child has
// a first name, and how the other windows name a child without one.
QString slotCaption(int slot);

struct ParamSlots {
    std::array<ParamRecord, SlotCount> slot; // slot[0] is child slot 1
    int current = 1;                         // 1 to 5

    ParamRecord &record(int number) { return slot.at(size_t(number - 1)); }
    const ParamRecord &record(int number) const { return slot.at(size_t(number - 1)); }
    ParamRecord &currentRecord() { return record(current); }
};

// Called for each record read, with its slot number (1 to 5) and the first
// name that becomes the caption of the slot's tab.
using SlotReadCallback = std::function<void(int slot, const QString &caption)>;

// Fills the slots from the parameter file, the first five records at most.
// Without a usable file (absent, marked read-only, or that cannot be opened
// for reading and writing) slot 1 gets its defaults and slots 2 to 5 keep
// what they hold. An empty file or a last record cut short raises "Lecture
// au-delà de la fin de fichier"; the slots read before it keep their new
// contents. The current slot is 1 afterwards in every case. Returns whether
// the slots came from the file.
bool ReadParamFile(ParamSlots &slotSet, const RatesList &rates, const SlotReadCallback &onSlotRead = {});

// Replaces the parameter file by the five records.
void WriteParamFile(const ParamSlots &slotSet);
// The 5680 bytes of the parameter file.
QByteArray paramFileBytes(const ParamSlots &slotSet);

// Fills a slot with its defaults: empty particulars, the given date and time
// in the three dates, "0" in the allowances of the month, the wages, rates
// and allowances of lines 0 to 47 of the rates list, contribution lines 1 to
// 6 ticked.
void ResetSlot(ParamSlots &slotSet, int number, const RatesList &rates, const QDateTime &at);
ParamRecord defaultRecord(const RatesList &rates, const QDateTime &at);

// "Paramtre.bvp" in the program folder.
QString paramFilePath();
