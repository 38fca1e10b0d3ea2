// A small 5 x 7 pixel font for labels in pictures: digits, lower-case letters and a few signs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvel {

constexpr int kPixelGlyphWidth = 5;
constexpr int kPixelGlyphHeight = 7;

// Draws text into an RGB picture (3 bytes a pixel, `width` pixels a row, `height` rows) with its
// top-left corner at (x, y), each font pixel `size` picture pixels square, one font pixel apart.
// Characters the font lacks are left blank; what falls outside the picture is clipped.
void DrawPixelText(std::vector<std::uint8_t>& rgb, int width, int height, int x, int y,
                   const std::string& text, int size, std::uint8_t r, std::uint8_t g,
                   std::uint8_t b);

// The width in picture pixels that DrawPixelText takes for the text.
int PixelTextWidth(const std::string& text, int size);

} // namespace korvel
