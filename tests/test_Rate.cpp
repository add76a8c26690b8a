#include "Error.h"
#include "Rate.h"

#include <gtest/gtest.h>

using tables::Currency;
using tables::Rate;

namespace {
constexpr Rate rates[] = {{"２割", 3, 2}, {"３割", 1, 3}, {"100%", 2, Rate::wholeTotal}};

TEST(Rate, OutcomesFallOnTheRowsInOrder)
{
    static_assert(tables::outcomesOf(rates) == 6);
    const char* expected[] = {"２割", "２割", "２割", "３割", "100%", "100%"};
    for (int outcome = 0; outcome < 6; ++outcome)
        EXPECT_STREQ(tables::rateForOutcome(rates, outcome).text, expected[outcome]) << outcome;
    EXPECT_THROW(tables::rateForOutcome(rates, 6), tables::Error);
    EXPECT_THROW(tables::rateForOutcome(rates, -1), tables::Error);
}

TEST(Rate, CopaymentIsTenthsToTenYenOrTheWholeTotal)
{
    const Currency total = Currency::fromText(QStringLiteral("1234.5"));
    EXPECT_EQ(rates[0].copayment(total), Currency::fromYen(250));
    EXPECT_EQ(rates[1].copayment(total), Currency::fromYen(370));
    EXPECT_EQ(rates[2].copayment(total), total);
    EXPECT_EQ((Rate{"０割", 1, 0}.copayment(total)), Currency());
}
} // namespace
