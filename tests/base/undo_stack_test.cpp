// The bounded command stacks behind undo and redo.
#include <gtest/gtest.h>

#include "base/undo_stack.h"

namespace korvel {
namespace {

TEST(UndoStack, LastInFirstOutAndEmpty) {
    InitUndoBuf();
    std::string s = "stale";
    EXPECT_EQ(PopUndoCom(s), 0);
    EXPECT_EQ(s, "");
    PushUndoCom("DELETE 1");
    PushUndoCom("");
    PushUndoCom("MOVE 1 2 3");
    EXPECT_EQ(UndoDepth(), 2);
    EXPECT_EQ(PeepUndoCom(s), 1);
    EXPECT_EQ(s, "MOVE 1 2 3");
    EXPECT_EQ(PopUndoCom(s), 1);
    EXPECT_EQ(s, "MOVE 1 2 3");
    EXPECT_EQ(PopUndoCom(s), 1);
    EXPECT_EQ(s, "DELETE 1");
    PushRedoCom("R");
    EXPECT_EQ(PeepRedoCom(s), 1);
    ClearRedoList();
    EXPECT_EQ(PopRedoCom(s), 0);
}

TEST(UndoStack, AFullStackForgetsTheOldest) {
    InitUndoBuf();
    for (int i = 1; i <= kUndoDepth + 1; ++i)
        PushUndoCom("DELETE " + std::to_string(i));
    EXPECT_EQ(UndoDepth(), kUndoDepth);
    std::string s;
    for (int i = 0; i < kUndoDepth; ++i)
        PopUndoCom(s);
    EXPECT_EQ(s, "DELETE 2");
    for (int i = 0; i < kReversalDepth + 5; ++i)
        PushRevCom("x" + std::to_string(i));
    int n = 0;
    std::string last;
    while (PopRevCom(s)) {
        last = s;
        ++n;
    }
    EXPECT_EQ(n, kReversalDepth);
    EXPECT_EQ(last, "x5");
}

} // namespace
} // namespace korvel
