#include "widgets/starttrace.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace starttrace {
namespace {
qint64 nanoseconds(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

struct Moment {
    qint64 wall = nanoseconds(CLOCK_MONOTONIC);
    qint64 cpu = nanoseconds(CLOCK_PROCESS_CPUTIME_ID);
};

// The first step counts from the process's start: the processor's time
// from its very beginning, the clock's from the moment the variable gives
// (the benchmark sets it to the monotonic clock when it starts the
// program), or else from the first step's own call.
Moment &last()
{
    static Moment l = [] {
        Moment m;
        m.cpu = 0;
        bool number = false;
        const qint64 started = qEnvironmentVariable("BERLIVO_START_TRACE").toLongLong(&number);
        if (number && started > 0 && started <= m.wall)
            m.wall = started;
        return m;
    }();
    return l;
}

class FirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            mark("first paint");
            // Once the painted picture is flushed, at the next turn of the loop.
            QTimer::singleShot(0, [] {
                mark("first event-loop turn");
                std::printf("%lld\n", static_cast<long long>(nanoseconds(CLOCK_MONOTONIC)));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};
} // namespace

bool on()
{
    static const bool enabled = qEnvironmentVariableIsSet("BERLIVO_START_TRACE");
    return enabled;
}

void mark(const char *step)
{
    if (!on())
        return;
    const Moment now;
    std::fprintf(stderr, "%-28s %8.2f ms %8.2f ms cpu\n", step, double(now.wall - last().wall) / 1e6,
                 double(now.cpu - last().cpu) / 1e6);
    last() = now;
}

void endAfterFirstPaint(QWidget *window)
{
    if (on())
        window->installEventFilter(new FirstPaint(window));
}

} // namespace starttrace
