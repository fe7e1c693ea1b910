#include "settingsfiles.h"

#include "wholefile.h"

#include "common/errors.h"

#include <QFileInfo>

QStringList loadSettings(SettingsFiles &state, RatesList &rates, ParamSlots &slotSet,
                         const SlotReadCallback &onSlotRead)
{
    QStringList errors;
    state = {};
    try {
        rates.load(ratesFilePath());
    } catch (const RuntimeError &e) {
        errors << e.message();
        rates = RatesList(QStringList(rates::LineCount, QString()));
        state.keepRates = QFileInfo::exists(ratesFilePath());
    }
    bool read = false;
    try {
        read = ReadParamFile(slotSet, rates, onSlotRead);
    } catch (const RuntimeError &e) {
        errors << e.message();
    }
    state.keepParams = !read && QFileInfo::exists(paramFilePath());
    return errors;
}

void saveSettings(SettingsFiles &state, const RatesList &rates, const ParamSlots &slotSet)
{
    replaceFiles({{ratesFilePath(), rates.fileBytes(), state.keepRates},
                  {paramFilePath(), paramFileBytes(slotSet), state.keepParams}});
    state = {};
}
