// The stock block record, the coordinate systems, and their script commands.
#include "model/block.h"

#include <cmath>
#include <cstdlib>

#include "base/errors.h"
#include "base/keyword_codes.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "base/units.h"
#include "model/object_edit.h"
#include "model/registry.h"

namespace korvel {

namespace {

BlockRecord g_block;
Coordinates g_coords;

std::string MaterialFromArg(const std::string& arg) {
    std::string name = NameToken(Upper(arg));
    UScore2Blank(name);
    if (name.size() > kMaxMaterialName)
        name.resize(kMaxMaterialName);
    return name;
}

// Parses a work offset word: G54..G59, G59.1..G59.3, a number (54.. taken as G-numbers), or
// ANY (the current index). Returns the index, possibly outside 0..8.
int ParseWorkOffset(const std::string& word, int current) {
    std::string w = Upper(word);
    if (w == "ANY")
        return current;
    if (!w.empty() && w[0] == 'G') {
        double v = std::atof(w.c_str() + 1);
        if (v <= 59)
            return static_cast<int>(v) - 54;
        // G59.1 .. G59.3: the tenths digit is taken from the text, since 59.1 etc. are not
        // exact in binary.
        std::size_t dot = w.find('.');
        if (std::atoi(w.c_str() + 1) == 59 && dot != std::string::npos && dot + 1 < w.size()) {
            char tenth = w[dot + 1];
            if (tenth >= '1' && tenth <= '3')
                return 5 + (tenth - '0');
        }
        return -1;
    }
    int v = std::atoi(w.c_str());
    return v >= 54 ? v - 54 : v;
}

} // namespace

BlockRecord GetBlock() { return g_block; }
void PutBlock(const BlockRecord& block) { g_block = block; }
Coordinates GetCoordinates() { return g_coords; }

int GetBlockId() { return g_block.valid ? g_block.id : -1; }
int Block_valid() { return g_block.valid; }
int Block_selected() { return g_block.selected; }
void SetBlockSelected(int mark) { g_block.selected = mark; }

int Block_material(std::string& name) {
    if (!g_block.valid) {
        name.clear();
        return 0;
    }
    name = g_block.material;
    return 1;
}

void MoveBlockBy(double dx, double dy) {
    if (!g_block.valid)
        return;
    g_block.x += dx;
    g_block.y += dy;
    PushMoveUndo(g_block.id, dx, dy);
}

void ScaleBlockBy(double cx, double cy, double s) {
    if (!g_block.valid || !(s > 0) || s == 1)
        return;
    bool top_at_zero = std::fabs(g_block.z + g_block.height) < 1e-9;
    g_block.x = cx + (g_block.x - cx) * s;
    g_block.y = cy + (g_block.y - cy) * s;
    g_block.length *= s;
    g_block.width *= s;
    g_block.height *= s;
    if (top_at_zero)
        g_block.z *= s;
    PushScaleUndo(g_block.id, cx, cy, s);
}

int StrBlockData(std::string& line) {
    if (!g_block.valid)
        return 0;
    std::string material = g_block.material;
    Blank2UScore(material);
    material = QuoteIfNeeded(material);
    line = Sprintf("$%d %d %s %s %s %0.5f %0.5f %0.5f %d %d %d %0.5f %d %s", kBlock, g_block.id,
                   FixedNonZero(g_block.length, 5).c_str(), FixedNonZero(g_block.width, 5).c_str(),
                   FixedNonZero(g_block.height, 5).c_str(), g_block.x, g_block.y, g_block.z,
                   g_block.rough_tool, g_block.fine_tool, g_block.quality, g_block.mill_down,
                   g_block.mill_down_flags, material.c_str());
    return 1;
}

int WriteBlockData(std::string& lines) {
    if (!g_block.valid)
        return 0;
    lines = Sprintf("$%d %d %s %s %s %0.5f %0.5f %0.5f %d %d %d\n", kBlock, g_block.id,
                    FixedNonZero(g_block.length, 5).c_str(), FixedNonZero(g_block.width, 5).c_str(),
                    FixedNonZero(g_block.height, 5).c_str(), g_block.x, g_block.y, g_block.z,
                    g_block.rough_tool, g_block.fine_tool, g_block.quality);
    if (!g_block.material.empty()) {
        std::string material = g_block.material;
        Blank2UScore(material);
        material = QuoteIfNeeded(material);
        lines += Sprintf("$%d %s\n", kMaterial, material.c_str());
    }
    lines += Sprintf("$%d %0.5f %d\n", kTopface, g_block.mill_down, g_block.mill_down_flags);
    return 1;
}

std::string WorkOffsetName(int index) {
    if (index >= 0 && index <= 5)
        return Sprintf("G%d", 54 + index);
    if (index >= 6 && index <= 8)
        return Sprintf("G59.%d", index - 5);
    return "";
}

void InitBlock() {
    g_block = BlockRecord();
    g_coords.work_offset = 0;
    g_coords.user_x = g_coords.user_y = g_coords.user_z = 0;
    g_coords.wz_z = 0;
}

int BlockCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 11 && count != 14)
        return SyntaxError(file, line);
    int id = ArgI(1);
    double f = UnitFactor();
    double length = ArgF(2) * f, width = ArgF(3) * f, height = ArgF(4) * f;
    if (!(length > 0) || !(width > 0) || !(height > 0) || id < 1 || id > kMaxObjectId)
        return OutOfRange(file, line);
    std::string material = count == 14 ? MaterialFromArg(Arg(13)) : kDefaultMaterial;
    if (material.empty())
        return OutOfRange(file, line); // see MaterialCom
    int type, index;
    if (FindID(id, type, index) && type != kTypeBlock)
        return WrongObjectType(file, line);

    if (!UndoSuspended()) { // the line would be dropped: opening a project builds none
        std::string undo;
        ExactFloats exact;
        if (StrBlockData(undo))
            PushUndoCom(undo);
        else
            PushDeleteUndo(id);
    }

    // One block per project: a block line with another ID replaces the block's ID.
    if (g_block.valid && g_block.id != id)
        UnregisterID(g_block.id);
    RegisterID(id, kTypeBlock, 0);
    g_block.id = id;
    g_block.length = length;
    g_block.width = width;
    g_block.height = height;
    g_block.x = ArgF(5) * f;
    g_block.y = ArgF(6) * f;
    g_block.z = ArgF(7) * f;
    g_block.rough_tool = ArgI(8);
    g_block.fine_tool = ArgI(9);
    g_block.quality = ArgI(10);
    // The project file follows the short form with TOPFACE and MATERIAL lines.
    g_block.mill_down = count == 14 ? ArgF(11) * f : 0;
    g_block.mill_down_flags = count == 14 ? ArgI(12) : 0;
    g_block.material = material;
    g_block.valid = 1;
    return 1;
}

int MaterialCom(const char* file, int line) {
    if (ArgCount() != 2)
        return SyntaxError(file, line);
    // A block has a material: the project file leaves an empty one out, and the block line
    // read back gives the default, so an empty name ("") would come back as steel.
    std::string material = MaterialFromArg(Arg(1));
    if (material.empty())
        return OutOfRange(file, line);
    g_block.material = material;
    return 1;
}

int TopCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(file, line);
    g_block.mill_down = ArgF(1) * UnitFactor();
    g_block.mill_down_flags = count == 3 ? ArgI(2) : 0;
    return 1;
}

int CoordsCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 5 && count != 6)
        return SyntaxError(file, line);
    int index = ParseWorkOffset(Arg(1), g_coords.work_offset);
    if (index < 0 || index > 8)
        return OutOfRange(file, line);
    double f = UnitFactor();
    g_coords.work_offset = index;
    g_coords.wz_x = ArgF(2) * f;
    g_coords.wz_y = ArgF(3) * f;
    g_coords.wz_z = ArgF(4) * f;
    if (count == 6) {
        int unit = ParseUnitWord(Arg(5).c_str());
        if (unit < 0)
            return OutOfRange(file, line);
        f = FactorFromUnit(unit);
        g_coords.wz_x = ArgF(2) * f;
        g_coords.wz_y = ArgF(3) * f;
        g_coords.wz_z = ArgF(4) * f;
    }
    return 1;
}

int UCoordsCom(const char* file, int line) {
    if (ArgCount() != 4)
        return SyntaxError(file, line);
    double f = UnitFactor();
    g_coords.user_x = ArgF(1) * f;
    g_coords.user_y = ArgF(2) * f;
    g_coords.user_z = ArgF(3) * f;
    return 1;
}

} // namespace korvel
