#pragma once
#include <QString>
#include <QStringView>

namespace tables::sjis {

// Bytes the text takes in Shift_JIS (code page 932), or -1 when it holds a
// character that code page cannot encode.
int byteCount(QStringView text);

// Replaces characters that look like a Shift_JIS character but are another
// code point (U+301C WAVE DASH for U+FF5E, U+2212 MINUS SIGN for U+FF0D, ...)
// by the one code page 932 holds. Input methods and pasted text produce them.
QString foldLookAlikes(QStringView text);

} // namespace tables::sjis
