#pragma once

class QWidget;

namespace platform {

// Start-up measurement for the benchmark, inert unless the environment asks
// for it. With HARUNIRE_EXIT_AFTER_FIRST_PAINT set, the first time `window`
// has been painted the program prints
//     first paint: <milliseconds since the process started> ms
// on standard output and leaves its event loop with status 0.
//
// A launcher that wants an exact figure passes HARUNIRE_LAUNCH_MONOTONIC_NS,
// its CLOCK_MONOTONIC reading in nanoseconds taken just before it started
// the process; without it the kernel's record of the start is used, which
// counts in clock ticks (10 ms).
//
// Call it before window->show().
void installStartupProbe(QWidget* window);

} // namespace platform
