#pragma once
// The rows of the contract window's two tables of date ranges, "Périodes
// sans accueil" and "Absences", as an item model: the view shows it and a
// delegate edits each cell in place, so no control lives in a cell.
//
// A row holds two dates, either of which may not be typed yet, and, in the
// absences' table, a reason that may not be chosen yet: a new absence has
// none, so that no reason is ever stored that the parent did not pick.

#include "contract/contract.h"

#include <QAbstractTableModel>
#include <optional>

namespace contract {

class RangeModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { From = 0, To = 1, Why = 2 };

    explicit RangeModel(bool withReason, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // Display: "DD/MM/YYYY" and the reason's text, empty when not given.
    // Edit: the QDate (null when not given) and the reason's index (-1).
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    void setRanges(const QList<DateRange> &ranges);
    void setAbsences(const QList<Absence> &absences);
    QList<DateRange> ranges() const;
    // The rows whose reason is chosen: a row without one is no absence yet.
    QList<Absence> absences() const;
    // The first row (counted from 1) whose reason is not chosen; 0 for none.
    int rowWithoutReason() const;

private:
    // An index of this model's cells (the view asks about others quietly).
    bool holds(const QModelIndex &index) const;
    struct Row {
        QDate from, to;
        std::optional<Reason> reason;
    };
    QList<Row> m_rows;
    bool m_withReason;
};

} // namespace contract
