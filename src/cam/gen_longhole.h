// Long holes: straight slots of constant width milled with the rough end mill chosen when the
// parent's holes were made (which may have reversed the slot so that it starts at its end
// outside the block). A slot as wide as the tool is cut by straight passes along its centre
// line, one per depth step; a wider slot by closed oval rings at growing offsets from the
// centre line, each ring in all depth steps.
#pragma once

namespace korvel {

// Internal error code (ErrCode): a long hole index outside the table or a free slot.
constexpr int kErrLongHole = 34;

// GThisLongHole for every registered long hole in registry order; stops at the first failure.
// 1 on success, 0 after a message.
int GAllLongHoles();
// Mills long hole slot `index`: 1, or 0 after a message.
int GThisLongHole(int index);

} // namespace korvel
