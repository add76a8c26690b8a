#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One start of a program, as a real process with its own environment.
class Probe {
public:
    Probe(const QProcessEnvironment& env, const QString& windowClass)
    {
        m_process.setProcessEnvironment(env);
        m_process.start(qEnvironmentVariable("HARUNIRE_TEST_BIN_DIR") + QStringLiteral("/tests/prog_instance_probe"),
                        {windowClass});
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Waits until the probe has said `line` (true) or the time is up.
    bool said(const QString& line, int ms = 10000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!lines().contains(line)) {
            if (clock.hasExpired(ms))
                return false;
            m_process.waitForReadyRead(50);
        }
        return true;
    }
    QStringList lines()
    {
        m_output += QString::fromUtf8(m_process.readAllStandardOutput());
        return m_output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // The probe ended by itself with exit code 0.
    bool endedQuietly()
    {
        return m_process.waitForFinished(10000) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }
    void kill()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

private:
    QProcess m_process;
    QString m_output;
};

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime.isValid());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    std::unique_ptr<Probe> start(const char* windowClass)
    {
        return std::make_unique<Probe>(env, QString::fromLatin1(windowClass));
    }
    QString socketOf(const char* windowClass) const
    {
        return runtime.filePath(QStringLiteral("harunire-%1-%2").arg(::getuid()).arg(QLatin1String(windowClass)));
    }

    QTemporaryDir runtime;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};

TEST_F(SingleInstanceTest, FirstStartHoldsTheLockAndServesItsClass)
{
    auto first = start("TForm1");
    ASSERT_TRUE(first->said("acquired"));
    EXPECT_TRUE(QFileInfo::exists(runtime.filePath("momijikan.lock")));
    EXPECT_TRUE(QFileInfo::exists(socketOf("TForm1")));
}

TEST_F(SingleInstanceTest, SecondStartOfTheSameProgramRaisesTheFirstAndEnds)
{
    auto first = start("TForm6");
    ASSERT_TRUE(first->said("acquired"));

    auto second = start("TForm6");
    EXPECT_TRUE(second->endedQuietly());
    EXPECT_EQ(second->lines(), QStringList{"busy"});
    EXPECT_TRUE(first->said("raised"));
}

TEST_F(SingleInstanceTest, StartOfTheOtherProgramEndsWithoutTouchingTheRunningOne)
{
    auto multisite = start("TForm1");
    ASSERT_TRUE(multisite->said("acquired"));

    auto sprainentry = start("TForm6");
    EXPECT_TRUE(sprainentry->endedQuietly());
    EXPECT_EQ(sprainentry->lines(), QStringList{"busy"});

    // A later start of the running program's own class is served; had the
    // other program's start raised the window, two raises would show here.
    auto again = start("TForm1");
    EXPECT_TRUE(again->endedQuietly());
    ASSERT_TRUE(multisite->said("raised"));
    QThread::msleep(200);
    EXPECT_EQ(multisite->lines(), (QStringList{"acquired", "raised"}));
}

TEST_F(SingleInstanceTest, KilledHolderIsReplacedByTheNextStart)
{
    auto killed = start("TForm1");
    ASSERT_TRUE(killed->said("acquired"));
    killed->kill();
    ASSERT_TRUE(QFileInfo::exists(socketOf("TForm1"))) << "SIGKILL leaves the socket behind";

    auto next = start("TForm1");
    ASSERT_TRUE(next->said("acquired"));
    auto second = start("TForm1");
    EXPECT_TRUE(second->endedQuietly());
    EXPECT_TRUE(next->said("raised")) << "the new holder serves the socket the dead one left";
}

TEST_F(SingleInstanceTest, WithoutRuntimeFolderAPrivateFolderUnderTempIsUsed)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), temp.path());

    auto first = start("TForm1");
    ASSERT_TRUE(first->said("acquired"));
    const QString folder = temp.filePath(QStringLiteral("harunire-%1").arg(::getuid()));
    EXPECT_TRUE(QFileInfo::exists(folder + "/momijikan.lock"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    auto second = start("TForm1");
    EXPECT_TRUE(second->endedQuietly());
    EXPECT_TRUE(first->said("raised"));
}

TEST_F(SingleInstanceTest, AFallbackFolderOthersCanWriteIsNotTrustedButTheProgramStarts)
{
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString folder = temp.filePath(QStringLiteral("harunire-%1").arg(::getuid()));
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), temp.path());

    auto first = start("TForm1");
    EXPECT_TRUE(first->said("acquired"));
    EXPECT_FALSE(QFileInfo::exists(folder + "/momijikan.lock"));
}

} // namespace
