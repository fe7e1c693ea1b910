// Faults under every file the program writes: the parameter file, the rates
// file, a child's day table and a saved slip (its picture, with the PDF and
// the archive row that land with it). Each write meets a read-only file, a
// read-only folder, a missing folder, a full disk, or the process killed in
// the middle, and must show its message and leave the previous file exactly
// as it was: never a half-written file.
//
// The full disk and, when running as root (who writes into any folder), the
// read-only folder are real file systems: a small tmpfs mounted for the test.
// Without the right to mount, those cases are skipped with the reason.

#include "archive/slipsave.h"
#include "attendance/daytable.h"
#include "attendance/duration.h"
#include "common/monthkey.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "common/programfiles.h"
#include "contract/contractstore.h"
#include "payslip/jpegcodec.h"
#include "payslip/slippicture.h"
#include "settings/paramfile.h"
#include "settings/ratesfile.h"
#include "pictures.h"
#include "raised.h"
#include "storedrows.h"
#include "testfiles.h"
#include "required.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

// ---------------------------------------------------------------------------
// The interrupted write. The test starts itself again as a child that does
// one write; the system calls below stand in for the C library's, and in the
// child they stop the write at its last step (the rename that puts the new
// settings file in place, the sync that makes a table's new pages final),
// tell the parent, and wait there to be killed.

namespace {
const char *const childVariable = "BERLIVO_KILLED_WRITE";

bool isChild() { return qEnvironmentVariableIsSet(childVariable); }

[[noreturn]] void stopHere()
{
    const char ready[] = "ready\n";
    (void)!::write(STDOUT_FILENO, ready, sizeof ready - 1);
    for (;;)
        ::pause();
}

template <class F>
F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The file an open descriptor names.
QByteArray pathOf(int fd)
{
    char buf[4096];
    const ssize_t n = ::readlink(QByteArray("/proc/self/fd/" + QByteArray::number(fd)).constData(), buf, sizeof buf);
    return n > 0 ? QByteArray(buf, n) : QByteArray();
}

void syncing(int fd)
{
    // The table's own file (not its journal) is synced once its new pages
    // are written, before the journal that could undo them is removed.
    if (isChild() && pathOf(fd).endsWith(".db"))
        stopHere();
}
} // namespace

extern "C" {
int rename(const char *from, const char *to)
{
    if (isChild())
        stopHere();
    return real<int (*)(const char *, const char *)>("rename")(from, to);
}
int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    if (isChild())
        stopHere();
    return real<int (*)(int, const char *, int, const char *)>("renameat")(fromDir, from, toDir, to);
}
int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    if (isChild())
        stopHere();
    return real<int (*)(int, const char *, int, const char *, unsigned)>("renameat2")(fromDir, from, toDir, to, flags);
}
int fsync(int fd)
{
    syncing(fd);
    return real<int (*)(int)>("fsync")(fd);
}
int fdatasync(int fd)
{
    syncing(fd);
    return real<int (*)(int)>("fdatasync")(fd);
}
}

// ---------------------------------------------------------------------------

namespace {
enum Writer { ParamWriter, RatesWriter, TableWriter, SlipWriter, ContractWriter };
enum Fault { ReadOnlyFile, ReadOnlyFolder, MissingFolder, FullDisk };

QString fileName(Writer w)
{
    switch (w) {
    case ParamWriter: return QStringLiteral("Paramtre.bvp");
    case RatesWriter: return QStringLiteral("Taux.txt");
    case TableWriter: return QStringLiteral("Enf1.db");
    case SlipWriter: return QStringLiteral("bulljpg/Julie0302.jpg");
    case ContractWriter: return folder::contracts;
    }
    return {};
}

// The folder the written file is in, inside the program folder.
QString folderOf(Writer w) { return QFileInfo(programFolder() + fileName(w)).path() + '/'; }

ArchivedSlip march(qint64 net)
{
    ArchivedSlip s;
    s.slot = 1;
    s.firstName = QStringLiteral("Julie");
    s.monthKey = QStringLiteral("0302");
    s.hours = 8000;
    s.net = net;
    s.picture = QStringLiteral("Julie0302.jpg");
    s.savedAt = QDateTime(QDate(2002, 4, 1), QTime(10, 0));
    return s;
}

QList<day::Record> month(const QString &monthYear, int days)
{
    QList<day::Record> out;
    for (int d = 1; d <= days; ++d) {
        day::Record r;
        r[day::Date] = QStringLiteral("%1/").arg(d, 2, 10, QChar('0')) + monthYear;
        r[day::Heure1] = QStringLiteral("08:00:00");
        r[day::Heure2] = QStringLiteral("16:30:00");
        r[day::Duree] = QStringLiteral("8.5");
        for (int f = day::FJ; f <= day::Ferie; ++f)
            r[f] = day::flagText(f == day::Dej);
        r[day::Moan] = monthKey(r[day::Date]);
        out << r;
    }
    return out;
}

// One write of each kind into the program folder: `fresh` false writes the
// previous content, true the new one that the fault must not let through.
void write(Writer w, bool fresh)
{
    const QString who = fresh ? QStringLiteral("nouveau") : QStringLiteral("ancien");
    switch (w) {
    case ParamWriter: {
        ParamSlots slotSet;
        for (int n = 1; n <= SlotCount; ++n)
            slotSet.record(n).prenom3 = who + QString::number(n);
        WriteParamFile(slotSet);
        break;
    }
    case RatesWriter: {
        QStringList lines;
        for (int n = 0; n < rates::LineCount; ++n)
            lines << who + QString::number(n);
        RatesList(lines).save(ratesFilePath());
        break;
    }
    case TableWriter: {
        if (!fresh)
            DayTable::createEmpty(programFolder() + fileName(w));
        DayTable t;
        t.setFolder(programFolder());
        t.setTableName(fileName(w));
        t.storeMonth(fresh ? month(QStringLiteral("02/2027"), 28) : month(QStringLiteral("01/2027"), 31));
        break;
    }
    case SlipWriter: {
        // The saved slip's folder is the user's to make: only the setup makes it.
        if (!fresh)
            QDir().mkpath(folderOf(w));
        QImage picture(48, 32, QImage::Format_RGB32);
        picture.fill(fresh ? Qt::red : Qt::blue);
        const QByteArray jpeg = encodeJpeg(picture);
        saveSlip(programFolder(),
                 {programFolder() + fileName(w), jpeg, "%PDF-1.4 " + who.toLatin1(), march(fresh ? 54321 : 12345)});
        break;
    }
    case ContractWriter: {
        contract::Contract c;
        c.kind = contract::Kind::CompleteYear;
        c.first = QDate(2027, 1, 4);
        c.plannedMinutes = {480, 480, 480, 480, 480, 0, 0};
        // Enough rows that the new contract needs more room than the old one.
        for (int d = 0; d < (fresh ? 400 : 1); ++d)
            c.absences << contract::Absence{{c.first.addDays(2 * d), c.first.addDays(2 * d)},
                                            contract::Reason::ParentsChoice};
        contract::storeContract(programFolder() + fileName(w), fresh ? 2 : 1, c);
        break;
    }
    }
}

bool isRoot() { return ::geteuid() == 0; }
} // namespace

class TestWriteFaults : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_folder;       // the program folder of the current case
    bool m_mounted = false; // a tmpfs is mounted on it

    QString target(Writer w) const { return m_folder + fileName(w); }

    // A small file system of its own under the program folder; false (and
    // the case skipped) when the test may not mount one.
    bool mountSmall(const char *size)
    {
        const QByteArray options = QByteArray("size=") + size + ",mode=0755";
        if (::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", 0, options.constData()) != 0)
            return false;
        m_mounted = true;
        return true;
    }

    void fillDisk()
    {
        const int fd = ::open(QFile::encodeName(m_folder + "filler").constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        const QByteArray block(4096, 'x');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        QCOMPARE(errno, ENOSPC);
        ::close(fd);
    }

private slots:
    void initTestCase()
    {
        setDecimalSeparator('.');
        QVERIFY(m_dir.isValid());
    }

    void init()
    {
        static int n = 0;
        m_folder = m_dir.path() + QStringLiteral("/case%1/").arg(++n);
        QVERIFY(QDir().mkpath(m_folder));
        setProgramFolder(m_folder);
    }

    void cleanup()
    {
        for (const QString &f : {m_folder, folderOf(SlipWriter)})
            QFile::setPermissions(f, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (m_mounted)
            ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
        m_mounted = false;
        setProgramFolder(QString());
    }

    void faultKeepsThePreviousFile_data()
    {
        QTest::addColumn<int>("writer");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("message");
        const QString denied = QStringLiteral("Accès au fichier refusé");
        const QString full = QStringLiteral("Disque plein");
        const QString noFolder = QStringLiteral("Erreur E/S 3");
        const QString readOnlyTable = QStringLiteral("attempt to write a readonly database Unable to fetch row");
        for (Writer w : {ParamWriter, RatesWriter}) {
            const QByteArray name = fileName(w).toLatin1();
            QTest::newRow(name + ", read-only file") << int(w) << int(ReadOnlyFile) << denied;
            QTest::newRow(name + ", read-only folder") << int(w) << int(ReadOnlyFolder) << denied;
            QTest::newRow(name + ", missing folder") << int(w) << int(MissingFolder) << noFolder;
            QTest::newRow(name + ", full disk") << int(w) << int(FullDisk) << full;
        }
        QTest::newRow("Enf1.db, read-only file") << int(TableWriter) << int(ReadOnlyFile) << readOnlyTable;
        QTest::newRow("Enf1.db, read-only folder") << int(TableWriter) << int(ReadOnlyFolder) << readOnlyTable;
        QTest::newRow("Enf1.db, missing folder") << int(TableWriter) << int(MissingFolder) << QString();
        QTest::newRow("Enf1.db, full disk")
            << int(TableWriter) << int(FullDisk) << QStringLiteral("database or disk is full Unable to fetch row");
        // The slip's folder is bulljpg/: missing, it is not made up either.
        const QString cannotCreate = rtl::cannotCreateFile(QStringLiteral("%1"));
        QTest::newRow("slip, read-only file") << int(SlipWriter) << int(ReadOnlyFile) << cannotCreate;
        QTest::newRow("slip, read-only folder") << int(SlipWriter) << int(ReadOnlyFolder) << cannotCreate;
        QTest::newRow("slip, missing folder") << int(SlipWriter) << int(MissingFolder) << cannotCreate;
        QTest::newRow("slip, full disk") << int(SlipWriter) << int(FullDisk) << full;
        // The contract file says what failed, then the engine's text.
        const QString contractFailed = contractmsg::storeFailed(QStringLiteral("%1"), QString());
        QTest::newRow("Contrats.db, read-only file") << int(ContractWriter) << int(ReadOnlyFile) << contractFailed;
        QTest::newRow("Contrats.db, read-only folder") << int(ContractWriter) << int(ReadOnlyFolder) << contractFailed;
        QTest::newRow("Contrats.db, missing folder") << int(ContractWriter) << int(MissingFolder) << contractFailed;
        // A full disk is said in French, without the engine's English.
        QTest::newRow("Contrats.db, full disk") << int(ContractWriter) << int(FullDisk)
                                                << contractmsg::contractDiskFull(QStringLiteral("%1"));
    }
    void faultKeepsThePreviousFile()
    {
        QFETCH(int, writer);
        QFETCH(int, fault);
        QFETCH(QString, message);
        const Writer w = Writer(writer);

        if (fault == FullDisk && !mountSmall("64k"))
            SKIP_UNLESS_CI("a full disk needs a small tmpfs, and mounting one needs root");
        if (fault == ReadOnlyFolder && isRoot() && !mountSmall("1m"))
            SKIP_UNLESS_CI("root writes into any folder: a read-only one needs a tmpfs mounted read-only");

        QByteArray before;
        QMap<QString, QByteArray> folderBefore;
        if (fault != MissingFolder) {
            write(w, false);
            before = readBytes(target(w));
            QVERIFY(before.size() > 0);
            folderBefore = tree(m_folder);
        }
        if (message.contains(QLatin1String("%1")))
            message = message.arg(target(w));
        switch (fault) {
        case ReadOnlyFile:
            QVERIFY(QFile::setPermissions(target(w), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            break;
        case ReadOnlyFolder:
            if (m_mounted)
                QCOMPARE(
                    ::mount(nullptr, QFile::encodeName(m_folder).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr),
                    0);
            else
                QVERIFY(QFile::setPermissions(folderOf(w), QFile::ReadOwner | QFile::ExeOwner));
            break;
        case MissingFolder:
            QVERIFY(QDir(folderOf(w)).removeRecursively());
            QVERIFY(!QFileInfo::exists(folderOf(w)));
            if (message.isEmpty())
                message = rtl::cannotOpenFile(target(w));
            break;
        case FullDisk: fillDisk(); break;
        }

        if (w == TableWriter) // the table's failures say first what failed
            message = rtl::tableFailure(rtl::TableAction::Store, fileName(w), message);
        if (w == ContractWriter) {
            const QString got = raised([&] { write(w, true); });
            QVERIFY2(got.startsWith(message), qPrintable(got));
        } else {
            QCOMPARE(raised([&] { write(w, true); }), message);
        }
        if (fault == MissingFolder) {
            QVERIFY(!QFileInfo::exists(folderOf(w))); // nothing made up in its place
            QVERIFY(!QFileInfo::exists(m_folder + SlipArchive::fileName()));
            return;
        }
        QCOMPARE(readBytes(target(w)), before);
        // Nothing else changed and nothing left beside it: no temporary
        // file, no journal (for a slip, its PDF and archive row as they were).
        QMap<QString, QByteArray> left = tree(m_folder);
        left.remove(m_folder + QStringLiteral("filler"));
        QCOMPARE(left.keys(), folderBefore.keys());
        QVERIFY(left == folderBefore);
    }

    void killedMidWriteKeepsThePreviousFile_data()
    {
        QTest::addColumn<int>("writer");
        QTest::newRow("Paramtre.bvp") << int(ParamWriter);
        QTest::newRow("Taux.txt") << int(RatesWriter);
        QTest::newRow("Enf1.db") << int(TableWriter);
        QTest::newRow("slip") << int(SlipWriter);
    }
    void killedMidWriteKeepsThePreviousFile()
    {
        QFETCH(int, writer);
        const Writer w = Writer(writer);
        write(w, false);
        const QByteArray before = readBytes(target(w));
        const QStringList rowsBefore = w == TableWriter ? storedRows(target(w)) : QStringList();
        const QString pdf = slipPdfPath(target(SlipWriter));
        const QByteArray pdfBefore = readBytes(pdf);

        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(childVariable), QString::number(writer));
        env.insert(QStringLiteral("BERLIVO_FOLDER"), m_folder);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForReadyRead(60000));
        QCOMPARE(child.readAll(), QByteArray("ready\n"));
        // The new content is written out in full and waits to replace the old.
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        if (w == TableWriter) {
            // The journal left by the killed write undoes its pages the next
            // time the table is opened: the program sees the previous days,
            // and the file is the previous file again.
            DayTable t;
            t.setFolder(m_folder);
            t.setTableName(fileName(w));
            t.open();
            t.close();
            QCOMPARE(storedRows(target(w)), rowsBefore);
        }
        if (w == SlipWriter) {
            // Stopped at the picture's rename, with the row put in the
            // archive's open transaction: the row never landed, the PDF
            // was not replaced.
            QCOMPARE(SlipArchive(m_folder + SlipArchive::fileName()).find(1, QStringLiteral("0302")),
                     std::optional(march(12345)));
            QCOMPARE(readBytes(pdf), pdfBefore);
        }
        QCOMPARE(readBytes(target(w)), before);
    }
};

// The child of the interrupted write: one write of new content, which the
// stand-in system calls stop before it replaces the old.
static int childWrite()
{
    setDecimalSeparator('.');
    setProgramFolder(qEnvironmentVariable("BERLIVO_FOLDER"));
    const QString error = raised([] { write(Writer(qEnvironmentVariableIntValue(childVariable)), true); });
    std::fprintf(stderr, "the write was not stopped: %s\n", qPrintable(error));
    return 3;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (isChild())
        return childWrite();
    TestWriteFaults test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_writefaults.moc"
