#include "QtApp.h"
#include "TempDatabase.h"

#include "tables/Table.h"
#include "widgets/DBEdit.h"
#include "widgets/DataSource.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using tables::Table;
using widgets::DataSource;
using widgets::DBEdit;

namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The fee and extra-fee tables of a fresh database, both open.
class DataSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fee->open();
        extra.open();
    }
    DBEdit* typedInto(DataSource* source, const char* field, const char* text)
    {
        auto* box = new DBEdit(&window);
        box->setDataField(u(field));
        box->setDataSource(source);
        QTest::keyClicks(box, QString::fromLatin1(text));
        return box;
    }

    QApplication& app = qtApp();
    TempDatabase db;
    std::unique_ptr<Table> fee = std::make_unique<Table>(db.folder(), u(tables::schema::FeeTable));
    Table extra{db.folder(), u(tables::schema::ExtraFeeTable)};
    std::unique_ptr<DataSource> feeSource = std::make_unique<DataSource>(fee.get());
    DataSource extraSource{&extra};
    QWidget window;
};

TEST_F(DataSourceTest, APostHandsOverOnlyTheBoxesOfItsOwnTable)
{
    DBEdit* feeBox = typedInto(feeSource.get(), "保険外料金", "500");
    DBEdit* extraBox = typedInto(&extraSource, "金属副子", "300");
    fee->post();
    EXPECT_FALSE(feeBox->hasPendingText());
    EXPECT_TRUE(extraBox->hasPendingText());
    EXPECT_EQ(db.stored("保険外料金"), "integer:5000000");
    EXPECT_EQ(extra.fieldByName(u("金属副子")).asString(), QString());
}

TEST_F(DataSourceTest, ABoxDestroyedWhileTypingTakesItsTextWithIt)
{
    delete typedInto(feeSource.get(), "保険外料金", "500");
    EXPECT_NO_THROW(fee->post());
    EXPECT_EQ(db.stored("保険外料金"), "null:");
}

TEST_F(DataSourceTest, ADestroyedSourceNoLongerTakesPartInThePost)
{
    DBEdit* box = typedInto(feeSource.get(), "保険外料金", "500");
    feeSource.reset();
    EXPECT_EQ(box->dataSource(), nullptr);
    EXPECT_NO_THROW(fee->post());
    EXPECT_EQ(db.stored("保険外料金"), "null:");
}

TEST_F(DataSourceTest, ASourceMayOutliveItsTable)
{
    typedInto(feeSource.get(), "保険外料金", "500");
    fee.reset();
    EXPECT_EQ(feeSource->table(), nullptr);
    feeSource.reset();
}

} // namespace
