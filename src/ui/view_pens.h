// The pens of the view: one per part of the picture, chosen for the drawing background (the
// BACKGROUND setting, black unless white), plus the selection pens and the replay's pens.
#pragma once

#include <cstdint>

#include "ui/canvas.h"

namespace korvel {

enum class ViewPen {
    kMachineAxes,
    kWorkspace,
    kTable,
    kCoordAxes,
    kUserAxes,
    kMaterial, // what is left of the block after its top face is milled down
    kBlock,
    kBulge,
    kDrill,
    kThread,
    kBore,
    kLongHole,
    kPocket,
    kFixture,
    kEngText,
    kNote,
    kEngElement, // engraving lines, arcs and circles
    kDrawing,    // drawing lines, arcs and circles
    kSelected,
    kParent,
    kMarker,
    kFeed, // replayed cutting moves
    kRapid,
    kBackground, // drawing over something in this pen hides it
};

std::uint32_t ViewBackground();
Pen GetViewPen(ViewPen which);

} // namespace korvel
