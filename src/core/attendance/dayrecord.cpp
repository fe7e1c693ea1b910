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

namespace {
// Each field beside the title its column carries on the month sheet; the
// month key is the table's own and shows in no column.
struct Names {
    QStringList fields, titles;
};
const Names &names()
{
    static const Names n = [] {
        const std::pair<const char16_t *, const char16_t *> table[FieldCount] = {
            {u"Date", u"Date"},       {u"Heure1", u"Arrivée 1"}, {u"Heure2", u"Départ 1"}, {u"Heure3", u"Arrivée 2"},
            {u"Heure4", u"Départ 2"}, {u"Durée", u"Durée"},      {u"FJ", u"Forfait"},      {u"PD", u"PDéj"},
            {u"Déj", u"Déj"},         {u"Gouter", u"Gouter"},    {u"Diner", u"Diner"},     {u"Ferié", u"Ferié"},
            {u"Moan", nullptr}};
        Names out;
        for (const auto &[field, title] : table) {
            out.fields << QString::fromUtf16(field);
            if (title)
                out.titles << QString::fromUtf16(title);
        }
        return out;
    }();
    return n;
}
} // namespace

const QStringList &fieldNames() { return names().fields; }

const QStringList &sheetTitles() { return names().titles; }

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
