#pragma once
// A child's day-record table ("Enf1.db" to "Enf5.db" in the program folder):
// an SQLite file holding one table of day records, reached through Qt Sql.
//
// The program never creates a table (the build lays out the five empty
// ones); it opens an existing file, appends the days of a validated month,
// and browses and corrects the days of one month. Each DayTable has its own
// connection, so the hours window and the month review hold the same file
// independently; the review holds it exclusively, and then the other fails
// at once with the engine's message instead of waiting.

#include "attendance/dayrecord.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>

class DayModel;
class QSqlQuery;

// One stored day as a contract's month reads it: its date, its worked
// minutes and its public-holiday mark. Durée is kept cut to two decimals of
// an hour; taken to the nearest minute it gives back the whole minutes the
// day was entered with (the cut loses less than half a minute).
struct WorkedDay {
    QDate date;
    int minutes = 0;
    bool holiday = false;
};

// A month a table holds days of: its key (MMYY) and how many records.
struct HeldMonth {
    QString key;
    int days = 0;
    friend bool operator==(const HeldMonth &, const HeldMonth &) = default;
};

// "Enf1.db" to "Enf5.db" for the child tabs 0 to 4; "" for any other tab.
QString tableNameForSlot(int tabIndex);

class DayTable {
public:
    enum class Access { Shared, Exclusive };

    DayTable();
    ~DayTable();
    DayTable(const DayTable &) = delete;
    DayTable &operator=(const DayTable &) = delete;

    // The folder (ending with "/") and the file name of the table. A new
    // value is refused while the table is open; the same value is accepted.
    QString folder() const { return m_folder; }
    void setFolder(const QString &folder);
    QString tableName() const { return m_tableName; }
    void setTableName(const QString &name);
    QString path() const { return m_folder + m_tableName; }

    bool isOpen() const;
    // Opening an open table does nothing. A missing file is an error, and no
    // file is left behind by the attempt.
    void open(Access access = Access::Shared);
    // Releases the table; a record still pending is dropped, as is an edit
    // not yet stored in the model.
    void close();

    // One record at a time: append() makes a new empty pending record (a
    // record still pending is stored first), setField() fills it from the
    // field's text form, post() stores it.
    void append();
    void setField(const QString &fieldName, const QString &text);
    void post();
    bool hasPending() const { return m_pending.has_value(); }

    // What becomes of the days already stored for the months being stored.
    enum class Stored { Keep, Replace };

    // Stores the days of one validated month in one transaction: either all
    // of them are stored or none. With Replace the days the table held for
    // the same month keys are deleted in that transaction, so a month
    // validated again holds its days once. The table is opened for it and
    // closed after; a failure closes it too and raises the error.
    void storeMonth(const QList<day::Record> &days, Stored stored = Stored::Keep);
    // The month keys of the days, each once, in their order.
    static QStringList monthKeys(const QList<day::Record> &days);
    // Those of the keys the table already holds days of. Opens the table for
    // it (and closes it after, unless it was open); a failure raises the
    // error as a failed storing does.
    QStringList heldMonths(const QStringList &keys);

    // The records in stored order, for browsing and correcting; empty while
    // the table is closed. The model lives as long as the table object.
    DayModel *model() const { return m_model.get(); }
    // Shows only the records of one month key ("Moan =" the key); an empty
    // key shows them all. Reads the table again.
    void setMonthFilter(const QString &key);
    // The filter in force (Moan ='0302'); empty when filtering is off, as it
    // is once the table is closed.
    QString filter() const { return m_filter; }

    // The months (1 to 12) of year 20YY that have day records in the table
    // file at `path`, read without taking the table from a window that holds
    // it. A missing file has none.
    static QList<int> monthsWithDays(const QString &path, int year);
    // The days stored from `from` to `to` in the table file at `path`, in
    // stored order, read the same way. A missing file has none.
    static QList<WorkedDay> workedDays(const QString &path, QDate from, QDate to);

    // Every month the table file at `path` holds days of, the latest first
    // (keys that are not a month, typed over in the review, last, as text),
    // read the same way. A missing file has none.
    static QList<HeldMonth> heldMonthList(const QString &path);
    // The records of one month key in the table file at `path`, in stored
    // order, in the fields' text forms, read the same way.
    static QList<day::Record> monthDays(const QString &path, const QString &key);

    // The name of the one table inside the file, and the statements that lay
    // out an empty one.
    static QString sqlTable();
    static QStringList schema();
    // Creates an empty table file at `path` unless a file is already there.
    // Returns whether it created one; raises on failure.
    static bool createEmpty(const QString &path);

private:
    friend class DayModel;
    QString connectionName() const { return m_connection; }

    QString m_connection;
    QString m_folder;
    QString m_tableName;
    QString m_filter;
    std::unique_ptr<QSqlQuery> m_insert;
    std::optional<std::array<QVariant, day::FieldCount>> m_pending;
    std::unique_ptr<DayModel> m_model;
};

// The records of a table as a grid of the thirteen fields. DisplayRole gives
// the program's text forms (DD/MM/YYYY, "Vrai"/"Faux"...), EditRole a value
// of the field's type (QDate, QTime, double, bool, text). Changes to one
// record are kept until submit() (the views call it when the current row
// changes) or editing another record; revert() drops them. removeRows()
// deletes at once. Records are told apart by their place in the file, so two
// identical days stay two records.
class DayModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DayModel(DayTable *table);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

    // The engine's or the conversion's message of the last failure.
    QString lastError() const { return m_lastError; }
    bool isDirty() const { return m_editRow >= 0; }

public slots:
    bool submit() override;
    void revert() override;

private:
    friend class DayTable;
    struct Row {
        qint64 id;
        std::array<QVariant, day::FieldCount> values;
    };
    void select(const QString &key);
    void clear();
    bool holds(const QModelIndex &index) const;
    const QVariant &stored(int row, int field) const;

    DayTable *m_table;
    QList<Row> m_rows;
    int m_editRow = -1;
    std::array<QVariant, day::FieldCount> m_edit;
    QString m_lastError;
};
