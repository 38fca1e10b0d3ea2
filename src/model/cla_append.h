// Creating drawing and engraving elements from the drawing dialogs' values. Each new element
// gets a new ID and pushes "DELETE id"; shapes of several elements (rectangle, polygon) become
// one new group and one undo step. Geometry a dialog would not accept (no length, no radius,
// an arc without a centre) is refused with -1 and no message: the dialog stays open.
#pragma once

namespace korvel {

// Drawing elements: the new ID, or -1. A full table shows "Too many free drawing/engraving
// elements" / "Out of space". kind: 2 counter-clockwise, 4 clockwise arc.
int AppendInfoLine(double x1, double y1, double x2, double y2);
int AppendInfoCircle(double cx, double cy, double r);
int AppendInfoArc(double x1, double y1, double x2, double y2, double r, int kind);
// Four lines round the rectangle with corners (x1, y1) and (x2, y2), and a regular polygon of
// `sides` corners on the circle of radius r about (cx, cy), the first at `start_deg`: each in
// a new group, whose index is returned (-1 on failure; what was made stays).
int AppendInfoRect(double x1, double y1, double x2, double y2);
int AppendInfoPolygon(double cx, double cy, double r, int sides, double start_deg);

// Engraving elements on the parent candidate, with the engraving width and depth. Without a
// parent candidate: "Please select an object (block,bulge or pocket)" / "Engrave where?".
int AppendEngrLine(double x1, double y1, double x2, double y2, double width, double depth);
int AppendEngrCircle(double cx, double cy, double r, double width, double depth);
int AppendEngrArc(double x1, double y1, double x2, double y2, double r, int kind, double width,
                  double depth);

} // namespace korvel
