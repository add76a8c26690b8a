#include "ShiftJis.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace tables;

TEST(ShiftJis, CountsCodePage932Bytes)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"100%", 4}, {"３割", 4}, {"ｱｲｳ", 3}, {"ニ部位目", 8}, {"髙橋", 4}, {"①", 2}, {"～", 2}, {"∥", 2},
        {"😀", -1}, {"〜", -1}, {"한", -1}, {"€", -1},
    };
    for (const auto& [text, bytes] : cases) EXPECT_EQ(sjis::byteCount(QString::fromUtf8(text)), bytes) << text;
}

TEST(ShiftJis, FoldsLookAlikesIntoEncodableCharacters)
{
    const QString folded = sjis::foldLookAlikes(QString::fromUtf8("1〜2−3‖¢£¬"));
    EXPECT_EQ(folded, QString::fromUtf8("1～2－3∥￠￡￢"));
    EXPECT_GT(sjis::byteCount(folded), 0);
}

// The byte counts come from a table taken from the encoder once; every
// character must still count as the encoder counts it.
TEST(ShiftJis, EveryCharacterCountsAsTheCodePageEncoderSays)
{
    int differences = 0;
    for (unsigned u = 0; u < 0x10000; ++u) {
        const char16_t c = char16_t(u);
        QStringEncoder encoder("windows-31j", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(QStringView(&c, 1));
        const int expected = encoder.hasError() ? -1 : int(bytes.size());
        if (sjis::byteCount(QStringView(&c, 1)) != expected && ++differences <= 10)
            ADD_FAILURE() << "U+" << std::hex << u << ": the encoder says " << std::dec << expected;
    }
    EXPECT_EQ(differences, 0);
}
