#include "ShiftJis.h"

#include <QStringEncoder>

namespace tables::sjis {

int byteCount(QStringView text)
{
    // Qt's Shift_JIS comes from ICU's code page 932 table (the one that holds
    // U+FF5E, U+2225, NEC and IBM extensions), which is what the files were
    // sized in.
    QStringEncoder enc("windows-31j", QStringConverter::Flag::Stateless);
    const QByteArray bytes = enc.encode(text);
    if (enc.hasError()) return -1;
    return int(bytes.size());
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
