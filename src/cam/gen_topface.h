// Top face milling: the stock above the part is milled off the whole block in parallel lines,
// roughly in depth steps before the levels, with an optional rough-finishing pass, and fine
// finished after the levels. The passes write their own lines (no path table).
#pragma once

namespace korvel {

// Rough milling of the top face (and its rough-finishing pass). Chooses the top face's rough
// and fine tools for the run. 1 on success or when there is nothing to mill (the block is then
// declared processed), 0 after a message.
int GRoughTop();
// Fine finishing of the top face with the fine tool GRoughTop chose (only for the qualities
// that ask for it). 1 on success or nothing to do, 0 after a message.
int GFineTop();

// The top face's tools chosen by the last GRoughTop (magazine places), -1 for none.
int TopFaceRoughTool();
int TopFaceFineTool();

// One pass over the whole block at height z with a tool of diameter d, the lines `overlap` x d
// apart (overlap is the step-over factor): lines along X (GMillTopX) or along Y (GMillTopY),
// meander when bit 7 of the block's mill-down flags is set, else one way with a retract and a
// plunge at feedZ (a rapid drop when feedZ is 0) for every line. Appends to `buffer`. Returns
// the pass's machining time in minutes (feeds per minute), 0 without code when z is not below
// the block top (a pass there cuts nothing), -1 when d or overlap is not positive.
double GMillTopX(int buffer, double d, double overlap, double z, double feedXY, double feedZ);
double GMillTopY(int buffer, double d, double overlap, double z, double feedXY, double feedZ);

} // namespace korvel
