#include "ShiftJis.h"

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
