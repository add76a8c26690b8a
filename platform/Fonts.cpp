#include "platform/Fonts.h"

#include <QFont>

namespace platform {

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
}

} // namespace platform
