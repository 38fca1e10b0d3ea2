// Engraving: texts cut in the stroke font and engraving elements (lines, arcs and circles of the
// drawing layer) cut into the surface of their parent with an engraving tool. The lines go
// straight into the tool's code buffer; no path table is used. Every function that returns an
// int returns 1, or 0 after a message, which ends the run; lengths in the user unit.
#pragma once

namespace korvel {

// Internal error codes: a text slot that holds no engraving text, and an element slot that
// holds no engraving element.
constexpr int kErrNoEngravingText = 38;
constexpr int kErrNoEngravingElement = 39;

// Engraves every engraving text in registry order; stops at the first failure.
int GAllTexts();
// Engraves one text (a text slot): a note or a free slot is internal error 38.
int GThisText(int index);
// Engraves one character with its origin at (x, y) on the surface z, scaled by sx along the
// base line and sy across it (project units per font unit), the base line turned by `angle`
// degrees, cut `depth` deep with the feeds in XY and Z. The tool comes and goes at z + RPLANE.
// Returns the length cut, plus the length that the plunges take at the XY feed (for the time);
// 0 and no code for a code outside 32..255 or a buffer of -1.
double GThisChar(int buffer, int code, double x, double y, double z, double sx, double sy,
                 double angle, double depth, double Fxy, double Fz);

// Engraves every engraving element, chain by chain; stops at the first failure.
int GEngraveAllCLA();
// The lowest slot of an engraving element not yet engraved: 1, or 0 and index -1 for none.
int GetNotReadyENG_CLA(int& index);
// The element that continues the chain after element `index`: one not yet engraved, with the
// same parent, engraving width and depth, that starts where `index` ends, or ends there (it is
// then turned round in place). Circles never chain. 1 with the next slot in index, or 0 and -1.
int GetNextNotReadyENG_CLA(int& index);
// Engraves an element and the chain that continues it, in depth passes of at most the tool's
// cutting depth. An element after the first starts at the first pass's depth, never deeper.
int GThisEngraveCLA(int index);

} // namespace korvel
