// Pocket milling: rough milling in depth steps along the wall contour and the scan-line segments
// inside it, optional rough finishing at the floor, and fine finishing of the walls and (quality
// 4 and 5, with excess material removal) of the floor. The quality codes mean what they mean for
// bulge levels (gen_level.h). The pocket's tools were chosen before (SelectPocketTools, when its
// parent's holes were made) and stand in the pocket record.
//
// A path that cannot be made or followed shows its message (captioned "Path error"), leaves the
// failing pocket as the only selected object, and ends the generator with 0.
#pragma once

namespace korvel {

// Internal error codes (ErrCode): a pocket index outside 0..63 or a free slot.
constexpr int kErrRoughPocket = 44;
constexpr int kErrFinePocket = 45;

// Rough milling (and rough finishing) of pocket slot `p` with area clearing. 1 on success, also
// when there is nothing to do; 0 after a message.
int GThisPocket(int p);
// The same without excess material removal: only the wall contour, at every depth step.
int GThisPocket_NEMR(int p);
// Fine finishing of the walls and floor of pocket slot `p` with its finishing tool.
int GFineThisPocket(int p);
// GFineThisPocket for every pocket in registry order; stops at the first failure.
int GFineAllPockets();

} // namespace korvel
