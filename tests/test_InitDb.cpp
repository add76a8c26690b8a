#include "Error.h"
#include "InitDb.h"
#include "Table.h"
#include "TempDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tables;

namespace {
QString u(const char* s) { return QString::fromUtf8(s); }

QString samplePriceText()
{
    QFile f(QStringLiteral(HARUNIRE_SOURCE_DIR "/data/prices.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

TEST(InitDb, CreatesTheContractsTablesColumnsAndTypes)
{
    TempDatabase db;
    for (const auto& [table, fields] : {std::pair{schema::FeeTable, schema::feeFields()},
                                        std::pair{schema::ExtraFeeTable, schema::extraFeeFields()},
                                        std::pair{schema::BaseFeeTable, schema::baseFeeFields()}}) {
        const QString t = u(table);
        EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM pragma_table_info('%1')").arg(t)),
                  QString::number(fields.size())) << table;
        for (const auto& f : fields)
            EXPECT_EQ(db.value(QStringLiteral("SELECT type FROM pragma_table_info('%1') WHERE name = '%2'").arg(t, f.qname())),
                      f.declaredType()) << table << "." << f.name;
    }
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金\"")), "0");
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"料金2\"")), "0");
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"捻挫打撲基料金\"")), "1");
    EXPECT_EQ(db.stored("初検料", schema::BaseFeeTable), u("integer:15500000"));
    EXPECT_EQ(db.stored("長期逓減率", schema::BaseFeeTable), u("integer:7500"));
    EXPECT_EQ(db.stored("電療料3", schema::BaseFeeTable), u("integer:200000"));
}

TEST(InitDb, LeavesAnExistingDatabaseAlone)
{
    TempDatabase db;
    db.sql(u("UPDATE \"捻挫打撲基料金\" SET \"初検料\" = 1"));
    EXPECT_FALSE(tools::createDatabase(db.folder()));
    EXPECT_EQ(db.stored("初検料", schema::BaseFeeTable), u("integer:1"));
}

TEST(InitDb, LoadsAClinicsOwnPriceList)
{
    TempDatabase db;
    QString text = samplePriceText();
    text.replace(u("初検料 = 1550"), u("初検料 = 1600.5"));
    tools::loadPrices(db.folder(), tools::parsePrices(text, u("own.txt")));
    EXPECT_EQ(db.stored("初検料", schema::BaseFeeTable), u("integer:16005000"));
    EXPECT_EQ(db.value(u("SELECT count(*) FROM \"捻挫打撲基料金\"")), "1");

    QTemporaryDir fresh; // and creates the database where there is none
    tools::loadPrices(fresh.filePath(u("sa")), tools::parsePrices(text, u("own.txt")));
    Table base(fresh.filePath(u("sa")), u(schema::BaseFeeTable));
    base.open();
    EXPECT_EQ(base.fieldByName(u("初検料")).asString(), "1600.5");
}

TEST(InitDb, RefusesABadPriceListNamingTheLine)
{
    struct Case { const char* from; const char* to; const char* says; };
    const Case cases[] = {
        {"再検料 = 410", "再検料 = 4l0", "行目"},
        {"再検料 = 410", "再検料 410", "行目"},
        {"再検料 = 410", "再検量 = 410", "再検量"},
        {"再検料 = 410", "再検料 = 410\n再検料 = 420", "二度"},
        {"再検料 = 410", "", "再検料"},
        {"再検料 = 410", "再検料 =", "行目"},
    };
    const QString sample = samplePriceText();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        QString text = sample;
        text.replace(u(c.from), u(c.to));
        try {
            tools::parsePrices(text, u("own.txt"));
            ADD_FAILURE() << "accepted";
        } catch (const ConversionError& e) {
            EXPECT_TRUE(e.message().contains(u(c.says))) << e.what();
            EXPECT_TRUE(e.message().contains(u("own.txt"))) << e.what();
        }
    }
}

TEST(InitDbCommand, CreatesOnceAndSaysSo)
{
    const QString tool = qEnvironmentVariable("HARUNIRE_TEST_BIN_DIR") + u("/tools/harunire-initdb");
    if (!QFileInfo::exists(tool)) GTEST_SKIP() << "harunire-initdb not built";
    QTemporaryDir root;
    auto run = [&](QStringList args) {
        QProcess p;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u("HARUNIRE_ROOT"), root.path());
        p.setProcessEnvironment(env);
        p.start(tool, args);
        p.waitForFinished(20000);
        return std::pair{p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError())};
    };
    auto [rc1, out1] = run({});
    EXPECT_EQ(rc1, 0);
    EXPECT_TRUE(out1.contains(u("created"))) << out1.toStdString();
    EXPECT_TRUE(QFileInfo::exists(root.filePath(u("sa/tables.sqlite3"))));
    auto [rc2, out2] = run({});
    EXPECT_EQ(rc2, 0);
    EXPECT_TRUE(out2.contains(u("already exists"))) << out2.toStdString();

    QFile bad(root.filePath(u("bad.txt")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("# comment\n初検料 = abc\n");
    bad.close();
    auto [rc3, out3] = run({u("--prices"), bad.fileName()});
    EXPECT_EQ(rc3, 1);
    EXPECT_TRUE(out3.contains(u("2 行目"))) << out3.toStdString();
}
} // namespace
