// harunire-initdb: creates the data folder's database, or loads a clinic's
// own price list into it.
#include "platform/DataRoot.h"
#include "Error.h"
#include "InitDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {
void say(const QString& text) { std::fputs((text + u'\n').toLocal8Bit().constData(), stdout); }
void complain(const QString& text) { std::fputs((text + u'\n').toLocal8Bit().constData(), stderr); }

const char* const kUsage =
    "Usage: harunire-initdb [--prices FILE]\n"
    "\n"
    "Creates <root>/sa/tables.sqlite3 with the fee table, the extra-fee table and\n"
    "the base-fee table (one record of the shipped sample price list). An existing\n"
    "database is left as it is.\n"
    "\n"
    "  --prices FILE  load the clinic's own price list (format: data/prices.txt)\n"
    "                 into the base-fee record, creating the database if needed.\n"
    "\n"
    "<root> is $HARUNIRE_ROOT if set, else $XDG_DATA_HOME/harunire\n"
    "(~/.local/share/harunire).\n";
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString pricesFile;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--help" || args[i] == u"-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (args[i] == u"--prices" && i + 1 < args.size()) {
            pricesFile = args[++i];
            continue;
        }
        std::fputs(kUsage, stderr);
        return 2;
    }

    const QString folder = platform::databaseFolder();
    const QString file = QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("tables.sqlite3")));
    try {
        if (pricesFile.isEmpty()) {
            if (tools::createDatabase(folder)) say(QStringLiteral("created %1").arg(file));
            else say(QStringLiteral("%1 already exists; nothing changed").arg(file));
            return 0;
        }
        QFile in(pricesFile);
        if (!in.open(QIODevice::ReadOnly)) {
            complain(QStringLiteral("cannot read %1").arg(pricesFile));
            return 1;
        }
        tools::loadPrices(folder, tools::parsePrices(QString::fromUtf8(in.readAll()), pricesFile));
        say(QStringLiteral("loaded %1 into %2").arg(pricesFile, file));
        return 0;
    } catch (const tables::Error& e) {
        complain(e.message());
        return 1;
    }
}
