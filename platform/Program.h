#pragma once
#include "platform/Modes.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

// What tells the two programs apart at start-up.
struct ProgramInfo {
    QString name;        // for --help: "multisite", "sprainentry"
    QString windowClass; // the single-instance guard's class: "TForm1", "TForm6"
    QString title;       // the application title: names the error box
};

using WindowFactory = std::function<std::unique_ptr<QWidget>(const QString& databaseFolder, std::optional<char> mode)>;

// The whole life of one of the programs: the command line (read before a
// display is needed, so --help works in a plain terminal), the single-instance
// guard, the application title, the font substitutions, the window and the
// event loop. Returns the process's exit code.
int runProgram(int argc, char** argv, const ProgramInfo& info, const WindowFactory& makeWindow);

} // namespace platform
