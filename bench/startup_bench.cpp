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
//   program    the program itself, from its laid-out folder, as a user starts
//              it (its folder's lock, its folder made ready, its windows):
//              traced (BERLIVO_START_TRACE), it ends once its main window is painted
//   as-before  the windows alone in this process, with the work they now
//              leave until it is needed (the icons' pictures, the hidden
//              windows' polish) done before the main window shows, as it used to be
//
// Prints Google Benchmark's JSON with --benchmark_format=json, so that
// scripts/bench reads it like the other benchmarks. --phases prints where
// the program's start spends its time, step by step, from its own trace.

#include "common/environment.h"
#include "widgets/application.h"
#include "windows/mainwindow.h"
#include "windows/windowset.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
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

// Reads the whole of `fd` into `into`, giving up (false) at `deadline`.
bool readAll(int fd, std::string &into, qint64 deadline)
{
    char buf[4096];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const qint64 left = (deadline - monotonicNs()) / 1000000;
        if (left <= 0 || poll(&p, 1, int(left)) <= 0)
            return false;
        const ssize_t got = read(fd, buf, sizeof buf);
        if (got <= 0)
            return got == 0;
        into.append(buf, size_t(got));
    }
}

// Runs a case in a fresh process. The program's own trace goes to `trace`
// when given, else is not asked for.
Sample spawnCase(const std::string &self, const std::string &which, std::string *trace = nullptr)
{
    std::vector<std::string> args;
    if (which == "bare")
        args = {self.substr(0, self.rfind('/') + 1) + "helpers/bare_window"};
    else if (which == "program")
        args = {BERLIVO_PROGRAM_DIR "/berlivo"};
    else
        args = {self, "--case", which};
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return {-1, 0};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    // The platform's remarks would drown the figures.
    if (trace)
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const qint64 start = monotonicNs();
    // The program traced counts its first step from this moment.
    std::string traced = "BERLIVO_START_TRACE=" + std::to_string(start);
    std::vector<char *> env;
    for (char **e = environ; *e; ++e)
        if (std::strncmp(*e, "BERLIVO_START_TRACE=", 20) != 0)
            env.push_back(*e);
    if (which == "program")
        env.push_back(traced.data());
    env.push_back(nullptr);
    pid_t pid;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    if (spawned != 0)
        return {-1, 0};
    // A case that never paints (a box waiting for an answer) fails, not hangs.
    const qint64 deadline = start + qint64(30) * 1000000000;
    std::string painted, said;
    const bool whole = readAll(out[0], painted, deadline) && (!trace || readAll(err[0], said, deadline));
    close(out[0]);
    close(err[0]);
    if (!whole)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (trace)
        *trace = said;
    if (!whole || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || painted.empty())
        return {-1, 0};
    return {double(std::atoll(painted.c_str()) - start) / 1e6, usage.ru_maxrss};
}

// The program's trace, the steps of its start one a line, and its whole time.
int phases(const std::string &self)
{
    std::string trace;
    const Sample s = spawnCase(self, "program", &trace);
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);)
        if (line.size() > 7 && line.compare(line.size() - 7, 7, " ms cpu") == 0)
            std::printf("%s\n", line.c_str());
    if (s.ms < 0) {
        std::fprintf(stderr, "the program did not paint its window\n");
        return 1;
    }
    std::printf("%-28s %8.2f ms, peak memory %.1f MiB\n", "whole start", s.ms, double(s.peakKb) / 1024);
    return 0;
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
    if (argc >= 2 && std::strcmp(argv[1], "--phases") == 0)
        return phases(self);
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
