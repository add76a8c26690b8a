#pragma once
#include <QColor>

namespace widgets {

// The named colours the windows were designed with.
inline const QColor clWhite{255, 255, 255};
inline const QColor clLime{0, 255, 0};
inline const QColor clSkyBlue{0xA6, 0xCA, 0xF0};
inline const QColor clMoneyGreen{0xC0, 0xDC, 0xC0};
inline const QColor clTeal{0, 0x80, 0x80};
inline const QColor clGreen{0, 0x80, 0};

} // namespace widgets
