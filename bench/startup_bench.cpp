// Start-up and peak memory of the program against a bare Qt 6 window.
//
// Each case runs in a process of its own, started afresh every time: the
// time is taken from just before the process is started to the moment its
// first window has been painted, and the peak memory is the process's
// resident high-water mark at that moment. The cases run interleaved, so a
// machine that slows down weighs on all of them alike.
//
//   bare       a QApplication and one empty top-level window: bare_window,
//              a program of its own in helpers/ beside this one, linked with Qt Widgets alone
//   program    what the program does before its main window paints
//   as-before  the same, with the work it now leaves until it is needed
//              (fonts, translations, the parts of hidden windows built on
//              first use) done before the main window shows, as it used to be
//
// Prints Google Benchmark's JSON with --benchmark_format=json, so that
// scripts/bench reads it like the other benchmarks.

#include "common/environment.h"
#include "widgets/application.h"
#include "widgets/form.h"
#include "windows/aboutbox.h"
#include "windows/background.h"
#include "windows/declarationwindow.h"
#include "windows/grossslipwindow.h"
#include "windows/hourswindow.h"
#include "windows/mainwindow.h"
#include "windows/monthreviewwindow.h"
#include "windows/netslipwindow.h"
#include "windows/parameterswindow.h"
#include "windows/printsavewindow.h"
#include "windows/slipviewerwindow.h"
#include "windows/windowset.h"
#include "windows/yearsummarywindow.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {
qint64 monotonicNs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Reports the moment the window's first paint has been done, then leaves at
// once: what the case costs is what came before.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Once the paint event has been handled and the picture flushed.
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", static_cast<long long>(monotonicNs()));
                std::fflush(stdout);
                _exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

// Where the time goes before the main window paints, phase by phase
// (startup_bench --phases): for looking, not for comparing.
int phases(int argc, char **argv)
{
    const qint64 t0 = monotonicNs();
    qint64 last = t0;
    auto mark = [&](const char *what) {
        const qint64 t = monotonicNs();
        std::fprintf(stderr, "%-28s %7.2f ms\n", what, double(t - last) / 1e6);
        last = t;
    };
    QApplication app(argc, argv);
    mark("QApplication");
    setUpApplication(app);
    mark("setUpApplication");
    WindowSet &w = win();
    w.Entree = new TEntree;
    mark("TEntree");
    w.Parametres = new TParametres;
    mark("TParametres");
    w.Horaire = new THoraire;
    mark("THoraire");
    w.Bulletin = new TBulletin;
    mark("TBulletin");
    w.Recap = new TRecap;
    mark("TRecap");
    w.Bulletinbrut = new TBulletinbrut;
    mark("TBulletinbrut");
    w.Revisu = new TRevisu;
    mark("TRevisu");
    w.BO = new TBO;
    mark("TBO");
    w.AboutBox = new TAboutBox;
    mark("TAboutBox");
    w.BVPfond = new TBVPfond;
    mark("TBVPfond");
    w.Declaration = new TDeclaration;
    mark("TDeclaration");
    w.Annuel = new TAnnuel;
    mark("TAnnuel");
    showAndActivate(w.Entree);
    mark("show");
    FirstPaint firstPaint;
    w.Entree->installEventFilter(&firstPaint);
    QTimer::singleShot(0, [&] { mark("first events"); });
    return app.exec();
}

int runCase(const std::string &which, int argc, char **argv)
{
    QApplication app(argc, argv);
    // A case that never paints (a box waiting for an answer) fails, not hangs.
    QTimer::singleShot(30000, [] { _exit(3); });
    FirstPaint firstPaint;
    setUpApplication(app);
    createWindows();
    if (which == "as-before")
        prepareEverythingNow();
    QWidget *main = win().Entree;
    main->installEventFilter(&firstPaint);
    showAndActivate(main);
    return app.exec();
}

struct Sample {
    double ms;
    long peakKb;
};

Sample spawnCase(const std::string &self, const char *which)
{
    const bool bare = std::strcmp(which, "bare") == 0;
    const std::string exe = bare ? self.substr(0, self.rfind('/') + 1) + "helpers/bare_window" : self;
    char *args[] = {const_cast<char *>(exe.c_str()), const_cast<char *>("--case"), const_cast<char *>(which), nullptr};
    int out[2];
    if (pipe(out) != 0)
        return {-1, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // The platform's remarks would drown the figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const qint64 start = monotonicNs();
    pid_t pid;
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, args, environ) != 0)
        return {-1, 0};
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buf[64] = {};
    ssize_t n = 0, got;
    while ((got = read(out[0], buf + n, sizeof buf - 1 - size_t(n))) > 0)
        n += got;
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || n == 0)
        return {-1, 0};
    return {double(std::atoll(buf) - start) / 1e6, usage.ru_maxrss};
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    // The program starts from its laid-out folder, help included, as it
    // does when run: elsewhere its start-up check would stop on the message
    // that the help is missing.
    setProgramFolder(QStringLiteral(BERLIVO_PROGRAM_DIR));
    if (argc >= 2 && std::strcmp(argv[1], "--phases") == 0)
        return phases(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--case") == 0)
        return runCase(argv[2], argc, argv);

    bool json = false;
    int runs = 15;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--benchmark_format=json") == 0)
            json = true;
        else if (std::strncmp(argv[i], "--runs=", 7) == 0)
            runs = std::max(1, std::atoi(argv[i] + 7));
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);

    struct Case {
        const char *which;
        const char *name;
        std::vector<double> ms, kb;
    };
    std::vector<Case> cases = {
        {"program", "start-up: program", {}, {}},
        {"as-before", "start-up: program as it was before", {}, {}},
        {"bare", "start-up: bare Qt 6 window (baseline)", {}, {}},
    };
    char path[4096];
    const ssize_t len = readlink("/proc/self/exe", path, sizeof path - 1);
    if (len <= 0)
        return 1;
    const std::string self(path, size_t(len));
    // One warm-up of each, so that the first case does not pay for a cold disk cache.
    for (Case &c : cases)
        if (spawnCase(self, c.which).ms < 0) {
            std::fprintf(stderr, "the %s case did not paint its window\n", c.which);
            return 1;
        }
    for (int r = 0; r < runs; ++r)
        for (Case &c : cases) {
            const Sample s = spawnCase(self, c.which);
            if (s.ms < 0) {
                std::fprintf(stderr, "the %s case did not paint its window\n", c.which);
                return 1;
            }
            c.ms.push_back(s.ms);
            c.kb.push_back(double(s.peakKb));
        }

    if (json) {
        std::printf("{\n  \"context\": {\"runs\": %d},\n  \"benchmarks\": [\n", runs);
        for (size_t i = 0; i < cases.size(); ++i)
            std::printf("    {\"name\": \"%s\", \"run_type\": \"iteration\", \"iterations\": %d, \"real_time\": %.3f, "
                        "\"cpu_time\": %.3f, \"time_unit\": \"ms\", \"peak_rss_kb\": %.0f}%s\n",
                        cases[i].name, runs, median(cases[i].ms), median(cases[i].ms), median(cases[i].kb),
                        i + 1 < cases.size() ? "," : "");
        std::printf("  ]\n}\n");
    } else {
        const Case &bare = cases.back();
        for (const Case &c : cases)
            std::printf("%-45s %8.1f ms %8.0f kB   x%.2f time  x%.2f memory\n", c.name, median(c.ms), median(c.kb),
                        median(c.ms) / median(bare.ms), median(c.kb) / median(bare.kb));
    }
    return 0;
}
