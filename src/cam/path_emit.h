// Path emission: turns one tool path (paths/path_table.h) into the G-code lines that mill it at
// one cutting height, appended to a tool's code buffer. Every milled contour, zig-zag area and
// pocket goes through here.
//
// What a path becomes: a rapid climb to the safe height (the block's top plus the safe
// corridor) and a rapid to the first point; each move a rapid at the safe height; before the
// first cut after a move a rapid down to z + approach + RPLANE and a plunge at the plunge feed
// (or, without a plunge feed, a rapid straight to z); lines as G01, arcs as G02/G03 with centre
// offsets (I, J) or, with USE R_IN_G02_G03, a radius word; finally a rapid to the safe height.
//
// Arcs are written so that a control reads them as they were meant, with the coordinates as
// they stand in the written program (rounded by the writer's number normaliser): the centre
// offsets are chosen so that the written end point lies on the written circle within
// kArcEndTolerance; an arc whose chord is 0.01 or shorter becomes a line (a control would read a
// G02/G03 that ends where it starts as a full circle); with radius words an arc within 10
// degrees of half a turn is written as two halves, since the centre a control derives from a
// rounded radius near a half circle lies tenths of a millimetre off; an arc without a centre
// (no radius, or a chord longer than its diameter) stops the emission with a message.
// Coordinates therefore go into the buffer already rounded as they will be written (X10.1230
// for 10.12345 in millimetres), and in inches an arc's end may move by one step (0.0001) onto
// its circle.
#pragma once

#include "geometry/types.h"

namespace korvel {

// Internal error codes (ErrCode, "Error code %d" / "Internal error").
constexpr int kErrEmitBuffer = 27; // no code buffer (-1 or outside 0..127)
constexpr int kErrEmitPath = 28;   // path number outside 1..32
constexpr int kErrEmitValue = 29;  // no feed in XY for a path with cuts, or a value not finite
constexpr int kErrEmitKind = 30;   // a path point of a kind other than 0, 1, 2, 4

// How far the written end point of an arc may lie off the circle about its written centre, in
// millimetres (divided by 25.4 in inch projects): what common controls accept.
constexpr double kArcEndTolerance = 0.002;
// An arc whose chord is this long or shorter (project unit) is written as a line.
constexpr double kArcTooSmallChord = 0.01;

// Emits path `path` (1..32) at height z with the feed in XY, the plunge feed and the approach
// allowance (the height above z from which, besides RPLANE, the plunge at feed starts). 1 on
// success; 0 after a message (internal error 28 for another path number). Lines already
// appended stay in the buffer when it fails.
int GPath(int path, int buffer, double z, double feedXY, double feedZ, double approach);
// The same for the XL path.
int GXLPath(int buffer, double z, double feedXY, double feedZ, double approach);
// The common routine, for any point array. A path of fewer than 2 points writes nothing and
// returns 1. 0 after a message: internal error 27 for a buffer outside 0..127, 29 for a feed in
// XY not above 0 when the path cuts or a coordinate, height or feed that is not a number, 30
// for a point of an unknown kind; "Arc expected" or the arc-centre message for an arc that has
// no centre.
int GPathGeneral(const PathPoint* points, int count, int buffer, double z, double feedXY,
                 double feedZ, double approach);

// The centre offsets of the arc that ends at point i (from point i - 1): I = centre X - start
// X, J = centre Y - start Y, the centre from ArcCenter. 1; 0 after "Arc expected" (titled
// "Internal error") when point i is not an arc or i is not above 0, or after the arc-centre
// message when the arc has no centre (outputs then untouched).
int Arc_IJ_val(const PathPoint* points, int i, double& I, double& J);
// 1 when the chord of the arc ending at point i is kArcTooSmallChord or shorter, else 0; 0
// after "Arc expected" when point i is not an arc or i is not above 0.
int ArcTooSmall(const PathPoint* points, int i);

} // namespace korvel
