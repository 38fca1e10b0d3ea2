// The stock block and the coordinate systems of a project. All lengths are in the user unit.
#pragma once

#include <string>

namespace korvel {

constexpr std::size_t kMaxMaterialName = 79;
constexpr const char* kDefaultMaterial = "ST37-2";

struct BlockRecord {
    int id = -1;
    double length = 0, width = 0, height = 0; // each above 0 once valid
    double x = 0, y = 0, z = 0;               // lower corner; the top face is at z + height
    int rough_tool = 0;                       // top-face tools (0 none)
    int fine_tool = 0;
    int quality = -1;        // -1 the global QUALITY, 0/2 none, 1/3 rough, 4 fine, 5 both
    double mill_down = 0;    // how much the top face is milled down first
    int mill_down_flags = 0; // bit 0 milling along Y, bit 1 finishing along Y, bit 7 continuous
    std::string material = kDefaultMaterial; // upper case, blanks kept
    int valid = 0;
    int selected = 0; // 1 selected, bit value 2 parent for new objects
};

struct Coordinates {
    int work_offset = 0;                       // 0..5 G54..G59, 6..8 G59.1..G59.3
    double wz_x = 0, wz_y = 0, wz_z = 0;       // machine position of the work zero (drawing only)
    double user_x = 0, user_y = 0, user_z = 0; // the user's own origin
};

BlockRecord GetBlock();
void PutBlock(const BlockRecord& block);
Coordinates GetCoordinates();

int GetBlockId(); // -1 when no block is defined
int Block_valid();
int Block_selected();
void SetBlockSelected(int mark);
// Copies the material name; 0 and an empty name when no block is defined.
int Block_material(std::string& name);

// With a valid block: moves it and pushes the reversing MOVE.
void MoveBlockBy(double dx, double dy);
// With a valid block and s above 0 and not 1: scales about (cx, cy) and pushes the reversing
// SCALE. Z is scaled only when the block's top is the zero plane, so that it stays there.
void ScaleBlockBy(double cx, double cy, double s);
// The block's full data line (13-value BLOCK in code form); 0 (line untouched) without a block.
int StrBlockData(std::string& line);
// The block's lines as the project file has them: 10-value BLOCK, MATERIAL, TOPFACE.
int WriteBlockData(std::string& lines);
// The text a work offset index stands for ("G54" .. "G59.3").
std::string WorkOffsetName(int index);

// Block to its start values, work offset 0, user origin 0, work-zero Z 0.
void InitBlock();

// Script commands.
int BlockCom(const char* file, int line);    // BLOCK id l w h x y z rough fine quality [...]
int MaterialCom(const char* file, int line); // MATERIAL name
int TopCom(const char* file, int line);      // TOPFACE depth [flags]
int CoordsCom(const char* file, int line);   // COORDINATES offset x y z [unit]
int UCoordsCom(const char* file, int line);  // UCOORDS x y z

} // namespace korvel
