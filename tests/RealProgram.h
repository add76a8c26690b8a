#pragma once
#include "TempDatabase.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The real programs, started the way the README starts them, on a data root
// and a session (XDG_RUNTIME_DIR) of their own. `program` is a path below the
// build folder, such as "/sprainentry/sprainentry".
class RealProgramTest : public testing::Test {
protected:
    RealProgramTest()
    {
        env.insert(QStringLiteral("HARUNIRE_ROOT"), db.root());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    ~RealProgramTest() override
    {
        for (auto& p : processes)
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished();
            }
    }

    QProcess& launch(const char* program, const QStringList& args = {})
    {
        processes.push_back(std::make_unique<QProcess>());
        QProcess& p = *processes.back();
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("HARUNIRE_TEST_BIN_DIR") + QString::fromUtf8(program), args);
        EXPECT_TRUE(p.waitForStarted()) << program;
        return p;
    }

    // Both programs' start-up reset empties the stamped first-examination fee.
    void stampVisit() { db.sql(QStringLiteral("INSERT OR REPLACE INTO \"料金\" (rowid, \"初検料\") VALUES (1, 10000)")); }
    bool startUpResetRan(int ms = 10000)
    {
        for (int waited = 0; waited < ms; waited += 50) {
            if (db.value(QStringLiteral("SELECT quote(\"初検料\") FROM \"料金\" WHERE rowid = 1")) == QStringLiteral("NULL"))
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
