#include "platform/Help.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QByteArray waitForFile(const QString& path)
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.size() > 0)
            return f.readAll();
        QThread::msleep(20);
    }
    return {};
}

TEST(Help, TheProgramIsStartedByPathWithoutArgumentsOrShell)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A shell would run the part after the semicolon and create "pwned".
    const QString program = dir.filePath(QStringLiteral("help; touch pwned"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$#\" > \"$(dirname \"$0\")/ran\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    platform::startHelp(program);
    EXPECT_EQ(waitForFile(dir.filePath(QStringLiteral("ran"))), "0\n");
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("pwned"))));
}

TEST(Help, AMissingProgramIsIgnored)
{
    EXPECT_NO_THROW(platform::startHelp(QStringLiteral("/nonexistent/harunire/kikyoguide")));
}

TEST(Help, TheLauncherCanBeReplaced)
{
    QStringList started;
    const platform::HelpLauncher previous = platform::setHelpLauncher([&](const QString& p) { started << p; });
    platform::startHelp(QStringLiteral("/srv/clinic/ayameguide"));
    platform::setHelpLauncher(previous);
    EXPECT_EQ(started, QStringList{QStringLiteral("/srv/clinic/ayameguide")});
}

} // namespace
