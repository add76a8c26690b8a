#include "Unit1FeeFixture.h"

#include "platform/Clock.h"
#include "platform/RateDraw.h"

#include <map>
#include <set>
#include <vector>

namespace {

using tables::schema::ExtraFeeTable;
using tables::schema::FeeTable;

// The visit-wide fields these buttons write, with the table holding each.
const std::pair<const char*, const char*> visitFields[] = {
    {FeeTable, "初検料"},     {FeeTable, "初検時相談支援料"}, {FeeTable, "再検料"},     {FeeTable, "往療料"},
    {FeeTable, "時間外加算"}, {FeeTable, "深夜加算"},         {FeeTable, "休日加算"},   {FeeTable, "施術情報提供料"},
    {ExtraFeeTable, "金属副子"}, {ExtraFeeTable, "夜間暴風難路"},
};

// The indicators of the visit-wide buttons.
constexpr int firstShape = 10, lastShape = 25;

// Indicators that are lime, the visit fields that hold something (the rest
// are empty), and the first site's box.
struct VisitState {
    std::set<int> lime;
    std::map<QString, QString> fields;
    QString edit1;
    bool operator==(const VisitState&) const = default;
};

void PrintTo(const VisitState& s, std::ostream* os)
{
    *os << "{lime";
    for (int n : s.lime)
        *os << ' ' << n;
    *os << ";";
    for (const auto& [name, value] : s.fields)
        *os << ' ' << name.toStdString() << '=' << value.toStdString();
    *os << "; Edit1 \"" << s.edit1.toStdString() << "\"}";
}

VisitState state(std::set<int> lime, std::initializer_list<std::pair<const char*, const char*>> fields,
                 const char* edit1 = "1000")
{
    VisitState s{std::move(lime), {}, u8(edit1)};
    for (const auto& [name, value] : fields)
        s.fields[u8(name)] = u8(value);
    return s;
}

class VisitFeeTest : public Unit1FeeTest {
protected:
    // Prices that differ from one another, so a fee read from the wrong price shows.
    VisitFeeTest()
    {
        const std::pair<const char*, int> prices[] = {
            {"初検料", 1550},          {"初検時相談支援料", 100},  {"再検料", 410},
            {"往療料2ｋｍ以内", 2301}, {"往療料2から4ｋｍ", 2302}, {"往療料4から6ｋｍ", 2553},
            {"往療料6から8ｋｍ", 2554}, {"往療料上限", 2555},      {"時間外加算", 540},
            {"深夜加算", 1560},        {"休日加算", 1570},         {"施術情報提供料", 480},
            {"金属副子加算大型", 1000}, {"金属副子加算中型", 800}, {"金属副子加算小型", 600},
        };
        for (const auto& [field, yen] : prices)
            price(field, yen);
    }

    VisitState current()
    {
        VisitState s;
        for (int n = firstShape; n <= lastShape; ++n)
            if (isLime(n))
                s.lime.insert(n);
        const std::map<QString, QString> records[] = {stored(FeeTable), stored(ExtraFeeTable)};
        for (const auto& [table, field] : visitFields)
            if (const QString value = records[table == ExtraFeeTable].at(u8(field)); !value.isEmpty())
                s.fields[u8(field)] = value;
        s.edit1 = siteBox(1)->text();
        return s;
    }

    void arrange(const VisitState& s)
    {
        for (int n = firstShape; n <= lastShape; ++n)
            paint(n, s.lime.count(n));
        for (const auto& [table, field] : visitFields) {
            const auto it = s.fields.find(u8(field));
            tables::Table* record = table == FeeTable ? form->Table1 : form->Table2;
            record->edit();
            record->fieldByName(u8(field)).setAsString(it == s.fields.end() ? QString() : it->second);
        }
        form->Table1->post();
        form->Table2->post();
        siteBox(1)->setText(s.edit1);
    }
};

// Each button toggles its own fee: a press applies it, the next removes it.
// The time and night/storm surcharges are pressed with a first examination
// present, the night/storm surcharge with a travel fee too.
struct ToggleCase {
    int button;
    int shape;
    std::vector<int> before; // presses that make the fee possible
    std::map<QString, QString> applied;
};

void PrintTo(const ToggleCase& c, std::ostream* os) { *os << "Button" << c.button; }

class VisitFeeToggleTest : public VisitFeeTest, public testing::WithParamInterface<ToggleCase> {};

TEST_P(VisitFeeToggleTest, PressAppliesAndPressAgainRemoves)
{
    const ToggleCase& c = GetParam();
    start();
    for (int button : c.before)
        press(button);
    const VisitState before = current();

    press(c.button);
    VisitState applied = before;
    applied.lime.insert(c.shape);
    for (const auto& [field, value] : c.applied)
        applied.fields[field] = value;
    EXPECT_EQ(current(), applied);

    press(c.button);
    EXPECT_EQ(current(), before);
    expectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, VisitFeeToggleTest,
    testing::Values(ToggleCase{102, 23, {}, {{u8("初検料"), u8("1550")}}},
                    ToggleCase{103, 24, {}, {{u8("初検料"), u8("1550")}, {u8("初検時相談支援料"), u8("100")}}},
                    ToggleCase{104, 25, {}, {{u8("再検料"), u8("410")}}},
                    ToggleCase{60, 10, {}, {{u8("往療料"), u8("2301")}}},
                    ToggleCase{61, 11, {}, {{u8("往療料"), u8("2302")}}},
                    ToggleCase{62, 12, {}, {{u8("往療料"), u8("2553")}}},
                    ToggleCase{63, 13, {}, {{u8("往療料"), u8("2554")}}},
                    ToggleCase{64, 14, {}, {{u8("往療料"), u8("2555")}}},
                    ToggleCase{65, 15, {102}, {{u8("時間外加算"), u8("540")}}},
                    ToggleCase{66, 16, {103}, {{u8("深夜加算"), u8("1560")}}},
                    ToggleCase{67, 17, {102}, {{u8("休日加算"), u8("1570")}}},
                    ToggleCase{71, 22, {102, 63}, {{u8("夜間暴風難路"), u8("2554")}}},
                    ToggleCase{68, 19, {}, {{u8("金属副子"), u8("1000")}}},
                    ToggleCase{69, 20, {}, {{u8("金属副子"), u8("800")}}},
                    ToggleCase{70, 21, {}, {{u8("金属副子"), u8("600")}}},
                    ToggleCase{72, 18, {}, {{u8("施術情報提供料"), u8("480")}}}),
    [](const testing::TestParamInfo<ToggleCase>& info) { return "Button" + std::to_string(info.param.button); });

// What each press turns off beside it and what it leaves, from states
// arranged with every fee the press may touch present.
struct ExclusionCase {
    const char* what;
    VisitState before;
    int button;
    VisitState after;
};

TEST_F(VisitFeeTest, EachPressEndsWhatCannotStandBesideItAndLeavesTheRest)
{
    const ExclusionCase cases[] = {
        {"first examination ends consultation and re-examination",
         state({24, 25, 18}, {{"初検料", "9"}, {"初検時相談支援料", "100"}, {"再検料", "410"}, {"施術情報提供料", "480"}}), 102,
         state({23, 18}, {{"初検料", "1550"}, {"施術情報提供料", "480"}})},
        {"first examination with consultation ends the others",
         state({23, 25}, {{"初検料", "9"}, {"再検料", "410"}}), 103,
         state({24}, {{"初検料", "1550"}, {"初検時相談支援料", "100"}})},
        {"re-examination ends the first examination, its surcharges and site 1's initial treatment",
         state({23, 24, 15, 16, 17, 22, 10, 19, 18},
               {{"初検料", "1550"}, {"初検時相談支援料", "100"}, {"時間外加算", "540"}, {"深夜加算", "1560"},
                {"休日加算", "1570"}, {"往療料", "2301"}, {"夜間暴風難路", "2301"}, {"金属副子", "1000"},
                {"施術情報提供料", "480"}}),
         104,
         state({25, 10, 19, 18}, {{"再検料", "410"}, {"往療料", "2301"}, {"金属副子", "1000"}, {"施術情報提供料", "480"}}, "")},
        {"a travel band ends the other bands and the time surcharges",
         state({23, 11, 15, 16, 17}, {{"初検料", "1550"}, {"往療料", "2302"}, {"時間外加算", "540"}, {"深夜加算", "1560"},
                                      {"休日加算", "1570"}}),
         60, state({23, 10}, {{"初検料", "1550"}, {"往療料", "2301"}})},
        {"the night/storm surcharge follows a change of band",
         state({23, 11, 22}, {{"初検料", "1550"}, {"往療料", "2302"}, {"夜間暴風難路", "2302"}}), 62,
         state({23, 12, 22}, {{"初検料", "1550"}, {"往療料", "2553"}, {"夜間暴風難路", "2553"}})},
        {"a time surcharge ends the others, the travel bands and the night/storm surcharge",
         state({23, 16, 17, 10, 11, 12, 13, 14, 22}, {{"初検料", "1550"}, {"深夜加算", "1560"}, {"休日加算", "1570"},
                                                      {"夜間暴風難路", "300"}}),
         65, state({23, 15}, {{"初検料", "1550"}, {"時間外加算", "540"}})},
        {"a time surcharge beside a travel fee only empties itself",
         state({23, 10}, {{"初検料", "1550"}, {"往療料", "2301"}, {"深夜加算", "1560"}}), 66,
         state({23, 10}, {{"初検料", "1550"}, {"往療料", "2301"}})},
        {"a time surcharge without a first examination does nothing",
         state({15, 25}, {{"再検料", "410"}, {"時間外加算", "540"}}), 65,
         state({15, 25}, {{"再検料", "410"}, {"時間外加算", "540"}})},
        {"a white time surcharge without a first examination does nothing", state({}, {}), 67, state({}, {})},
        {"the night/storm surcharge takes the travel fee",
         state({23, 10}, {{"初検料", "1550"}, {"往療料", "2301"}}), 71,
         state({23, 10, 22}, {{"初検料", "1550"}, {"往療料", "2301"}, {"夜間暴風難路", "2301"}})},
        {"the night/storm surcharge without a travel fee does nothing",
         state({23}, {{"初検料", "1550"}}), 71, state({23}, {{"初検料", "1550"}})},
        {"the night/storm surcharge without a first examination does nothing",
         state({10, 22}, {{"往療料", "2301"}, {"夜間暴風難路", "2301"}}), 71,
         state({10, 22}, {{"往療料", "2301"}, {"夜間暴風難路", "2301"}})},
        {"the night/storm surcharge removed",
         state({23, 10, 22}, {{"初検料", "1550"}, {"往療料", "2301"}, {"夜間暴風難路", "2301"}}), 71,
         state({23, 10}, {{"初検料", "1550"}, {"往療料", "2301"}})},
        {"a splint size replaces another", state({19}, {{"金属副子", "1000"}}), 70, state({21}, {{"金属副子", "600"}})},
        {"a splint size removed", state({21}, {{"金属副子", "600"}}), 70, state({}, {})},
        // The surcharges that may only stand with a first examination go with it.
        {"removing the first examination ends its time surcharge",
         state({23, 15, 19}, {{"初検料", "1550"}, {"時間外加算", "540"}, {"金属副子", "1000"}}), 102,
         state({19}, {{"金属副子", "1000"}})},
        {"removing the first examination with consultation ends its night/storm surcharge",
         state({24, 10, 22}, {{"初検料", "1550"}, {"初検時相談支援料", "100"}, {"往療料", "2301"}, {"夜間暴風難路", "2301"}}),
         103, state({10}, {{"往療料", "2301"}})},
        // The night/storm surcharge is the travel fee again and cannot stand without it.
        {"removing the travel band ends the night/storm surcharge",
         state({23, 10, 22}, {{"初検料", "1550"}, {"往療料", "2301"}, {"夜間暴風難路", "2301"}}), 60,
         state({23}, {{"初検料", "1550"}})},
        {"removing the re-examination", state({25}, {{"再検料", "410"}}, ""), 104, state({}, {}, "")},
    };
    start();
    for (const ExclusionCase& c : cases) {
        SCOPED_TRACE(c.what);
        arrange(c.before);
        press(c.button);
        EXPECT_EQ(current(), c.after);
    }
    expectNoErrors();
}

// Every visit fee is copied as currency: an empty price charges 0 yen.
struct EmptyPriceCase {
    int button;
    const char* price;
    std::vector<int> before;
    const char* table;
    const char* field;
};

void PrintTo(const EmptyPriceCase& c, std::ostream* os) { *os << "Button" << c.button; }

class VisitFeeEmptyPriceTest : public VisitFeeTest, public testing::WithParamInterface<EmptyPriceCase> {};

TEST_P(VisitFeeEmptyPriceTest, ChargesZeroYen)
{
    const EmptyPriceCase& c = GetParam();
    price(c.price, std::nullopt);
    start();
    for (int button : c.before)
        press(button);
    press(c.button);
    EXPECT_EQ(stored(c.field, c.table), u8("0"));
    expectNoErrors();
}

INSTANTIATE_TEST_SUITE_P(
    Prices, VisitFeeEmptyPriceTest,
    testing::Values(EmptyPriceCase{102, "初検料", {}, FeeTable, "初検料"},
                    EmptyPriceCase{103, "初検時相談支援料", {}, FeeTable, "初検時相談支援料"},
                    EmptyPriceCase{104, "再検料", {}, FeeTable, "再検料"},
                    EmptyPriceCase{64, "往療料上限", {}, FeeTable, "往療料"},
                    EmptyPriceCase{66, "深夜加算", {102}, FeeTable, "深夜加算"},
                    EmptyPriceCase{69, "金属副子加算中型", {}, ExtraFeeTable, "金属副子"},
                    EmptyPriceCase{72, "施術情報提供料", {}, FeeTable, "施術情報提供料"}),
    [](const testing::TestParamInfo<EmptyPriceCase>& info) { return "Button" + std::to_string(info.param.button); });

// A travel fee of 0 yen is a travel fee: it blocks the time surcharges and
// carries a night/storm surcharge of 0 yen.
TEST_F(VisitFeeTest, ATravelFeeOfZeroCountsAsPresent)
{
    price("往療料2ｋｍ以内", std::nullopt);
    start();
    press(102);
    press(60);
    ASSERT_EQ(fee("往療料"), u8("0"));

    press(65);
    EXPECT_FALSE(isLime(15));
    EXPECT_EQ(fee("時間外加算"), QString());

    press(71);
    EXPECT_TRUE(isLime(22));
    EXPECT_EQ(extra("夜間暴風難路"), u8("0"));
    expectNoErrors();
}

// A surcharge typed into its box is still one the time surcharge excludes.
TEST_F(VisitFeeTest, ATimeSurchargeEmptiesATypedNightStormSurcharge)
{
    start();
    press(102);
    type("DBEdit25", "300");
    paint(22, true);

    press(67);

    EXPECT_EQ(extra("夜間暴風難路"), QString());
    EXPECT_EQ(box("DBEdit25")->text(), QString());
    EXPECT_FALSE(isLime(22));
    EXPECT_EQ(fee("休日加算"), u8("1570"));
    expectNoErrors();
}

TEST_F(VisitFeeTest, ReExaminationEmptiesTheFirstSiteBoxOnly)
{
    start();
    for (int site = 1; site <= 5; ++site)
        type(siteBox(site), QString::number(site * 100));

    press(104);

    EXPECT_EQ(siteBox(1)->text(), QString());
    for (int site = 2; site <= 5; ++site)
        EXPECT_EQ(siteBox(site)->text(), QString::number(site * 100)) << site;
    expectNoErrors();
}

// The re-examination stores the extra-fee record before the fee record; a
// price missing from the list stops it before either is stored.
TEST_F(VisitFeeTest, AMissingPriceStopsThePressBeforeAnythingIsStored)
{
    db.sql(u8("ALTER TABLE \"捻挫打撲基料金\" DROP COLUMN \"再検料\""));
    start();
    arrange(state({23, 22}, {{"初検料", "1550"}, {"往療料", "2301"}, {"夜間暴風難路", "2301"}}));

    press(104);

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(u8("再検料"))) << errors[0].toStdString();
    EXPECT_EQ(fee("初検料"), u8("1550"));
    EXPECT_EQ(extra("夜間暴風難路"), u8("2301"));
    EXPECT_EQ(siteBox(1)->text(), u8("1000"));
    EXPECT_TRUE(isLime(25)) << "indicators are set before the record is touched";
    EXPECT_FALSE(isLime(23));
}

// One visit pressed in as at the desk, then "計算": the bill worked out by hand.
TEST_F(VisitFeeTest, AVisitPressedInThenCalculatedGivesTheHandComputedBill)
{
    price("施療料1", 760);
    price("鎖骨骨折整復料", 5500);
    price("冷罨法料1", 85);
    price("骨折後療料", 850);
    const platform::Draw previousDraw = platform::setDraw([](int outcomes) {
        EXPECT_EQ(outcomes, 44);
        return 30; // "３割"
    });
    const platform::Clock previousClock = platform::setClock([] { return QDate(2025, 3, 14); });
    start();

    press(102); // 初検料 1550
    press(2);   // 捻挫打撲1: site 1 initial treatment 760
    press(13);  // 骨折B2: site 2 initial treatment 5500
    press(57);  // 冷罨法1 85
    press(83);  // 骨折後療3: 70 % of 850 = 595
    press(62);  // 往療4-6ｋ 2553
    press(71);  // 往療夜間暴風難路: the travel fee again, 2553
    press(69);  // 金属副子中 800
    press(72);  // 施術情報提供料 480
    type("Edit6", "300");
    press(73);

    platform::setDraw(previousDraw);
    platform::setClock(previousClock);
    expectNoErrors();
    // 1550 + 480 + 800 + 2553 + 2553 + 595 + 760 + 5500 + 85 = 14876;
    // 30 % is 4462.8, to 10 yen 4460; sites 1 and 2 by their boxes, site 3 by its aftercare.
    const std::map<QString, QString> bill = stored(FeeTable);
    const std::pair<const char*, const char*> expected[] = {
        {"施療料1", "760"},      {"施療料2", "5500"},         {"施療料3", "0"},
        {"後療料3", "595"},      {"冷罨法料1", "85"},         {"往療料", "2553"},
        {"保険料金合計", "14876"}, {"負担率", "３割"},           {"一部負担金", "4460"},
        {"保険外料金", "300"},   {"窓口料金", "4760"},         {"料金", "4760"},
        {"その他の保険加算料金", "3353"}, {"負傷部位数", "3"}, {"年月日", "2025/03/14"},
        {"年", "2025"},          {"月", "3"},                  {"日", "14"},
    };
    for (const auto& [field, value] : expected)
        EXPECT_EQ(bill.at(u8(field)), u8(value)) << field;
    EXPECT_EQ(extra("金属副子"), u8("800"));
    EXPECT_EQ(extra("夜間暴風難路"), u8("2553"));
}

} // namespace
