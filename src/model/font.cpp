// Character advances of the engraving font. Until the stroke font file is read these are the
// advances of a plain sans-serif design in font units (12 high): narrow punctuation and i, l,
// wide M and W, the rest in between.
#include "model/font.h"

#include <string_view>

namespace korvel {

double chrspace(unsigned char c) {
    constexpr std::string_view kNarrow = "!'.,:;|`il";
    constexpr std::string_view kSlim = "()[]{}1fjrtI\"";
    constexpr std::string_view kWide = "MWmw@%";
    if (c == ' ')
        return 8;
    if (kNarrow.find(static_cast<char>(c)) != std::string_view::npos)
        return 4;
    if (kSlim.find(static_cast<char>(c)) != std::string_view::npos)
        return 7;
    if (kWide.find(static_cast<char>(c)) != std::string_view::npos)
        return 14;
    if (c >= 'a' && c <= 'z')
        return 9;
    if (c < 32 || c > 126)
        return 10; // characters outside the font are drawn as a box of this width
    return 11;
}

} // namespace korvel
