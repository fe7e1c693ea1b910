// The yardstick of the start-up benchmark: a bare Qt 6 window, linked with
// Qt Widgets alone, that prints the monotonic clock in nanoseconds once its
// first paint is done and leaves at once.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

class BareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        if (m_painted)
            return;
        m_painted = true;
        QTimer::singleShot(0, [] {
            timespec ts;
            clock_gettime(CLOCK_MONOTONIC, &ts);
            std::printf("%lld\n", static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
            std::fflush(stdout);
            _exit(0);
        });
    }

private:
    bool m_painted = false;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    BareWindow window;
    window.resize(640, 480);
    window.show();
    return app.exec();
}
