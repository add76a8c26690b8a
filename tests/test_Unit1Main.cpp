#include "TempDatabase.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QString program() { return qEnvironmentVariable("HARUNIRE_TEST_BIN_DIR") + u("/multisite/multisite"); }

// The real program, started the way the README starts it, on a data root of its own.
class Unit1MainTest : public testing::Test {
protected:
    Unit1MainTest()
    {
        env.insert(u("HARUNIRE_ROOT"), db.root());
        env.insert(u("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(u("QT_QPA_PLATFORM"), u("offscreen"));
    }
    ~Unit1MainTest() override
    {
        for (auto& p : processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished();
            }
    }

    QProcess& launch(const QStringList& args = {})
    {
        processes.push_back(std::make_unique<QProcess>());
        QProcess& p = *processes.back();
        p.setProcessEnvironment(env);
        p.start(program(), args);
        EXPECT_TRUE(p.waitForStarted());
        return p;
    }

    // A start-up reset has run when the stamped first-examination fee is gone.
    void stampVisit() { db.sql(u("INSERT OR REPLACE INTO \"料金\" (rowid, \"初検料\") VALUES (1, 10000)")); }
    bool startUpResetRan(int ms = 10000)
    {
        for (int waited = 0; waited < ms; waited += 50) {
            if (db.value(u("SELECT quote(\"初検料\") FROM \"料金\" WHERE rowid = 1")) == u("NULL"))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    TempDatabase db;
    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(Unit1MainTest, HelpAndABadModeAnswerWithoutADisplay)
{
    env.insert(u("QT_QPA_PLATFORM"), u("xcb"));
    env.remove(u("DISPLAY"));
    env.remove(u("WAYLAND_DISPLAY"));

    QProcess& help = launch({u("--help")});
    ASSERT_TRUE(help.waitForFinished());
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("--mode a|b|c"));

    QProcess& bad = launch({u("--mode"), u("x")});
    ASSERT_TRUE(bad.waitForFinished());
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_FALSE(bad.readAllStandardError().isEmpty());
}

TEST_F(Unit1MainTest, OneCopyRunsASecondEndsQuietlyAndAKilledCopyIsTakenOver)
{
    stampVisit();
    QProcess& first = launch();
    ASSERT_TRUE(startUpResetRan()) << "the window opened on the data root's database";

    stampVisit();
    QProcess& second = launch();
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(startUpResetRan(500)) << "the second copy must not touch the record";
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    launch();
    EXPECT_TRUE(startUpResetRan());
}

} // namespace
