// Decimal text to currency: any bytes either parse to a value whose text
// form parses back to the same value, or are refused with ConversionError.
#include "Currency.h"
#include "Error.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const tables::Currency c = tables::Currency::fromText(text);
        const tables::Currency back = tables::Currency::fromText(c.toText());
        if (back != c) std::abort();
        try {
            (void)(c + c);
            (void)tables::Currency::copayment(c, 3);
            (void)tables::Currency::reducedAt(c, 80);
            (void)tables::Currency::longTerm(c, c);
        } catch (const tables::OverflowError&) {
        }
    } catch (const tables::ConversionError&) {
    }
    return 0;
}
