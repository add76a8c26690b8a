// Travel bands, time surcharges, the treatment-information fee, the
// night/storm surcharge and metal splints of the sprain/bruise window.
#include "sakusei_fee_buttons_fixture.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Values = std::map<std::string, std::string>;

// The fields these buttons write, in the fee record and the extra-fee record.
constexpr const char* feeFields[] = {"往療料", "時間外加算", "深夜加算", "休日加算", "施術情報提供料"};
constexpr const char* extraFields[] = {"夜間暴風難路", "金属副子"};

const char* const holidayNote = "往療料で休日加算できない。";

// Those fields as they should be stored: the named ones hold their text, the rest are empty.
Values written(std::initializer_list<std::pair<const char*, const char*>> values)
{
    Values out;
    for (const char* f : feeFields)
        out[f] = "<empty>";
    for (const char* f : extraFields)
        out[f] = "<empty>";
    for (const auto& [field, value] : values)
        out.at(field) = value;
    return out;
}

class SakuseiSurchargesTest : public SakuseiFeeButtonTest {
protected:
    void SetUp() override
    {
        SakuseiFeeButtonTest::SetUp();
        // Each price distinct from the others, so a button that copies the
        // wrong one shows; the sample list shares amounts between bands.
        setPrices({{"往療料2ｋｍ以内", "2300"},
                   {"往療料2から4ｋｍ", "2400"},
                   {"往療料4から6ｋｍ", "2550"},
                   {"往療料6から8ｋｍ", "2650"},
                   {"往療料上限", "2750"},
                   {"時間外加算", "540"},
                   {"深夜加算", "1560"},
                   {"休日加算", "1600"},
                   {"施術情報提供料", "480"},
                   {"金属副子加算大型", "1000"},
                   {"金属副子加算中型", "800"},
                   {"金属副子加算小型", "600"}});
    }

    Values storedValues() const
    {
        Values out;
        const auto fee = stored(tables::schema::FeeTable);
        const auto extra = stored(tables::schema::ExtraFeeTable);
        for (const char* f : feeFields)
            out[f] = fee.at(u8(f)).toStdString();
        for (const char* f : extraFields)
            out[f] = extra.at(u8(f)).toStdString();
        return out;
    }

    // Everything a press could change: indicator colours, both records as
    // stored, the memo.
    std::string snapshot() const
    {
        QStringList parts;
        for (int n : allIndicators)
            parts << QStringLiteral("Shape%1=%2").arg(n).arg(shape(n)->brushColor().name());
        for (const char* table : {tables::schema::FeeTable, tables::schema::ExtraFeeTable})
            for (const auto& [field, value] : stored(table))
                parts << field + u'=' + value;
        parts << QStringLiteral("memo=") + memo();
        return parts.join(u'\n').toStdString();
    }
};

// The exclusions between travel, the time surcharges and the night/storm
// surcharge, each as a state reached by presses on a first visit, one press,
// and the state after it.
struct Exclusion {
    std::string name;
    std::vector<int> before; // pressed after "初検料" (Button1)
    int press;
    std::set<int> limeAfter;
    Values after;
    const char* note = nullptr; // null: the memo is left as it was
};

void PrintTo(const Exclusion& c, std::ostream* os)
{
    *os << c.name;
}

const Exclusion exclusions[] = {
    {"TimeSurchargeWithoutTravel", {}, 22, {1, 22}, written({{"深夜加算", "1560"}})},
    {"TravelBandDropsTimeSurchargeSilently", {22}, 17, {1, 17}, written({{"往療料", "2400"}})},
    {"UpperLimitBandDropsHolidaySurcharge", {23}, 20, {1, 20}, written({{"往療料", "2750"}})},
    {"AfterHoursRefusedOnAHouseCall", {18}, 21, {1, 18}, written({{"往療料", "2550"}})},
    {"LateNightRefusedOnAHouseCall", {16}, 22, {1, 16}, written({{"往療料", "2300"}})},
    {"HolidayRefusedOnAHouseCallWithTheNote", {19}, 23, {1, 19}, written({{"往療料", "2650"}}), holidayNote},
    {"NightStormWithoutTravelDoesNothing", {}, 28, {1}, written({})},
    {"NightStormTakesTheTravelFee", {18}, 28, {1, 18, 28}, written({{"往療料", "2550"}, {"夜間暴風難路", "2550"}})},
    {"NightStormFollowsABandChange",
     {18, 28},
     20,
     {1, 20, 28},
     written({{"往療料", "2750"}, {"夜間暴風難路", "2750"}})},
    {"TravelWithdrawnTakesTheNightStormSurcharge", {18, 28}, 18, {1}, written({})},
    {"NightStormWithdrawnLeavesTheTravelFee", {18, 28}, 28, {1, 18}, written({{"往療料", "2550"}})},
    {"BandChangedWithoutNightStorm", {16}, 17, {1, 17}, written({{"往療料", "2400"}})},
    {"TimeSurchargesExcludeEachOther", {21}, 23, {1, 23}, written({{"休日加算", "1600"}})},
    {"TimeSurchargeWithdrawn", {22}, 22, {1}, written({})},
    {"FirstVisitWithdrawnTakesTheNightStormSurcharge", {16, 28}, 1, {16}, written({{"往療料", "2300"}})},
    {"FirstVisitWithdrawnTakesATimeSurcharge", {21}, 1, {}, written({})},
    {"ReExaminationTakesTheSurcharges", {16, 28}, 3, {3, 16}, written({{"往療料", "2300"}})},
    {"ConsultationKeepsTheSurcharges", {22}, 2, {2, 22}, written({{"深夜加算", "1560"}})},
    {"SplintSizeChangedReplacesTheAmount", {29}, 33, {1, 32}, written({{"金属副子", "800"}})},
    {"SplintWithdrawn", {34}, 34, {1}, written({})},
    {"SplintAndTravelStandTogether",
     {34, 16},
     28,
     {1, 16, 28, 33},
     written({{"往療料", "2300"}, {"夜間暴風難路", "2300"}, {"金属副子", "600"}})},
    {"InformationFeeApplied", {}, 24, {1, 24}, written({{"施術情報提供料", "480"}})},
    {"InformationFeeWithdrawn", {24}, 24, {1}, written({})},
    {"InformationFeeStandsWithATimeSurcharge",
     {24},
     21,
     {1, 21, 24},
     written({{"時間外加算", "540"}, {"施術情報提供料", "480"}})},
};

class SakuseiExclusionTest : public SakuseiSurchargesTest, public ::testing::WithParamInterface<Exclusion> {};

TEST_P(SakuseiExclusionTest, StateAfterThePress)
{
    const Exclusion& c = GetParam();
    press(1);
    press(c.before);
    ASSERT_EQ(memo(), guideText) << "the arrangement itself wrote a note";
    press(c.press);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(limeIndicators(), c.limeAfter);
    EXPECT_EQ(storedValues(), c.after);
    expectFeesOf(c.limeAfter);
    EXPECT_EQ(memo(), c.note ? u8(c.note) : guideText);
}
INSTANTIATE_TEST_SUITE_P(Exclusions, SakuseiExclusionTest, ::testing::ValuesIn(exclusions),
                         [](const auto& info) { return info.param.name; });

TEST_F(SakuseiSurchargesTest, TheConsultationFirstVisitAdmitsTheGuardedButtons)
{
    press({2, 16, 28, 23, 16, 23});
    EXPECT_EQ(limeIndicators(), (std::set<int>{2, 23}));
    EXPECT_EQ(storedValues(), written({{"休日加算", "1600"}}));
    EXPECT_EQ(memo(), u8(holidayNote));
}

// Without a first visit these presses are neither an apply nor a withdrawal,
// whatever their own indicator shows. The buttons never leave one of them
// lime without a first visit, so that state is set by hand.
TEST_F(SakuseiSurchargesTest, GuardedButtonsDoNothingWithoutAFirstVisit)
{
    for (int button : {21, 22, 23, 28}) {
        for (bool appliedBefore : {false, true}) {
            SCOPED_TRACE(testing::Message() << "Button" << button << (appliedBefore ? " applied" : " not applied"));
            press({30, 1});
            // A travel band lets the night/storm surcharge act.
            if (button == 28)
                press(16);
            if (appliedBefore)
                press(button);
            shape(1)->setBrushColor(widgets::clWhite);
            const std::string before = snapshot();
            press(button);
            EXPECT_EQ(snapshot(), before);
        }
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(SakuseiSurchargesTest, AnIndicatorNeitherWhiteNorLimeMakesItsButtonDoNothing)
{
    const std::pair<int, int> buttonAndIndicator[] = {{16, 16}, {17, 17}, {18, 18}, {19, 19}, {20, 20},
                                                      {21, 21}, {22, 22}, {23, 23}, {24, 24}, {28, 28},
                                                      {29, 31}, {33, 32}, {34, 33}};
    for (const auto& [button, own] : buttonAndIndicator) {
        SCOPED_TRACE(testing::Message() << "Button" << button);
        press({30, 1});
        if (button == 28)
            press(16);
        shape(own)->setBrushColor(widgets::clSkyBlue);
        const std::string before = snapshot();
        press(button);
        EXPECT_EQ(snapshot(), before);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

// Withdrawing the band empties the surcharge even when its button never
// applied it, so no surcharge outlives the house call.
TEST_F(SakuseiSurchargesTest, WithdrawingTheTravelBandEmptiesASurchargeEnteredByHand)
{
    press(17);
    put(window->Table3, {{"夜間暴風難路", "999"}});
    press(17);
    EXPECT_EQ(storedValues(), written({}));
    EXPECT_EQ(limeIndicators(), std::set<int>{});
}

// Copied as text, an empty price gives an empty fee, not 0 yen; the
// surcharge copied from an empty travel fee is empty as well.
TEST_F(SakuseiSurchargesTest, AnEmptyPriceLeavesTheFeeEmpty)
{
    setPrices({{"往療料4から6ｋｍ", ""}, {"金属副子加算小型", ""}, {"深夜加算", ""}});
    press({1, 22});
    EXPECT_EQ(limeIndicators(), (std::set<int>{1, 22}));
    press({18, 28, 34});
    EXPECT_EQ(limeIndicators(), (std::set<int>{1, 18, 28, 33}));
    EXPECT_EQ(storedValues(), written({}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

// Decimals and the exact text of the travel fee reach the surcharge unchanged.
TEST_F(SakuseiSurchargesTest, TheNightStormSurchargeCopiesTheTravelFeeAsStored)
{
    press({1, 19});
    put(window->Table1, {{"往療料", "2650.25"}});
    press(28);
    EXPECT_EQ(storedValues(), written({{"往療料", "2650.25"}, {"夜間暴風難路", "2650.25"}}));
}

// Each family reads its price before it changes anything.
TEST_F(SakuseiSurchargesTest, APriceListWithoutTheSplintSizeChangesNothing)
{
    expectPressChangesNothingWithout("金属副子加算中型", {29}, 33);
    errors.clear();
    press(34);
    EXPECT_EQ(limeIndicators(), std::set<int>{33});
    EXPECT_EQ(storedValues(), written({{"金属副子", "600"}}));
}

TEST_F(SakuseiSurchargesTest, APriceListWithoutTheBandChangesNothing)
{
    expectPressChangesNothingWithout("往療料6から8ｋｍ", {1, 22}, 19);
}

TEST_F(SakuseiSurchargesTest, APriceListWithoutTheSurchargeChangesNothing)
{
    expectPressChangesNothingWithout("休日加算", {1, 21}, 23);
}

// Two visits from the buttons to the stored bill, computed by hand.
struct Visit {
    const char* name;
    std::vector<int> buttons;
    const char* outsideInsurance;
    int draw;
    std::vector<std::pair<const char*, const char*>> bill; // fee record, as stored
    Values surcharges;
    const char* note;
};

TEST_F(SakuseiSurchargesTest, BillsTwoVisitsFromTheButtons)
{
    const Visit visits[] = {
        {"first visit, site 1 first treatment with cold; house call moved from 4-6 km to 6-8 km with the "
         "night/storm surcharge; holiday refused; large splint; information fee",
         {1, 7, 18, 28, 19, 23, 29, 24},
         "300",
         31,
         // T = 1550 + 760 + 85 + 2650 + 480 + (2650 + 1000) = 9175; 30 % = 2752.5 -> 2750.
         {{"負担率", "３割"},
          {"その他の保険加算料金", "3650"},
          {"保険料金合計", "9175"},
          {"一部負担金", "2750"},
          {"保険外料金", "300"},
          {"窓口料金", "3050"},
          {"料金", "3050"},
          {"負傷部位数", "1"}},
         written({{"往療料", "2650"}, {"夜間暴風難路", "2650"}, {"金属副子", "1000"}, {"施術情報提供料", "480"}}),
         holidayNote},
        {"first visit with consultation at the clinic, sites 1 and 2 in aftercare; night/storm refused without "
         "travel; after-hours changed to holiday; splint changed to medium; information fee withdrawn",
         {2, 13, 11, 28, 21, 23, 34, 33, 24, 24},
         "",
         0,
         // T = 1550 + 100 + 505 + 75 + 33 + 505 + (800 + 1600) = 5168; 20 % = 1033.6 -> 1030.
         {{"負担率", "２割"},
          {"その他の保険加算料金", "2400"},
          {"保険料金合計", "5168"},
          {"一部負担金", "1030"},
          {"保険外料金", "0"},
          {"窓口料金", "1030"},
          {"料金", "1030"},
          {"負傷部位数", "2"}},
         written({{"休日加算", "1600"}, {"金属副子", "800"}}),
         nullptr},
    };
    for (const Visit& v : visits) {
        SCOPED_TRACE(v.name);
        press(30);
        // The reset keeps the memo, so the first visit's note would hide a wrong one in the second.
        control<QPlainTextEdit>(QStringLiteral("Memo1"))->setPlainText(guideText);
        press(v.buttons);
        edit1()->setText(u8(v.outsideInsurance));
        nextDraw = v.draw;
        press(32);

        for (const auto& [field, value] : v.bill)
            EXPECT_EQ(storedFee(field), u8(value)) << field;
        EXPECT_EQ(storedValues(), v.surcharges);
        EXPECT_EQ(memo(), v.note ? u8(v.note) : guideText);
        EXPECT_EQ(edit1()->text(), u8(v.outsideInsurance));
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

} // namespace
