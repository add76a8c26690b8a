// Start-up and memory of both programs against a bare Qt window, each a
// process of its own, on the display of the environment (run under Xvfb for
// real painting; without a display everything runs offscreen).
//
//   bench_startup [--rounds N] [--visits N]
//
// Start-up: process start to the first painted window, told by the probe of
// platform/StartupProbe.h, median of N starts, the programs interleaved.
// Memory: peak resident memory of a process that ran one window through the
// workload of bench_presses, against the bare window's; and resident memory
// after the last visit against after visit 100 (growth is a leak).
#include "InitDb.h"
#include "Stats.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

using bench::median;

namespace {

constexpr double startupGoal = 1.5;
constexpr double memoryGoal = 1.5;
constexpr double growthGoal = 0.02;

struct Run {
    bool finished = false; // on its own, before the time-out
    QByteArray output;
    long peakKb = 0;
};

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Starts `program` with the environment plus `env`, collects its standard
// output, and returns once it ended (killed after `timeoutMs`) with its peak
// resident memory as the kernel counted it.
Run spawn(const QString& program, const QStringList& args, QStringList env, int timeoutMs)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    std::vector<QByteArray> storage;
    const QByteArray path = QFile::encodeName(program);
    storage.push_back(path);
    for (const QString& a : args)
        storage.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    std::vector<QByteArray> envStorage;
    for (char** e = environ; *e; ++e)
        envStorage.emplace_back(*e);
    env << QStringLiteral("HARUNIRE_LAUNCH_MONOTONIC_NS=");
    for (const QString& e : env) {
        const QByteArray entry = e.toLocal8Bit();
        const QByteArray key = entry.left(entry.indexOf('=') + 1);
        std::erase_if(envStorage, [&](const QByteArray& have) { return have.startsWith(key); });
        envStorage.push_back(entry);
    }
    std::vector<char*> envp;
    for (QByteArray& s : envStorage)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    // The start time goes in last, as close to the start as it can be.
    envStorage.back() += QByteArray::number(monotonicNs());
    envp[envStorage.size() - 1] = envStorage.back().data();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    Run run;
    if (rc != 0) {
        close(out[0]);
        return run;
    }
    const long long deadline = monotonicNs() + timeoutMs * 1000000LL;
    char buffer[4096];
    for (;;) {
        const long long left = (deadline - monotonicNs()) / 1000000;
        pollfd p{out[0], POLLIN, 0};
        if (left <= 0 || poll(&p, 1, int(left)) <= 0)
            break;
        const ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0) {
            run.finished = true;
            break;
        }
        run.output.append(buffer, n);
    }
    close(out[0]);
    if (!run.finished)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.finished = run.finished && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKb = usage.ru_maxrss;
    return run;
}

double firstPaintMs(const Run& run)
{
    static const QRegularExpression line(QStringLiteral("first paint: ([0-9.]+) ms"));
    const auto m = line.match(QString::fromLocal8Bit(run.output));
    return run.finished && m.hasMatch() ? m.captured(1).toDouble() : -1;
}

long residentAfter(const Run& run, int visit)
{
    const QRegularExpression line(QStringLiteral("resident after visit %1: ([0-9]+) kB").arg(visit));
    const auto m = line.match(QString::fromLocal8Bit(run.output));
    return m.hasMatch() ? m.captured(1).toLong() : -1;
}

struct Program {
    QString name;
    QString path;
    QStringList args;
    std::vector<double> startMs;
    std::vector<double> startPeakKb;
    bool probeMissing = false;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int rounds = 20;
    int visits = 1000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--rounds"))
            rounds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--visits"))
            visits = args[i + 1].toInt();
    }

    const QDir bin(QCoreApplication::applicationDirPath());
    QTemporaryDir dir(bin.filePath(QStringLiteral("startup-XXXXXX")));
    tools::createDatabase(dir.filePath(QStringLiteral("root/sa")));
    // A lock folder of our own: a copy running elsewhere must not turn our starts away.
    const QString runtime = dir.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    chmod(QFile::encodeName(runtime).constData(), 0700);

    QStringList env{QStringLiteral("HARUNIRE_ROOT=") + dir.filePath(QStringLiteral("root")),
                    QStringLiteral("XDG_RUNTIME_DIR=") + runtime};
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", display ? QStringLiteral("the display %1")
                                                                                   .arg(qEnvironmentVariable("DISPLAY"))
                                                                             : QStringLiteral("offscreen"));
    if (!display && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        env << QStringLiteral("QT_QPA_PLATFORM=offscreen");
    QStringList probe = env;
    probe << QStringLiteral("HARUNIRE_EXIT_AFTER_FIRST_PAINT=1");

    // The bare window is the floor; the one with a line of Japanese text is
    // shown for reference: the part of a program's cost that is the font's.
    std::vector<Program> programs{
        {QStringLiteral("bare window"), bin.filePath(QStringLiteral("bare_window")), {}, {}, {}},
        {QStringLiteral("+ Japanese text"), bin.filePath(QStringLiteral("bare_window")),
         {QStringLiteral("--japanese-text")}, {}, {}},
        {QStringLiteral("multisite"), bin.filePath(QStringLiteral("../multisite/multisite")), {}, {}, {}},
        {QStringLiteral("sprainentry"), bin.filePath(QStringLiteral("../sprainentry/sprainentry")), {}, {}, {}}};
    const auto isReference = [&](const Program& p) { return &p == &programs[0] || &p == &programs[1]; };

    // Round 0 warms the page cache and the font cache; it is not counted.
    for (int round = 0; round <= rounds; ++round) {
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program& p = programs[(k + std::size_t(round)) % programs.size()];
            if (p.probeMissing)
                continue;
            const Run run = spawn(p.path, p.args, probe, 15000);
            const double ms = firstPaintMs(run);
            if (ms < 0) {
                p.probeMissing = true;
                continue;
            }
            if (round > 0) {
                p.startMs.push_back(ms);
                p.startPeakKb.push_back(double(run.peakKb));
            }
        }
    }

    const double bareMs = median(programs[0].startMs);
    const double bareKb = median(programs[0].startPeakKb);
    std::printf("\nStart-up on %s: process start to first painted window, median of %d starts\n"
                "(goal: <= %.1fx the bare window)\n\n",
                qPrintable(platform), rounds, startupGoal);
    std::printf("%-16s %10s %6s %14s  %s\n", "program", "median ms", "ratio", "peak RSS kB", "verdict");
    for (const Program& p : programs) {
        if (p.probeMissing) {
            std::printf("%-16s %10s %6s %14s  %s\n", qPrintable(p.name), "-", "-", "-",
                        "no first-paint report: the program does not call platform::installStartupProbe");
            continue;
        }
        const double ms = median(p.startMs);
        std::printf("%-16s %10.1f %6.2f %14.0f  %s\n", qPrintable(p.name), ms, ms / bareMs, median(p.startPeakKb),
                    isReference(p) ? "" : qPrintable(bench::verdict({{"start-up", ms <= startupGoal * bareMs}})));
    }

    std::printf("\nMemory after %d visits through one window, against the bare window's peak of %.0f kB\n"
                "(%.0f kB with a line of Japanese text)\n"
                "(goals: peak <= %.1fx the bare window; resident after the last visit within %.0f%% of after visit 100)\n\n",
                visits, bareKb, median(programs[1].startPeakKb), memoryGoal, growthGoal * 100);
    std::printf("%-12s %14s %6s %12s %12s %7s  %s\n", "window", "peak RSS kB", "ratio", "RSS @100", "RSS @last",
                "growth", "verdict");
    for (const char* window : {"multisite", "sprainentry"}) {
        const Run run = spawn(bin.filePath(QStringLiteral("bench_presses")),
                              {QStringLiteral("--memory-child"), QString::fromLatin1(window), QStringLiteral("--visits"),
                               QString::number(visits)},
                              env, 3600 * 1000);
        const long at100 = residentAfter(run, std::min(100, visits)), atLast = residentAfter(run, visits);
        if (!run.finished || at100 < 0 || atLast < 0) {
            std::printf("%-12s the workload did not finish\n", window);
            continue;
        }
        const double growth = double(atLast - at100) / double(at100);
        // The kernel's peak lags its current count by a few pages.
        const long peakKb = std::max({run.peakKb, at100, atLast});
        const bool peakMet = double(peakKb) <= memoryGoal * bareKb;
        const bool growthMet = growth <= growthGoal;
        const QString verdict = bench::verdict({{"peak", peakMet}, {"growth", growthMet}});
        std::printf("%-12s %14ld %6.2f %12ld %12ld %6.1f%%  %s\n", window, peakKb, double(peakKb) / bareKb, at100,
                    atLast, growth * 100, qPrintable(verdict));
    }
    return 0;
}
