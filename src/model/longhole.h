// Long holes: slots of constant width along a centre line from a start point by a length in X
// and Y.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxLongHoles = 128;

struct LongHole {
    int id = -1;
    int pid = -1;
    double dia = 0;      // slot width
    double wz = 0;       // depth
    double x = 0, y = 0; // start of the centre line
    double z = 0;
    double lx = 0, ly = 0; // from the start to the end of the centre line
    int chosen_tool = -1;  // rough end mill chosen by the compiler; not saved
    int valid = 0;
    int selected = 0;
};

void InitLongHole(int index); // kAllSlots: every slot
int NextLongHole();
int GetLongHole(LongHole& hole, int index);
void PutLongHole(const LongHole& hole, int index);
int GetLongHoleId(int index);
int GetLongHolePid(int index);
double LongHole_wz(int index);
int LongHole_selected(int index);
void SetLongHole_z(int index, double z);
int SelectLongHole(int index, int marks);
int UnSelectLongHole(int index, int marks);

// The long hole's line (empty for a free slot); 0 only outside the table.
int StrLongHoleData(std::string& line, int index);

void MoveLongHoleBy(int index, double dx, double dy);
void MirrorLongHoleX(int index, double a);
void MirrorLongHoleY(int index, double b);
void TurnLongHole(int index, double cx, double cy, double angle_deg);
// Nothing unless f > 0 and f != 1.
void ScaleLongHoleBy(int index, double cx, double cy, double f);
int CopyLongHoleTo(int index, double dx, double dy);

int LongHoleCom(const char* file, int line); // LONGHOLE

} // namespace korvel
