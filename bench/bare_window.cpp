// The floor for start-up and memory: an empty Qt window of the multi-site
// window's size, with the same first-paint probe as the programs. With
// --japanese-text it shows one line in the programs' Gothic face as well, to
// tell what loading a Japanese font costs apart from the programs' own work.
#include "platform/Fonts.h"
#include "platform/StartupProbe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(911, 494);
    window.setWindowTitle(QStringLiteral("bare window"));
    if (QCoreApplication::arguments().contains(QLatin1String("--japanese-text"))) {
        platform::installFonts();
        auto* line = new QLabel(QStringLiteral("多部位入力　捻挫打撲1　初検料　計算"), &window);
        QFont face(QStringLiteral("ＭＳ Ｐゴシック"));
        face.setPixelSize(12);
        line->setFont(face);
        line->move(8, 8);
    }
    platform::installStartupProbe(&window);
    window.show();
    return app.exec();
}
