// Drawing groups: named collections of drawing elements (a DXF layer becomes one). 1024 slots.
// A name is unique, held in upper case and at most 79 characters; "-1" means no group and is
// never a name. A name is one word of a script line: a blank, a tab, a control character, a
// double quote or a character the line splitter cuts at becomes an underscore when the name is
// given, so that the element lines that carry it read back to the same group.
#pragma once

#include <cstddef>
#include <string>

namespace korvel {

constexpr int kMaxCLAGroups = 1024;
constexpr std::size_t kMaxGroupName = 79;
constexpr int kDefaultGroupColour = 2;

struct CLAGroup {
    std::string name;
    int colour = kDefaultGroupColour; // colour number for drawing
    int visible = 1;
    int flag = 0;
};

// Empties the table and restarts the running counter at 1.
void InitCLAGroups();
// A new group named by the running counter (the next free number as decimal text), which
// restarts at `start` unless it is -1. The index, or -1 when the table is full.
int NextCLAGroup(int start);
int NewGroup();
// The group of that name (as names are held), reused when it exists, else a new one with the
// colour and visibility given. -1 for "-1", an empty name or a full table.
int DefCLAGroup(const std::string& name, int colour, int visible);
// Frees one group, or every group (kAllSlots). Elements keep their index: call ResolveGroup
// or DeleteGroup to deal with them.
void DeleteCLAGroup(int index);
int GetCLAGroup(CLAGroup& group, int index);          // 1 for a group in use
int SetGroupName(int index, const std::string& name); // 0 for a name in use by another group
int GetGroupName(int index, std::string& name);       // 0 (name "-1") for no group
// The group of that name; -1 for "-1" and for unknown names.
int FindGroupByName(const std::string& name);
// The name as it is held: upper case, at most 79 characters, no character that would split.
std::string GroupNameOf(const std::string& name);
// The group of a DXF layer, created (colour 2, visible) when unknown; -1 when the table is full.
int AcadLayerGroup(const std::string& layer);

// The smallest group index used by an element and greater than `after`; -1 when none.
int NextGroup(int after);
// Whether a selected element belongs to the group.
bool GroupIsSelected(int group);
// Deletes every element of the group as DELETE does (its lines pushed for undo), then the
// group; 1 when every element went.
int DeleteGroup(int group);
// Puts every selected drawing element into one new group: its index, -1 when nothing is
// selected or the table is full. One undo puts the elements back where they were.
int GroupSelectedCLA();
// The elements of the group lose it and the group is deleted; undo gives them their group
// back (by name).
void ResolveGroup(int group);
// Resolves every group that has a selected element, as one undo step.
void UnGroupSelectedCLA();

} // namespace korvel
