#pragma once
#include <QDate>
#include <functional>

namespace platform {

// Today's local date, or what the installed clock says.
QDate today();

// Tests fix the date; an empty clock restores the real one. Returns the previous clock.
using Clock = std::function<QDate()>;
Clock setClock(Clock clock);

} // namespace platform
