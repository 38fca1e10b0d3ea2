// Pockets: recesses of constant depth with a closed outline, cut down from the surface of the
// block, a bulge or another pocket. A bulge attached to a pocket is an island.
#pragma once

#include <string>
#include <vector>

#include "model/shape.h"

namespace korvel {

constexpr int kMaxPockets = 64;
constexpr int kShapeRectPocket = 20; // other kinds are free contours (16 after POCKET, -1 edited)

struct Pocket {
    int id = 0;
    int pid = 0;
    int kind = -1;
    double dim1 = 0, dim2 = 0; // rectangle: length X and Y; free contour: 0
    double wz = 0;             // depth below the surface
    double z = 0;              // the surface it is cut from (computed)
    Shape shape;
    double chamfer = 0;
    int tol_offset = 0;    // thousandths of a millimetre
    int chosen_rough = -1; // chosen by the compiler; not saved
    int chosen_fine = -1;
    int chosen_predrill = -1;
    int rough_tool = 0;
    int fine_tool = 0;
    int quality = -1;
    int scan = 0;
    int valid = 0;
    int selected = 0;
};

int GetPocket(int index, Pocket& pocket); // returns valid
void PutPocket(int index, const Pocket& pocket);
void InitPocket(int index); // kAllSlots: every slot
int NextPocket();
void RemovePocket(int index);
int GetPocketId(int index);
int Pocket_id(int index);
int GetPocketPid(int index);
int Pocket_pid(int index);
void SetPocketPid(int index, int pid);
int Pocket_valid(int index);
int Pocket_selected(int index);
double Pocket_wz(int index);
double Pocket_z(int index);
void SetPocket_z(int index, double z);
int SelectPocket(int index, int marks);
int UnSelectPocket(int index, int marks);
bool PocketClicked(int index, double px, double py);
// The smallest counter-clockwise arc radius plus the tolerance offset; 0 without such arcs,
// -1 for a free slot.
double MinPocketCCWR(int index);

std::vector<std::string> PocketLines(int index);
int WritePocketData(int index, std::string& out);
// Undo line generator, as StrBulgeData.
int StrPocketData(std::string& line, int index, int mode);
void PushPocketUndo(int index);

// Edits: mirroring and turning make a free contour.
void MovePocketBy(int index, double dx, double dy);
void MirrorPocketX(int index, double a);
void MirrorPocketY(int index, double b);
void TurnPocket(int index, double cx, double cy, double angle_deg);
void ScalePocketBy(int index, double cx, double cy, double f);
int CopyPocketTo(int index, double dx, double dy);

int PRectCom(const char* file, int line);  // RPOCKET
int PocketCom(const char* file, int line); // POCKET ... END

// Stores the closed free contour of an open POCKET (called by END).
int FinishPocketContour(const Shape& shape, const char* file, int line);

} // namespace korvel
