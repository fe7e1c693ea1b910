#include "paramfile.h"

#include "ratesfile.h"
#include "wholefile.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/programfiles.h"

#include <QFile>

QString slotCaption(int slot) { return QStringLiteral("Enfant %1").arg(slot); }

QString paramFilePath() { return programFolder() + folder::paramFile; }

bool ReadParamFile(ParamSlots &slotSet, const RatesList &rates, const SlotReadCallback &onSlotRead)
{
    slotSet.current = 1;
    // The file is opened for reading and writing: one the user marked
    // read-only, like one that is absent or held by another program, counts
    // as no file at all.
    QFile file(paramFilePath());
    if (isMarkedReadOnly(file.fileName()) || !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly)) {
        ResetSlot(slotSet, 1, rates, now());
        return false;
    }
    // The file holds at least one record; records beyond the fifth have no
    // slot and are left unread.
    for (int number = 1; number <= SlotCount; ++number) {
        const QByteArray bytes = file.read(paramrecord::Size);
        if (bytes.size() < paramrecord::Size)
            throw RuntimeError(rtl::readBeyondEnd());
        slotSet.record(number) = paramrecord::decode(bytes);
        if (onSlotRead)
            onSlotRead(number, slotSet.record(number).prenom3);
        if (file.atEnd())
            break;
    }
    return true;
}

QByteArray paramFileBytes(const ParamSlots &slotSet)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(SlotCount) * paramrecord::Size);
    for (const ParamRecord &r : slotSet.slot)
        bytes += paramrecord::encode(r);
    return bytes;
}

void WriteParamFile(const ParamSlots &slotSet) { writeWholeFile(paramFilePath(), paramFileBytes(slotSet)); }

ParamRecord defaultRecord(const RatesList &rates, const QDateTime &at)
{
    ParamRecord r;
    r.datenaiss = r.du = r.au = toDateNumber(at);
    r.diverse = r.abs = r.accpte = QStringLiteral("0");
    for (int n = 0; n < rates::LineCount; ++n)
        paramrecord::textField(rates::lineField(n))->ref(r) = rates.line(n);
    for (int i = 0; i < ContributionLines; ++i)
        r.lineTick[i] = i < 6 ? 1 : 0;
    return paramrecord::stored(r);
}

void ResetSlot(ParamSlots &slotSet, int number, const RatesList &rates, const QDateTime &at)
{
    slotSet.record(number) = defaultRecord(rates, at);
}
