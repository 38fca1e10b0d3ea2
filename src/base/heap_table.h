// A fixed number of slots whose records are allocated when a slot is taken and freed when it
// is released; an empty slot holds nothing.
#pragma once

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <memory>

namespace korvel {

// Slots past End() have held nothing since the table was last cleared, so that searches and
// clearing cost what the table holds rather than its capacity.
template <class T, std::size_t N> class HeapTable {
public:
    static constexpr int kSize = static_cast<int>(N);

    // The record in a slot; nullptr for an empty slot or an index outside the table.
    T* Get(int index) const { return index >= 0 && index < kSize ? slots_[index].get() : nullptr; }
    // One past the highest slot taken since the last Clear: every slot from it on is empty.
    int End() const { return end_; }
    // Takes the lowest empty slot with a fresh record; -1 when every slot is taken.
    int Take() {
        int i = FirstEmpty();
        if (i >= 0)
            Put(i);
        return i;
    }
    // The lowest empty slot, without taking it; -1 when every slot is taken.
    int FirstEmpty() const {
        for (int i = first_empty_; i < end_; ++i) {
            if (!slots_[i]) {
                first_empty_ = i;
                return i;
            }
        }
        first_empty_ = end_;
        return end_ < kSize ? end_ : -1;
    }
    // Allocates a slot's record if it has none. The index must lie in the table; a bad one
    // (a fault of the caller) stops the test build and gets a scratch record otherwise.
    T& Ensure(int index) {
        assert(index >= 0 && index < kSize && "HeapTable::Ensure outside the table");
        if (index < 0 || index >= kSize) {
            static T scratch;
            scratch = T();
            return scratch;
        }
        if (!slots_[index])
            Put(index);
        return *slots_[index];
    }
    bool Free(int index) {
        if (!Get(index))
            return false;
        slots_[index].reset();
        first_empty_ = std::min(first_empty_, index);
        return true;
    }
    void Clear() {
        for (int i = 0; i < end_; ++i)
            slots_[i].reset();
        first_empty_ = 0;
        end_ = 0;
    }
    // The first slot, from 0 upward, whose record satisfies pred; -1 when none.
    template <class Pred> int Find(Pred pred) const {
        for (int i = 0; i < end_; ++i)
            if (slots_[i] && pred(*slots_[i]))
                return i;
        return -1;
    }

private:
    void Put(int index) {
        slots_[index] = std::make_unique<T>();
        end_ = std::max(end_, index + 1);
    }

    std::array<std::unique_ptr<T>, N> slots_;
    mutable int first_empty_ = 0; // no slot below it is empty
    int end_ = 0;
};

} // namespace korvel
