#include "settingsfiles.h"

#include "wholefile.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/programfiles.h"

#include <QFileInfo>

QString familyFilePath() { return programFolder() + folder::familyFile; }

QStringList loadSettings(SettingsFiles &state, RatesList &rates, ParamSlots &slotSet,
                         const SlotReadCallback &onSlotRead, Family *family)
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
    if (family) {
        const family::Loaded f = family::load(familyFilePath());
        *family = f.family;
        state.familyRead = f.family;
        state.keepFamily = f.damaged;
        state.familyNewer = f.newer;
        if (!f.message.isEmpty())
            errors << f.message;
    }
    return errors;
}

void saveSettings(SettingsFiles &state, const RatesList &rates, const ParamSlots &slotSet, const Family *family)
{
    QList<FileReplacement> files{{ratesFilePath(), rates.fileBytes(), state.keepRates},
                                 {paramFilePath(), paramFileBytes(slotSet), state.keepParams}};
    const bool familyWritten = family && !state.familyNewer && (*family != state.familyRead || state.keepFamily);
    if (familyWritten)
        files.append({familyFilePath(), family::fileBytes(*family), state.keepFamily});
    replaceFiles(files);
    const SettingsFiles before = state;
    state = {};
    state.familyNewer = before.familyNewer;
    state.familyRead = familyWritten ? *family : before.familyRead;
}
