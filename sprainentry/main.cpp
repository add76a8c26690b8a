#include "sakusei.h"

#include "platform/DataRoot.h"
#include "platform/Fonts.h"
#include "platform/Modes.h"
#include "platform/SingleInstance.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    // The command line is read before the application connects to a display,
    // so --help works in a plain terminal.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const platform::StartOptions options = platform::parseStartOptions(args);
    if (options.help || !options.error.isEmpty()) {
        const QString text = (options.error.isEmpty() ? QString() : options.error + u'\n')
                             + platform::helpText(QStringLiteral("sprainentry"));
        std::fputs(text.toLocal8Bit().constData(), options.error.isEmpty() ? stdout : stderr);
        return options.error.isEmpty() ? 0 : 2;
    }

    QApplication app(argc, argv);
    platform::SingleInstance instance(QStringLiteral("TForm6"));
    if (!instance.acquire())
        return 0;
    // The application's name titles the error box; as the display name it
    // would also be appended to the window caption, which reads as designed.
    QCoreApplication::setApplicationName(QStringLiteral("捻挫・打撲・挫傷入力(サンプル)"));
    platform::installFontSubstitutions();

    TForm6 window(platform::databaseFolder(), options.mode);
    window.show();
    instance.listen(&window);
    return app.exec();
}
