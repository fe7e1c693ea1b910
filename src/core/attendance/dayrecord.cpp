#include "dayrecord.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/numbers.h"

#include <QDate>
#include <QTime>
#include <cmath>

namespace day {

namespace {
const QString isoDate = isoDateFormat();
const QString clock = clockFormat();

QDate dateFromText(const QString &text)
{
    const QString t = text.trimmed();
    QDate d = QDate::fromString(t, shortDateFormat());
    if (!d.isValid())
        d = QDate::fromString(t, QStringLiteral("d/M/yyyy"));
    if (!d.isValid())
        throw RuntimeError(rtl::notADate(text));
    return d;
}

QTime timeFromText(const QString &text)
{
    const QString t = text.trimmed();
    for (const QString &form : {clockFormat(), QStringLiteral("H:m:s"), QStringLiteral("H:mm")}) {
        const QTime time = QTime::fromString(t, form);
        if (time.isValid())
            return time;
    }
    throw RuntimeError(rtl::notATime(text));
}

bool flagFromText(int field, const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QStringLiteral("Vrai"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QStringLiteral("Faux"), Qt::CaseInsensitive) == 0)
        return false;
    throw RuntimeError(rtl::notABoolean(text, fieldNames().at(field)));
}
} // namespace

const QStringList &fieldNames()
{
    static const QStringList names = {QStringLiteral("Date"),   QStringLiteral("Heure1"), QStringLiteral("Heure2"),
                                      QStringLiteral("Heure3"), QStringLiteral("Heure4"), QStringLiteral("Durée"),
                                      QStringLiteral("FJ"),     QStringLiteral("PD"),     QStringLiteral("Déj"),
                                      QStringLiteral("Gouter"), QStringLiteral("Diner"),  QStringLiteral("Ferié"),
                                      QStringLiteral("Moan")};
    return names;
}

Kind kindOf(int field)
{
    switch (field) {
    case Date: return Kind::Date;
    case Heure1:
    case Heure2:
    case Heure3:
    case Heure4: return Kind::Time;
    case Duree: return Kind::Real;
    case Moan: return Kind::Key;
    default: return Kind::Flag;
    }
}

int fieldIndex(const QString &name) { return int(fieldNames().indexOf(name)); }

QVariant fromText(int field, const QString &text)
{
    if (text.isEmpty())
        return QVariant();
    switch (kindOf(field)) {
    case Kind::Date: return dateFromText(text).toString(isoDate);
    case Kind::Time: return timeFromText(text).toString(clock);
    case Kind::Real: {
        // Durée is an 8-byte real: a number beyond its range would be stored
        // as infinity, shown as "inf", and refused when edited again.
        const double value = double(parseFloat(text));
        if (!std::isfinite(value))
            throw RuntimeError(rtl::notAFloat(text));
        return value;
    }
    case Kind::Flag: return int(flagFromText(field, text));
    case Kind::Key: return text.left(4);
    }
    return QVariant();
}

QString toText(int field, const QVariant &stored)
{
    if (stored.isNull())
        return QString();
    switch (kindOf(field)) {
    case Kind::Date: {
        const QDate d = QDate::fromString(stored.toString(), isoDate);
        // A date some other tool wrote in another form is shown as it is.
        return d.isValid() ? shortDate(d) : stored.toString();
    }
    case Kind::Real: return formatGeneral(stored.toDouble(), 15);
    case Kind::Flag: return flagText(stored.toInt() != 0);
    case Kind::Time:
    case Kind::Key: return stored.toString();
    }
    return QString();
}

QVariant fromValue(int field, const QVariant &value)
{
    if (value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QDate:
        if (kindOf(field) == Kind::Date)
            return value.toDate().toString(isoDate);
        break;
    case QMetaType::QTime:
        if (kindOf(field) == Kind::Time)
            return value.toTime().toString(clock);
        break;
    case QMetaType::Bool:
        if (kindOf(field) == Kind::Flag)
            return int(value.toBool());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
        if (kindOf(field) == Kind::Real)
            return value.toDouble();
        break;
    default: break;
    }
    return fromText(field, value.toString());
}

QVariant toValue(int field, const QVariant &stored)
{
    if (stored.isNull())
        return QVariant();
    switch (kindOf(field)) {
    case Kind::Date: return QDate::fromString(stored.toString(), isoDate);
    case Kind::Time: return QTime::fromString(stored.toString(), clock);
    case Kind::Real: return stored.toDouble();
    case Kind::Flag: return stored.toInt() != 0;
    case Kind::Key: return stored.toString();
    }
    return QVariant();
}

} // namespace day
