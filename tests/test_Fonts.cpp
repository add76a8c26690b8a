#include "QtApp.h"

#include "platform/Fonts.h"

#include <QFontInfo>
#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

TEST(Fonts, TheDesignedFacesResolveToTheIpaFaces)
{
    qtApp();
    platform::installFontSubstitutions();
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

} // namespace
