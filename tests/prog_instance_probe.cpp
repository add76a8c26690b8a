// Stand-in for a program's start-up, for the single-instance tests: takes the
// window class from its command line and says on stdout what happened.
#include "platform/SingleInstance.h"

#include <QApplication>
#include <QTextStream>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString windowClass = app.arguments().value(1);
    QTextStream out(stdout);
    platform::SingleInstance instance(windowClass);
    if (!instance.acquire()) {
        out << "busy" << Qt::endl;
        return 0;
    }
    QWidget window;
    window.setWindowTitle(windowClass);
    window.show();
    QObject::connect(&instance, &platform::SingleInstance::raised, [&out] { out << "raised" << Qt::endl; });
    instance.listen(&window);
    out << "acquired" << Qt::endl;
    return app.exec();
}
