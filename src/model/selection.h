// Selection marks of objects: bit 1 selected for editing, bit 2 parent for new objects.
#pragma once

namespace korvel {

constexpr int kMarkSelected = 1;
constexpr int kMarkParent = 2;

// Adds the marks when none of them is set yet; 1 when the marks changed.
inline int AddMarks(int& selected, int marks) {
    if (selected & marks)
        return 0;
    selected |= marks;
    return 1;
}

// Marks 3 clear every mark; other marks are removed where set. 1 when the marks changed.
inline int RemoveMarks(int& selected, int marks) {
    int before = selected;
    selected = marks == (kMarkSelected | kMarkParent) ? 0 : selected & ~marks;
    return selected != before ? 1 : 0;
}

} // namespace korvel
