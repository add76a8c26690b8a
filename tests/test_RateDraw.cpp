#include "platform/RateDraw.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(RateDraw, DrawsAreUniformOverTheRange)
{
    platform::seedDraw(20240305);
    constexpr int n = 10;
    constexpr int draws = 100000;
    std::vector<int> counts(n);
    for (int i = 0; i < draws; ++i) {
        const int d = platform::drawUniform(n);
        ASSERT_GE(d, 0);
        ASSERT_LT(d, n);
        ++counts[d];
    }
    double chiSquare = 0;
    const double expected = double(draws) / n;
    for (int c : counts)
        chiSquare += (c - expected) * (c - expected) / expected;
    EXPECT_LT(chiSquare, 27.88) << "9 degrees of freedom, p = 0.001";
}

TEST(RateDraw, SuccessiveDrawsDoNotRepeatTheSameValue)
{
    // Reseeding per draw from a coarse clock gives runs of one value.
    int longestRun = 1, run = 1, last = -1;
    for (int i = 0; i < 1000; ++i) {
        const int d = platform::drawUniform(5);
        run = d == last ? run + 1 : 1;
        longestRun = std::max(longestRun, run);
        last = d;
    }
    EXPECT_LT(longestRun, 15);
}

TEST(RateDraw, TestsCanScriptTheDraws)
{
    std::vector<int> asked;
    const platform::Draw previous = platform::setDraw([&](int n) {
        asked.push_back(n);
        return n - 1;
    });
    EXPECT_EQ(platform::drawUniform(100), 99);
    platform::setDraw(previous);
    EXPECT_EQ(asked, std::vector<int>{100});
    EXPECT_EQ(platform::drawUniform(1), 0);
}

} // namespace
