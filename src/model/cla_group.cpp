// The drawing-group table and the commands that group and ungroup elements.
#include "model/cla_group.h"

#include <string_view>

#include "base/heap_table.h"
#include "base/text.h"
#include "base/undo_stack.h"
#include "model/bulge.h"
#include "model/cla.h"
#include "model/object_ops.h"
#include "model/project_state.h"
#include "model/selection.h"

namespace korvel {

namespace {

HeapTable<CLAGroup, kMaxCLAGroups> g_groups;
int g_counter = 1; // the number the next unnamed group is given

// Characters that would not stay inside one word of a script line.
bool Splits(unsigned char c) {
    constexpr std::string_view kCut = " \t\"()[]=,<>\xB3|&#^%;";
    return c < 32 || c == 127 || kCut.find(static_cast<char>(c)) != std::string_view::npos;
}

int Store(const std::string& name, int colour, int visible) {
    int slot = g_groups.Take();
    if (slot < 0)
        return -1;
    CLAGroup& g = *g_groups.Get(slot);
    g.name = name;
    g.colour = colour;
    g.visible = visible;
    g.flag = 0;
    return slot;
}

// Pushes an element's line exactly as it is, for undo of a change to it.
void PushElementLine(int index) {
    ExactFloats exact;
    std::string line;
    if (StrCLAData(line, index))
        PushUndoCom(line);
}

void SetElementGroup(int index, int group) {
    CLA e;
    if (!GetCLA(e, index))
        return;
    PushElementLine(index);
    e.group = group;
    PutCLA(e, index);
}

} // namespace

std::string GroupNameOf(const std::string& name) {
    std::string n = name;
    for (char& c : n)
        if (Splits(static_cast<unsigned char>(c)))
            c = '_';
    caps(n);
    if (n.size() > kMaxGroupName)
        n.resize(kMaxGroupName);
    return n;
}

void InitCLAGroups() {
    g_groups.Clear();
    g_counter = 1;
}

int NextCLAGroup(int start) {
    if (start != -1)
        g_counter = start;
    // The counter skips numbers that are names already; it cannot meet more of them than
    // there are groups.
    for (int tries = 0; tries <= kMaxCLAGroups; ++tries) {
        std::string name = std::to_string(g_counter++);
        if (FindGroupByName(name) < 0)
            return Store(name, kDefaultGroupColour, 1);
    }
    return -1;
}

int NewGroup() { return NextCLAGroup(-1); }

int DefCLAGroup(const std::string& name, int colour, int visible) {
    std::string n = GroupNameOf(name);
    if (n.empty() || n == "-1")
        return -1;
    int existing = FindGroupByName(n);
    return existing >= 0 ? existing : Store(n, colour, visible);
}

void DeleteCLAGroup(int index) {
    if (index == kAllSlots)
        g_groups.Clear();
    else
        g_groups.Free(index);
}

int GetCLAGroup(CLAGroup& group, int index) {
    const CLAGroup* g = g_groups.Get(index);
    if (!g)
        return 0;
    group = *g;
    return 1;
}

int SetGroupName(int index, const std::string& name) {
    CLAGroup* g = g_groups.Get(index);
    std::string n = GroupNameOf(name);
    if (!g || n.empty() || n == "-1")
        return 0;
    int other = FindGroupByName(n);
    if (other >= 0 && other != index)
        return 0;
    g->name = n;
    return 1;
}

int GetGroupName(int index, std::string& name) {
    const CLAGroup* g = g_groups.Get(index);
    name = g ? g->name : "-1";
    return g ? 1 : 0;
}

int FindGroupByName(const std::string& name) {
    std::string n = GroupNameOf(name);
    if (n == "-1")
        return -1;
    return g_groups.Find([&](const CLAGroup& g) { return g.name == n; });
}

int AcadLayerGroup(const std::string& layer) {
    int g = FindGroupByName(layer);
    return g >= 0 ? g : DefCLAGroup(layer, kDefaultGroupColour, 1);
}

int NextGroup(int after) {
    int next = -1;
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i)
        if (GetCLA(e, i) && e.group > after && (next < 0 || e.group < next))
            next = e.group;
    return next;
}

bool GroupIsSelected(int group) {
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i)
        if (GetCLA(e, i) && e.group == group && group >= 0 && (e.selected & kMarkSelected))
            return true;
    return false;
}

int DeleteGroup(int group) {
    int all = 1;
    PushUndoCom("}");
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i)
        if (GetCLA(e, i) && e.group == group && group >= 0)
            all &= DeleteId(e.id);
    PushUndoCom("{");
    DeleteCLAGroup(group);
    return all;
}

int GroupSelectedCLA() {
    if (SelectedInfoCLA(0) < 0)
        return -1;
    int group = NewGroup();
    if (group < 0)
        return -1;
    ClearRedoList();
    PushUndoCom("}");
    for (int i = SelectedInfoCLA(0); i >= 0; i = SelectedInfoCLA(i + 1))
        SetElementGroup(i, group);
    PushUndoCom("{");
    MarkProjectEdited();
    return group;
}

void ResolveGroup(int group) {
    if (group < 0)
        return;
    PushUndoCom("}");
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i)
        if (GetCLA(e, i) && e.group == group)
            SetElementGroup(i, -1);
    PushUndoCom("{");
    DeleteCLAGroup(group);
    MarkProjectEdited();
}

void UnGroupSelectedCLA() {
    ClearRedoList();
    PushUndoCom("}");
    for (int g = NextGroup(-1); g >= 0; g = NextGroup(g))
        if (GroupIsSelected(g))
            ResolveGroup(g);
    PushUndoCom("{");
}

} // namespace korvel
