#pragma once
// The slip archive: the figures of every saved slip, one row per child and
// month, in Bulletins.db in the program folder (SQLite).
//
// The program lays out the file itself on first use and marks its layout
// with PRAGMA user_version, so that a later program can tell an older file
// and bring it up to date (version 2 added the childcare aid of each child
// and year; version 3 tells a regular contract's month from a slip paid by
// the hour, with its extra hours). Amounts are whole cents (the slip's shown
// amounts), hours whole hundredths: a year adds up exactly, and any SQLite
// tool reads the file.
//
// A save keeps its row only together with its picture: begin() a
// transaction, put() the row, put the picture in place, then commit(); on
// any failure rollback() leaves the file as it was.

#include "payslip/declaration.h"
#include "payslip/slip.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <array>
#include <memory>
#include <optional>

class QSqlQuery;

// One archived slip.
struct ArchivedSlip {
    int slot = 0;      // child slot 1 to 5
    QString firstName; // the child's first name when the slip was saved
    QString monthKey;  // MMYY
    bool grossBasis = false;
    qint64 hours = 0; // the month's hours, in hundredths of an hour
    int activityDays = 0;
    int flatDays = 0;
    // The shown amounts, in cents. salbrut and salimp are 0 on a net basis.
    qint64 salbrut = 0, salnet = 0, Cong = 0, abs = 0, diver = 0, entret = 0, nour = 0, acpt = 0, net = 0, totcs = 0,
           salimp = 0;
    std::array<qint64, ContributionLines> cs{};
    QString picture; // the picture's file name in bulljpg/
    QDateTime savedAt;
    // A regular contract's month: `hours` are then the hours its mensualised
    // salary pays (M less the absences), and the extra hours are apart, in
    // hundredths.
    bool contract = false;
    qint64 complementaryHours = 0, majoratedHours = 0;

    // 0 for a key that is not one (a row some other tool wrote).
    int month() const;
    int year() const;

    friend bool operator==(const ArchivedSlip &, const ArchivedSlip &) = default;
};

// A row as JSON and back (the journal of a save in progress keeps it);
// none when the object is not a row.
QJsonObject toJson(const ArchivedSlip &slip);
std::optional<ArchivedSlip> archivedSlipFromJson(const QJsonObject &object);

// The childcare aid (CMG) received for a child over a year, as the parent
// typed it, and whether the child is in shared custody.
struct CareAid {
    qint64 cmg = 0; // cents
    bool shared = false;
    friend bool operator==(const CareAid &, const CareAid &) = default;
};

// The row of a slip the program is saving, from its inputs and its result;
// with `contract`, a regular contract's month. A slip that stopped on a text,
// or a month key that is not MMYY, raises: there are no figures to keep.
ArchivedSlip archivedSlipFor(const SlipInput &in, const SlipResult &slip, bool grossBasis, int slot,
                             const QString &picture, const QDateTime &savedAt,
                             const std::optional<ContractHours> &contract = std::nullopt);

class SlipArchive {
public:
    static constexpr int SchemaVersion = 3;
    // Bulletins.db
    static QString fileName();
    // The statements that lay out a new archive, its version included.
    static QStringList schema();
    // The statements that bring a file of an older layout `fromVersion` up
    // to date; none for a version the program cannot bring up.
    static QStringList upgrade(int fromVersion);

    // Opens the archive at `path`, laying it out when the file is new and
    // bringing an older layout up to date in place. A file from a newer
    // program, or one that is not an archive, raises.
    explicit SlipArchive(const QString &path);
    ~SlipArchive();
    SlipArchive(const SlipArchive &) = delete;
    SlipArchive &operator=(const SlipArchive &) = delete;

    const QString &path() const { return m_path; }

    void begin();
    void commit();
    // Never raises: it runs where a save is already failing.
    void rollback() noexcept;

    // Stores the row, replacing the one of the same child and month.
    void put(const ArchivedSlip &slip);

    // The rows of a child for one year, in month order.
    QList<ArchivedSlip> year(int slot, int year) const;
    std::optional<ArchivedSlip> find(int slot, const QString &monthKey) const;
    // The years a child has rows for, in increasing order.
    QList<int> years(int slot) const;
    int count() const;
    // The first name of the child's most recent archived slip, "" when none.
    QString latestFirstName(int slot) const;

    // The aid typed for a child and year; none typed reads as 0, not shared.
    CareAid careAid(int slot, int year) const;
    void putCareAid(int slot, int year, const CareAid &aid);

private:
    QString m_path;
    QString m_connection;
    bool m_readOnly = false;
    // The year's query, prepared once: a summary reads it at each change of
    // child or year.
    mutable std::unique_ptr<QSqlQuery> m_yearQuery;
};
