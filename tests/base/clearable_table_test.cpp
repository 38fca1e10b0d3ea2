// The clearable table: a clear after any access brings every record back to its default, and
// a table not reached since its last clear stays as it is.
#include <gtest/gtest.h>

#include <string>

#include "base/clearable_table.h"

namespace korvel {
namespace {

struct Record {
    int id = -1;
    std::string name = "none";
};

TEST(ClearableTable, EveryClearRestoresTheDefaults) {
    ClearableTable<Record, 8> table;
    const ClearableTable<Record, 8>& read = table;
    EXPECT_EQ(read[7].id, -1);
    EXPECT_EQ(read[0].name, "none");
    table.Clear(); // nothing reached yet
    table[3].id = 30;
    table[7].name = "last";
    EXPECT_EQ(read[3].id, 30);
    table.Clear();
    EXPECT_EQ(read[3].id, -1);
    EXPECT_EQ(read[7].name, "none");
    table.Clear(); // nothing reached since
    EXPECT_EQ(read[3].id, -1);
    // Written again after a clear through a reference taken anew: the next clear sees it.
    Record& r = table[5];
    r.id = 50;
    table.Clear();
    EXPECT_EQ(read[5].id, -1);
    Record& again = table[5];
    again = Record{51, "x"};
    table.Clear();
    EXPECT_EQ(read[5].id, -1);
    EXPECT_EQ(read[5].name, "none");
}

} // namespace
} // namespace korvel
