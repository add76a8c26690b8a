#include "RealProgram.h"

namespace {

const char* const sprainentry = "/sprainentry/sprainentry";
const char* const multisite = "/multisite/multisite";

class SakuseiMainTest : public RealProgramTest {
protected:
    // A start while `running` is up ends at once with status 0 and leaves the record alone.
    void expectQuietEnd(const char* program, QProcess& running)
    {
        stampVisit();
        QProcess& late = launch(program);
        ASSERT_TRUE(late.waitForFinished(10000)) << program;
        EXPECT_EQ(late.exitStatus(), QProcess::NormalExit) << program;
        EXPECT_EQ(late.exitCode(), 0) << program;
        EXPECT_FALSE(startUpResetRan(500)) << program << " must not touch the record";
        EXPECT_EQ(running.state(), QProcess::Running);
    }
};

TEST_F(SakuseiMainTest, HelpAnswersWithoutADisplay)
{
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    QProcess& help = launch(sprainentry, {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished());
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().contains("sprainentry [--mode a|b|c]"));
}

TEST_F(SakuseiMainTest, OneCopyRunsASecondEndsQuietlyAndAKilledCopyIsTakenOver)
{
    stampVisit();
    QProcess& first = launch(sprainentry);
    ASSERT_TRUE(startUpResetRan()) << "the window opened on the data root's database";
    expectQuietEnd(sprainentry, first);

    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    stampVisit();
    launch(sprainentry);
    EXPECT_TRUE(startUpResetRan());
}

// The two programs share one lock: while either runs, the other does not start.
TEST_F(SakuseiMainTest, TheTwoProgramsNeverRunTogether)
{
    for (const auto& [holder, other] : {std::pair{sprainentry, multisite}, std::pair{multisite, sprainentry}}) {
        stampVisit();
        QProcess& running = launch(holder);
        ASSERT_TRUE(startUpResetRan()) << holder;
        expectQuietEnd(other, running);
        running.kill();
        ASSERT_TRUE(running.waitForFinished());
    }
}

} // namespace
