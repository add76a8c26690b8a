#include "platform/Help.h"

#include <QProcess>
#include <utility>

namespace platform {

namespace {
HelpLauncher& currentLauncher()
{
    static HelpLauncher launcher;
    return launcher;
}
} // namespace

void startHelp(const QString& programPath)
{
    if (const HelpLauncher& launcher = currentLauncher())
        launcher(programPath);
    else
        QProcess::startDetached(programPath, {});
}

HelpLauncher setHelpLauncher(HelpLauncher launcher)
{
    return std::exchange(currentLauncher(), std::move(launcher));
}

} // namespace platform
