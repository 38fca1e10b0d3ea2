// The four database tables, their look-ups and their enumerators.
#include "tooldb/database.h"

#include <array>
#include <cmath>

#include "base/heap_table.h"
#include "base/text.h"

namespace korvel {

namespace {

HeapTable<MaterialRecord, kMaxMaterials> g_materials;
HeapTable<MaterialGroupRecord, kMaxMaterialGroups> g_groups;
HeapTable<ToolRecord, kMaxTools> g_tools;
HeapTable<ToolMatRecord, kMaxToolMats> g_toolmats;

constexpr std::array<const char*, 16> kToolTypeNames = {"All",
                                                        "Center Drill",
                                                        "Drill",
                                                        "Tap",
                                                        "Thread Mill",
                                                        "End Mill, Rough",
                                                        "End Mill, Fine",
                                                        "Face Mill, Rough",
                                                        "Face Mill, Fine",
                                                        "Countersink",
                                                        "Engraving Tool",
                                                        "Special",
                                                        "",
                                                        "",
                                                        "",
                                                        ""};

ToolInUseCheck g_tool_in_use = nullptr;

// One cursor per enumeration.
struct Cursors {
    int mat_name = 0, selected_mat = 0, selected_group = 0, tool_name = 0, selected_tool = 0,
        tool_type = 0, tool = 0;
};
Cursors g_cursor;

std::string Clip(const std::string& s, std::size_t max) { return s.substr(0, max); }

// Advances a cursor to the next slot whose record satisfies pred; the slot, or -1 at the end
// (the cursor then stays past the end until reset).
template <class Table, class Pred> int Next(const Table& table, int& cursor, Pred pred) {
    while (cursor < table.End()) {
        int slot = cursor++;
        if (auto* r = table.Get(slot); r && pred(*r))
            return slot;
    }
    return -1;
}

template <class Table> int Count(const Table& table) {
    int n = 0;
    for (int i = 0; i < table.End(); ++i)
        n += table.Get(i) != nullptr;
    return n;
}

// The name enumerators: mode 0 resets and returns 0; mode 1 gives the next name and its slot.
template <class Table, class Pred>
int EnumerateNames(const Table& table, int& cursor, std::string& name, int mode, Pred pred) {
    name.clear();
    if (mode == 0) {
        cursor = 0;
        return 0;
    }
    if (mode != 1)
        return -1;
    int slot = Next(table, cursor, pred);
    if (slot >= 0)
        name = table.Get(slot)->name;
    return slot;
}

} // namespace

int GroupCode(double number) {
    // Group numbers have one decimal; times ten they are whole, but not in binary floating
    // point (2.3 * 10 is 22.99...), so round rather than truncate.
    if (!std::isfinite(number) || !(number > 0) || number > 1e8)
        return -1;
    return static_cast<int>(std::lround(number * 10));
}

int FindMaterial(const std::string& name) {
    return g_materials.Find([&](const MaterialRecord& r) { return r.name == name; });
}

int NewMaterial() { return g_materials.FirstEmpty(); }

int RegisterMaterial(const std::string& name, int group) {
    std::string key = Clip(name, kMaxDbName);
    int slot = FindMaterial(key);
    if (slot < 0) {
        slot = g_materials.Take();
        if (slot < 0)
            return -1;
    }
    MaterialRecord& r = *g_materials.Get(slot);
    r.name = key;
    r.group = group;
    return slot;
}

int DeleteMaterial(int slot) { return g_materials.Free(slot) ? 1 : 0; }

int GetMaterialGroup(const std::string& name) {
    int slot = FindMaterial(name);
    return slot < 0 ? -1 : g_materials.Get(slot)->group;
}

int GetMaterial(int slot, MaterialRecord& record) {
    const MaterialRecord* r = g_materials.Get(slot);
    if (!r)
        return 0;
    record = *r;
    return 1;
}

int GetMatName(std::string& name, int mode) {
    return EnumerateNames(g_materials, g_cursor.mat_name, name, mode,
                          [](const MaterialRecord&) { return true; });
}

int GetSelectedMatName(std::string& name, int mode) {
    return EnumerateNames(g_materials, g_cursor.selected_mat, name, mode,
                          [](const MaterialRecord& r) { return r.selected != 0; });
}

void SelectAllMaterials() {
    for (int i = 0; i < g_materials.End(); ++i)
        if (MaterialRecord* r = g_materials.Get(i))
            r->selected = 1;
}

void ReverseMaterialSelection() {
    for (int i = 0; i < g_materials.End(); ++i)
        if (MaterialRecord* r = g_materials.Get(i))
            r->selected = !r->selected;
}

int MaterialCount() { return Count(g_materials); }

int FindMaterialGroup(int code) {
    return g_groups.Find([&](const MaterialGroupRecord& r) { return r.code == code; });
}

int NewMaterialGroup() { return g_groups.FirstEmpty(); }

int RegisterMaterialGroup(int code, const std::string& name, const std::string& sub_name) {
    int slot = FindMaterialGroup(code);
    if (slot < 0) {
        slot = g_groups.Take();
        if (slot < 0)
            return -1;
    }
    MaterialGroupRecord& r = *g_groups.Get(slot);
    r.code = code;
    r.name = Clip(name, kMaxDbName);
    r.sub_name = Clip(sub_name, kMaxSubGroupName);
    return slot;
}

int GetMaterialGroupName(int code, std::string* text) {
    int slot = FindMaterialGroup(code);
    if (slot < 0)
        return 0;
    if (text)
        *text = g_groups.Get(slot)->name;
    return 1;
}

int GetMaterialSubGroupName(int code, std::string* text) {
    int slot = FindMaterialGroup(code);
    if (slot < 0)
        return 0;
    if (text)
        *text = g_groups.Get(slot)->sub_name;
    return 1;
}

int GetMaterialGroupRecord(int slot, MaterialGroupRecord& record) {
    const MaterialGroupRecord* r = g_groups.Get(slot);
    if (!r)
        return 0;
    record = *r;
    return 1;
}

void SelectAllMaterialGroups() {
    for (int i = 0; i < g_groups.End(); ++i)
        if (MaterialGroupRecord* r = g_groups.Get(i))
            r->selected = 1;
}

void UnSelectAllMaterialGroups() {
    for (int i = 0; i < g_groups.End(); ++i)
        if (MaterialGroupRecord* r = g_groups.Get(i))
            r->selected = 0;
}

void ReverseMaterialGroupSelection() {
    for (int i = 0; i < g_groups.End(); ++i)
        if (MaterialGroupRecord* r = g_groups.Get(i))
            r->selected = !r->selected;
}

int GetSelectedMaterialGroup(std::string& text, int mode) {
    text.clear();
    if (mode == 0) {
        g_cursor.selected_group = 0;
        return 0;
    }
    if (mode != 1)
        return -1;
    int slot = Next(g_groups, g_cursor.selected_group,
                    [](const MaterialGroupRecord& r) { return r.selected != 0; });
    if (slot >= 0) {
        const MaterialGroupRecord& r = *g_groups.Get(slot);
        text = Sprintf("%0.1f %s", r.code / 10.0, r.sub_name.c_str());
    }
    return slot;
}

int SelectAssosiatedMaterialGroups(const std::string& tool) {
    int selected = 0;
    for (int i = 0; i < g_groups.End(); ++i) {
        MaterialGroupRecord* r = g_groups.Get(i);
        if (!r)
            continue;
        r->selected = FindToolMatGroup(tool, r->code) >= 0;
        selected += r->selected;
    }
    return selected;
}

int MaterialGroupCount() { return Count(g_groups); }

int FindTool(const std::string& name) {
    return g_tools.Find([&](const ToolRecord& r) { return r.name == name; });
}

int NewTool() { return g_tools.FirstEmpty(); }

int RegisterTool(const ToolRecord& record) {
    std::string key = Clip(record.name, kMaxDbName);
    int slot = FindTool(key);
    bool existing = slot >= 0;
    if (!existing) {
        slot = g_tools.Take();
        if (slot < 0)
            return -1;
    }
    ToolRecord& r = *g_tools.Get(slot);
    int selected = existing ? r.selected : record.selected;
    r = record;
    r.name = key;
    r.description = Clip(record.description, kMaxToolDescription);
    r.selected = selected;
    return slot;
}

int DeleteTool(const std::string& name) {
    int slot = FindTool(name);
    if (slot < 0 || (g_tool_in_use && g_tool_in_use(name)))
        return -1;
    g_tools.Free(slot);
    return slot;
}

int GetToolData(const std::string& name, int& type, double& dia, double& dia2, double& length,
                std::string* description) {
    int flutes;
    double pitch;
    return GetToolDataExt(name, type, dia, dia2, length, flutes, pitch, description);
}

int GetToolDataExt(const std::string& name, int& type, double& dia, double& dia2, double& length,
                   int& flutes, double& pitch, std::string* description) {
    int slot = FindTool(name);
    if (slot < 0)
        return -1;
    const ToolRecord& r = *g_tools.Get(slot);
    type = r.type;
    dia = r.dia;
    dia2 = r.dia2;
    length = r.length;
    flutes = r.flutes;
    pitch = r.pitch;
    if (description)
        *description = r.description;
    return slot;
}

int SetToolData(const std::string& name, int type, double dia, double dia2, double length,
                const std::string& description) {
    // Without flutes and pitch: an existing tool keeps its own, a new one has none.
    int slot = FindTool(name);
    const ToolRecord* old = g_tools.Get(slot);
    return SetToolDataExt(name, type, dia, dia2, length, old ? old->flutes : 0,
                          old ? old->pitch : 0, description);
}

int SetToolDataExt(const std::string& name, int type, double dia, double dia2, double length,
                   int flutes, double pitch, const std::string& description) {
    ToolRecord r;
    r.name = name;
    r.type = type;
    r.dia = dia;
    r.dia2 = dia2;
    r.length = length;
    r.flutes = flutes;
    r.pitch = pitch;
    r.description = description;
    return RegisterTool(r);
}

int FindToolType(const std::string& name) {
    if (name.empty())
        return -1;
    int slot = FindTool(name);
    return slot < 0 ? -1 : g_tools.Get(slot)->type;
}

int RetrieveTool(const std::string& name, ToolRecord& record) {
    int slot = FindTool(name);
    if (slot >= 0)
        record = *g_tools.Get(slot);
    return slot;
}

int GetToolRecord(int slot, ToolRecord& record) {
    const ToolRecord* r = g_tools.Get(slot);
    if (!r)
        return 0;
    record = *r;
    return 1;
}

int GetTool(int mode, ToolRecord& record) {
    if (mode == 0) {
        g_cursor.tool = 0;
        return 0;
    }
    if (mode != 1)
        return -1;
    int slot = Next(g_tools, g_cursor.tool, [](const ToolRecord&) { return true; });
    if (slot >= 0)
        record = *g_tools.Get(slot);
    return slot;
}

int SelectTools(int type) {
    int selected = 0;
    for (int i = 0; i < g_tools.End(); ++i) {
        ToolRecord* r = g_tools.Get(i);
        if (!r)
            continue;
        r->selected = type == 0 || type == -1 || r->type == type;
        selected += r->selected;
    }
    return selected;
}

int GetToolName(std::string& name, int mode) {
    return EnumerateNames(g_tools, g_cursor.tool_name, name, mode,
                          [](const ToolRecord&) { return true; });
}

int GetSelectedToolName(std::string& name, int mode) {
    return EnumerateNames(g_tools, g_cursor.selected_tool, name, mode,
                          [](const ToolRecord& r) { return r.selected != 0; });
}

int GetToolType(std::string& name, int mode) {
    name.clear();
    if (mode == 0) {
        g_cursor.tool_type = 0;
        return 0;
    }
    if (mode != 1 || g_cursor.tool_type >= static_cast<int>(kToolTypeNames.size()) ||
        !*kToolTypeNames[g_cursor.tool_type])
        return -1;
    name = kToolTypeNames[g_cursor.tool_type];
    return g_cursor.tool_type++;
}

std::string tooltype(int code) {
    return code >= 1 && code <= 15 ? kToolTypeNames[code] : kToolTypeNames[0];
}

int LoadToolTypes() { return 1; }

int ToolCount() { return Count(g_tools); }

void SetToolInUseCheck(ToolInUseCheck check) { g_tool_in_use = check; }

int FindToolMatGroup(const std::string& tool, int group) {
    return g_toolmats.Find(
        [&](const ToolMatRecord& r) { return r.group == group && r.tool == tool; });
}

int NewToolMat() { return g_toolmats.FirstEmpty(); }

int RegisterToolMatGroup(const std::string& tool, int group, int speed, double fxy, double cutxy,
                         double fz, double cutz, double spare) {
    std::string key = Clip(tool, kMaxDbName);
    int slot = FindToolMatGroup(key, group);
    if (slot < 0) {
        slot = g_toolmats.Take();
        if (slot < 0)
            return -1;
    }
    *g_toolmats.Get(slot) = {key, group, speed, fxy, cutxy, fz, cutz, spare};
    return slot;
}

int FindToolMat(const std::string& tool, const std::string& material) {
    int group = GetMaterialGroup(material);
    return group < 0 ? -1 : FindToolMatGroup(tool, group);
}

int ToolSuitable(const std::string& tool, const std::string& material) {
    return FindToolMat(tool, material) >= 0 ? 1 : 0;
}

int GetToolMatData(const std::string& tool, const std::string& material, int& speed, double& fxy,
                   double& cutxy, double& fz, double& cutz, double& spare) {
    int group = GetMaterialGroup(material);
    if (group < 0)
        return -1;
    return GetToolMatGroupData(tool, group, speed, fxy, cutxy, fz, cutz, spare);
}

int GetToolMatGroupData(const std::string& tool, int group, int& speed, double& fxy, double& cutxy,
                        double& fz, double& cutz, double& spare) {
    int slot = FindToolMatGroup(tool, group);
    if (slot < 0)
        return -1;
    const ToolMatRecord& r = *g_toolmats.Get(slot);
    speed = r.speed;
    fxy = r.fxy;
    cutxy = r.cutxy;
    fz = r.fz;
    cutz = r.cutz;
    spare = r.spare;
    return slot;
}

int GetToolMatRecord(int slot, ToolMatRecord& record) {
    const ToolMatRecord* r = g_toolmats.Get(slot);
    if (!r)
        return 0;
    record = *r;
    return 1;
}

int DeleteToolMatGroup(const std::string& tool, int group) {
    int slot = FindToolMatGroup(tool, group);
    if (slot >= 0)
        g_toolmats.Free(slot);
    return slot;
}

int DeleteTM_T(const std::string& tool) {
    int deleted = 0;
    for (int i = 0; i < g_toolmats.End(); ++i) {
        const ToolMatRecord* r = g_toolmats.Get(i);
        if (r && r->tool == tool) {
            g_toolmats.Free(i);
            ++deleted;
        }
    }
    return deleted;
}

int DeleteTM_M() { return 0; }

int ToolMatCount() { return Count(g_toolmats); }

int ClearToolsMaterialsDB() {
    g_materials.Clear();
    g_tools.Clear();
    g_toolmats.Clear();
    return 1;
}

void InitToolDatabase() {
    ClearToolsMaterialsDB();
    g_groups.Clear();
    g_cursor = Cursors();
}

} // namespace korvel
