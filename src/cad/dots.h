// The dots: points marked on the drawing. Dot 0 and dot 1 are the user's start and end points;
// the entries from 2 on are pushed by the program (snap points of selected objects, the
// crossings the path checks find) and are drawn as markers in the top view. The class of an
// entry is the marker's flag word: 1 filled square, 2 open square (end point), 4 upright cross
// (centre, or a cut path loop), 8 triangle (middle), 16 diagonal cross (intersection); a set
// dot 0 has class 257, a set dot 1 class 1, an unset one 0.
#pragma once

namespace korvel {

constexpr int kMaxDots = 256;

struct Dot {
    double x = 0, y = 0;
    int cls = 0;
};

// Sets dot 0 or dot 1 (any index below the count): class 257 for dot 0, 1 for the others.
// 0 for an index outside 0..count-1.
int SetDot(int i, double x, double y);
// 1 and the dot when it is set (class not 0); else 0 and the user coordinate origin.
int GetDot(int i, double& x, double& y);
// The first pushed entry (from 2) equal to the point in both coordinates, else -1.
int FindDot(double x, double y);
// Adds a point with a class: an equal pushed entry takes the new class, otherwise the point is
// appended. 0 (nothing added) when all 256 entries are in use, else 1.
int PushPoint(double x, double y, int cls);
// Count back to 2, dots 0 and 1 unset.
void RemoveDots();

// The number of entries in use (at least 2) and entry i (an empty dot outside the count).
int DotCount();
Dot DotAt(int i);

} // namespace korvel
