// Pen colours of the view for a black and for a white background.
#include "ui/view_pens.h"

#include "model/settings.h"

namespace korvel {

namespace {

struct PenColours {
    std::uint32_t on_black, on_white;
    double width;
    LineStyle style;
};

// In the order of ViewPen.
constexpr PenColours kPens[] = {
    {0x505050, 0xb0b0b0, 1, LineStyle::kDotted}, // machine axes
    {0x606060, 0xa0a0a0, 1, LineStyle::kDashed}, // workspace
    {0x808080, 0x808080, 1, LineStyle::kSolid},  // table
    {0x00a0ff, 0x0060c0, 1, LineStyle::kSolid},  // coordinate axes
    {0x00c0a0, 0x008060, 1, LineStyle::kDashed}, // user axes
    {0x8a6a40, 0x8a6a40, 1, LineStyle::kDotted}, // material
    {0xe0e0e0, 0x202020, 1, LineStyle::kSolid},  // block
    {0x40d070, 0x1f6f3f, 1, LineStyle::kSolid},  // bulge
    {0xff5060, 0xb01030, 1, LineStyle::kSolid},  // drill
    {0xff80a0, 0xa02050, 1, LineStyle::kSolid},  // thread
    {0x60a0ff, 0x1f4fbf, 1, LineStyle::kSolid},  // bore
    {0xffa040, 0x9a5a00, 1, LineStyle::kSolid},  // long hole
    {0x4080ff, 0x1f4fbf, 1, LineStyle::kSolid},  // pocket
    {0xa0a0a0, 0x707070, 1, LineStyle::kDashed}, // fixture
    {0xff60e0, 0xc0208a, 1, LineStyle::kSolid},  // engraving text
    {0xc0c090, 0x808060, 1, LineStyle::kDotted}, // note
    {0xc080ff, 0x8030c0, 1, LineStyle::kSolid},  // engraving element
    {0xb0b090, 0x606048, 1, LineStyle::kSolid},  // drawing element
    {0xffff00, 0xff00ff, 1, LineStyle::kSolid},  // selected
    {0x00ffff, 0x008080, 1, LineStyle::kDashed}, // parent candidate
    {0xffffff, 0x000000, 1, LineStyle::kSolid},  // marker
    {0xffd000, 0xe04000, 1, LineStyle::kSolid},  // feed
    {0x00c000, 0x00a000, 1, LineStyle::kDashed}, // rapid
    {0x000000, 0xffffff, 1, LineStyle::kSolid},  // background
};

bool WhiteBackground() { return GetSettings().background_white != 0; }

} // namespace

std::uint32_t ViewBackground() { return WhiteBackground() ? 0xffffff : 0x000000; }

Pen GetViewPen(ViewPen which) {
    const PenColours& p = kPens[static_cast<int>(which)];
    return Pen{WhiteBackground() ? p.on_white : p.on_black, p.width, p.style};
}

} // namespace korvel
