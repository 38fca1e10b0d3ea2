// The engraving font. Characters are drawn in font units: the font is 12 units high.
#pragma once

namespace korvel {

constexpr double kFontHeight = 12.0;

// The advance of a character in font units (the distance to the next character's start).
double chrspace(unsigned char c);

} // namespace korvel
