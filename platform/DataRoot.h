#pragma once
#include <QString>

namespace platform {

// Where the installation keeps its data: $HARUNIRE_ROOT when set and not
// empty, else $XDG_DATA_HOME/harunire, else ~/.local/share/harunire.
QString dataRoot();
// The folder of the shared database: <root>/sa.
QString databaseFolder();
// A program of the installation, e.g. the help program: <root>/<name>.
QString programPath(const QString& name);

} // namespace platform
