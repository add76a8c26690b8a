#include "platform/DataRoot.h"

#include <QDir>
#include <QtGlobal>

namespace platform {

QString dataRoot()
{
    const QString root = qEnvironmentVariable("HARUNIRE_ROOT");
    if (!root.isEmpty())
        return root;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // The XDG rules say a relative value is invalid and must be ignored.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/harunire");
}

QString databaseFolder()
{
    return dataRoot() + QStringLiteral("/sa");
}

QString programPath(const QString& name)
{
    return dataRoot() + QLatin1Char('/') + name;
}

} // namespace platform
