#include "Error.h"
#include "Table.h"
#include "TempDatabase.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tables;

namespace {
QString u(const char* s) { return QString::fromUtf8(s); }

class TableTest : public testing::Test {
protected:
    TempDatabase db;
    Table fee{db.folder(), u(schema::FeeTable)};
    Table extra{db.folder(), u(schema::ExtraFeeTable)};
    Table base{db.folder(), u(schema::BaseFeeTable)};

    Field& f(const char* name) { return fee.fieldByName(u(name)); }
    void reopen()
    {
        fee.close();
        fee.open();
    }
};

TEST_F(TableTest, EditOnAnEmptyTableStartsTheRecordAndPostStoresIt)
{
    fee.open();
    EXPECT_TRUE(fee.isEmpty());
    EXPECT_EQ(f("初検料").asString(), "");
    EXPECT_EQ(f("初検料").asCurrency(), Currency());
    fee.edit();
    EXPECT_EQ(fee.state(), Table::State::Insert);
    f("初検料").setAsString(u("1550"));
    fee.post();
    EXPECT_EQ(fee.state(), Table::State::Browse);
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金\"")), "1");

    fee.edit(); // from now on the stored record is edited, not a new one
    EXPECT_EQ(fee.state(), Table::State::Edit);
    f("初検料").setAsString(u("410"));
    fee.post();
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金\"")), "1");
    EXPECT_EQ(db.stored("初検料"), "integer:4100000");
}

TEST_F(TableTest, OnlyTheFirstRecordIsEverReadOrWritten)
{
    db.sql(u("INSERT INTO \"料金\" (rowid, \"氏名\") VALUES (7, 'first'), (9, 'second')"));
    db.sql(u("INSERT INTO \"料金\" (rowid, \"氏名\") VALUES (8, 'middle')"));
    fee.open();
    EXPECT_EQ(f("氏名").asString(), "first");
    fee.edit();
    f("氏名").setAsString(u("changed"));
    fee.post();
    EXPECT_EQ(db.value(u("SELECT group_concat(\"氏名\", ',') FROM (SELECT \"氏名\" FROM \"料金\" ORDER BY rowid)")),
              "changed,middle,second");
}

TEST_F(TableTest, CloseDropsUnpostedChanges)
{
    fee.open();
    fee.edit();
    f("氏名").setAsString(u("山田"));
    fee.post();
    fee.edit();
    f("氏名").setAsString(u("鈴木"));
    reopen();
    EXPECT_EQ(f("氏名").asString(), u("山田"));
    EXPECT_EQ(fee.state(), Table::State::Browse);
}

TEST_F(TableTest, FieldsStoreAsTheContractSays)
{
    fee.open();
    fee.edit();
    f("料金").setAsString(u("1234"));
    f("保険外料金").setAsString(u("-3.25"));
    f("一部負担金").setAsCurrency(Currency::fromYen(0));
    f("負傷部位数").setAsInteger(3);
    f("年月日").setAsDate(QDate(2026, 12, 11));
    f("個人id").setAsString(u("12345"));
    f("負担率").setAsString(u("３割"));
    f("初検料").setAsString(u(""));
    fee.post();

    const std::pair<const char*, const char*> stored[] = {
        {"料金", "integer:12340000"}, {"保険外料金", "integer:-32500"}, {"一部負担金", "integer:0"},
        {"負傷部位数", "integer:3"},   {"年月日", "text:2026-12-11"},    {"個人id", "real:12345.0"},
        {"負担率", "text:３割"},       {"初検料", "null:"},              {"氏名", "null:"},
    };
    for (const auto& [field, expected] : stored) EXPECT_EQ(db.stored(field), u(expected)) << field;

    reopen();
    const std::pair<const char*, const char*> shown[] = {
        {"料金", "1234"}, {"保険外料金", "-3.25"}, {"一部負担金", "0"}, {"負傷部位数", "3"},
        {"年月日", "2026/12/11"}, {"個人id", "12345"}, {"負担率", "３割"}, {"初検料", ""},
    };
    for (const auto& [field, expected] : shown) EXPECT_EQ(f(field).asString(), u(expected)) << field;
    EXPECT_EQ(f("料金").asCurrency().units(), 12340000);
    EXPECT_EQ(f("年月日").asDate(), QDate(2026, 12, 11));
}

TEST_F(TableTest, TheEmptyTextEmptiesEveryKindOfField)
{
    fee.open();
    fee.edit();
    for (const char* name : {"負傷部位数", "年", "年月日", "初検料", "個人id", "負担率"}) {
        f(name).setAsString(name == std::string("年月日") ? u("2026/01/02") : u("1"));
        f(name).setAsString(u(""));
        EXPECT_TRUE(f(name).isNull()) << name;
    }
    fee.post();
    for (const char* name : {"負傷部位数", "年", "年月日", "初検料", "個人id", "負担率"})
        EXPECT_EQ(db.stored(name), "null:") << name;
}

// Typed integers and numbers: ASCII digits, an optional sign, white space
// around; nine digits at most for an integer, three for an exponent.
TEST_F(TableTest, TypedIntegersAndNumbersAreReadAtTheEdgesOfTheirFormat)
{
    struct Case { const char* field; const char* text; const char* stored; };
    const Case cases[] = {
        {"負傷部位数", " 12 ", "integer:12"}, {"負傷部位数", "+7", "integer:7"},
        {"負傷部位数", "-32768", "integer:-32768"}, {"負傷部位数", "\t3\n", "integer:3"},
        {"負傷部位数", "000000012", "integer:12"}, {"負傷部位数", "1 2", nullptr},
        {"負傷部位数", "+ 1", nullptr}, {"負傷部位数", "0000000012", nullptr},
        {"負傷部位数", "３", nullptr}, {"負傷部位数", "\u30001", nullptr},
        {"個人id", ".5", "real:0.5"}, {"個人id", "5.", "real:5.0"}, {"個人id", "-1.5e2", "real:-150.0"},
        {"個人id", " 2E+3 ", "real:2000.0"}, {"個人id", ".", nullptr}, {"個人id", "e5", nullptr},
        {"個人id", "1e", nullptr}, {"個人id", "1e1234", nullptr}, {"個人id", "1.2.3", nullptr},
        {"個人id", "1e+", nullptr}, {"個人id", "１", nullptr},
    };
    fee.open();
    fee.edit();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " <- [" << c.text << "]");
        f(c.field).clear();
        if (!c.stored) {
            EXPECT_THROW(f(c.field).setAsString(u(c.text)), ConversionError);
            continue;
        }
        f(c.field).setAsString(u(c.text));
        fee.post();
        EXPECT_EQ(db.stored(c.field), u(c.stored));
        fee.edit();
    }
}

TEST(DeclaredTypes, OnlyTheSchemasSpellingsAreUnderstood)
{
    struct Case { const char* declared; bool understood; FieldType type; int size; };
    const Case cases[] = {
        {"VARCHAR(20)", true, FieldType::Text, 20}, {" varchar ( 12 ) ", true, FieldType::Text, 12},
        {"VARCHAR(9999)", true, FieldType::Text, 9999}, {"smallint", true, FieldType::SmallInt, 0},
        {"VARCHAR(0)", false, {}, 0},      {"VARCHAR(12345)", false, {}, 0}, {"VARCHAR(1 2)", false, {}, 0},
        {"VARCHAR(12)x", false, {}, 0},    {"VARCHAR()", false, {}, 0},      {"VARCHAR(１２)", false, {}, 0},
        {"TEXT", false, {}, 0},            {"VARCHAR 12", false, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.declared);
        FieldType type = FieldType::Date;
        int size = -1;
        ASSERT_EQ(parseDeclaredType(u(c.declared), type, size), c.understood);
        if (c.understood) {
            EXPECT_EQ(type, c.type);
            EXPECT_EQ(size, c.size);
        }
    }
}

TEST_F(TableTest, TextAFieldCannotTakeIsRefusedAndLeavesTheFieldAsItWas)
{
    struct Case { const char* field; const char* text; };
    const Case cases[] = {
        {"保険外料金", "abc"}, {"保険外料金", "1e3"},     {"保険外料金", "１０００"}, {"保険外料金", "99999999999999999"},
        {"負傷部位数", "1.5"}, {"負傷部位数", "40000"},   {"負傷部位数", "x"},      {"年月日", "2026/13/01"},
        {"年月日", "tomorrow"}, {"個人id", "12a"},        {"個人id", "nan"},        {"負担率", "３割引"},
        {"負担率", "100%%"},   {"氏名", "あいうえおかきくけこさしすせそた"}, // 16 full-width: 32 bytes
        {"氏名", "😀"},        {"カナ氏名", "〜"},
    };
    fee.open();
    fee.edit();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << " <- " << c.text);
        Field& field = f(c.field);
        const QString before = field.asString();
        try {
            field.setAsString(u(c.text));
            ADD_FAILURE() << "accepted";
        } catch (const ConversionError& e) {
            EXPECT_TRUE(e.message().contains(u(c.field))) << e.what();
        }
        EXPECT_EQ(field.asString(), before);
    }
}

TEST_F(TableTest, TextFieldsHoldTheirFullShiftJisSize)
{
    fee.open();
    fee.edit();
    for (const char* rate : {"100%", "３割", "０割"}) {
        f("負担率").setAsString(u(rate));
        EXPECT_EQ(f("負担率").asString(), u(rate));
    }
    f("氏名").setAsString(u("あいうえおかきくけこさしすせそ")); // 15 full-width = 30 bytes
    f("カナ氏名").setAsString(u("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎ")); // 30 half-width
    fee.post();
    EXPECT_EQ(db.stored("氏名"), u("text:あいうえおかきくけこさしすせそ"));
}

TEST_F(TableTest, ValuesAreBoundNeverSpliced)
{
    const QString hostile = u("'); DROP TABLE \"料金\";--");
    fee.open();
    fee.edit();
    f("カナ氏名").setAsString(hostile.left(30));
    fee.post();
    EXPECT_EQ(db.stored("カナ氏名"), u("text:") + hostile.left(30));
}

TEST_F(TableTest, WritingOutsideEditStateIsAnError)
{
    fee.open();
    EXPECT_THROW(f("初検料").setAsString(u("1")), DatabaseError);
    fee.post(); // browse: nothing to do
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金\"")), "0");
    fee.close();
    EXPECT_THROW(fee.edit(), DatabaseError);
    EXPECT_THROW(fee.fieldByName(u("初検料")), DatabaseError);
}

TEST_F(TableTest, UpdatersRunBeforeThePostAndAThrowAbortsIt)
{
    fee.open();
    fee.edit();
    int calls = 0;
    const int id = fee.addUpdater([&] {
        ++calls;
        f("氏名").setAsString(u("typed"));
    });
    fee.post();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(db.stored("氏名"), u("text:typed"));
    fee.removeUpdater(id);

    fee.addUpdater([] { throw ConversionError(u("bad")); });
    fee.edit();
    f("初検料").setAsString(u("5"));
    EXPECT_THROW(fee.post(), ConversionError);
    EXPECT_EQ(fee.state(), Table::State::Edit);
    EXPECT_EQ(db.stored("初検料"), "null:");
}

TEST_F(TableTest, SignalsEveryChangeOfTheBufferAndOfTheEditState)
{
    QSignalSpy record(&fee, &Table::changed);
    QSignalSpy state(&fee, &Table::stateChanged);
    fee.open();
    fee.edit();
    f("初検料").setAsString(u("1"));
    fee.post();
    fee.edit();
    fee.post(); // nothing changed: still leaves edit state
    fee.close();
    EXPECT_EQ(record.count(), 3); // open, the write, close
    EXPECT_EQ(state.count(), 4);
    EXPECT_EQ(fee.state(), Table::State::Inactive);
}

// Writing back a record nobody changed would put the values we read over
// what another program stored since.
TEST_F(TableTest, APostOfAnUnchangedRecordWritesNothing)
{
    db.sql(u("INSERT INTO \"料金\" (\"氏名\", \"初検料\") VALUES ('read', 15500000)"));
    fee.open();
    fee.edit();
    f("初検料").setAsString(u("1550")); // the value it already has
    db.sql(u("UPDATE \"料金\" SET \"氏名\" = 'stored since'"));
    fee.post();
    EXPECT_EQ(fee.state(), Table::State::Browse);
    EXPECT_EQ(db.stored("氏名"), u("text:stored since"));

    fee.edit();
    f("氏名").setAsString(u("typed"));
    fee.post();
    EXPECT_EQ(db.stored("氏名"), u("text:typed")) << "a changed record is stored whole";
    EXPECT_EQ(db.stored("初検料"), "integer:15500000");
}

TEST_F(TableTest, EditAndPostOnAnEmptyTableStoreTheEmptyRecord)
{
    fee.open();
    fee.edit();
    fee.post();
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金\"")), "1");
}

// What boxes see: one change for the pair, never the closed table between.
TEST_F(TableTest, ReopenDropsUnpostedChangesAndSignalsOnce)
{
    db.sql(u("INSERT INTO \"料金\" (\"氏名\") VALUES ('stored')"));
    fee.open();
    fee.edit();
    f("氏名").setAsString(u("typed"));
    QSignalSpy spy(&fee, &Table::changed);
    fee.reopen();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(fee.state(), Table::State::Browse);
    EXPECT_EQ(f("氏名").asString(), "stored");

    fee.close();
    fee.reopen(); // a closed table just opens
    EXPECT_TRUE(fee.isActive());

    ASSERT_TRUE(QFile::remove(db.file()));
    spy.clear();
    EXPECT_THROW(fee.reopen(), DatabaseError);
    EXPECT_FALSE(fee.isActive());
    EXPECT_EQ(spy.count(), 1) << "the boxes must learn the table closed";
}

TEST_F(TableTest, ARecordDeletedBehindOurBackIsStoredAgain)
{
    fee.open();
    fee.edit();
    f("氏名").setAsString(u("a"));
    fee.post();
    db.sql(u("DELETE FROM \"料金\""));
    fee.edit();
    f("氏名").setAsString(u("b"));
    fee.post();
    EXPECT_EQ(db.stored("氏名"), u("text:b"));
}

TEST_F(TableTest, BaseFeeTableReadsTheSamplePrices)
{
    base.open();
    EXPECT_EQ(base.fieldByName(u("初検料")).asString(), "1550");
    EXPECT_EQ(base.fieldByName(u("長期逓減率")).asCurrency().units(), 7500);
    EXPECT_EQ(base.fieldByName(u("往療料2から4ｋｍ")).asString(), "2300");
}

TEST(TypedFieldList, OpenFailsNamingAMissingOrMistypedField)
{
    struct Case { const char* change; const char* named; };
    const Case cases[] = {
        {"ALTER TABLE \"料金\" RENAME COLUMN \"ニ部位目\" TO \"二部位目\"", "ニ部位目"},
        {"ALTER TABLE \"料金\" DROP COLUMN \"三部位目\"", "三部位目"},
        {"ALTER TABLE \"料金\" DROP COLUMN \"初検料\"; ALTER TABLE \"料金\" ADD COLUMN \"初検料\" VARCHAR(10)", "初検料"},
        {"ALTER TABLE \"料金\" DROP COLUMN \"負担率\"; ALTER TABLE \"料金\" ADD COLUMN \"負担率\" VARCHAR(2)", "負担率"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        TempDatabase db;
        db.sql(u(c.change));

        Table typed(db.folder(), u(schema::FeeTable));
        typed.setFieldDefs(schema::feeFields());
        try {
            typed.open();
            ADD_FAILURE() << "opened";
        } catch (const DatabaseError& e) {
            EXPECT_TRUE(e.message().contains(u(c.named))) << e.what();
        }
        EXPECT_FALSE(typed.isActive());

        // Without the list the table opens; only asking for the field fails.
        Table untyped(db.folder(), u(schema::FeeTable));
        untyped.open();
        EXPECT_NO_THROW(untyped.fieldByName(u("氏名")));
        if (!untyped.findField(u(c.named))) {
            EXPECT_THROW(untyped.fieldByName(u(c.named)), DatabaseError);
        }
    }
}

void expectOpenFails(Table& t, const QString& mentions)
{
    try {
        t.open();
        ADD_FAILURE() << "opened";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(mentions)) << e.what();
    }
}

// The programs close and reopen tables within one press, and the other
// program or the operator may change the file in between: every open must
// see the file as it is now, never a connection's memory of an older one.
TEST(TableReopen, SeesTheFileAsItIsAtTheOpen)
{
    struct Case {
        const char* what;
        std::function<void(TempDatabase&)> change;
        const char* readsName; // nullptr: the open fails
        const char* errorMentions;
    };
    const Case cases[] = {
        {"another connection rewrote the record",
         [](TempDatabase& db) { db.sql(u("UPDATE \"料金\" SET \"氏名\" = 'other'")); }, "other", nullptr},
        {"the file was replaced by another database",
         [](TempDatabase& db) {
             const QString other = db.root() + u("/other");
             ASSERT_TRUE(tools::createDatabase(other));
             TempDatabase::sqlAt(other, u("INSERT INTO \"料金\" (\"氏名\") VALUES ('replaced')"));
             ASSERT_EQ(::rename(QFile::encodeName(other + u("/tables.sqlite3")).constData(),
                                QFile::encodeName(db.file()).constData()), 0);
         },
         "replaced", nullptr},
        {"a field the program needs was dropped",
         [](TempDatabase& db) { db.sql(u("ALTER TABLE \"料金\" DROP COLUMN \"三部位目\"")); }, nullptr, "三部位目"},
        {"a field the program needs changed its type",
         [](TempDatabase& db) {
             db.sql(u("ALTER TABLE \"料金\" DROP COLUMN \"初検料\"; ALTER TABLE \"料金\" ADD COLUMN \"初検料\" VARCHAR(10)"));
         },
         nullptr, "初検料"},
        {"the file was deleted",
         [](TempDatabase& db) { ASSERT_TRUE(QFile::remove(db.file())); }, nullptr, "harunire-initdb"},
        {"the file was overwritten with junk",
         [](TempDatabase& db) {
             QFile junk(db.file());
             ASSERT_TRUE(junk.open(QIODevice::WriteOnly | QIODevice::Truncate));
             junk.write(QByteArray(8192, 'x'));
         },
         nullptr, "データベースではない"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDatabase db;
        db.sql(u("INSERT INTO \"料金\" (\"氏名\") VALUES ('before')"));
        Table fee(db.folder(), u(schema::FeeTable));
        fee.setFieldDefs(schema::feeFields());
        fee.open();
        ASSERT_EQ(fee.fieldByName(u("氏名")).asString(), "before");
        fee.close();
        c.change(db);
        if (c.readsName) {
            fee.open();
            EXPECT_EQ(fee.fieldByName(u("氏名")).asString(), u(c.readsName));
            fee.edit();
            fee.fieldByName(u("初検料")).setAsString(u("1550"));
            fee.post();
            EXPECT_EQ(db.stored("初検料"), "integer:15500000");
        } else {
            expectOpenFails(fee, u(c.errorMentions));
            EXPECT_FALSE(fee.isActive());
        }
    }
}

TEST(TableErrors, MissingFolderFileOrTableNameTheTable)
{
    QTemporaryDir dir;
    Table noFolder(dir.filePath(u("nowhere")), u(schema::FeeTable));
    expectOpenFails(noFolder, u("料金"));

    Table noFile(dir.path(), u(schema::FeeTable));
    expectOpenFails(noFile, u("harunire-initdb"));
    EXPECT_FALSE(QFile::exists(dir.filePath(u("tables.sqlite3")))) << "a missing database must not be created";

    TempDatabase db;
    db.sql(u("DROP TABLE \"料金2\""));
    Table noTable(db.folder(), u(schema::ExtraFeeTable));
    expectOpenFails(noTable, u("料金2"));
}

TEST(TableErrors, AFileThatIsNotADatabase)
{
    QTemporaryDir dir;
    QFile junk(dir.filePath(u("tables.sqlite3")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    Table t(dir.path(), u(schema::FeeTable));
    expectOpenFails(t, u("データベースではない"));
}

// Makes a file or folder read-only for as long as it lives. Root writes
// through permission bits, so as root the immutable attribute is used.
class ReadOnly {
public:
    explicit ReadOnly(QString path) : m_path(std::move(path))
    {
        m_ok = geteuid() == 0 ? QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0
                              : chmod(m_path.toUtf8().constData(), 0555) == 0;
    }
    ~ReadOnly()
    {
        if (geteuid() == 0) QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        else chmod(m_path.toUtf8().constData(), 0755);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = false;
};

TEST(TableErrors, AReadOnlyDatabaseOrFolderRefusesThePostAndKeepsTheEdit)
{
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "read-only folder" : "read-only file");
        TempDatabase db;
        Table fee(db.folder(), u(schema::FeeTable));
        fee.open();
        fee.edit();
        fee.fieldByName(u("氏名")).setAsString(u("x"));
        {
            ReadOnly ro(folder ? db.folder() : db.file());
            if (!ro.ok()) GTEST_SKIP() << "cannot make files read-only here";
            try {
                fee.post();
                ADD_FAILURE() << "posted";
            } catch (const DatabaseError& e) {
                EXPECT_TRUE(e.message().contains(u("「料金」に書き込めません"))) << e.what();
            }
            EXPECT_EQ(fee.state(), Table::State::Insert); // the record being started is kept
        }
        fee.post(); // writable again: the kept edit goes through
        EXPECT_EQ(db.stored("氏名"), u("text:x"));
    }
}

TEST(TableErrors, ATableOpenedReadOnlyPostsOnceTheFileIsWritableAgain)
{
    TempDatabase db;
    Table fee(db.folder(), u(schema::FeeTable));
    {
        ReadOnly ro(db.file());
        if (!ro.ok()) GTEST_SKIP() << "cannot make files read-only here";
        fee.open();
        fee.edit();
        fee.fieldByName(u("氏名")).setAsString(u("x"));
        EXPECT_THROW(fee.post(), DatabaseError);
    }
    fee.post(); // no restart needed: the edit goes through on a fresh connection
    EXPECT_EQ(db.stored("氏名"), u("text:x"));
}

TEST(TableErrors, ADatabaseHeldByAnotherWriterIsWaitedForThenReported)
{
    TempDatabase db;
    Table fee(db.folder(), u(schema::FeeTable));
    fee.open();
    fee.edit();
    fee.fieldByName(u("氏名")).setAsString(u("x"));

    sqlite3* other = nullptr;
    sqlite3_open(db.file().toUtf8().constData(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        fee.post();
        ADD_FAILURE() << "posted while another writer held the database";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(u("料金"))) << e.what();
        EXPECT_TRUE(e.message().contains(u("使用中"))) << e.what();
    }
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    fee.post(); // the edit survived the failure and now goes through
    EXPECT_EQ(db.stored("氏名"), u("text:x"));
}

TEST(TableErrors, AStoredValueOfTheWrongKindIsReportedNotMisread)
{
    TempDatabase db;
    db.sql(u("INSERT INTO \"料金\" (\"初検料\") VALUES ('abc')"));
    Table fee(db.folder(), u(schema::FeeTable));
    expectOpenFails(fee, u("初検料"));
}
} // namespace
