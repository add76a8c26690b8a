// Killing a program in the middle of a session, posts included, never leaves
// a damaged file or a record that no post produced: after every SIGKILL the
// database passes its integrity check and each record is one the program
// logged just before posting it (prog_crash_session.cpp), or the one the
// folder started with.
//
// HARUNIRE_CRASH_KILLS sets the kills per program (tools/soak.sh runs many),
// HARUNIRE_CRASH_SEED replays a run; the figures go to stdout for the soak.
#include "RecordState.h"
#include "TempDatabase.h"

#include "tables/Error.h"
#include "tables/Table.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <random>
#include <set>

namespace {

const char* const recordTables[] = {tables::schema::FeeTable, tables::schema::ExtraFeeTable};
const QString noRecord = QStringLiteral("<no record>"); // initdb leaves both record tables empty

int fromEnvironment(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// The log's whole lines from byte `from` on, as (table, record state).
std::vector<std::pair<QString, QString>> logLines(const QString& log, qint64 from = 0)
{
    QFile file(log);
    std::vector<std::pair<QString, QString>> lines;
    if (!file.open(QIODevice::ReadOnly) || !file.seek(from))
        return lines;
    const QByteArray text = file.readAll();
    for (const QByteArray& line : text.left(text.lastIndexOf('\n') + 1).split('\n'))
        if (const qsizetype tab = line.indexOf('\t'); tab > 0)
            lines.emplace_back(QString::fromUtf8(line.left(tab)), QString::fromUtf8(line.mid(tab + 1)));
    return lines;
}

struct Figures {
    int kills = 0;
    int insidePost = 0; // the program had logged a post that did not reach the file
    int corrupt = 0;    // integrity check failed or a record could not be read
    int torn = 0;       // a record no post produced, or none after one was stored
};

class CrashSafety : public testing::TestWithParam<const char*> {
protected:
    // Starts the session; returns once it is running, or at "ready" if asked.
    void start(QProcess& p, unsigned seed, bool untilReady)
    {
        p.setProcessEnvironment(env);
        // A file, not a pipe: a session full of error messages must not block on a full pipe.
        p.setStandardErrorFile(errorFile);
        p.start(qEnvironmentVariable("HARUNIRE_TEST_BIN_DIR") + QStringLiteral("/tests/prog_crash_session"),
                {QString::fromUtf8(GetParam()), db.folder(), log, QString::number(seed)});
        ASSERT_TRUE(p.waitForStarted());
        while (untilReady && !p.readAllStandardOutput().contains("ready")) {
            ASSERT_TRUE(p.waitForReadyRead(30000)) << "the session did not start: " << errors().toStdString();
        }
    }

    void killNow(QProcess& p)
    {
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished();
    }

    // What the file holds now, table by table; a record that cannot be read is left out.
    std::map<QString, QString> stored()
    {
        std::map<QString, QString> records;
        for (const char* name : recordTables) {
            tables::Table table(db.folder(), QString::fromUtf8(name));
            try {
                table.open();
                records[table.name()] = recordState(table);
            } catch (const tables::Error& e) {
                ADD_FAILURE() << name << ": " << e.what();
            }
        }
        return records;
    }

    QString errors() const
    {
        QFile file(errorFile);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll().right(4000)) : QString();
    }

    TempDatabase db;
    QString errorFile = db.root() + QStringLiteral("/session-errors.txt");
    QString log = QFileInfo(db.root() + QStringLiteral("/session.log")).absoluteFilePath();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};

TEST_P(CrashSafety, KillsAtRandomMomentsLeaveOnlyRecordsSomePostProduced)
{
    const int kills = fromEnvironment("HARUNIRE_CRASH_KILLS", 25);
    const unsigned seed = unsigned(fromEnvironment("HARUNIRE_CRASH_SEED", int(std::random_device{}() >> 1)));
    SCOPED_TRACE(testing::Message() << "HARUNIRE_CRASH_SEED=" << seed);
    std::mt19937 rng(seed);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    Figures figures;
    std::vector<std::map<QString, QString>> found;
    for (int k = 0; k < kills; ++k) {
        const qint64 logged = QFileInfo(log).size();
        QProcess p;
        // Half the kills at any moment from the start on, start-up reset
        // included; half as soon as a post has begun, to land inside posts.
        const bool intoAPost = k % 2 == 1;
        ASSERT_NO_FATAL_FAILURE(start(p, seed + unsigned(k), intoAPost));
        if (intoAPost) {
            // Let a few posts through, then kill as the next one begins.
            const qint64 ready = QFileInfo(log).size();
            const int posts = 1 + int(rng() % 20);
            QElapsedTimer waited;
            waited.start();
            while (int(logLines(log, ready).size()) < posts && !p.waitForFinished(0) && waited.elapsed() < 30000)
                QThread::usleep(200);
        } else {
            p.waitForFinished(int(rng() % 1500));
        }
        ASSERT_EQ(p.state(), QProcess::Running) << "the session ended by itself: " << errors().toStdString();
        killNow(p);
        ++figures.kills;

        if (db.value(QStringLiteral("PRAGMA integrity_check")) != QStringLiteral("ok"))
            ++figures.corrupt;
        const auto records = stored();
        if (records.size() != std::size(recordTables))
            ++figures.corrupt;
        std::map<QString, QString> last; // what this session was about to post last, by table
        for (const auto& [table, state] : logLines(log, logged))
            last[table] = state;
        for (const auto& [table, state] : records)
            if (last.count(table) && last.at(table) != state) {
                ++figures.insidePost;
                break;
            }
        found.push_back(records);
    }
    // A session that gets through start-up logs the records its reset left,
    // which covers a kill that came during the previous one's start-up.
    QProcess last;
    ASSERT_NO_FATAL_FAILURE(start(last, seed + unsigned(kills), true));
    killNow(last);

    std::map<QString, std::set<QString>> states;
    for (const auto& [table, state] : logLines(log))
        states[table].insert(state);
    std::set<QString> holdingRecords; // once a table has its record it never loses it
    for (const auto& records : found)
        for (const auto& [table, state] : records) {
            const bool initial = state == noRecord && !holdingRecords.count(table);
            if (!initial && !(states.count(table) && states.at(table).count(state))) {
                ++figures.torn;
                ADD_FAILURE() << "table " << table.toStdString() << " holds a record no post produced:\n"
                              << state.toStdString();
            }
            if (state != noRecord)
                holdingRecords.insert(table);
        }

    std::cout << "crash-safety " << GetParam() << ": kills " << figures.kills << ", inside a post "
              << figures.insidePost << ", corrupt " << figures.corrupt << ", torn " << figures.torn << std::endl;
    EXPECT_EQ(figures.corrupt, 0);
    EXPECT_EQ(figures.torn, 0);
    EXPECT_GT(states.size(), 0u) << "the sessions posted nothing";
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, CrashSafety, testing::Values("multisite", "sprainentry"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
