#include "sakusei_fee_buttons_fixture.h"

namespace {

constexpr std::array<bool, 3> site1{true, false, false}, site2{false, true, false}, site3{false, false, true};

// Long-term aftercare: its amounts and mark, the onset-order refusals (each
// row on its own, two rows in one press with the later note shown), and the
// older sites it is admitted after.
const PressCase longTermCases[] = {
    {"Button25Applies", {}, 25, {25}, nullptr, site1},
    {"Button25ReplacesSite1FirstTreatmentWithCold", {7}, 25, {25}, nullptr, site1},
    {"Button25HasNoChecks", {3, 11}, 25, {3, 11, 25}, nullptr, site1},
    {"Button26WithSite1Untreated", {}, 26, {26}, nullptr, site2},
    {"Button26AfterSite1LongTerm", {25}, 26, {25, 26}, nullptr, {true, true, false}},
    {"Button26RefusedAfterSite1PlainAftercare", {10}, 26, {10}, &note26r1},
    {"Button26RefusedAfterSite1FirstTreatment", {4}, 26, {4}, &note26r2},
    {"Button26RefusedAfterSite1FirstTreatmentWithCold", {7}, 26, {7}, &note26r2},
    {"Button26RefusedAfterSite1AftercareWarmElectro", {13}, 26, {13}, &note26r3},
    // The mark kept when another kind replaced site 2's long-term aftercare
    // goes with a refusal of a new long-term press.
    {"Button26RefusalEmptiesAKeptMark", {26, 11, 10}, 26, {10}, &note26r1},
    {"Button27WithOlderSitesUntreated", {}, 27, {27}, nullptr, site3},
    {"Button27AfterSite1AftercareWarmElectro", {13}, 27, {13, 27}, nullptr, site3},
    {"Button27AfterBothLongTerms", {25, 26}, 27, {25, 26, 27}, nullptr, {true, true, true}},
    {"Button27RefusedAfterSite2PlainAftercare", {11}, 27, {11}, &note27r1},
    {"Button27RefusedAfterSite2FirstTreatment", {5}, 27, {5}, &note27r2},
    {"Button27RefusedAfterSite2FirstTreatmentWithCold", {8}, 27, {8}, &note27r2},
    {"Button27RefusedAfterSite1FirstTreatment", {4}, 27, {4}, &note27r3},
    {"Button27RefusedAfterSite1FirstTreatmentWithCold", {7}, 27, {7}, &note27r3},
    {"Button27RefusedAfterSite1PlainAftercare", {10}, 27, {10}, &note27r3},
    {"Button27RefusedAfterSite2AftercareWarmElectro", {14}, 27, {14}, &note27r4},
    {"Button27RefusedTwiceShowsTheLastNote", {14, 4}, 27, {4, 14}, &note27r4},
    {"Button27RefusedTwiceAfterPlainAftercares", {10, 11}, 27, {10, 11}, &note27r3},
};

TEST_P(SakuseiPressTest, LongTerm)
{
    run(GetParam());
}
INSTANTIATE_TEST_SUITE_P(LongTerm, SakuseiPressTest, ::testing::ValuesIn(longTermCases), pressCaseName);

// Every other treatment kind of the site replaces long-term aftercare and
// leaves the site's long-term mark as it was.
std::vector<PressCase> replacementCases()
{
    const int longTerm[] = {25, 26, 27};
    const int kinds[][4] = {{4, 7, 10, 13}, {5, 8, 11, 14}, {6, 9, 12, 15}};
    std::vector<PressCase> cases;
    for (int site = 0; site < 3; ++site)
        for (int kind : kinds[site]) {
            std::array<bool, 3> mark{};
            mark[site] = true;
            cases.push_back({"Button" + std::to_string(kind) + "ReplacesButton" + std::to_string(longTerm[site]),
                             {longTerm[site]}, kind, {kind}, nullptr, mark});
        }
    return cases;
}
INSTANTIATE_TEST_SUITE_P(Replacements, SakuseiPressTest, ::testing::ValuesIn(replacementCases()), pressCaseName);

// Pressed twice: the three fees and the mark are emptied.
class SakuseiLongTermWithdrawTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<int> {};

TEST_P(SakuseiLongTermWithdrawTest, SecondPressEmptiesFeesAndMark)
{
    const int button = GetParam();
    press(button);
    ASSERT_EQ(limeIndicators(), std::set{button});
    press(button);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(limeIndicators(), std::set<int>{});
    expectFeesOf({});
    EXPECT_EQ(storedMarks(), marks({}));
    EXPECT_EQ(memo(), guideText);
}
INSTANTIATE_TEST_SUITE_P(Buttons, SakuseiLongTermWithdrawTest, ::testing::Values(25, 26, 27), buttonName);

TEST_F(SakuseiFeeButtonTest, LongTermPressWithAForeignColourDoesNothing)
{
    press(10);
    shape(26)->setBrushColor(widgets::clSkyBlue);
    const auto fee = stored(tables::schema::FeeTable);
    press(26);
    EXPECT_EQ(shape(26)->brushColor(), widgets::clSkyBlue);
    EXPECT_EQ(limeIndicators(), std::set{10});
    EXPECT_EQ(stored(tables::schema::FeeTable), fee);
    EXPECT_EQ(memo(), guideText);
}

// The amount is price times rate to whole yen, halves up, each fee on its own.
struct AmountCase {
    const char* price;
    const char* rate;
    const char* amount;
};
void PrintTo(const AmountCase& c, std::ostream* os)
{
    *os << c.price << " at " << c.rate;
}
class SakuseiLongTermAmountTest : public SakuseiFeeButtonTest, public ::testing::WithParamInterface<AmountCase> {};

TEST_P(SakuseiLongTermAmountTest, AftercareFee)
{
    const AmountCase& c = GetParam();
    setPrices({{"後療料1", c.price}, {"長期逓減率", c.rate}});
    press(25);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    EXPECT_EQ(storedFee("後療料1"), u8(c.amount));
    EXPECT_EQ(storedMarks(), marks(site1));
}
INSTANTIATE_TEST_SUITE_P(Rounding, SakuseiLongTermAmountTest,
                         ::testing::Values(AmountCase{"470", "0.75", "353"},       // 352.5
                                           AmountCase{"704.9998", "0.5", "352"},   // 352.4999
                                           AmountCase{"505", "0.7", "354"},        // 353.5
                                           AmountCase{"1", "0.4999", "0"},         // 0.4999
                                           AmountCase{"", "0.75", "0"},            // empty price: 0 yen, not empty
                                           AmountCase{"505", "", "0"},             // empty rate
                                           AmountCase{"505", "1", "505"}));

TEST_F(SakuseiFeeButtonTest, EmptyRateGivesZeroFeesAndStillMarksTheSite)
{
    setPrices({{"長期逓減率", ""}});
    press(27);
    for (const char* field : {"後療料3", "温罨法料3", "電療料3"})
        EXPECT_EQ(storedFee(field), QStringLiteral("0")) << field;
    EXPECT_EQ(storedMarks(), marks(site3));
}

TEST_F(SakuseiFeeButtonTest, LongTermWithoutItsRateChangesNothing)
{
    expectPressChangesNothingWithout("長期逓減率", {3, 13}, 26);
}

} // namespace
