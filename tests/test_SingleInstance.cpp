#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
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

// A client of a holder's socket that speaks as it is told, unlike a start.
class RawClient {
public:
    explicit RawClient(const QString& path) : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un addr {};
        addr.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(addr.sun_path, name.constData(), std::size_t(name.size()));
        m_connected = ::connect(m_fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~RawClient() { ::close(m_fd); }
    bool connected() const { return m_connected; }
    void say(const QByteArray& bytes) { ::send(m_fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL); }
    // What the holder answered before it closed the connection; "timeout" when it did neither.
    QByteArray answer()
    {
        QByteArray got;
        pollfd p{m_fd, POLLIN, 0};
        char chunk[64];
        while (::poll(&p, 1, 5000) > 0) {
            const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                return got;
            got.append(chunk, n);
        }
        return "timeout";
    }

private:
    int m_fd;
    bool m_connected = false;
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

// Anything on the socket that is not the request raises nothing and
// never keeps the holder from serving the next start.
TEST_F(SingleInstanceTest, OnlyTheRaiseRequestRaisesAndNoClientHoldsTheHolderUp)
{
    auto holder = start("TForm1");
    ASSERT_TRUE(holder->said("acquired"));

    RawClient silent(socketOf("TForm1"));
    ASSERT_TRUE(silent.connected());
    RawClient other(socketOf("TForm1"));
    other.say("hello\n");
    EXPECT_EQ(other.answer(), "ok\n");
    RawClient endless(socketOf("TForm1"));
    endless.say(QByteArray(100, 'r'));
    EXPECT_EQ(endless.answer(), "") << "dropped without an answer";
    RawClient split(socketOf("TForm1"));
    split.say("rai");
    QThread::msleep(100);
    split.say("se\n");
    EXPECT_EQ(split.answer(), "ok\n");

    auto second = start("TForm1");
    EXPECT_TRUE(second->endedQuietly());
    ASSERT_TRUE(holder->said("raised"));
    QThread::msleep(200);
    EXPECT_EQ(holder->lines(), (QStringList{"acquired", "raised", "raised"}));
}

// A socket address holds some hundred bytes of path: beyond that the copy
// runs unserved, and a second start still ends quietly.
TEST_F(SingleInstanceTest, ARuntimeFolderTooDeepForASocketStillLetsTheFirstStartRun)
{
    const QString deep = runtime.filePath(QString(100, u'd'));
    ASSERT_TRUE(QDir().mkpath(deep));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), deep);

    auto first = start("TForm1");
    ASSERT_TRUE(first->said("acquired"));
    auto second = start("TForm1");
    EXPECT_TRUE(second->endedQuietly());
    EXPECT_EQ(second->lines(), QStringList{"busy"});
}

} // namespace
