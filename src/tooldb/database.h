// The tool and material database in memory: materials, material groups, tools, and the
// cutting data of each tool for each material group. Records are known by their keys (names,
// group codes), never by slot from one run to the next. Lengths and feeds are in the user unit;
// speeds in revolutions per minute.
#pragma once

#include <string>

namespace korvel {

constexpr int kMaxMaterials = 512;
constexpr int kMaxMaterialGroups = 64;
constexpr int kMaxTools = 1024;
constexpr int kMaxToolMats = 4096;
constexpr std::size_t kMaxDbName = 79;
constexpr std::size_t kMaxSubGroupName = 99;
constexpr std::size_t kMaxToolDescription = 255;

// Tool type codes; 0 means any type in filters.
enum ToolType : int {
    kToolAny = 0,
    kCenterDrill = 1,
    kDrillTool = 2,
    kTap = 3,
    kThreadMill = 4,
    kEndMillRough = 5,
    kEndMillFine = 6,
    kFaceMillRough = 7,
    kFaceMillFine = 8,
    kCountersink = 9,
    kEngravingTool = 10,
    kSpecialTool = 11,
};

struct ToolRecord {
    std::string name; // unique key, may hold blanks
    int type = 0;
    int flutes = 0;
    double dia = 0;
    double dia2 = 0; // per type: min. predrilling, min. drill, dead zone, min. diameter
    double length = 0;
    double pitch = 0; // taps and thread mills; negative for a left-hand tool
    std::string description;
    int selected = 0;
};

struct MaterialRecord {
    std::string name; // unique key
    int group = 0;    // group code in tenths (group 1.1 is 11)
    int selected = 0;
};

struct MaterialGroupRecord {
    int code = 0; // the group number times ten
    std::string name;
    std::string sub_name; // shown next to a material in lists
    int selected = 0;
};

struct ToolMatRecord {
    std::string tool;
    int group = 0;
    int speed = 0;    // rpm
    double fxy = 0;   // horizontal feed
    double cutxy = 0; // side cut
    double fz = 0;    // plunge feed
    double cutz = 0;  // cutting depth per pass
    double spare = 0;
};

// The code of a group number ("2.3" is 23), rounded to the nearest tenth; -1 for a number that
// is not a group number (not finite, not above 0, or too large).
int GroupCode(double number);

// Materials.
int FindMaterial(const std::string& name);
int NewMaterial();
int RegisterMaterial(const std::string& name, int group);
int DeleteMaterial(int slot); // 1, or 0 for an empty slot
int GetMaterialGroup(const std::string& name);
int GetMaterial(int slot, MaterialRecord& record); // 1 and the record, 0 for an empty slot
int GetMatName(std::string& name, int mode);       // mode 0 resets, 1 gives the next
int GetSelectedMatName(std::string& name, int mode);
void SelectAllMaterials();
void ReverseMaterialSelection();
int MaterialCount();

// Material groups.
int FindMaterialGroup(int code);
int NewMaterialGroup();
int RegisterMaterialGroup(int code, const std::string& name, const std::string& sub_name);
int GetMaterialGroupName(int code, std::string* text);
int GetMaterialSubGroupName(int code, std::string* text);
int GetMaterialGroupRecord(int slot, MaterialGroupRecord& record);
void SelectAllMaterialGroups();
void UnSelectAllMaterialGroups();
void ReverseMaterialGroupSelection();
int GetSelectedMaterialGroup(std::string& text, int mode); // "%0.1f %s"
int SelectAssosiatedMaterialGroups(const std::string& tool);
int MaterialGroupCount();

// Tools.
int FindTool(const std::string& name);
int NewTool();
int RegisterTool(const ToolRecord& record);
int DeleteTool(const std::string& name); // the former slot; -1 unknown or attached
int GetToolData(const std::string& name, int& type, double& dia, double& dia2, double& length,
                std::string* description);
int GetToolDataExt(const std::string& name, int& type, double& dia, double& dia2, double& length,
                   int& flutes, double& pitch, std::string* description);
int SetToolData(const std::string& name, int type, double dia, double dia2, double length,
                const std::string& description);
int SetToolDataExt(const std::string& name, int type, double dia, double dia2, double length,
                   int flutes, double pitch, const std::string& description);
int FindToolType(const std::string& name);
int RetrieveTool(const std::string& name, ToolRecord& record);
int GetToolRecord(int slot, ToolRecord& record); // 1 and the record, 0 for an empty slot
int GetTool(int mode, ToolRecord& record);
int SelectTools(int type);
int GetToolName(std::string& name, int mode);
int GetSelectedToolName(std::string& name, int mode);
int GetToolType(std::string& name, int mode);
std::string tooltype(int code);
int LoadToolTypes();
int ToolCount();

// Whether a tool may be deleted: a tool attached to a magazine place may not. The attached
// tools install this check.
using ToolInUseCheck = bool (*)(const std::string& name);
void SetToolInUseCheck(ToolInUseCheck check);

// Cutting data.
int FindToolMatGroup(const std::string& tool, int group);
int NewToolMat();
int RegisterToolMatGroup(const std::string& tool, int group, int speed, double fxy, double cutxy,
                         double fz, double cutz, double spare);
int FindToolMat(const std::string& tool, const std::string& material);
int ToolSuitable(const std::string& tool, const std::string& material);
int GetToolMatData(const std::string& tool, const std::string& material, int& speed, double& fxy,
                   double& cutxy, double& fz, double& cutz, double& spare);
int GetToolMatGroupData(const std::string& tool, int group, int& speed, double& fxy, double& cutxy,
                        double& fz, double& cutz, double& spare);
int GetToolMatRecord(int slot, ToolMatRecord& record);
int DeleteToolMatGroup(const std::string& tool, int group);
int DeleteTM_T(const std::string& tool);
int DeleteTM_M();
int ToolMatCount();

// Frees every material, tool and cutting-data record; groups stay. Returns 1.
int ClearToolsMaterialsDB();
// Everything, groups and enumerator cursors included.
void InitToolDatabase();

} // namespace korvel
