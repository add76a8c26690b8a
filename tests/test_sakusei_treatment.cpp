#include "sakusei_fee_buttons_fixture.h"

namespace {

// Each onset-order check on its own, then the combinations: a refusal and a
// displacement in one press, two refusals, and a row without a note after one
// with a note (the memo keeps the earlier note).
const PressCase checkCases[] = {
    {"Button3TakesBackSite1FirstTreatmentWithCold", {7}, 3, {3}, &note4r1},
    {"Button3TakesBackSite1FirstTreatment", {4}, 3, {3}, &note4r1},
    {"Button3KeepsSite1Aftercare", {10}, 3, {3, 10}, nullptr},
    {"Button4RefusedOnAReexamination", {3}, 4, {3}, &note4r1},
    {"Button5RefusedAfterSite1WithCold", {7}, 5, {7}, &note5r1},
    {"Button5DisplacesSite3Aftercare", {12}, 5, {5}, &note5r2},
    {"Button5DisplacesSite3AftercareWarmElectro", {15}, 5, {5}, &note5r2},
    {"Button5RefusedAndDisplacingInOnePress", {15, 7}, 5, {7}, &note5r2},
    {"Button5AfterSite1FirstTreatment", {4}, 5, {4, 5}, nullptr},
    {"Button6RefusedAfterSite2WithCold", {8}, 6, {8}, &note6r1},
    {"Button7RefusedOnAReexamination", {3}, 7, {3}, &note7r1},
    {"Button7DisplacesSite2FirstTreatment", {5}, 7, {7}, &note7r2},
    {"Button7RefusedAndDisplacingInOnePress", {5, 3}, 7, {3}, &note7r2},
    {"Button8DisplacesSite3FirstTreatment", {6}, 8, {8}, &note8r1},
    {"Button8DisplacesSite3Aftercare", {12}, 8, {8}, &note8r2},
    {"Button8DisplacesSite3AftercareWarmElectro", {15}, 8, {8}, &note8r2},
    {"Button9BesideAReexaminationAndSite2", {3, 5}, 9, {3, 5, 9}, nullptr},
    {"Button9AfterFirstTreatmentsWithCold", {7, 8}, 9, {7, 8, 9}, nullptr},
    {"Button9AfterPlainAftercares", {10, 11}, 9, {9, 10, 11}, nullptr},
    {"Button10DisplacesSite2LongTermKeepingItsMark", {26}, 10, {10}, nullptr, {false, true, false}},
    {"Button10DisplacesSite3LongTermKeepingItsMark", {27}, 10, {10}, nullptr, {false, false, true}},
    {"Button10DisplacesBothLongTerms", {26, 27}, 10, {10}, nullptr, {false, true, true}},
    {"Button11DisplacesSite3AftercareWarmElectro", {15}, 11, {11}, nullptr},
    {"Button11RefusedAfterSite1FirstTreatment", {4}, 11, {4}, &note11r2},
    {"Button11RefusedAfterSite1FirstTreatmentWithCold", {7}, 11, {7}, &note11r2},
    {"Button11DisplacesSite3LongTermKeepingItsMark", {27}, 11, {11}, nullptr, {false, false, true}},
    {"Button11DisplacingAndRefusedInOnePress", {15, 4}, 11, {4}, &note11r2},
    {"Button11RefusedThenDisplacingKeepsTheNote", {27, 4}, 11, {4}, &note11r2, {false, false, true}},
    {"Button12RefusedAfterSite2FirstTreatment", {5}, 12, {5}, &note12r1},
    {"Button12RefusedAfterSite2FirstTreatmentWithCold", {8}, 12, {8}, &note12r1},
    {"Button12RefusedAfterSite1FirstTreatment", {4}, 12, {4}, &note12r2},
    {"Button12RefusedAfterSite1FirstTreatmentWithCold", {7}, 12, {7}, &note12r2},
    {"Button12RefusedTwiceShowsTheLastNote", {4, 5}, 12, {4, 5}, &note12r2},
    {"Button13DisplacesSite2LongTermKeepingItsMark", {26}, 13, {13}, nullptr, {false, true, false}},
    {"Button14RefusedAfterSite1PlainAftercare", {10}, 14, {10}, &note14r1},
    {"Button14RefusedAfterSite1FirstTreatment", {4}, 14, {4}, &note14r2},
    {"Button14RefusedAfterSite1FirstTreatmentWithCold", {7}, 14, {7}, &note14r2},
    {"Button14DisplacesSite3LongTermKeepingItsMark", {27}, 14, {14}, nullptr, {false, false, true}},
    {"Button14RefusedThenDisplacingKeepsTheNote", {27, 7}, 14, {7}, &note14r2, {false, false, true}},
    {"Button14AfterSite1AftercareWarmElectro", {13}, 14, {13, 14}, nullptr},
    {"Button15RefusedAfterSite2PlainAftercare", {11}, 15, {11}, &note15r1},
    {"Button15RefusedAfterSite2FirstTreatment", {5}, 15, {5}, &note15r2},
    {"Button15RefusedAfterSite2FirstTreatmentWithCold", {8}, 15, {8}, &note15r2},
    {"Button15RefusedAfterSite1FirstTreatment", {4}, 15, {4}, &note15r3},
    {"Button15RefusedAfterSite1FirstTreatmentWithCold", {7}, 15, {7}, &note15r3},
    {"Button15RefusedAfterSite1PlainAftercare", {10}, 15, {10}, &note15r3},
    {"Button15RefusedTwiceAfterPlainAftercares", {10, 11}, 15, {10, 11}, &note15r3},
    {"Button15RefusedTwiceAfterFirstTreatments", {4, 5}, 15, {4, 5}, &note15r3},
    {"Button15AfterAftercaresWithWarmAndElectro", {13, 14}, 15, {13, 14, 15}, nullptr},
};

TEST_P(SakuseiPressTest, OnsetOrderCheck)
{
    run(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Checks, SakuseiPressTest, ::testing::ValuesIn(checkCases), pressCaseName);

// Pressed twice, a button takes back what it applied and nothing of the
// other sites; the second press runs no check and writes no note.
class SakuseiWithdrawTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<int> {};

TEST_P(SakuseiWithdrawTest, SecondPressTakesTheFeeBack)
{
    const int button = GetParam();
    press(button);
    ASSERT_EQ(limeIndicators(), std::set{button});
    expectFeesOf({button});
    press(button);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(limeIndicators(), std::set<int>{});
    expectFeesOf({});
    EXPECT_EQ(memo(), guideText);
}
INSTANTIATE_TEST_SUITE_P(Buttons, SakuseiWithdrawTest, ::testing::Range(1, 16), buttonName);

// Withdrawing empties only the fields the kind fills: what the operator typed
// into the site's other fields after applying it stays.
class SakuseiWithdrawOnlyOwnTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<int> {};

TEST_P(SakuseiWithdrawOnlyOwnTest, OtherFieldsOfTheSiteStay)
{
    const int button = GetParam();
    press(button);
    std::set<QString> own;
    for (const auto& [field, value] : feesOf.at(button))
        own.insert(u8(field));
    const char* const site1[] = {"施療料1", "冷罨法料1", "後療料1", "温罨法料1", "電療料1"};
    for (const char* field : site1)
        if (!own.contains(u8(field)))
            put(window->Table1, {{field, "9"}});
    press(button);
    for (const char* field : site1)
        EXPECT_EQ(storedFee(field), own.contains(u8(field)) ? emptyField : QStringLiteral("9")) << field;
}
INSTANTIATE_TEST_SUITE_P(Site1Kinds, SakuseiWithdrawOnlyOwnTest, ::testing::Values(4, 7, 10, 13), buttonName);

// An indicator in a colour no button paints: the press changes nothing at
// all, even where a check would otherwise fire (Shape3 is lime).
class SakuseiForeignColourTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<int> {};

TEST_P(SakuseiForeignColourTest, PressDoesNothing)
{
    const int button = GetParam();
    press(3);
    press(13);
    shape(button)->setBrushColor(widgets::clSkyBlue);
    const auto fee = stored(tables::schema::FeeTable);
    const auto extra = stored(tables::schema::ExtraFeeTable);
    const std::set<int> lime = limeIndicators();
    press(button);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(shape(button)->brushColor(), widgets::clSkyBlue);
    EXPECT_EQ(limeIndicators(), lime);
    EXPECT_EQ(stored(tables::schema::FeeTable), fee);
    EXPECT_EQ(stored(tables::schema::ExtraFeeTable), extra);
    EXPECT_EQ(memo(), guideText);
}
INSTANTIATE_TEST_SUITE_P(Buttons, SakuseiForeignColourTest, ::testing::Range(1, 16), buttonName);

// The visit fees, and the first-visit surcharges (after-hours, late-night,
// holiday, night/storm) that go when the visit stops being a first visit.
struct VisitCase {
    std::string name;
    std::vector<int> before;
    int press;
    std::set<int> limeAfter; // of the visit and site indicators
    bool surchargesKept;
};
void PrintTo(const VisitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SakuseiVisitFeeTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<VisitCase> {
protected:
    static inline const int surchargeIndicators[] = {21, 22, 23, 28};

    void applySurcharges()
    {
        for (int n : surchargeIndicators)
            shape(n)->setBrushColor(widgets::clLime);
        put(window->Table1, {{"時間外加算", "540"}, {"深夜加算", "1560"}, {"休日加算", "1560"}});
        put(window->Table3, {{"夜間暴風難路", "2300"}});
    }
};

TEST_P(SakuseiVisitFeeTest, Press)
{
    const VisitCase& c = GetParam();
    press(c.before);
    applySurcharges();
    press(c.press);

    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    std::set<int> lime = c.limeAfter;
    if (c.surchargesKept)
        lime.insert(std::begin(surchargeIndicators), std::end(surchargeIndicators));
    EXPECT_EQ(limeIndicators(), lime);
    expectFeesOf(c.limeAfter);
    const auto kept = [&](const char* value) { return c.surchargesKept ? u8(value) : emptyField; };
    EXPECT_EQ(storedFee("時間外加算"), kept("540"));
    EXPECT_EQ(storedFee("深夜加算"), kept("1560"));
    EXPECT_EQ(storedFee("休日加算"), kept("1560"));
    EXPECT_EQ(storedExtra("夜間暴風難路"), kept("2300"));
    EXPECT_EQ(window->Table3->state(), tables::Table::State::Browse);
    EXPECT_EQ(memo(), guideText);
}

INSTANTIATE_TEST_SUITE_P(
    Visits, SakuseiVisitFeeTest,
    ::testing::Values(VisitCase{"FirstExamination", {}, 1, {1}, true},
                      VisitCase{"FirstExaminationWithConsultation", {}, 2, {2}, true},
                      VisitCase{"SwitchingToPlainFirstExaminationDropsTheConsultation", {2}, 1, {1}, true},
                      VisitCase{"SwitchingToConsultationKeepsTheSurcharges", {1}, 2, {2}, true},
                      VisitCase{"FirstExaminationWithdrawnDropsTheSurcharges", {1}, 1, {}, false},
                      VisitCase{"ConsultationWithdrawnDropsTheSurcharges", {2}, 2, {}, false},
                      VisitCase{"ReexaminationReplacesAFirstVisitAndItsSurcharges", {2}, 3, {3}, false},
                      VisitCase{"ReexaminationWithdrawnEmptiesOnlyItsFee", {3, 10}, 3, {10}, true},
                      VisitCase{"FirstExaminationReplacesAReexamination", {3}, 1, {1}, true},
                      VisitCase{"VisitFeeLeavesTheSiteFees", {4, 5}, 2, {2, 4, 5}, true}),
    [](const ::testing::TestParamInfo<VisitCase>& info) { return info.param.name; });

// The price list is copied as it stands: an empty price makes an empty fee,
// which the calculation then does not count as a treated site.
TEST_F(SakuseiFeeButtonTest, EmptyPriceGivesAnEmptyFee)
{
    setPrices({{"施療料1", ""}, {"冷罨法料1", ""}});
    press(7);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(limeIndicators(), std::set{7});
    EXPECT_EQ(storedFee("施療料1"), emptyField);
    EXPECT_EQ(storedFee("冷罨法料1"), emptyField);
}

struct MissingPriceCase {
    const char* price;
    std::vector<int> before;
    int press;
};
void PrintTo(const MissingPriceCase& c, std::ostream* os)
{
    *os << c.price;
}
class SakuseiMissingPriceTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<MissingPriceCase> {};

TEST_P(SakuseiMissingPriceTest, PressChangesNothing)
{
    const MissingPriceCase& c = GetParam();
    expectPressChangesNothingWithout(c.price, c.before, c.press);
}
INSTANTIATE_TEST_SUITE_P(Prices, SakuseiMissingPriceTest,
                         ::testing::Values(MissingPriceCase{"初検料", {3, 10}, 1},
                                           MissingPriceCase{"再検料", {1, 7}, 3},
                                           MissingPriceCase{"施療料1", {3, 13}, 4},
                                           MissingPriceCase{"冷罨法料2", {13, 14}, 8},
                                           MissingPriceCase{"電療料3", {12}, 15}));

// Whole visits: the buttons, then "計算" at a forced rate, against bills worked
// out by hand from the sample prices.
struct VisitBill {
    std::string name;
    std::vector<int> presses;
    const char* outsideInsurance; // typed into Edit1
    int draw;
    const char* rate;
    const char* insuredTotal;
    const char* copayment;
    const char* counter;
    const QString* note;
    std::array<bool, 3> marks;
};
void PrintTo(const VisitBill& c, std::ostream* os)
{
    *os << c.name;
}

class SakuseiVisitBillTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<VisitBill> {};

TEST_P(SakuseiVisitBillTest, CalculatedBill)
{
    const VisitBill& c = GetParam();
    press(c.presses);
    type(QStringLiteral("Edit1"), u8(c.outsideInsurance));
    nextDraw = c.draw;
    click(QStringLiteral("Button32"));

    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    const auto fee = stored(tables::schema::FeeTable);
    const QString outside = *c.outsideInsurance ? u8(c.outsideInsurance) : QStringLiteral("0");
    const std::pair<const char*, QString> expected[] = {
        {"負担率", u8(c.rate)},        {"保険料金合計", u8(c.insuredTotal)}, {"一部負担金", u8(c.copayment)},
        {"保険外料金", outside},       {"窓口料金", u8(c.counter)},          {"料金", u8(c.counter)},
        {"負傷部位数", QStringLiteral("3")},
    };
    for (const auto& [field, value] : expected)
        EXPECT_EQ(fee.at(u8(field)), value) << field;
    EXPECT_EQ(storedMarks(), marks(c.marks));
    EXPECT_EQ(memo(), c.note ? *c.note : guideText);
}

INSTANTIATE_TEST_SUITE_P(
    Visits, SakuseiVisitBillTest,
    ::testing::Values(
        // 初検料 1550 + 初検時相談支援料 100, sites 1 and 2 first treatment with
        // cold compress (760 + 85 each); site 3's plain first treatment is
        // refused after site 2's cold compress, then entered with it
        // (760 + 51): 4151 yen. At 20 %: 830.2 -> 830, plus 300 outside insurance.
        VisitBill{"FirstVisitThreeSprains", {2, 7, 8, 6, 9}, "300", 0, "２割", "4151", "830", "1130", &note6r1, {}},
        // 再検料 410, long-term aftercare at sites 1 and 2 (379 + 56 + 25
        // each), site 3 aftercare with warm compress and electrotherapy
        // (303 + 45 + 20): 1698 yen. At 30 %: 509.4 -> 510.
        VisitBill{"ReexaminationWithLongTermSites", {3, 25, 26, 15}, "", 31, "３割", "1698", "510", "510", nullptr,
                  {true, true, false}}),
    [](const ::testing::TestParamInfo<VisitBill>& info) { return info.param.name; });

} // namespace
