#pragma once
#include "Currency.h"

#include <span>

namespace tables {

// A co-payment rate as the calculations draw it: the text stored in "負担率",
// how many of the draw's equally likely outcomes give it, and the share the
// patient pays.
struct Rate {
    const char* text;
    int outcomes;
    int tenths; // wholeTotal: "100%", the patient pays the total itself

    static constexpr int wholeTotal = -1;

    // The patient's share of an insured total: tenths of it to 10 yen (an
    // exact 5 yen rounding up), or the total unrounded at "100%".
    Currency copayment(Currency total) const
    {
        return tenths == wholeTotal ? total : Currency::copayment(total, tenths);
    }
};

constexpr int outcomesOf(std::span<const Rate> rates)
{
    int n = 0;
    for (const Rate& r : rates) n += r.outcomes;
    return n;
}

// The rate an outcome 0 .. outcomesOf(rates) - 1 falls on, rows taken in order.
const Rate& rateForOutcome(std::span<const Rate> rates, int outcome);

} // namespace tables
