#pragma once
#include <QString>
#include <functional>

namespace platform {

// Starts the help program by its path, detached, without a shell and without
// arguments. Whether it started is not looked at: a missing help program
// leaves the window as it was.
void startHelp(const QString& programPath);

// What startHelp runs; tests install a recorder, an empty launcher restores
// the real one. Returns the previous launcher.
using HelpLauncher = std::function<void(const QString&)>;
HelpLauncher setHelpLauncher(HelpLauncher launcher);

} // namespace platform
