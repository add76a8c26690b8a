#include "Unit1Fixture.h"

#include "widgets/Colors.h"

#include <array>
#include <set>

namespace {

// A price list in which every price an injury button may read differs from
// all others, so the amount in the box tells which field was read.
const std::pair<const char*, const char*> prices[] = {
    {"施療料1", "761"},           {"施療料2", "762"},           {"施療料3", "763"},
    {"大腿骨整復料", "11800"},    {"鎖骨骨折整復料", "5500"},   {"骨盤不全骨折固定料", "9500"},
    {"前腕不全骨折固定料", "3300"}, {"肋骨不全骨折固定料", "4100"}, {"手根骨不全骨折固定料", "2200"},
    {"肩関節脱臼整復料", "3800"}, {"股関節脱臼整復料", "4001"}, {"肘関節脱臼整復料", "4002"},
    {"顎関節脱臼整復料", "2600.5"},
};

// The grid as the operator sees it: a caption stem per row, and what the
// box of each site receives.
struct GridRow {
    const char* stem;
    std::array<const char*, 5> amountBySite;
};
const GridRow grid[] = {
    {"捻挫打撲", {"761", "762", "763", "763", "763"}},
    {"骨折A", {"11800", "11800", "11800", "11800", "11800"}},
    {"骨折B", {"5500", "5500", "5500", "5500", "5500"}},
    {"不全骨折C", {"9500", "9500", "9500", "9500", "9500"}},
    {"不全骨折D", {"3300", "3300", "3300", "3300", "3300"}},
    {"不全骨折E", {"4100", "4100", "4100", "4100", "4100"}},
    {"不全骨折F", {"2200", "2200", "2200", "2200", "2200"}},
    {"脱臼G", {"3800", "3800", "3800", "3800", "3800"}},
    {"脱臼H", {"4001", "4001", "4001", "4001", "4001"}},
    {"脱臼J", {"4002", "4002", "4002", "4002", "4002"}},
    {"脱臼K", {"2600.5", "2600.5", "2600.5", "2600.5", "2600.5"}},
};

QString injuryButton(int row, int site) { return QStringLiteral("Button%1").arg(2 + 5 * (row - 1) + (site - 1)); }

// The fee column of sites 1-3: what an injury button withdraws, and the
// cold compress that goes with an initial treatment and stays.
struct Column {
    std::set<int> withdrawnIndicators;
    std::set<QString> withdrawnFields;
    const char* coldCompress;
};
const Column columns[] = {
    {{26, 4, 7}, {u8("後療料1"), u8("温罨法料1"), u8("電療料1")}, "冷罨法料1"},
    {{27, 5, 8}, {u8("後療料2"), u8("温罨法料2"), u8("電療料2")}, "冷罨法料2"},
    {{28, 6, 9}, {u8("後療料3"), u8("温罨法料3"), u8("電療料3")}, "冷罨法料3"},
};
constexpr const char* columnFees[] = {"後療料1", "温罨法料1", "電療料1", "冷罨法料1", "後療料2", "温罨法料2",
                                      "電療料2", "冷罨法料2", "後療料3", "温罨法料3", "電療料3", "冷罨法料3"};

const Column* columnOf(int site) { return site <= 3 ? &columns[site - 1] : nullptr; }

class Unit1InjuriesTest : public Unit1Fixture {
protected:
    Unit1InjuriesTest()
    {
        tables::Table list(db.folder(), u8(tables::schema::BaseFeeTable));
        list.open();
        list.edit();
        for (const auto& [field, amount] : prices)
            list.fieldByName(u8(field)).setAsString(u8(amount));
        list.post();
    }

    // Every fee of the three columns applied and lit, every box holding an
    // amount, and a name typed but not yet stored.
    void arrangeVisit(const QColor& reexamination = widgets::clWhite)
    {
        form->Table1->edit();
        for (const char* fee : columnFees)
            form->Table1->fieldByName(u8(fee)).setAsString(u8("85"));
        form->Table1->post();
        for (int n = 1; n <= 28; ++n)
            shape(n)->setBrushColor(n == 25 ? reexamination : widgets::clLime);
        arrangedReexamination = reexamination;
        for (int site = 1; site <= 5; ++site)
            siteBox(site)->setText(u8("old"));
        press("Button76");
        typedName = QStringLiteral("Visit%1").arg(++visits);
        type(box("DBEdit3"), typedName);
    }

    // After a press: the column's fees withdrawn (none without a column) and
    // the record stored with the typed name only where the press posted it;
    // the rest of the visit as arranged.
    void expectAfterPress(const Column* column)
    {
        const Record fee = stored();
        for (const char* name : columnFees) {
            const bool withdrawn = column && column->withdrawnFields.count(u8(name));
            EXPECT_EQ(fee.at(u8(name)), withdrawn ? QString() : u8("85")) << name;
        }
        for (int n = 1; n <= 28; ++n) {
            const bool withdrawn = column && column->withdrawnIndicators.count(n);
            const QColor arranged = n == 25 ? arrangedReexamination : widgets::clLime;
            EXPECT_EQ(shape(n)->brushColor(), withdrawn ? widgets::clWhite : arranged) << "Shape" << n;
        }
        EXPECT_EQ(fee.at(u8("氏名")) == typedName, column != nullptr) << "the fee record is posted for sites 1-3 only";
        EXPECT_EQ(editing(form->Table1), column == nullptr);
    }

    QColor arrangedReexamination;
    QString typedName;
    int visits = 0;
};

TEST_F(Unit1InjuriesTest, EachButtonFillsItsSiteFromItsRowsPrice)
{
    start();
    for (int row = 1; row <= 11; ++row) {
        for (int site = 1; site <= 5; ++site) {
            const QString button = injuryButton(row, site);
            SCOPED_TRACE(button.toStdString());
            EXPECT_EQ(control<QPushButton>(button)->text(), u8(grid[row - 1].stem) + QString::number(site));
            arrangeVisit();

            press(button);

            EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
            for (int other = 1; other <= 5; ++other)
                EXPECT_EQ(siteBox(other)->text(), other == site ? u8(grid[row - 1].amountBySite[site - 1]) : u8("old"))
                    << "Edit" << other;
            expectAfterPress(columnOf(site));
            press("Button77");
        }
    }
}

// While the re-examination fee is applied, site 1 gets no initial treatment:
// its column is still withdrawn, but Edit1 keeps what it holds. Other sites
// are filled as usual.
TEST_F(Unit1InjuriesTest, AReexaminationKeepsSite1sBoxButNotTheOthers)
{
    start();
    for (const QColor& colour : {widgets::clLime, widgets::clGreen}) {
        SCOPED_TRACE(colour.name().toStdString());
        arrangeVisit(colour);
        press("Button12"); // 骨折B1
        EXPECT_EQ(siteBox(1)->text(), u8("old"));
        expectAfterPress(columnOf(1));

        press("Button13"); // 骨折B2
        EXPECT_EQ(siteBox(2)->text(), u8("5500"));
        press("Button77");
    }
    EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
}

TEST_F(Unit1InjuriesTest, AnEmptyPriceEmptiesTheBox)
{
    db.sql(u8("UPDATE \"捻挫打撲基料金\" SET \"鎖骨骨折整復料\" = NULL"));
    start();
    arrangeVisit();

    press("Button14"); // 骨折B3

    EXPECT_TRUE(errors.isEmpty()) << errorText().toStdString();
    EXPECT_EQ(siteBox(3)->text(), QString());
    expectAfterPress(columnOf(3));
}

// A price list without the row's price fails the press before anything
// changes: a site must not lose its aftercare without getting its initial
// treatment.
TEST_F(Unit1InjuriesTest, AMissingPriceChangesNothing)
{
    db.sql(u8("ALTER TABLE \"捻挫打撲基料金\" DROP COLUMN \"顎関節脱臼整復料\""));
    start();
    arrangeVisit();

    press("Button53"); // 脱臼K2

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(u8("顎関節脱臼整復料"))) << errors[0].toStdString();
    EXPECT_EQ(siteBox(2)->text(), u8("old"));
    expectAfterPress(nullptr);
}

} // namespace
