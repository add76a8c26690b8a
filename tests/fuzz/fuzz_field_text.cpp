// The Shift_JIS check behind every text field: the byte count agrees with an
// independent encoding, folding never makes encodable text unencodable, and
// a text field stores exactly what it accepted.
#include "Error.h"
#include "ShiftJis.h"

#include <QStringEncoder>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const int bytes = tables::sjis::byteCount(text);
    QStringEncoder enc("Shift_JIS");
    const QByteArray encoded = enc.encode(text);
    if (bytes >= 0 && (enc.hasError() || bytes != encoded.size())) std::abort();

    const QString folded = tables::sjis::foldLookAlikes(text);
    if (folded.size() != text.size()) std::abort();
    if (bytes >= 0 && tables::sjis::byteCount(folded) < 0) std::abort();
    return 0;
}
