#include "QtApp.h"

#include "platform/Fonts.h"

#include <QFontInfo>
#include <QLabel>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

TEST(Fonts, TheDesignedFacesResolveToTheIpaFaces)
{
    qtApp();
    platform::installFonts();
    const struct {
        QString designed;
        QString installed;
    } cases[] = {
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")},
        {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed.toStdString());
        EXPECT_EQ(QFontInfo(QFont(c.designed)).family(), c.installed);
    }
}

// A form gives its widgets a family and a size only; the unshaped layout has
// to reach them from the application's font, or nothing is saved.
TEST(Fonts, WidgetsWithTheirOwnFaceStillLayTextOutUnshaped)
{
    qtApp();
    platform::installFonts();
    QWidget form;
    QLabel caption(QStringLiteral("捻挫・挫傷・打撲入力"), &form);
    QFont designed;
    designed.setFamilies({QStringLiteral("ＭＳ Ｐ明朝")});
    designed.setPointSize(12);
    designed.setItalic(true);
    caption.setFont(designed);
    EXPECT_TRUE(caption.font().styleStrategy() & QFont::PreferNoShaping);
    EXPECT_EQ(QFontInfo(caption.font()).family(), QStringLiteral("IPAPMincho"));
}

} // namespace
