// Filters of a level path: lines of a contour that run along the outside of the block, where
// there is no material, become moves; cuts wholly outside the block become moves; and runs of
// moves collapse into one.
#pragma once

#include "geometry/types.h"

namespace korvel {

// Codes of PathLine_Block and PathCcw_Block: where an element lies outside the block.
enum BlockSide : int {
    kInsideBlock = 0,
    kLeftOfBlock = 1,  // a vertical line at or left of the block's left edge less d
    kRightOfBlock = 2, // at or right of its right edge plus d
    kBelowBlock = 4,   // a horizontal line at or below its lower edge less d
    kAboveBlock = 8,   // at or above its upper edge plus d
    kUpperLeftCorner = 16,
    kUpperRightCorner = 32,
    kLowerLeftCorner = 64,
    kLowerRightCorner = 128,
};

// The side code of the straight element from (x1, y1) to (x2, y2) for an offset d: vertical
// (X of both ends `equal`) or horizontal (Y `equal`) at or beyond the block's edge line moved
// out by d; a coordinate `equal` to the limit counts. 0 otherwise.
int PathLine_Block(double x1, double y1, double x2, double y2, double d);
// The corner code of a counter-clockwise arc whose centre and both ends lie at or beyond both
// edge lines of a block corner (by `equal` or strictly); 0 otherwise.
int PathCcw_Block(double x1, double y1, double x2, double y2, double radius);

// The new filter: a contour line along the outside of the block (PathLine_Block, offset d)
// becomes a move; a counter-clockwise arc of radius d just before it becomes a move too, and
// one just after it becomes a line that the move now leads to. Returns the new count.
int PathFilter_Block_new(PathPoint* points, int& count, double d);
// The old filter: such lines, and corner arcs (PathCcw_Block) outside the block, become moves
// pushed out to the run-out limits (d plus QPLANE beyond the edges), and a cut after them
// first comes back with a line to where it starts. 0 after the internal error of a full XL
// path (nothing changed), else 1.
int PathFilter_Block_old(PathPoint* points, int& count, double d);
// The filter the USE command chose (NEWFILTER, the default, or OLDFILTER); 1, or 0 after an
// internal error.
int PathFilter_Block(PathPoint* points, int& count, double d);

// A line between two moves (or a last line after a move) wholly outside the block (InBlock)
// becomes a move, then runs of moves collapse (JoinJumps). Fewer than 2 points: internal error
// 7 and 0; else 1.
int PathOptimiser_old(PathPoint* points, int& count);
int PathOptimiser(PathPoint* points, int& count, double d);

// Of every run of consecutive moves only the last stays, and a move at the end is dropped.
// Returns the new count.
int JoinJumps(PathPoint* points, int& count);

} // namespace korvel
