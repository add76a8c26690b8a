#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The command line of both programs: `--mode a|b|c` (or `--mode=a`) picks one
// of the window's alternative layouts, `--help` (or `-h`) asks for the usage.
struct StartOptions {
    std::optional<char> mode;
    bool help = false;
    QString error; // not empty: the command line was not understood, in Japanese
};

// `args` as QCoreApplication::arguments() gives them, the program name first.
StartOptions parseStartOptions(const QStringList& args);
// The layout asked for; none when absent or not understood.
std::optional<char> parseMode(const QStringList& args);
// The usage text for --help and for a command line that was not understood.
QString helpText(const QString& programName);

} // namespace platform
