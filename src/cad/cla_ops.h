// Operations on drawing elements that the drawing tools build on: trimming an element to the
// marked points, offsetting it, and selecting a chain of touching elements with one click.
#pragma once

namespace korvel {

// Cuts the one selected element down to the part between dot 0 (start) and dot 1 (end):
// a line becomes the segment between them; an arc keeps its part between them, starting at the
// one reached first counter-clockwise from its start (a clockwise arc is first made the same
// counter-clockwise arc); a circle keeps the counter-clockwise part from start to end, as two
// arcs split at its middle when it sweeps more than half a turn (the second under a new ID).
// One undo restores the element. Messages under "Nothing to trim", "Can't trim multiple
// objects" and "Can't trim" when the selection or the dots do not allow it. 1 when trimmed.
int TrimCLA();

// Offsets the element by d to the right of its direction (a circle grows by d), pushing its
// old line for undo. 1 on success; 0 (unchanged) for a slot not in use, an arc without a
// centre or a radius that would not stay positive.
int OffsetCLA(int index, double d);

// Chain selection at a click: selects the drawing element within `pick` of the point and then,
// while exactly one unselected drawing element continues the chain at its free end (within
// the connection tolerance), that one too, numbering them in order. 0 when the click meets no
// drawing element (an engraving element or nothing): the ordinary selection applies then.
int AutoSelectClicked(double px, double py, double pick);

} // namespace korvel
