#include "Unit1.h"

#include "platform/DataRoot.h"
#include "platform/Fonts.h"
#include "platform/Modes.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // Read before the application connects to a display, so --help works in a plain terminal.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const platform::StartOptions options = platform::parseStartOptions(args);
    if (options.help || !options.error.isEmpty()) {
        const QString text = (options.error.isEmpty() ? QString() : options.error + u'\n')
                             + platform::helpText(QStringLiteral("multisite"));
        std::fputs(text.toLocal8Bit().constData(), options.error.isEmpty() ? stdout : stderr);
        return options.error.isEmpty() ? 0 : 2;
    }

    QApplication app(argc, argv);
    platform::SingleInstance instance(QStringLiteral("TForm1"));
    if (!instance.acquire())
        return 0;
    // The application's name, not its display name: a display name would be
    // appended to the window caption, which must read exactly as designed.
    QCoreApplication::setApplicationName(QStringLiteral("多部位入力"));
    platform::installFontSubstitutions();

    TForm1 window(platform::databaseFolder(), options.mode);
    window.show();
    instance.listen(&window);
    return app.exec();
}
