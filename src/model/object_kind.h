// The table of object kinds: one row per object type, naming the operations of that type's
// table. Whatever treats objects by their type (parent links, heights, selection, saving,
// deleting, the geometric edits) reads the row instead of listing the types again.
#pragma once

#include <string>

namespace korvel {

// How an object's surface level follows from its parent and its own height wz.
enum class HeightRule {
    kNone,     // no level of its own (drawing notes, drawing elements)
    kBase,     // the block: the base level of the bulge structure
    kUp,       // a bulge: the parent's level plus its height
    kDown,     // holes and pockets: cut down by wz from the parent's level
    kAbsolute, // a fixture: wz is an absolute Z
    kOnParent, // engraving texts and spots: the parent's level
};

// Which objects count as carried by their parent (CountAttachedObjects).
enum class Attach {
    kNo,
    kYes,
    kUnlessSystem, // drills: not the compiler's own
    kBulge,        // counted only where bulges are asked for
};

struct ObjectKind {
    int type;         // the type code (registry.h)
    const char* name; // for messages and reports
    // Parent ID of the object in a slot; nullptr: the type has no parent (-1).
    int (*parent)(int index);
    // Selection mark of the object in a slot (1 selected, 2 parent for new objects).
    int (*mark)(int index);
    // Add or remove marks; 1 when they changed. A type that cannot be a parent takes only
    // mark 1 (parent_marks false).
    int (*select)(int index, int marks);
    int (*unselect)(int index, int marks);
    bool parent_marks;
    Attach attach;
    // The lines the project file holds for the object, each ended by a line feed; 0 when the
    // object is not saved (compiler-made objects).
    int (*write)(int index, std::string& out);
    // Frees the slot (the registry entry is the caller's).
    void (*remove)(int index);
    // Whether preselected tools are set (scaling drops them).
    bool (*has_tools)(int index);
    // Height wz, and where the computed level is stored; nullptr where the type has none.
    double (*wz)(int index);
    void (*set_z)(int index, double z);
    HeightRule height;
    // Geometric edits, each pushing its reversal; nullptr where the type has the edit not.
    void (*move)(int index, double dx, double dy);
    void (*turn)(int index, double cx, double cy, double angle_deg);
    void (*scale)(int index, double cx, double cy, double f);
    void (*mirror_x)(int index, double a);
    void (*mirror_y)(int index, double b);
    // A copy moved by (dx, dy) under a new ID: that ID, or -1.
    int (*copy)(int index, double dx, double dy);
};

// The row of a type; nullptr for a code that is no object type.
const ObjectKind* KindOf(int type);
// The row of a registered ID and the object's slot; nullptr for an unknown ID.
const ObjectKind* KindOfId(int id, int& index);

// The lines the project file holds for one object, each ended by a line feed; 0 for an ID that
// is not registered or whose object is not saved (compiler-made spots and drills).
int WriteObjectLines(int id, std::string& out);
// Every object's lines in ascending ID order, appended to out.
void AppendObjectLines(std::string& out);
std::string AllObjectLines();

} // namespace korvel
