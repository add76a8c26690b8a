#include "Currency.h"
#include "Error.h"

#include <gtest/gtest.h>
#include <limits>

using tables::Currency;

namespace {
struct Parse {
    const char* text;
    std::int64_t units;
};

TEST(Currency, ParsesDecimalText)
{
    const Parse cases[] = {
        {"0", 0},           {"1234", 12340000},     {"-3.25", -32500},   {"+7", 70000},
        {"1.", 10000},      {".5", 5000},           {" 12 ", 120000},    {"0.0001", 1},
        {"1.23455", 12346}, {"1.23445", 12344},     {"1.234450001", 12345}, {"-1.23455", -12346},
        {"0.00005", 0},     {"0.00015", 2},         {"0.000049999", 0},  {"922337203685477.5807", INT64_MAX},
        {"-922337203685477.5808", INT64_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Currency::fromText(QString::fromUtf8(c.text)).units(), c.units);
    }
}

TEST(Currency, RefusesTextThatIsNotAnAmountQuotingIt)
{
    for (const char* text : {"", " ", "abc", "12a", "1,000", "1e3", "--1", "+-1", "1.2.3", ".", "-", "１２３",
                             "12 34", "0x10", "922337203685477.5808", "-922337203685477.5809",
                             "99999999999999999999999", "\u00A51000"}) {
        SCOPED_TRACE(text);
        try {
            Currency::fromText(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted";
        } catch (const tables::ConversionError& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(text).left(40))) << e.what();
        }
    }
}

TEST(Currency, FormatsAsPlainDecimal)
{
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0"}, {12340000, "1234"}, {12345000, "1234.5"}, {-32500, "-3.25"}, {1, "0.0001"}, {-1, "-0.0001"},
        {INT64_MAX, "922337203685477.5807"}, {INT64_MIN, "-922337203685477.5808"},
    };
    for (const auto& [units, text] : cases) {
        EXPECT_EQ(Currency::fromUnits(units).toText(), QString::fromUtf8(text));
        EXPECT_EQ(Currency::fromText(QString::fromUtf8(text)).units(), units) << "round trip of " << text;
    }
}

TEST(Currency, ArithmeticIsCheckedNeverWraps)
{
    const Currency max = Currency::fromUnits(INT64_MAX), min = Currency::fromUnits(INT64_MIN);
    const Currency one = Currency::fromUnits(1);
    EXPECT_EQ((Currency::fromYen(6970) - Currency::fromYen(70)).units(), 69000000);
    EXPECT_THROW(max + one, tables::OverflowError);
    EXPECT_THROW(min - one, tables::OverflowError);
    EXPECT_THROW(Currency::fromYen(INT64_MAX / 1000), tables::OverflowError);
    EXPECT_EQ((max + min).units(), -1);
}

struct Rounding {
    double yen;
    int factor;
    std::int64_t expectedYen;
};

TEST(Currency, CopaymentRoundsToTenYenHalfUp)
{
    const Rounding cases[] = {
        {6970, 3, 2090}, {6970, 2, 1390}, {6970, 1, 700}, {1650, 3, 500}, {1640, 3, 490}, {25, 2, 10},
        {24, 2, 0},      {1234, 3, 370},  {1249, 3, 370}, {1250, 3, 380}, {6900, 3, 2070}, {0, 3, 0},
        {16.6667, 3, 10}, {16.6666, 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yen << " at " << c.factor);
        const Currency total = Currency::fromText(QString::number(c.yen, 'f', 4));
        EXPECT_EQ(Currency::copayment(total, c.factor), Currency::fromYen(c.expectedYen));
    }
}

TEST(Currency, ReducedPriceRoundsToYenHalfUp)
{
    const Rounding cases[] = {{35, 70, 25}, {5, 70, 4}, {1234, 80, 987}, {505, 80, 404}, {0, 80, 0}, {303, 70, 212}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.yen << " at " << c.factor << "%");
        EXPECT_EQ(Currency::reducedAt(Currency::fromYen(std::int64_t(c.yen)), c.factor), Currency::fromYen(c.expectedYen));
    }
}

TEST(Currency, LongTermAmountIsExactBeforeTruncation)
{
    struct Case { const char* price; const char* rate; std::int64_t yen; };
    const Case cases[] = {
        {"470", "0.75", 353},     // 352.5 rounds up
        {"352.4999", "1", 352},   // 352.4999 rounds down
        {"505", "0.75", 379},     // 378.75
        {"33", "0.75", 25},       // 24.75
        {"75", "0", 0},
        {"0", "0.75", 0},
        {"922337203685477", "1", 922337203685477}, // the product needs more than 64 bits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.price << " x " << c.rate);
        EXPECT_EQ(Currency::longTerm(Currency::fromText(QString::fromUtf8(c.price)), Currency::fromText(QString::fromUtf8(c.rate))),
                  Currency::fromYen(c.yen));
    }
    EXPECT_THROW(Currency::longTerm(Currency::fromYen(900000000000000), Currency::fromYen(100)), tables::OverflowError);
}
} // namespace
