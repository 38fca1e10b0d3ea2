// Geometric edits of drawing and engraving elements: of one element, of a drawing group and of
// every selected element. Each element edit pushes the command that reverses it; the group and
// selection edits bracket theirs ("}" ... "{") so that one undo reverses the whole edit.
#pragma once

namespace korvel {

// One element (its slot). Mirroring mirrors both ends (a circle its centre) and turns a
// clockwise arc into a counter-clockwise one and back. Turning by 0 and scaling by a factor
// that is not above 0 or is 1 change nothing and push nothing. Scaling multiplies the radius;
// the engraving width and depth stay.
void MoveCLABy(int index, double dx, double dy);
void MirrorXCLABy(int index, double a);
void MirrorYCLABy(int index, double b);
void TurnCLABy(int index, double cx, double cy, double angle_deg);
void ScaleCLABy(int index, double cx, double cy, double f);
// A copy moved by (dx, dy) under a new ID of the same type, in the same group and on the same
// parent; "DELETE id" is pushed. The new ID, or -1 when the table or the registry is full.
int CopyCLABy(int index, double dx, double dy);

// Every element of a drawing group. Copying puts the copies into one new group; the result is
// that group's index, -1 when a table was full (the copies made so far stay).
void MoveGroupBy(int group, double dx, double dy);
void MirrorXGroupBy(int group, double a);
void MirrorYGroupBy(int group, double b);
void TurnGroupBy(int group, double cx, double cy, double angle_deg);
void ScaleGroupBy(int group, double cx, double cy, double f);
int CopyGroupBy(int group, double dx, double dy);

// Every selected element, drawing and engraving. Copies of grouped elements go into one new
// group per group copied. Copying returns 1, or 0 when a copy failed for a full table.
void MoveSelectedCLABy(double dx, double dy);
void MirrorXSelectedCLABy(double a);
void MirrorYSelectedCLABy(double b);
void TurnSelectedCLABy(double cx, double cy, double angle_deg);
void ScaleSelectedCLABy(double cx, double cy, double f);
int CopySelectedCLABy(double dx, double dy);

} // namespace korvel
