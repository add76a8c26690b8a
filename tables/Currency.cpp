#include "Currency.h"
#include "Error.h"

#include <limits>

namespace tables {

namespace {
__extension__ typedef __int128 I128; // products of two currencies need 128 bits before they are divided back
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

[[noreturn]] void overflow()
{
    throw OverflowError(QStringLiteral("金額が大きすぎて計算できません。入力した金額を確かめてください。"));
}

std::int64_t narrow(I128 v)
{
    if (v > kMax || v < kMin) overflow();
    return static_cast<std::int64_t>(v);
}

// Integer division rounding toward zero, the way the fee rules are written.
I128 divTrunc(I128 a, I128 b) { return a / b; }
} // namespace

Currency Currency::fromYen(std::int64_t yen) { return Currency(narrow(I128(yen) * Scale)); }

Currency Currency::fromText(QStringView text)
{
    auto bad = [&]() -> ConversionError {
        return ConversionError(QStringLiteral("「%1」は金額として正しくありません。数字で入力してください。")
                                   .arg(text.left(40).toString()));
    };
    qsizetype i = 0, n = text.size();
    while (i < n && text[i] == u' ') ++i;
    while (n > i && text[n - 1] == u' ') --n;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

    I128 whole = 0;
    int digits = 0;
    bool overflowed = false;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
        whole = whole * 10 + (text[i].unicode() - u'0');
        if (whole > I128(kMax)) overflowed = true, whole = I128(kMax) + 1; // keep bounded
    }
    // Up to four decimals kept exactly; the fifth decides the rounding and
    // the rest only break a tie.
    std::int64_t frac = 0;
    int fracDigits = 0, decider = -1;
    bool beyond = false;
    if (i < n && text[i] == u'.') {
        for (++i; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i, ++fracDigits) {
            const int d = text[i].unicode() - u'0';
            if (fracDigits < 4) frac = frac * 10 + d;
            else if (fracDigits == 4) decider = d;
            else if (d != 0) beyond = true;
        }
    }
    if (i != n || digits + fracDigits == 0) throw bad();
    for (int k = fracDigits; k < 4; ++k) frac *= 10;

    I128 units = whole * Scale + frac;
    if (decider > 5 || (decider == 5 && (beyond || (units & 1)))) ++units; // half to even
    if (negative) units = -units;
    if (overflowed || units > kMax || units < kMin)
        throw ConversionError(QStringLiteral("「%1」は扱える金額の範囲を超えています。").arg(text.left(40).toString()));
    return Currency(static_cast<std::int64_t>(units));
}

QString Currency::toText() const
{
    const bool negative = m_units < 0;
    // Work in unsigned so the most negative value has a magnitude too.
    const std::uint64_t mag = negative ? std::uint64_t(0) - std::uint64_t(m_units) : std::uint64_t(m_units);
    QString out = QString::number(mag / Scale);
    std::uint64_t frac = mag % Scale;
    if (frac != 0) {
        QString f = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
        while (f.endsWith(u'0')) f.chop(1);
        out += u'.' + f;
    }
    return negative ? u'-' + out : out;
}

Currency Currency::operator+(Currency other) const { return Currency(narrow(I128(m_units) + other.m_units)); }
Currency Currency::operator-(Currency other) const { return Currency(narrow(I128(m_units) - other.m_units)); }

Currency Currency::copayment(Currency total, int tenths)
{
    const I128 n = divTrunc(I128(total.m_units) * tenths + 500000, 1000000);
    return Currency(narrow(n * 10 * Scale));
}

Currency Currency::reducedAt(Currency price, int percent)
{
    const I128 yen = divTrunc(I128(price.m_units) * percent + 500000, 1000000);
    return Currency(narrow(yen * Scale));
}

Currency Currency::longTerm(Currency price, Currency rate)
{
    const I128 yen = divTrunc(I128(price.m_units) * rate.m_units + 50000000, 100000000);
    return Currency(narrow(yen * Scale));
}

} // namespace tables
