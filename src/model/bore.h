// Bores: cylindrical pockets milled with end mills, finished like bulge levels and pockets.
// A bore can carry other objects.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxBores = 128;

struct Bore {
    int id = 0;
    int pid = 0;
    double dia = 0;
    double wz = 0; // depth
    double x = 0, y = 0;
    double z = 0;
    int tol_offset = 0; // thousandths of a millimetre, -199..199
    double chamfer = 0;
    int chosen_rough = -1; // chosen by the compiler; not saved
    int chosen_fine = -1;
    int rough_tool = 0; // preselected tools, 0 = automatic
    int fine_tool = 0;
    int quality = -1; // -1 as defined globally
    int valid = 0;
    int system = 0;
    int selected = 0;
};

void InitBore(int index); // kAllSlots: every slot
int NextBore();
int GetBore(Bore& bore, int index);
void PutBore(const Bore& bore, int index);
int Bore_id(int index);
int Bore_pid(int index);
double Bore_wz(int index);
double Bore_dia(int index);
int Bore_selected(int index);
int Bore_system(int index);
void SetBore_z(int index, double z);
int SelectBore(int index, int marks);
int UnSelectBore(int index, int marks);
// Within half the diameter of the centre; a system bore is never hit.
bool BoreClicked(int index, double px, double py);

// The bore's line (empty for a free slot or a system bore); 0 only outside the table.
int StrBoreData(std::string& line, int index);

void MoveBoreBy(int index, double dx, double dy);
void MirrorBoreX(int index, double a);
void MirrorBoreY(int index, double b);
void TurnBore(int index, double cx, double cy, double angle_deg);
// No check on f: the centre is scaled and the preselected tools are reset.
void ScaleBoreBy(int index, double cx, double cy, double f);
int CopyBoreTo(int index, double dx, double dy);

int BoreCom(const char* file, int line); // BORE

} // namespace korvel
