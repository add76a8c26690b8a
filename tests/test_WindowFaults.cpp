// Both windows under failing storage and a broken environment: a press whose
// post fails leaves each record as it was or as a completed post made it,
// says so in the error box, and the window works on; a missing, locked,
// read-only, full or foreign data folder is reported naming the table and
// what to do, without a crash and without losing what was stored or typed.
#include "BothWindows.h"
#include "FaultVfs.h"
#include "TempDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <iostream>
#include <set>
#include <unistd.h>

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class WindowFaults : public WindowTest {
protected:
    ~WindowFaults() override { vfs.failAt(0); }

    // A visit under way: a patient typed in, a fee outside insurance, a fee.
    void startVisit(const Program& p, const QString& folder)
    {
        ASSERT_NO_FATAL_FAILURE(start(p, folder));
        press(p.forceEdit);
        type(p.nameBox, u("山田"));
        type(p.outsideBox, u("500"));
        press(p.feeButtons[0]);
        ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    }

    FaultVfs& vfs = FaultVfs::install();
};

struct Press {
    const Program* program;
    const char* button;
};

std::vector<Press> pressesThatPost()
{
    std::vector<Press> presses;
    for (const Program* p : bothPrograms)
        for (const char* button : {p->calculate, p->reset, p->feeButtons[0], p->feeButtons[1]})
            presses.push_back({p, button});
    return presses;
}

TEST_F(WindowFaults, EveryFailingWriteOfAPressLeavesOldOrPostedRecordsAndTheNextPressWorks)
{
    int injected = 0;
    for (const Press& press : pressesThatPost()) {
        SCOPED_TRACE(testing::Message() << press.program->name << " " << press.button);
        // Unfaulted, to learn the records before and the records each post of the press produced.
        std::map<QString, std::set<QString>> posted;
        std::map<QString, QString> before, after;
        {
            TempDatabase db;
            ASSERT_NO_FATAL_FAILURE(startVisit(*press.program, db.folder()));
            before = storedRecords(db.folder());
            for (tables::Table* t : records())
                t->addUpdater([t, &posted] { posted[t->name()].insert(recordState(*t)); });
            this->press(press.button);
            ASSERT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
            after = storedRecords(db.folder());
        }
        int failedPresses = 0;
        for (int nth = 1; nth < 500; ++nth) {
            SCOPED_TRACE(testing::Message() << "failing write or sync " << nth);
            TempDatabase db;
            ASSERT_NO_FATAL_FAILURE(startVisit(*press.program, db.folder()));
            ASSERT_EQ(storedRecords(db.folder()), before);
            vfs.failAt(nth);
            this->press(press.button);
            const bool hit = vfs.failed();
            vfs.failAt(0);

            EXPECT_EQ(db.value(u("PRAGMA integrity_check")), u("ok"));
            const auto stored = storedRecords(db.folder());
            if (!hit) {
                EXPECT_EQ(stored, after);
                EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
                break;
            }
            ++failedPresses;
            for (const auto& [table, state] : stored) {
                EXPECT_TRUE(state == before.at(table) || posted[table].count(state))
                    << table.toStdString() << " holds a record no post produced:\n" << state.toStdString();
            }
            ASSERT_FALSE(errors.isEmpty()) << "a failed post went unreported";
            EXPECT_TRUE(errors.last().contains(u("書き込めません"))) << errors.last().toStdString();

            // The window works on: "編集終了" stores what the window holds.
            errors.clear();
            this->press(press.program->endEdit);
            EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
            const auto now = storedRecords(db.folder());
            for (tables::Table* t : records()) {
                if (t->state() == tables::Table::State::Browse) {
                    EXPECT_EQ(now.at(t->name()), recordState(*t)) << t->name().toStdString();
                }
            }
        }
        EXPECT_TRUE(posted.empty() || failedPresses > 0) << "no fault reached the press's posts";
        std::cout << "window faults: " << press.program->name << " " << press.button << ": " << failedPresses
                  << " failing writes or syncs" << std::endl;
        injected += failedPresses;
    }
    std::cout << "window faults: " << injected << " failing writes or syncs injected into presses" << std::endl;
}

// A data folder gone wrong in one way, and what the operator is told to do.
struct Environment {
    const char* name;
    const char* table;                // the table the message names
    std::vector<const char*> advice;  // the message says one of these
    bool passes;                      // goes away again (then what was typed is stored after)
};

void PrintTo(const Environment& e, std::ostream* os) { *os << e.name; }

const Environment environments[] = {
    {"missing data folder", "料金", {"harunire-initdb"}, false},
    {"missing table", "料金2", {"harunire-initdb"}, false},
    {"missing field", "料金", {"harunire-initdb"}, false},
    {"read-only database file", "料金", {"確かめてください"}, true},
    {"read-only data folder", "料金", {"確かめてください"}, true},
    {"locked by another writer", "料金", {"しばらく待って"}, true},
    {"full disk", "料金", {"空きを作って"}, true},
    {"not a database", "料金", {"バックアップから戻して"}, false},
};

// Read-only even for root: the immutable attribute, else the mode bits.
bool makeReadOnly(const QString& path, bool readOnly)
{
    if (geteuid() == 0)
        return QProcess::execute(u("chattr"), {readOnly ? u("+i") : u("-i"), path}) == 0;
    return QFile::setPermissions(path, readOnly ? QFile::ReadOwner | QFile::ExeOwner
                                                : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

class EnvironmentFaults : public WindowFaults,
                          public testing::WithParamInterface<std::tuple<const Program*, Environment>> {};

TEST_P(EnvironmentFaults, StartUpAndAPressReportTheTableAndWhatToDoAndLoseNothing)
{
    const auto& [program, environment] = GetParam();
    TempDatabase db;
    db.sql(u("INSERT INTO \"料金\" (rowid, \"氏名\", \"初検料\") VALUES (1, '山田', 10000);"
             "INSERT INTO \"料金2\" (rowid, \"金属副子\") VALUES (1, 20000)"));
    QString folder = db.folder();
    const QString name = u(environment.name);

    sqlite3* other = nullptr;
    std::function<void()> undo;
    if (name == u("missing data folder")) {
        folder = db.root() + u("/nowhere");
    } else if (name == u("missing table")) {
        db.sql(u("DROP TABLE \"料金2\""));
    } else if (name == u("missing field")) {
        db.sql(u("ALTER TABLE \"料金\" DROP COLUMN \"再検料\""));
    } else if (name.startsWith(u("read-only"))) {
        const QString path = name.endsWith(u("file")) ? db.file() : db.folder();
        if (!makeReadOnly(path, true))
            GTEST_SKIP() << "cannot make " << path.toStdString() << " read-only here";
        undo = [path] { makeReadOnly(path, false); };
    } else if (name == u("locked by another writer")) {
        sqlite3_open(db.file().toUtf8().constData(), &other);
        ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        undo = [&other] {
            sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close(other);
        };
    } else if (name == u("full disk")) {
        vfs.failAt(1, SQLITE_FULL, true);
        undo = [this] { vfs.failAt(0); };
    } else if (name == u("not a database")) {
        QFile file(db.file());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("This is a letter to the clinic, not a database.\n").repeated(100));
    }
    const auto before = storedRecords(db.folder());
    const QByteArray fileBefore = [&] {
        QFile file(db.file());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    const auto expectAdvice = [&](const char* when) {
        SCOPED_TRACE(when);
        ASSERT_FALSE(errors.isEmpty()) << "nothing reported";
        const QString& message = errors.last();
        EXPECT_TRUE(message.contains(u("「") + u(environment.table) + u("」"))) << message.toStdString();
        EXPECT_TRUE(std::any_of(environment.advice.begin(), environment.advice.end(),
                                [&](const char* a) { return message.contains(u(a)); }))
            << "says nothing of what to do: " << message.toStdString();
        errors.clear();
    };

    ASSERT_NO_FATAL_FAILURE(start(*program, folder));
    EXPECT_TRUE(window->isVisible());
    expectAdvice("at start-up");
    type(program->nameBox, u("佐藤"));
    press(environment.passes ? program->endEdit : program->reset);
    expectAdvice("at a press");

    if (undo)
        undo();
    if (name == u("missing data folder")) {
        EXPECT_FALSE(QDir(folder).exists()) << "a data folder was made up";
    } else if (name == u("not a database")) {
        QFile file(db.file());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), fileBefore) << "the file was written over";
    } else if (!environment.passes) {
        EXPECT_EQ(db.value(u("PRAGMA integrity_check")), u("ok"));
        const auto stored = storedRecords(db.folder());
        const QString table = u(environment.table);
        if (!stored.at(table).startsWith(u("<error>"))) {
            EXPECT_EQ(stored.at(table), before.at(table));
        }
    } else {
        EXPECT_EQ(db.value(u("PRAGMA integrity_check")), u("ok"));
        EXPECT_EQ(storedRecords(db.folder()), before) << "something was stored while the folder was faulty";
        // Once the fault is gone the next press stores what was typed meanwhile.
        press(program->endEdit);
        EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
        EXPECT_EQ(db.stored("氏名"), u("text:佐藤"));
    }
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, EnvironmentFaults,
                         testing::Combine(testing::ValuesIn(bothPrograms), testing::ValuesIn(environments)),
                         [](const auto& info) {
                             QString name = QString::fromLatin1(std::get<0>(info.param)->name) + u'_'
                                            + QString::fromLatin1(std::get<1>(info.param).name);
                             return name.replace(u' ', u'_').replace(u'-', u'_').toStdString();
                         });

} // namespace
