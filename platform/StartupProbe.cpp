#include "platform/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace platform {

namespace {

double nanoseconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e9 + double(now.tv_nsec);
}

double msSinceStart()
{
    bool exact = false;
    const qint64 launched = qgetenv("HARUNIRE_LAUNCH_MONOTONIC_NS").toLongLong(&exact);
    if (exact)
        return (nanoseconds(CLOCK_MONOTONIC) - double(launched)) / 1e6;

    // Field 22 of /proc/self/stat is the start time in clock ticks since
    // boot; the name in field 2 may hold blanks, so count from its ')'.
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    constexpr int startTimeAfterName = 22 - 3;
    if (fields.size() <= startTimeAfterName)
        return -1;
    const double startNs = fields[startTimeAfterName].toDouble() / double(sysconf(_SC_CLK_TCK)) * 1e9;
    return (nanoseconds(CLOCK_BOOTTIME) - startNs) / 1e6;
}

class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        watched->removeEventFilter(this);
        // Queued, so the figure includes the children's paint and the
        // flush to the screen that follow the window's own paint event.
        QMetaObject::invokeMethod(
            this,
            [] {
                std::printf("first paint: %.3f ms\n", msSinceStart());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            },
            Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void installStartupProbe(QWidget* window)
{
    if (qEnvironmentVariableIsEmpty("HARUNIRE_EXIT_AFTER_FIRST_PAINT"))
        return;
    window->installEventFilter(new FirstPaintProbe(window));
}

} // namespace platform
