// The heap-slot table: slots taken lowest first, freed, cleared, and searched only as far as
// they were ever used.
#include <gtest/gtest.h>

#include "base/heap_table.h"

namespace korvel {
namespace {

TEST(HeapTable, SlotsAreTakenLowestFirstAndClearedWhole) {
    HeapTable<int, 4> table;
    EXPECT_EQ(table.End(), 0);
    EXPECT_EQ(table.Find([](int) { return true; }), -1);
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(table.Take(), i);
        *table.Get(i) = 10 + i;
    }
    EXPECT_EQ(table.Take(), -1); // full
    EXPECT_EQ(table.End(), 4);
    EXPECT_TRUE(table.Free(1));
    EXPECT_FALSE(table.Free(1));
    EXPECT_EQ(table.FirstEmpty(), 1);
    EXPECT_EQ(table.Find([](int v) { return v == 13; }), 3);
    EXPECT_EQ(table.Find([](int v) { return v == 11; }), -1);
    table.Clear();
    EXPECT_EQ(table.End(), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(table.Get(i), nullptr);
    table.Ensure(2) = 7; // a slot above the lowest empty one
    EXPECT_EQ(table.End(), 3);
    EXPECT_EQ(table.Find([](int v) { return v == 7; }), 2);
    EXPECT_EQ(table.Take(), 0);
    EXPECT_EQ(table.Take(), 1);
    EXPECT_EQ(table.Take(), 3);
    EXPECT_EQ(table.End(), 4);
}

} // namespace
} // namespace korvel
