#include "archive/sliparchive.h"

#include "attendance/monthsheet.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "common/programfiles.h"
#include "payslip/declaration.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
const QString driver = QStringLiteral("QSQLITE");

QString damagedArchive() { return QStringLiteral("le fichier est endommagé ou n'est pas une archive de bulletins"); }
QString readOnlyArchive() { return QStringLiteral("le fichier est en lecture seule"); }

// The engine's failure said in French, by its primary result code.
QString reason(const QSqlError &e)
{
    switch (e.nativeErrorCode().toInt() & 0xff) {
    case 13: // SQLITE_FULL
        return rtl::diskFull();
    case 8: // SQLITE_READONLY
        return readOnlyArchive();
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return QStringLiteral("le fichier est tenu par un autre programme");
    case 10: // SQLITE_IOERR
        return QStringLiteral("erreur de lecture ou d'écriture sur le disque");
    default: return damagedArchive();
    }
}

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("berlivo-slip-archive-%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

// The amount columns, in the order of ArchivedSlip's members.
const QStringList &amountColumns()
{
    static const QStringList columns = [] {
        QStringList c = {"salbrut", "salnet", "Cong", "abs",   "diver", "entret",
                         "nour",    "acpt",   "net",  "totcs", "salimp"};
        for (int i = 1; i <= ContributionLines; ++i)
            c << QStringLiteral("cs%1").arg(i);
        return c;
    }();
    return columns;
}

std::array<qint64 *, 20> amountsOf(ArchivedSlip &s)
{
    return {&s.salbrut, &s.salnet, &s.Cong,  &s.abs,   &s.diver, &s.entret, &s.nour,  &s.acpt,  &s.net,   &s.totcs,
            &s.salimp,  &s.cs[0],  &s.cs[1], &s.cs[2], &s.cs[3], &s.cs[4],  &s.cs[5], &s.cs[6], &s.cs[7], &s.cs[8]};
}

const QStringList &otherColumns()
{
    static const QStringList columns = {"enfant",
                                        "prenom",
                                        "annee",
                                        "mois",
                                        "moan",
                                        "base",
                                        "heures_centiemes",
                                        "jours_activite",
                                        "jours_forfait",
                                        "image",
                                        "enregistre",
                                        "genre",
                                        "heures_comp_centiemes",
                                        "heures_maj_centiemes"};
    return columns;
}

QString selectList() { return (otherColumns() + amountColumns()).join(QStringLiteral(", ")); }

// The childcare aid (CMG) a parent received for a child over a year, typed
// in the year summary, with the shared-custody mark that halves the tax
// credit's ceiling. Added by layout version 2.
const QString careAidTable = QStringLiteral("CREATE TABLE AidesGarde (\n"
                                            "  enfant INTEGER NOT NULL CHECK (enfant BETWEEN 1 AND 5),\n"
                                            "  annee INTEGER NOT NULL,\n"
                                            "  cmg INTEGER NOT NULL CHECK (cmg >= 0),  -- cents\n"
                                            "  garde_alternee INTEGER NOT NULL CHECK (garde_alternee IN (0, 1)),\n"
                                            "  PRIMARY KEY (enfant, annee)\n"
                                            ") WITHOUT ROWID");

// The kind of slip a row is: paid by the hour, or a regular contract's month.
const QString byTheHour = QStringLiteral("horaire");
const QString contractMonth = QStringLiteral("contrat");

// The columns layout version 3 added, as they are declared: a row of an
// older archive was a slip paid by the hour, without extra hours.
QStringList version3Columns()
{
    return {
        QStringLiteral("genre TEXT NOT NULL DEFAULT '%1' CHECK (genre IN ('%1', '%2'))").arg(byTheHour, contractMonth),
        QStringLiteral("heures_comp_centiemes INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("heures_maj_centiemes INTEGER NOT NULL DEFAULT 0")};
}

QString versionStatement(int version) { return QStringLiteral("PRAGMA user_version = %1").arg(version); }

// What brings an archive of layout version `from` up to date, to be run in
// one transaction; `columns` are those its table has already (a file put
// back by hand to an older version keeps what it has).
QStringList upgradeFrom(int from, const QStringList &columns)
{
    QStringList statements;
    for (const QString &column : version3Columns())
        if (!columns.contains(column.section(' ', 0, 0)))
            statements << QStringLiteral("ALTER TABLE Bulletins ADD COLUMN ") + column;
    if (from < 2)
        statements << careAidTable;
    statements << versionStatement(SlipArchive::SchemaVersion);
    return statements;
}

} // namespace

QStringList SlipArchive::upgrade(int fromVersion)
{
    // A file of an older layout, as that layout was laid out.
    return fromVersion >= 1 && fromVersion < SchemaVersion ? upgradeFrom(fromVersion, {}) : QStringList();
}

QStringList SlipArchive::schema()
{
    QStringList amounts;
    for (const QString &c : amountColumns())
        amounts << c + QStringLiteral(" INTEGER NOT NULL");
    return {
        // Amounts in whole cents, hours in hundredths: sums stay exact.
        QStringLiteral("CREATE TABLE Bulletins (\n"
                       "  enfant INTEGER NOT NULL CHECK (enfant BETWEEN 1 AND 5),\n"
                       "  prenom TEXT NOT NULL,\n"
                       "  annee INTEGER NOT NULL,\n"
                       "  mois INTEGER NOT NULL CHECK (mois BETWEEN 1 AND 12),\n"
                       "  moan TEXT NOT NULL,  -- MMYY\n"
                       "  base TEXT NOT NULL CHECK (base IN ('net', 'brut')),\n"
                       "  heures_centiemes INTEGER NOT NULL,\n"
                       "  jours_activite INTEGER NOT NULL,\n"
                       "  jours_forfait INTEGER NOT NULL,\n"
                       "  image TEXT NOT NULL,  -- file name in bulljpg/\n"
                       "  enregistre TEXT NOT NULL,  -- local date and time of the save, ISO 8601\n"
                       "  -- amounts as shown on the slip, in cents\n"
                       "  %1,\n"
                       "  -- 'contrat' for a regular contract's month, with its extra hours in hundredths\n"
                       "  %2,\n"
                       "  PRIMARY KEY (enfant, annee, mois)\n"
                       ") WITHOUT ROWID")
            .arg(amounts.join(QStringLiteral(",\n  ")), version3Columns().join(QStringLiteral(",\n  "))),
        careAidTable,
        versionStatement(SlipArchive::SchemaVersion),
    };
}

namespace {

ArchivedSlip rowFrom(const QSqlQuery &q)
{
    ArchivedSlip s;
    s.slot = q.value(0).toInt();
    s.firstName = q.value(1).toString();
    s.monthKey = q.value(4).toString();
    s.grossBasis = q.value(5).toString() == QLatin1String("brut");
    s.hours = q.value(6).toLongLong();
    s.activityDays = q.value(7).toInt();
    s.flatDays = q.value(8).toInt();
    s.picture = q.value(9).toString();
    s.savedAt = QDateTime::fromString(q.value(10).toString(), Qt::ISODate);
    s.contract = q.value(11).toString() == contractMonth;
    s.complementaryHours = q.value(12).toLongLong();
    s.majoratedHours = q.value(13).toLongLong();
    const auto amounts = amountsOf(s);
    for (int i = 0; i < int(amounts.size()); ++i)
        *amounts[i] = q.value(int(otherColumns().size()) + i).toLongLong();
    return s;
}

QString native(const QString &path) { return QDir::toNativeSeparators(path); }
} // namespace

QJsonObject toJson(const ArchivedSlip &slip)
{
    QJsonObject o{{QStringLiteral("enfant"), slip.slot},
                  {QStringLiteral("prenom"), slip.firstName},
                  {QStringLiteral("moan"), slip.monthKey},
                  {QStringLiteral("base"), slip.grossBasis ? QStringLiteral("brut") : QStringLiteral("net")},
                  {QStringLiteral("heures_centiemes"), QString::number(slip.hours)},
                  {QStringLiteral("jours_activite"), slip.activityDays},
                  {QStringLiteral("jours_forfait"), slip.flatDays},
                  {QStringLiteral("image"), slip.picture},
                  {QStringLiteral("enregistre"), slip.savedAt.toString(Qt::ISODate)}};
    ArchivedSlip copy = slip;
    const auto amounts = amountsOf(copy);
    // Whole cents as text: a JSON number would not keep every 64-bit amount.
    for (qsizetype i = 0; i < amountColumns().size(); ++i)
        o.insert(amountColumns()[i], QString::number(*amounts[size_t(i)]));
    return o;
}

std::optional<ArchivedSlip> archivedSlipFromJson(const QJsonObject &o)
{
    bool ok = true;
    const auto whole = [&](const QString &key) {
        bool one = false;
        const qint64 v = o.value(key).toString().toLongLong(&one);
        ok = ok && one;
        return v;
    };
    ArchivedSlip s;
    s.slot = o.value(QStringLiteral("enfant")).toInt();
    s.firstName = o.value(QStringLiteral("prenom")).toString();
    s.monthKey = o.value(QStringLiteral("moan")).toString();
    s.grossBasis = o.value(QStringLiteral("base")).toString() == QLatin1String("brut");
    s.hours = whole(QStringLiteral("heures_centiemes"));
    s.activityDays = o.value(QStringLiteral("jours_activite")).toInt();
    s.flatDays = o.value(QStringLiteral("jours_forfait")).toInt();
    s.picture = o.value(QStringLiteral("image")).toString();
    s.savedAt = QDateTime::fromString(o.value(QStringLiteral("enregistre")).toString(), Qt::ISODate);
    const auto amounts = amountsOf(s);
    for (qsizetype i = 0; i < amountColumns().size(); ++i)
        *amounts[size_t(i)] = whole(amountColumns()[i]);
    if (!ok || s.slot < 1 || s.slot > 5 || s.monthKey.size() != 4 || !s.savedAt.isValid())
        return std::nullopt;
    return s;
}

int ArchivedSlip::month() const
{
    const std::optional<MonthKey> key = MonthKey::fromText(monthKey);
    return key ? key->month() : 0;
}

int ArchivedSlip::year() const
{
    const std::optional<MonthKey> key = MonthKey::fromText(monthKey);
    return key ? key->year() : 0;
}

ArchivedSlip archivedSlipFor(const SlipInput &in, const SlipResult &slip, bool grossBasis, int slot,
                             const QString &picture, const QDateTime &savedAt,
                             const std::optional<ContractHours> &contract)
{
    if (!MonthKey::fromText(in.moan))
        throw RuntimeError(rtl::noValidatedMonth());
    if (!slip.complete())
        throw RuntimeError(*slip.error);
    ArchivedSlip s;
    s.slot = slot;
    s.firstName = in.prenom3;
    s.monthKey = in.moan;
    s.grossBasis = grossBasis;
    s.hours = moneyFromText(in.totheur).count() / 100;
    s.activityDays = activityDays(in);
    for (const SheetDay &d : in.days)
        s.flatDays += d.flatRate == sheet::mark(sheet::Flat);
    const SlipResult::Amounts &a = slip.amounts;
    s.salbrut = grossBasis ? shownCents(a.salbrut) : 0;
    s.salnet = shownCents(a.salnet);
    s.Cong = shownCents(a.Cong);
    s.abs = shownCents(a.abs);
    s.diver = shownCents(a.diver);
    s.entret = shownCents(a.entret);
    s.nour = shownCents(a.nour);
    s.acpt = shownCents(a.acpt);
    s.net = shownCents(a.net);
    s.totcs = shownCents(a.totcs);
    s.salimp = grossBasis ? shownCents(a.salimp) : 0;
    for (int i = 0; i < ContributionLines; ++i)
        s.cs[i] = shownCents(a.cs[i]);
    s.picture = picture;
    // Kept to the second, as it is stored.
    s.savedAt = savedAt.addMSecs(-savedAt.time().msec());
    if (contract) {
        // The hours paid by the mensualised salary, and the extra hours.
        s.contract = true;
        s.hours = hundredthsOfTwelfths(contract->normalTwelfths());
        s.activityDays = contract->activityDays();
        s.complementaryHours = hundredthsOfTwelfths(12 * contract->complementaryMinutes);
        s.majoratedHours = hundredthsOfTwelfths(12 * contract->majoratedMinutes);
    }
    return s;
}

QString SlipArchive::fileName() { return folder::slipArchive; }

SlipArchive::SlipArchive(const QString &path) : m_path(path), m_connection(nextConnectionName())
{
    const bool existed = QFileInfo::exists(path);
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, m_connection);
        db.setDatabaseName(path);
        // A file held by another program fails soon, not after a long wait.
        // A file its owner marked read-only is only read, even by a user the
        // system would let write (root), as the other files of the folder.
        m_readOnly = existed && !(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
        db.setConnectOptions(m_readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000")
                                        : QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open()) {
            error = existed ? rtl::cannotOpenFile(native(path)) : rtl::cannotCreateFile(native(path));
        } else {
            QSqlQuery q(db);
            int version = -1;
            int tables = 0;
            if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
                version = q.value(0).toInt();
            q.finish();
            if (q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next())
                tables = q.value(0).toInt();
            q.finish();
            // Statements run in one transaction: all or none.
            const auto run = [&](const QStringList &statements) {
                bool ok = db.transaction();
                for (const QString &statement : statements) {
                    if (!ok)
                        break;
                    ok = q.exec(statement);
                    q.finish();
                }
                if (ok && db.commit())
                    return true;
                db.rollback();
                return false;
            };
            if (version < 0) {
                error = rtl::archiveReadFailed(native(path), damagedArchive());
            } else if (version == 0 && tables == 0) {
                // A new file: lay it out in one transaction.
                if (!run(schema()))
                    error = rtl::cannotCreateFile(native(path));
            } else if (version > SchemaVersion) {
                error = rtl::archiveTooNew(native(path));
            } else if (version == 0) {
                error = rtl::notAnArchive(native(path));
            }
            // An older archive is brought up to date in place, in one
            // transaction: all of it or nothing; its rows stay as they were.
            if (error.isEmpty() && version > 0 && version < SchemaVersion) {
                QStringList columns;
                if (q.exec(QStringLiteral("PRAGMA table_info(Bulletins)")))
                    while (q.next())
                        columns << q.value(1).toString();
                q.finish();
                if (!run(upgradeFrom(version, columns)))
                    error = rtl::archiveUpgradeFailed(native(path), reason(q.lastError()));
            }
            if (!error.isEmpty())
                db.close();
        }
    }
    if (!error.isEmpty()) {
        QSqlDatabase::removeDatabase(m_connection);
        // Leave no empty file behind a failed first use.
        if (!existed && QFileInfo(path).size() == 0)
            QFile::remove(path);
        throw RuntimeError(error);
    }
}

SlipArchive::~SlipArchive()
{
    m_yearQuery.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen()) {
            db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(m_connection);
}

namespace {
[[noreturn]] void failWrite(const QString &path, const QSqlError &e)
{
    throw RuntimeError(rtl::archiveWriteFailed(native(path), reason(e)));
}
[[noreturn]] void failRead(const QString &path, const QSqlError &e)
{
    throw RuntimeError(rtl::archiveReadFailed(native(path), reason(e)));
}
} // namespace

void SlipArchive::begin()
{
    if (m_readOnly)
        throw RuntimeError(rtl::archiveWriteFailed(native(m_path), readOnlyArchive()));
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction())
        failWrite(m_path, db.lastError());
}

void SlipArchive::commit()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.commit())
        failWrite(m_path, db.lastError());
}

void SlipArchive::rollback() noexcept
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    db.rollback();
}

void SlipArchive::put(const ArchivedSlip &slip)
{
    QStringList marks;
    const QStringList columns = otherColumns() + amountColumns();
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO Bulletins (%1) VALUES (%2)")
                  .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    q.addBindValue(slip.slot);
    q.addBindValue(slip.firstName);
    q.addBindValue(slip.year());
    q.addBindValue(slip.month());
    q.addBindValue(slip.monthKey);
    q.addBindValue(slip.grossBasis ? QStringLiteral("brut") : QStringLiteral("net"));
    q.addBindValue(slip.hours);
    q.addBindValue(slip.activityDays);
    q.addBindValue(slip.flatDays);
    q.addBindValue(slip.picture);
    q.addBindValue(slip.savedAt.toString(Qt::ISODate));
    q.addBindValue(slip.contract ? contractMonth : byTheHour);
    q.addBindValue(slip.complementaryHours);
    q.addBindValue(slip.majoratedHours);
    ArchivedSlip copy = slip;
    for (qint64 *amount : amountsOf(copy))
        q.addBindValue(*amount);
    if (!q.exec())
        failWrite(m_path, q.lastError());
    q.finish();
}

QList<ArchivedSlip> SlipArchive::year(int slot, int year) const
{
    if (!m_yearQuery) {
        m_yearQuery = std::make_unique<QSqlQuery>(QSqlDatabase::database(m_connection, false));
        m_yearQuery->setForwardOnly(true);
        if (!m_yearQuery->prepare(
                QStringLiteral("SELECT %1 FROM Bulletins WHERE enfant = ? AND annee = ? ORDER BY mois")
                    .arg(selectList()))) {
            const QSqlError e = m_yearQuery->lastError();
            m_yearQuery.reset();
            failRead(m_path, e);
        }
    }
    QSqlQuery &q = *m_yearQuery;
    q.bindValue(0, slot);
    q.bindValue(1, year);
    if (!q.exec())
        failRead(m_path, q.lastError());
    QList<ArchivedSlip> rows;
    while (q.next())
        rows << rowFrom(q);
    q.finish();
    return rows;
}

std::optional<ArchivedSlip> SlipArchive::find(int slot, const QString &monthKey) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM Bulletins WHERE enfant = ? AND moan = ?").arg(selectList()));
    q.addBindValue(slot);
    q.addBindValue(monthKey);
    if (!q.exec())
        failRead(m_path, q.lastError());
    std::optional<ArchivedSlip> row;
    if (q.next())
        row = rowFrom(q);
    q.finish();
    return row;
}

QList<int> SlipArchive::years(int slot) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT DISTINCT annee FROM Bulletins WHERE enfant = ? ORDER BY annee"));
    q.addBindValue(slot);
    if (!q.exec())
        failRead(m_path, q.lastError());
    QList<int> years;
    while (q.next())
        years << q.value(0).toInt();
    q.finish();
    return years;
}

int SlipArchive::count() const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("SELECT count(*) FROM Bulletins")) || !q.next())
        failRead(m_path, q.lastError());
    const int n = q.value(0).toInt();
    q.finish();
    return n;
}

QString SlipArchive::latestFirstName(int slot) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT prenom FROM Bulletins WHERE enfant = ? ORDER BY annee DESC, mois DESC LIMIT 1"));
    q.addBindValue(slot);
    if (!q.exec())
        failRead(m_path, q.lastError());
    QString name = q.next() ? q.value(0).toString() : QString();
    q.finish();
    return name;
}

CareAid SlipArchive::careAid(int slot, int year) const
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT cmg, garde_alternee FROM AidesGarde WHERE enfant = ? AND annee = ?"));
    q.addBindValue(slot);
    q.addBindValue(year);
    if (!q.exec())
        failRead(m_path, q.lastError());
    CareAid aid;
    if (q.next()) {
        aid.cmg = q.value(0).toLongLong();
        aid.shared = q.value(1).toInt() != 0;
    }
    q.finish();
    return aid;
}

void SlipArchive::putCareAid(int slot, int year, const CareAid &aid)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(
        QStringLiteral("INSERT OR REPLACE INTO AidesGarde (enfant, annee, cmg, garde_alternee) VALUES (?, ?, ?, ?)"));
    q.addBindValue(slot);
    q.addBindValue(year);
    q.addBindValue(aid.cmg);
    q.addBindValue(aid.shared ? 1 : 0);
    if (!q.exec())
        throw RuntimeError(rtl::careAidWriteFailed(native(m_path), q.lastError().text().trimmed()));
    q.finish();
}
