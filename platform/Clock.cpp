#include "platform/Clock.h"

#include <utility>

namespace platform {

namespace {
Clock& currentClock()
{
    static Clock clock;
    return clock;
}
} // namespace

QDate today()
{
    if (const Clock& clock = currentClock())
        return clock();
    return QDate::currentDate();
}

Clock setClock(Clock clock)
{
    return std::exchange(currentClock(), std::move(clock));
}

} // namespace platform
