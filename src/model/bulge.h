// Bulges: raised shapes left standing when the material around them is milled away, stacked
// in levels (level 0 stands on the block, level 1 on a level-0 bulge, ...). A bulge whose parent
// is a pocket or bore is an island. Lengths in the user unit.
#pragma once

#include <string>
#include <vector>

#include "model/shape.h"

namespace korvel {

constexpr int kMaxBulges = 32;
constexpr int kAllSlots = -999; // InitBulge: every slot

// Shape kinds; any other value is a free contour (16 after BULGE, -1 after a mirror or turn).
constexpr int kShapeRectangle = 15;
constexpr int kShapeFree = 16;
constexpr int kShapeCylinder = 18;
constexpr int kShapePolygon = 19;

struct Bulge {
    int id = 0;
    int pid = 0;     // the block, a bulge, a pocket or a bore
    int kind = -1;   // shape kind
    double dim1 = 0; // rectangle: length X; cylinder and polygon: diameter; free contour: 0
    double dim2 = 0; // rectangle: length Y; cylinder and polygon: the diameter again
    double wz = 0;   // height above the level it stands on
    double z = 0;    // that level (computed by RecalcZ)
    Shape shape;
    double chamfer = 0;
    int tol_offset = 0; // thousandths of a millimetre, -199..199
    int mill_tool = -1; // chosen by the compiler for the level; not saved
    int finish_tool = -1;
    int rough_tool = 0; // preselected tools, 0 = automatic
    int fine_tool = 0;
    int quality = -1; // -1 as defined globally
    int scan = 0;     // bit 0 rough milling along Y, bit 1 finishing along Y
    int valid = 0;
    int selected = 0;
};

// Table access by slot (0..31). ID and parent accessors give -1, the others 0, for a slot
// not in use.
int GetBulge(int index, Bulge& bulge); // returns valid
void PutBulge(int index, const Bulge& bulge);
void InitBulge(int index); // kAllSlots for every slot
int NextBulge();           // first free slot, -1 when full
void RemoveBulge(int index);
int GetBulgeId(int index);
int Bulge_id(int index);
int GetBulgePid(int index);
int Bulge_pid(int index);
void SetBulgePid(int index, int pid);
int Bulge_valid(int index);
int Bulge_selected(int index);
double Bulge_wz(int index);
double Bulge_z(int index);
void SetBulge_z(int index, double z);
int Bulge_is_island(int index);
int SelectBulge(int index, int marks);
int UnSelectBulge(int index, int marks);

// Lines of a bulge as the project file has them, in order; empty for a free slot.
std::vector<std::string> BulgeLines(int index);
// The project file's lines, each ended by a line feed; 0 for a free slot.
int WriteBulgeData(int index, std::string& out);
// Undo line generator: mode 2 starts, mode 3 continues; gives the lines last first, lines that
// continue a unit ending in a line feed. 1 while more follow, 0 with the last, -1 when the
// slot is free or nothing is left.
int StrBulgeData(std::string& line, int index, int mode);
// Pushes the lines that recreate the bulge onto the undo stack.
void PushBulgeUndo(int index);

// Level functions.
int BulgeLevel(int index); // -1 for a free slot or a broken parent chain
int TopLevel();            // -1 without bulges
int FindFirstLevelBulge(int level);
int FindNextLevelBulge(int level);
int BulgeId_to_level(int id);
int ChildBulgeIndex(int pid);
int TopBulgeIndex();
// The largest height of bulges over the base level (pockets and bores subtracted), >= 0.
// 0 when a parent chain is broken.
int MaxBulgeStructureHeight(double& height);
// The smallest clockwise-arc radius less the tolerance offset; 0 without clockwise arcs, -1
// for a free slot.
double MinBulgeCWR(int index);
// Copies height, tools, quality and scan directions to the other bulges of the level.
void BroadcastCommonBulgeData(int index);
// Whether the point lies inside the contour.
bool BulgeClicked(int index, double px, double py);
// Copies a bulge's contour without repeated points and its id, pid, selection, kind, height
// and dimensions; 0 (destination emptied) when fewer than 2 vertices remain.
int cpshape(Bulge& dst, const Bulge& src);

// Geometric edits; each pushes the command that reverses it.
void MoveBulgeBy(int index, double dx, double dy);
void MirrorBulgeX(int index, double a);
void MirrorBulgeY(int index, double b);
void TurnBulge(int index, double cx, double cy, double angle_deg);
void ScaleBulgeBy(int index, double cx, double cy, double f);
// A copy moved by (dx, dy) under a new ID with the same parent; the new ID, or -1 when the
// table or the registry is full.
int CopyBulgeTo(int index, double dx, double dy);

// Script commands.
int LRectCom(const char* file, int line);    // RBULGE
int CylinderCom(const char* file, int line); // CBULGE
int PolygonCom(const char* file, int line);  // POLYGON
int BulgeCom(const char* file, int line);    // BULGE ... END

// Stores the closed free contour of an open BULGE (called by END).
int FinishBulgeContour(const Shape& shape, const char* file, int line);

} // namespace korvel
