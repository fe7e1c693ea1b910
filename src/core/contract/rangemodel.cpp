#include "contract/rangemodel.h"

#include "common/environment.h"

namespace contract {

RangeModel::RangeModel(bool withReason, QObject *parent) : QAbstractTableModel(parent), m_withReason(withReason) {}

int RangeModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int RangeModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : (m_withReason ? 3 : 2); }

bool RangeModel::holds(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this && index.row() < m_rows.size() && index.column() < columnCount();
}

QVariant RangeModel::data(const QModelIndex &index, int role) const
{
    if (!holds(index) || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const Row &r = m_rows[index.row()];
    if (index.column() == Why) {
        if (role == Qt::EditRole)
            return r.reason ? int(*r.reason) : -1;
        return r.reason ? reasonTexts().value(int(*r.reason)) : QString();
    }
    const QDate d = index.column() == From ? r.from : r.to;
    if (role == Qt::EditRole)
        return d;
    return d.isValid() ? shortDate(d) : QString();
}

bool RangeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!holds(index) || role != Qt::EditRole)
        return false;
    Row &r = m_rows[index.row()];
    if (index.column() == Why) {
        bool ok = false;
        const int i = value.toInt(&ok);
        if (!ok || i < -1 || i >= reasonTexts().size())
            return false;
        const std::optional<Reason> reason = i < 0 ? std::nullopt : std::optional(Reason(i));
        if (reason == r.reason)
            return true;
        r.reason = reason;
    } else {
        if (!value.isNull() && value.metaType().id() != QMetaType::QDate)
            return false;
        const QDate d = value.toDate();
        QDate &cell = index.column() == From ? r.from : r.to;
        if (d == cell)
            return true;
        cell = d;
    }
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

QVariant RangeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case From: return QStringLiteral("Du");
    case To: return QStringLiteral("Au");
    case Why: return m_withReason ? QVariant(QStringLiteral("Motif")) : QVariant();
    default: return {};
    }
}

Qt::ItemFlags RangeModel::flags(const QModelIndex &index) const
{
    if (!holds(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool RangeModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_rows.size() || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    m_rows.insert(row, count, Row{});
    endInsertRows();
    return true;
}

bool RangeModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_rows.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    return true;
}

void RangeModel::setRanges(const QList<DateRange> &ranges)
{
    beginResetModel();
    m_rows.clear();
    for (const DateRange &r : ranges)
        m_rows << Row{r.from, r.to, std::nullopt};
    endResetModel();
}

void RangeModel::setAbsences(const QList<Absence> &absences)
{
    beginResetModel();
    m_rows.clear();
    for (const Absence &a : absences)
        m_rows << Row{a.range.from, a.range.to, a.reason};
    endResetModel();
}

QList<DateRange> RangeModel::ranges() const
{
    QList<DateRange> out;
    for (const Row &r : m_rows)
        out << DateRange{r.from, r.to};
    return out;
}

QList<Absence> RangeModel::absences() const
{
    QList<Absence> out;
    for (const Row &r : m_rows)
        if (r.reason)
            out << Absence{DateRange{r.from, r.to}, *r.reason};
    return out;
}

int RangeModel::rowWithoutReason() const
{
    if (!m_withReason)
        return 0;
    for (int i = 0; i < m_rows.size(); ++i)
        if (!m_rows[i].reason)
            return i + 1;
    return 0;
}

} // namespace contract
