#include "platform/Program.h"

#include "platform/DataRoot.h"
#include "platform/Fonts.h"
#include "platform/SingleInstance.h"
#include "platform/StartupProbe.h"

#include <QApplication>
#include <cstdio>

namespace platform {

int runProgram(int argc, char** argv, const ProgramInfo& info, const WindowFactory& makeWindow)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const StartOptions options = parseStartOptions(args);
    if (options.help || !options.error.isEmpty()) {
        const QString text = (options.error.isEmpty() ? QString() : options.error + u'\n') + helpText(info.name);
        std::fputs(text.toLocal8Bit().constData(), options.error.isEmpty() ? stdout : stderr);
        return options.error.isEmpty() ? 0 : 2;
    }

    QApplication app(argc, argv);
    SingleInstance instance(info.windowClass);
    if (!instance.acquire())
        return 0;
    // The application's name titles the error box; as the display name it
    // would also be appended to the window caption, which reads as designed.
    QCoreApplication::setApplicationName(info.title);
    installFonts();

    const std::unique_ptr<QWidget> window = makeWindow(databaseFolder(), options.mode);
    installStartupProbe(window.get());
    window->show();
    instance.listen(window.get());
    return app.exec();
}

} // namespace platform
