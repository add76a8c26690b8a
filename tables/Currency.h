#pragma once
#include <QString>
#include <QStringView>
#include <compare>
#include <cstdint>

namespace tables {

// An amount in yen, fixed point with four decimal places: a count of
// ten-thousandths of a yen in 64 bits. Every operation is exact; anything
// that would leave the 64-bit range throws OverflowError instead of wrapping.
class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t tenThousandths) { return Currency(tenThousandths); }
    static Currency fromYen(std::int64_t yen);

    // Decimal text: optional blanks around, an optional sign, digits with an
    // optional decimal point ("12", "-3.25", "1.", ".5"). More than four
    // decimals are rounded half to even. Anything else, or a value outside
    // the range, throws ConversionError quoting the text.
    static Currency fromText(QStringView text);

    // Plain decimal without separators or trailing zeros: "1234", "1234.5", "-3.25".
    QString toText() const;

    constexpr std::int64_t units() const { return m_units; }

    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency& operator+=(Currency other) { return *this = *this + other; }
    constexpr auto operator<=>(const Currency&) const = default;

    // Co-payment at `tenths` tenths of the total, to 10 yen, an exact 5 yen
    // rounding up: ((T4 * tenths + 500000) div 1000000) * 10 yen, where T4 is
    // the total in ten-thousandths and div truncates toward zero.
    //   6970 yen at 3 tenths -> 2090 (209.6 -> 209);  1650 at 3 -> 500;
    //   1640 at 3 -> 490;  25 at 2 -> 10;  24 at 2 -> 0;  1250 at 3 -> 380.
    static Currency copayment(Currency total, int tenths);

    // A price at `percent` per cent, to whole yen with halves up (for the
    // non-negative prices of a price list): (C * percent + 500000) div 1000000 yen.
    //   35 yen at 70 -> 25 (24.5);  5 yen at 70 -> 4 (3.5 -> 4);  1234 at 80 -> 987 (987.2).
    static Currency reducedAt(Currency price, int percent);

    // A price times a reduction rate, both in ten-thousandths, to whole yen
    // with halves up: (p * r + 50000000) div 100000000 yen, the product exact.
    //   470 yen at 0.75 -> 353 (352.5);  352.4999 yen at 1 -> 352.
    static Currency longTerm(Currency price, Currency rate);

private:
    constexpr explicit Currency(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

} // namespace tables
