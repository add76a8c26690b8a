#pragma once

namespace platform {

// The windows were designed in the proportional Gothic and Mincho faces of
// Windows; IPAPGothic and IPAPMincho have the same metrics, so the designed
// family names are mapped onto them and the absolute layout still fits.
void installFontSubstitutions();

} // namespace platform
