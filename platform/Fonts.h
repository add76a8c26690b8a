#pragma once

namespace platform {

// The windows were designed in the proportional Gothic and Mincho faces of
// Windows; IPAPGothic and IPAPMincho have the same metrics, so the designed
// family names are mapped onto them and the absolute layout still fits.
//
// Text is also laid out without OpenType shaping wherever a script does not
// need it. The IPA faces carry no kerning or positioning tables, so both
// windows look pixel for pixel the same; the shaping engine's code and work
// stay out of every start and every box that changes.
//
// Create the QApplication first: the layout choice goes into its font, which
// every widget's font inherits.
void installFonts();

} // namespace platform
