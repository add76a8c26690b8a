#include "RealProgram.h"

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

// The real multisite program on a data root and a session of its own.
class Unit1MainTest : public RealProgramTest {
protected:
    QProcess& launch(const QStringList& args = {}) { return RealProgramTest::launch("/multisite/multisite", args); }
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
