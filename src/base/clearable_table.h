// A fixed table of records that is cheap to clear while nothing in it has been reached: the
// object tables of a project are cleared several times for every project opened, and most of
// them are never used by a given project.
#pragma once

#include <array>
#include <cstddef>

namespace korvel {

// Any access through a non-const table counts as a possible change: a table not reached since
// its last Clear still holds default records only, and Clear leaves it alone. A reference kept
// from before a Clear must not be written through after it.
template <class T, std::size_t N> class ClearableTable {
public:
    T& operator[](std::size_t i) {
        reached_ = true;
        return slots_[i];
    }
    const T& operator[](std::size_t i) const { return slots_[i]; }

    // Every record back to T().
    void Clear() {
        if (reached_)
            slots_.fill(T());
        reached_ = false;
    }

private:
    std::array<T, N> slots_{};
    bool reached_ = false;
};

} // namespace korvel
