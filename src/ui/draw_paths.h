// The tool paths of the project in the top view: each bulge level's area path (its scan lines
// and its bulges' contours, one colour per level) and each pocket's wall contour and scan
// lines, built for the tool the feature asks for. Cuts are solid, moves dashed, arcs drawn as
// arcs, and every path's start marked with a small circle.
#pragma once

#include "paths/path_table.h"
#include "ui/draw_top.h"

namespace korvel {

Pen PathCutPen(); // pocket paths
Pen PathMovePen();
Pen LevelPathPen(int level);

// Draws a path: each element from its point's predecessor, a move with `move`, a cut with
// `cut`; a ring marks point 0.
void DrawPath(TopPainter& painter, const PathRef& path, const Pen& cut, const Pen& move);

// The radius of the tool a bulge or pocket is milled with, as far as it is known before a
// compile: its preselected rough tool's, else a 10 mm tool (0.4 in an inch project), smaller
// where the inside arcs of the outline need it. 0 when no tool fits.
double BulgePathRadius(int bulge);
double PocketPathRadius(int pocket);
// A level's: its shared rough tool, limited by the tightest inside arc of its bulges.
double LevelPathRadius(int level);

// Builds and draws the paths of every level, from the top down, and of every pocket. 1 when all
// could be made; 0 when one failed (its message was shown and its paths are left out).
int DrawToolPaths(TopPainter& painter);

} // namespace korvel
