// The floor for start-up and memory: an empty Qt window of the multi-site
// window's size, with the same first-paint probe as the programs.
#include "platform/StartupProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(911, 494);
    window.setWindowTitle(QStringLiteral("bare window"));
    platform::installStartupProbe(&window);
    window.show();
    return app.exec();
}
