// Press latency of both windows, side by side with the durable-write floor of
// this machine, and its growth when the fee table holds 100,000 rows.
//
//   bench_presses [--visits N] [--scale-visits N] [--dir FOLDER]
//   bench_presses --memory-child multisite|sprainentry [--visits N]
//
// The databases go into a fresh folder under FOLDER (default: the folder this
// program is in), which must be on a real disk: a post's cost is its fsyncs.
// The memory child runs one window through the workload on whatever platform
// the environment names and prints its resident memory after visit 100 and
// after the last visit; bench_startup reads those lines and its peak.
#include "DurableFloor.h"
#include "Stats.h"
#include "SyncCounter.h"
#include "Workload.h"

#include "InitDb.h"
#include "platform/Fonts.h"
#include "tables/Schema.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <sqlite3.h>
#include <sys/vfs.h>

using namespace bench;

namespace {

constexpr double medianGoal = 1.5; // times the floor of the press's posts
constexpr double p99GoalMs = 25;
constexpr double scaleGoal = 1.2;
constexpr long tmpfsMagic = 0x01021994;

struct Options {
    int visits = 1000;
    int scaleVisits = 200;
    QString dir;
    QString memoryChild;
};

Options parse(const QStringList& args)
{
    Options o;
    o.dir = QCoreApplication::applicationDirPath();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--visits"))
            o.visits = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--scale-visits"))
            o.scaleVisits = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--dir"))
            o.dir = args[i + 1];
        else if (args[i] == QLatin1String("--memory-child"))
            o.memoryChild = args[i + 1];
    }
    return o;
}

bool onTmpfs(const QString& path)
{
    struct statfs fs {};
    return statfs(QFile::encodeName(path).constData(), &fs) == 0 && long(fs.f_type) == tmpfsMagic;
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// A click, and everything it leaves queued, the repaint of the window
// included: the operator waits until the screen shows the result.
struct Press {
    double handler; // ms from the click to the handler's return
    double total;   // ms until the window is idle again
};

Press timedClick(QPushButton* button)
{
    const auto start = std::chrono::steady_clock::now();
    button->click();
    const double handler = msSince(start);
    QApplication::processEvents();
    return {handler, msSince(start)};
}

QString makeDatabase(const QString& folder)
{
    if (!tools::createDatabase(folder)) {
        std::fprintf(stderr, "cannot create a database in %s\n", qPrintable(folder));
        std::exit(1);
    }
    return folder;
}

// Patients of earlier visits, stored behind the working record.
void addRows(const QString& folder, int rows)
{
    sqlite3* db = nullptr;
    const QByteArray file = QDir(folder).filePath(QString::fromUtf8(tables::schema::DatabaseFile)).toUtf8();
    sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const QByteArray sql =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + QByteArray::number(rows)
        + ") INSERT INTO \"料金\" (\"個人id\", \"カナ氏名\", \"氏名\", \"初検料\", \"保険料金合計\", \"一部負担金\","
          " \"窓口料金\", \"負担率\", \"年月日\") SELECT i, 'ヤマダ', '山田 花子', 15700000, 42300000, 12700000,"
          " 12700000, '３割', '2024-06-03' FROM n";
    char* error = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "cannot fill the fee table: %s\n", error ? error : "?");
        std::exit(1);
    }
    sqlite3_close(db);
}

struct Samples {
    std::vector<double> press;   // ms
    std::vector<double> handler; // ms of the press before the repaint
    std::vector<double> floor;   // ms of as many bare transactions as the press made
    std::size_t errors = 0;
    QString firstError;
};

// Presses by family and by the number of durable transactions they made: a
// toggle that withdraws a fee, or a reset of what is already empty, writes
// nothing, and mixing such presses with writing ones would blur both.
using Key = std::pair<int, int>; // family, posts

void runLatency(const Options& o, const QString& folder)
{
    DurableFloor floor(folder + QStringLiteral("/floor"));
    std::vector<std::unique_ptr<Driver>> drivers;
    for (const Script& script : scripts())
        drivers.push_back(std::make_unique<Driver>(
            script, makeDatabase(folder + u'/' + QString::fromLatin1(script.program))));
    std::vector<std::map<Key, Samples>> samples(drivers.size());
    for (auto& driver : drivers)
        driver->runVisit(0, [](int, QPushButton* button) { timedClick(button); }); // warm-up, not counted

    for (int visit = 1; visit <= o.visits; ++visit) {
        for (std::size_t w = 0; w < drivers.size(); ++w) {
            drivers[w]->runVisit(visit, [&](int family, QPushButton* button) {
                const long long commitsBefore = durableCommits();
                const std::size_t errorsBefore = errorsShown().size();
                const Press press = timedClick(button);
                const int posts = int(durableCommits() - commitsBefore);
                Samples& s = samples[w][{family, posts}];
                s.press.push_back(press.total);
                s.handler.push_back(press.handler);
                s.floor.push_back(posts ? floor.run(posts) : 0.0);
                if (errorsShown().size() > errorsBefore) {
                    if (!s.errors)
                        s.firstError = errorsShown()[errorsBefore];
                    s.errors += errorsShown().size() - errorsBefore;
                }
            });
        }
        if (visit % 100 == 0)
            std::fprintf(stderr, "  press latency: visit %d of %d\n", visit, o.visits);
    }

    std::vector<double> oneTransaction;
    for (int i = 0; i < 200; ++i)
        oneTransaction.push_back(floor.run(1));
    std::printf("\nPress latency: %d visits through both windows (offscreen), databases in %s\n", o.visits,
                qPrintable(folder));
    std::printf("floor: one durable transaction takes %.2f ms (median), %.2f ms (p99) back to back\n",
                median(oneTransaction), percentile(oneTransaction, 0.99));
    std::printf("goals: median <= %.1f x the floor of the same number of posts; p99 <= %.0f ms\n\n", medianGoal,
                p99GoalMs);
    std::printf("%-12s %-24s %5s %7s %8s %8s %8s %6s %8s %8s  %s\n", "window", "family", "posts", "presses",
                "median", "handler", "floor", "ratio", "p99", "floor99", "verdict");
    for (std::size_t w = 0; w < drivers.size(); ++w) {
        const Script& script = drivers[w]->script();
        for (const auto& [key, s] : samples[w]) {
            const double med = median(s.press), p99 = percentile(s.press, 0.99);
            const double floorMed = median(s.floor), floorP99 = percentile(s.floor, 0.99);
            const bool medianMet = key.second == 0 || med <= medianGoal * floorMed;
            const bool p99Met = p99 <= p99GoalMs;
            QString verdict = bench::verdict({{"median", medianMet}, {"p99", p99Met}});
            if (s.errors)
                verdict += QStringLiteral("  (%1 error boxes, first: %2)").arg(s.errors).arg(s.firstError);
            const QString ratio = key.second ? QString::number(med / floorMed, 'f', 2) : QStringLiteral("-");
            std::printf("%-12s %-24s %5d %7zu %8.2f %8.2f %8.2f %6s %8.2f %8.2f  %s\n", script.program,
                        script.families[key.first].name, key.second, s.press.size(), med, median(s.handler),
                        floorMed, qPrintable(ratio), p99, floorP99, qPrintable(verdict));
        }
    }
    std::printf("(ms; a family's presses are split by the durable transactions (posts) they made; handler = the\n"
                " press without the repaint; floor = as many bare transactions, timed right after each press)\n");
}

void runScale(const Options& o, const QString& folder)
{
    constexpr int rows = 100000;
    struct Pair {
        std::unique_ptr<Driver> small, large;
        std::map<int, std::vector<double>> smallPresses, largePresses; // by posts
    };
    std::vector<Pair> pairs;
    for (const Script& script : scripts()) {
        const QString program = QString::fromLatin1(script.program);
        const QString large = makeDatabase(folder + QStringLiteral("/large-") + program);
        addRows(large, rows);
        pairs.push_back({std::make_unique<Driver>(script, makeDatabase(folder + QStringLiteral("/small-") + program)),
                         std::make_unique<Driver>(script, large), {}, {}});
    }
    for (Pair& p : pairs) {
        for (Driver* d : {p.small.get(), p.large.get()})
            d->runVisit(0, [](int, QPushButton* button) { timedClick(button); });
    }
    const auto into = [](std::map<int, std::vector<double>>& presses) {
        return [&presses](int, QPushButton* button) {
            const long long before = durableCommits();
            const double ms = timedClick(button).total;
            presses[int(durableCommits() - before)].push_back(ms);
        };
    };
    for (int visit = 1; visit <= o.scaleVisits; ++visit) {
        for (Pair& p : pairs) {
            p.small->runVisit(visit, into(p.smallPresses));
            p.large->runVisit(visit, into(p.largePresses));
        }
        if (visit % 50 == 0)
            std::fprintf(stderr, "  scale: visit %d of %d\n", visit, o.scaleVisits);
    }
    std::printf("\nScale: every press of %d visits, fee table of %d rows against one row, by posts per press\n"
                "(goal: median <= %.1fx)\n\n",
                o.scaleVisits, rows, scaleGoal);
    std::printf("%-12s %5s %7s %12s %12s %6s %12s %12s %6s  %s\n", "window", "posts", "presses", "median 1 row",
                "median 100k", "ratio", "p99 1 row", "p99 100k", "ratio", "verdict");
    for (const Pair& p : pairs) {
        for (const auto& [posts, small] : p.smallPresses) {
            const auto found = p.largePresses.find(posts);
            if (found == p.largePresses.end())
                continue;
            const std::vector<double>& large = found->second;
            const double ms = median(small), ml = median(large);
            const double ps = percentile(small, 0.99), pl = percentile(large, 0.99);
            std::printf("%-12s %5d %7zu %12.2f %12.2f %6.2f %12.2f %12.2f %6.2f  %s\n", p.small->script().program,
                        posts, small.size(), ms, ml, ml / ms, ps, pl, pl / ps,
                        qPrintable(verdict({{"median", ml <= scaleGoal * ms}})));
        }
    }
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

int runMemoryChild(const Options& o, const QString& folder)
{
    const Script* script = nullptr;
    for (const Script& s : scripts())
        if (o.memoryChild == QLatin1String(s.program))
            script = &s;
    if (!script) {
        std::fprintf(stderr, "no window named %s\n", qPrintable(o.memoryChild));
        return 2;
    }
    Driver driver(*script, makeDatabase(folder + QStringLiteral("/sa")));
    // Closing ends the program; a window shown again after every close would
    // leave Qt a focus connection per visit that the program never makes.
    const auto press = [script](int family, QPushButton* button) {
        if (QByteArray(script->families[family].name) != "close")
            timedClick(button);
    };
    for (int visit = 1; visit <= o.visits; ++visit) {
        driver.runVisit(visit, press);
        if (visit == 100 || visit == o.visits)
            std::printf("resident after visit %d: %ld kB\n", visit, residentKb());
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const bool memoryChild = args.contains(QLatin1String("--memory-child"));
    if (!memoryChild)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    countDurableCommits(); // before any connection opens
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false); // the close buttons are pressed too
    platform::installFonts();
    installSeams();
    const Options o = parse(args);

    if (memoryChild) {
        // Resident memory does not depend on the disk, and a RAM disk lets
        // the 1,000 visits run in seconds instead of minutes.
        const QString base = onTmpfs(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm") : o.dir;
        QTemporaryDir dir(base + QStringLiteral("/harunire-memory-XXXXXX"));
        return runMemoryChild(o, dir.path());
    }

    QTemporaryDir dir(o.dir + QStringLiteral("/bench-XXXXXX"));
    if (!dir.isValid() || onTmpfs(dir.path())) {
        std::fprintf(stderr, "%s is not a folder on a real disk; name one with --dir\n", qPrintable(o.dir));
        return 2;
    }
    runLatency(o, dir.path());
    if (o.scaleVisits > 0)
        runScale(o, dir.path());
    return 0;
}
