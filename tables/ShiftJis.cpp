#include "ShiftJis.h"

#include "ShiftJisTable.h"

namespace tables::sjis {

// Code page 932 as Qt's windows-31j encoder (ICU's table, the one that holds
// U+FF5E, U+2225, NEC and IBM extensions) has it, which is what the files
// were sized in; the table is that encoder's, taken once. Its single-byte
// characters are ASCII and the half-width katakana.
int byteCount(QStringView text)
{
    int bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((encodable[u / 64] >> (u % 64)) & 1u))
            return -1;
        bytes += u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F) ? 1 : 2;
    }
    return bytes;
}

QString foldLookAlikes(QStringView text)
{
    static constexpr struct { char16_t from, to; } map[] = {
        {u'\u301C', u'\uFF5E'}, // WAVE DASH -> FULLWIDTH TILDE
        {u'\u2016', u'\u2225'}, // DOUBLE VERTICAL LINE -> PARALLEL TO
        {u'\u2212', u'\uFF0D'}, // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        {u'\u00A2', u'\uFFE0'}, // CENT SIGN
        {u'\u00A3', u'\uFFE1'}, // POUND SIGN
        {u'\u00AC', u'\uFFE2'}, // NOT SIGN
        {u'\u2014', u'\u2015'}, // EM DASH -> HORIZONTAL BAR
        {u'\u00A6', u'\uFFE4'}, // BROKEN BAR
    };
    QString out = text.toString();
    for (QChar& c : out)
        for (const auto& m : map)
            if (c.unicode() == m.from) c = QChar(m.to);
    return out;
}

} // namespace tables::sjis
