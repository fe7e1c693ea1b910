// What a start does to the data folder: a restore or a slip's save killed
// at each of its steps is found finished or undone, never half done, and the
// user is told; two programs on one folder; the user's folder private.
//
// The killed changes run in a child: the test starts itself again, the
// system calls below stand in for the C library's there, count the renames
// (and the journal's removal) and stop the child at the chosen one; the
// parent kills it with SIGKILL and runs the start-up on the folder.

#include "archive/slipsave.h"
#include "common/journal.h"
#include "datafolder/backup.h"
#include "datafolder/startup.h"
#include "programfolder.h"

#include <QTemporaryDir>

#include <csignal>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fixture;

namespace {
const char *const childVariable = "BERLIVO_STARTUP_CHILD";

bool isChild() { return qEnvironmentVariableIsSet(childVariable); }

template <class F>
F real(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

[[noreturn]] void stopHere()
{
    const char ready[] = "ready\n";
    (void)!::write(STDOUT_FILENO, ready, sizeof ready - 1);
    for (;;)
        ::pause();
}

// One step of a change: the child stops at the one it was told.
void step()
{
    static int steps = 0;
    if (isChild() && ++steps == qEnvironmentVariableIntValue("BERLIVO_STOP_AT"))
        stopHere();
}
} // namespace

extern "C" {
int rename(const char *from, const char *to)
{
    step();
    return real<int (*)(const char *, const char *)>("rename")(from, to);
}
int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    step();
    return real<int (*)(int, const char *, int, const char *)>("renameat")(fromDir, from, toDir, to);
}
int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned flags)
{
    step();
    return real<int (*)(int, const char *, int, const char *, unsigned)>("renameat2")(fromDir, from, toDir, to, flags);
}
int unlink(const char *path)
{
    // The journal's removal is the change's last step.
    if (QByteArray(path).endsWith(QFile::encodeName(journal::fileName())))
        step();
    return real<int (*)(const char *)>("unlink")(path);
}
}

namespace {
const QString firstRates = QStringLiteral(BERLIVO_SOURCE_DIR "/data/Taux.txt");

// A slip of March 2002 for child 1: `fresh` the new one, otherwise the one
// saved before.
SlipSave slip(const QString &folder, bool fresh)
{
    QImage picture(48, 32, QImage::Format_RGB32);
    picture.fill(fresh ? Qt::red : Qt::blue);
    return {folder + "bulljpg/Julie0302.jpg", randomBytes(fresh ? 3000 : 2000, fresh ? 5 : 4),
            fresh ? "%PDF-1.4 nouveau" : "%PDF-1.4 ancien", slipRow("Julie", "0302", fresh ? 54321 : 12345)};
}

struct Child {
    QProcess process;
    // Starts the test again as a child doing `what` on `folder`; `stopAt`
    // is the step it stops at (0: none).
    void start(const QString &what, const QString &folder, const QString &zip = {}, int stopAt = 0)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(childVariable), what);
        env.insert("BERLIVO_FOLDER", folder);
        env.insert("BERLIVO_ZIP", zip);
        env.insert("BERLIVO_STOP_AT", QString::number(stopAt));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QCoreApplication::applicationFilePath(), {});
    }
    // The first line the child says: "ready" (stopped), "done", "taken", "held"...
    QByteArray says()
    {
        while (!process.canReadLine() && process.waitForReadyRead(60000)) {
        }
        return process.readLine().trimmed();
    }
    void kill()
    {
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(30000);
    }
    ~Child()
    {
        if (process.state() != QProcess::NotRunning)
            kill();
    }
};

QString keptFolderIn(const QString &folder)
{
    const QStringList kept = QDir(folder).entryList({backup::keptPrefix + '*'}, QDir::Dirs);
    return kept.isEmpty() ? QString() : kept.first();
}

int modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}
} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    int m_case = 0;

    QString freshFolder()
    {
        const QString folder = m_dir.filePath(QStringLiteral("case%1/").arg(++m_case));
        QDir().mkpath(folder);
        return folder;
    }

private slots:
    void killedRestoreIsFinishedOrUndoneAtStart()
    {
        int finished = 0, untouched = 0;
        for (int n = 1;; ++n) {
            QVERIFY2(n < 60, "the restore never ended");
            const QString folder = freshFolder();
            const QString zip = folder + "../sauvegarde" + QString::number(n) + ".zip";
            fillFolder(folder);
            backup::create(folder, zip);
            const QMap<QString, QByteArray> backedUp = snapshot(folder);
            changeFolder(folder);
            // The folder as the program had it when the restore began.
            startup::prepare(folder, firstRates);
            const QMap<QString, QByteArray> old = snapshot(folder);

            Child child;
            child.start("restore", folder, zip, n);
            const QByteArray said = child.says();
            if (said == "done") {
                // Past the last step: the restore ran to its end.
                QVERIFY(finished > 0 && untouched > 0);
                qInfo("restore killed at each of its %d steps: %d finished, %d untouched", n - 1, finished, untouched);
                break;
            }
            QCOMPARE(said, QByteArray("ready"));
            child.kill();

            const startup::Report report = startup::prepare(folder, firstRates);
            QVERIFY(report.ready);
            QCOMPARE(report.errors, QStringList());
            const QMap<QString, QByteArray> after = snapshot(folder);
            const QString kept = keptFolderIn(folder);
            if (kept.isEmpty()) {
                ++untouched;
                QCOMPARE(after, old);
                QCOMPARE(report.messages, QStringList{texts::restoreNotBegun()});
            } else {
                ++finished;
                QCOMPARE(inside(after, kept + '/', false), backedUp);
                QCOMPARE(inside(after, kept + '/'), old);
                QCOMPARE(report.messages, QStringList{texts::restoreFinished(folder + kept + '/')});
            }
        }
    }

    void killedSlipSaveLandsWholeAtStart()
    {
        // What a save that ran to its end leaves.
        const QString reference = freshFolder();
        folder::layOut(reference, firstRates);
        saveSlip(reference, slip(reference, false));
        saveSlip(reference, slip(reference, true));
        const QMap<QString, QByteArray> saved = snapshot(reference);

        int finished = 0, untouched = 0;
        for (int n = 1;; ++n) {
            QVERIFY2(n < 20, "the save never ended");
            const QString folder = freshFolder();
            folder::layOut(folder, firstRates);
            saveSlip(folder, slip(folder, false));
            const QMap<QString, QByteArray> old = snapshot(folder);

            Child child;
            child.start("slip", folder, {}, n);
            const QByteArray said = child.says();
            if (said == "done") {
                QVERIFY(finished > 0 && untouched > 0);
                qInfo("save killed at each of its %d steps: %d finished, %d untouched", n - 1, finished, untouched);
                break;
            }
            QCOMPARE(said, QByteArray("ready"));
            child.kill();

            const startup::Report report = startup::prepare(folder, firstRates);
            QCOMPARE(report.errors, QStringList());
            const QMap<QString, QByteArray> after = snapshot(folder);
            if (after == old) {
                ++untouched;
                QCOMPARE(report.messages, QStringList{texts::slipSaveNotBegun()});
            } else {
                ++finished;
                // The picture, the PDF and the row, all three new.
                QCOMPARE(after, saved);
                QCOMPARE(report.messages, QStringList{texts::slipSaveFinished("Julie0302.jpg")});
            }
        }
    }

    void journalThatCannotBeTrustedStopsTheStart_data()
    {
        QTest::addColumn<QByteArray>("journal");
        QTest::newRow("cut short") << QByteArray("{\"type\": \"restauration\", \"deplace");
        QTest::newRow("a move out of the folder") << QByteArray(
            "{\"type\": \"restauration\", \"deplacements\": [{\"de\": \"../ailleurs\", \"vers\": \"Taux.txt\"}]}");
        QTest::newRow("an unknown change") << QByteArray("{\"type\": \"autre\", \"deplacements\": []}");
    }
    void journalThatCannotBeTrustedStopsTheStart()
    {
        QFETCH(QByteArray, journal);
        const QString folder = freshFolder();
        writeBytes(folder + journal::fileName(), journal);
        const QMap<QString, QByteArray> before = snapshot(folder);
        const startup::Report report = startup::prepare(folder, firstRates);
        QVERIFY(!report.ready);
        QCOMPARE(report.errors, QStringList{texts::folderNotPrepared(texts::journalUnreadable(folder))});
        // Nothing laid out over a change the program cannot finish.
        QCOMPARE(snapshot(folder), before);
    }

    void oneProgramPerFolder()
    {
        const QString folder = freshFolder();
        Child first;
        first.start("lock", folder);
        QCOMPARE(first.says(), QByteArray("taken"));
        // The second is refused and writes nothing.
        Child second;
        second.start("lock", folder);
        QCOMPARE(second.says(), QByteArray("held"));
        QVERIFY(second.process.waitForFinished(30000));
        QCOMPARE(readBytes(folder + "Paramtre.bvp"), QByteArray("written by the program holding the lock"));
        // A program killed leaves its lock behind: the next start takes it over.
        first.kill();
        QVERIFY(QFileInfo::exists(folder + startup::lockFileName()));
        Child third;
        third.start("lock", folder);
        QCOMPARE(third.says(), QByteArray("taken"));
    }

    void userFolderIsPrivate_data()
    {
        QTest::addColumn<bool>("existing"); // a folder already there, open to all
        QTest::addColumn<bool>("perUser");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");
        QTest::newRow("a new user's folder") << false << true << 0700 << 0600;
        QTest::newRow("a user's folder open to all, tightened") << true << true << 0700 << 0600;
        QTest::newRow("the portable folder keeps its owner's choice") << true << false << 0755 << 0644;
    }
    void userFolderIsPrivate()
    {
        QFETCH(bool, existing);
        QFETCH(bool, perUser);
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        const mode_t before = ::umask(022);
        const QString folder = m_dir.filePath(QStringLiteral("home%1/.local/share/Berlivo/").arg(++m_case));
        if (existing) {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        }
        if (perUser)
            QVERIFY(startup::makePrivate(folder));
        else
            QVERIFY(QDir().mkpath(folder));
        const startup::Report report = startup::prepare(folder, firstRates);
        saveSlip(folder, slip(folder, true));
        ::umask(before);
        QCOMPARE(report.errors, QStringList());
        QCOMPARE(modeOf(folder), folderMode);
        QCOMPARE(modeOf(folder + "bulljpg"), folderMode);
        for (const char *file :
             {"Taux.txt", "Enf1.db", "Bulletins.db", "bulljpg/Julie0302.jpg", "bulljpg/Julie0302.pdf"})
            QCOMPARE(modeOf(folder + QString::fromUtf8(file)), fileMode);
    }
};

// A child: one change on the folder, stopped by the stand-in system calls,
// or the folder's lock taken and held until it is killed.
static int child()
{
    const QString what = qEnvironmentVariable(childVariable);
    const QString folder = qEnvironmentVariable("BERLIVO_FOLDER");
    const auto say = [](const char *text) {
        std::printf("%s\n", text);
        std::fflush(stdout);
    };
    if (what == "lock") {
        startup::FolderLock lock(folder);
        if (lock.take() != startup::FolderLock::State::Taken) {
            say("held");
            return 0;
        }
        writeBytes(folder + "Paramtre.bvp", "written by the program holding the lock");
        say("taken");
        for (;;)
            ::pause();
    }
    try {
        if (what == "restore")
            backup::Restore(folder, qEnvironmentVariable("BERLIVO_ZIP")).apply();
        else
            saveSlip(folder, slip(folder, true));
    } catch (const RuntimeError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 3;
    }
    say("done");
    return 0;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (isChild())
        return child();
    TestStartup test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
