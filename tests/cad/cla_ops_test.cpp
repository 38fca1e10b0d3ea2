// Trimming, offsetting, chain selection and the other element operations, on elements typed as
// script lines.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/undo_stack.h"
#include "cad/cla_ops.h"
#include "cad/dots.h"
#include "geometry/primitives.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/selection.h"
#include "support.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class CLAOps : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        RemoveDots();
    }
    static CLA At(int id) {
        CLA e;
        GetCLA(e, IndexOf(id));
        return e;
    }
    static int SelectedCount() {
        int n = 0;
        for (int i = SelectedInfoCLA(0); i >= 0; i = SelectedInfoCLA(i + 1))
            ++n;
        return n;
    }
};

TEST_F(CLAOps, TrimmingAFullCircle) {
    TypeAll({"INFO_CLA 1 -1 0 0 10 -1"});
    InitUndoBuf();
    Type("SELECT 1");
    SetDot(0, 10, 0);  // 0 degrees
    SetDot(1, 0, -10); // 270 degrees: more than half a turn, two arcs split at 135
    ASSERT_EQ(TrimCLA(), 1);
    EXPECT_EQ(LinesOf(1), "$60 1 -1 10.000000 0.000000 -7.071068 7.071068 10.000000 -1\n");
    EXPECT_EQ(LinesOf(2), "$60 2 -1 -7.071068 7.071068 0.000000 -10.000000 10.000000 -1\n");
    // One undo gives the circle back and takes the second arc away.
    ASSERT_EQ(Type("UNDO"), 1);
    EXPECT_EQ(LinesOf(1), "$60 1 -1 0.000000 0.000000 10.000000 -1\n");
    EXPECT_EQ(LinesOf(2), "");
    // With the end at 90 degrees a single arc is left.
    Type("SELECT 1");
    SetDot(1, 0, 10);
    ASSERT_EQ(TrimCLA(), 1);
    EXPECT_EQ(LinesOf(1), "$60 1 -1 10.000000 0.000000 0.000000 10.000000 10.000000 -1\n");
    EXPECT_EQ(LinesOf(2), "");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CLAOps, TrimmingLinesAndArcs) {
    TypeAll({"INFO_CLA 1 -1 0 0 10 0 -1", "ENG_CLA 2 -1 -10 0 10 0 -10 0.5 0.2"});
    Type("SELECT 1");
    SetDot(0, 8, 0);
    SetDot(1, 2, 0);
    ASSERT_EQ(TrimCLA(), 1);
    EXPECT_EQ(LinesOf(1), "$60 1 -1 8.000000 0.000000 2.000000 0.000000 -1\n");
    Type("UNSELECT ALL");
    // The clockwise half circle over the top from (-10, 0) to (10, 0) is first made the
    // counter-clockwise one from (10, 0); from there the end dot at 45 degrees comes before
    // the start dot at 90 degrees and becomes the new start.
    Type("SELECT 2");
    SetDot(0, 0, 10);
    SetDot(1, 10 * std::cos(kPi / 4), 10 * std::sin(kPi / 4));
    ASSERT_EQ(TrimCLA(), 1);
    CLA e = At(2);
    EXPECT_EQ(e.kind, kCcwArc);
    EXPECT_NEAR(e.x1, 7.0710678, 1e-6);
    EXPECT_NEAR(e.x2, 0, 1e-12);
    EXPECT_NEAR(e.y2, 10, 1e-12);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CLAOps, TrimmingRefusals) {
    TypeAll({"INFO_CLA 1 -1 0 0 10 0 -1", "INFO_CLA 2 -1 0 5 10 5 -1"});
    EXPECT_EQ(TrimCLA(), 0);
    Type("SELECT 1");
    Type("SELECT 2");
    EXPECT_EQ(TrimCLA(), 0);
    Type("UNSELECT 2");
    EXPECT_EQ(TrimCLA(), 0);
    SetDot(0, 1, 1);
    SetDot(1, 5, 0);
    EXPECT_EQ(TrimCLA(), 0);
    SetDot(0, 5, 0);
    SetDot(1, 12, 0);
    EXPECT_EQ(TrimCLA(), 0);
    SetDot(1, 5, 0);
    EXPECT_EQ(TrimCLA(), 0);
    EXPECT_EQ(Messages(),
              (V{"[Nothing to trim] Please select a line/arc/circle for triming",
                 "[Can't trim multiple objects] Please select a SINGLE line/arc/circle for triming",
                 "[Can't trim] Trim START/END point is/are undefined",
                 "[Can't trim] Trim START is not on the selected object",
                 "[Can't trim] Trim END is not on the selected object",
                 "[Can't trim] Trim START/END point are identical"}));
}

TEST_F(CLAOps, ChainSelection) {
    // A square of four lines, the third drawn backwards, and a fifth line off its corner.
    TypeAll({"INFO_CLA 1 -1 0 0 10 0 -1", "INFO_CLA 2 -1 10 0 10 10 -1",
             "INFO_CLA 3 -1 0 10 10 10 -1", "INFO_CLA 4 -1 0 10 0 0 -1",
             "INFO_CLA 5 -1 20 20 30 20 -1"});
    EXPECT_EQ(AutoSelectClicked(5, 0.1, 0.5), 1); // the first: nothing more
    EXPECT_EQ(SelectedCount(), 1);
    // The second sets the direction; the chain would go on with an element that starts at
    // (10, 10), but line 3 ends there: the chain stops before it.
    EXPECT_EQ(AutoSelectClicked(10.1, 5, 0.5), 1);
    EXPECT_EQ(SelectedCount(), 2);
    EXPECT_EQ(At(2).sel_number, 1);
    EXPECT_EQ(AutoSelectClicked(50, 50, 0.5), 0); // nothing there
    Type("UNSELECT ALL");
    // Line 3 turned round, and a branch at the same corner: a T-junction stops the chain.
    TypeAll({"INFO_CLA 6 -1 10 10 20 10 -1", "INFO_CLA 3 -1 10 10 0 10 -1"});
    EXPECT_EQ(AutoSelectClicked(5, 0.1, 0.5), 1);
    EXPECT_EQ(AutoSelectClicked(10.1, 5, 0.5), 1);
    EXPECT_EQ(SelectedCount(), 2);
    // Without the branch the chain runs round the square.
    Type("UNSELECT ALL");
    Type("DELETE 6");
    EXPECT_EQ(AutoSelectClicked(5, 0.1, 0.5), 1);
    EXPECT_EQ(AutoSelectClicked(10.1, 5, 0.5), 1);
    EXPECT_EQ(SelectedCount(), 4);
    EXPECT_EQ(At(3).sel_number, 2);
    EXPECT_EQ(At(4).sel_number, 3);
    EXPECT_EQ(At(5).selected, 0);
    // An engraving element is no part of a chain.
    TypeAll({"ENG_CLA 7 -1 40 40 50 40 0.5 0.2"});
    EXPECT_EQ(AutoSelectClicked(45, 40, 0.5), 0);
}

TEST_F(CLAOps, OffsetsReverseContactsAndDuplicates) {
    TypeAll({"INFO_CLA 1 -1 0 0 10 0 -1", "INFO_CLA 2 -1 0 0 5 -1", "INFO_CLA 3 -1 10 0 0 0 5 -1",
             "INFO_CLA 4 -1 10 0 20 0 -1"});
    InitUndoBuf();
    ASSERT_EQ(OffsetCLA(IndexOf(1), 2), 1); // to the right of its direction: downwards
    EXPECT_EQ(LinesOf(1), "$60 1 -1 0.000000 -2.000000 10.000000 -2.000000 -1\n");
    ASSERT_EQ(OffsetCLA(IndexOf(2), 1), 1);
    EXPECT_NEAR(At(2).radius, 6, 1e-9); // a circle grows
    ASSERT_EQ(Type("UNDO"), 1);
    ASSERT_EQ(Type("UNDO"), 1);
    EXPECT_EQ(LinesOf(1), "$60 1 -1 0.000000 0.000000 10.000000 0.000000 -1\n");
    EXPECT_EQ(LinesOf(2), "$60 2 -1 0.000000 0.000000 5.000000 -1\n");
    EXPECT_EQ(OffsetCLA(IndexOf(2), -5), 0); // no circle is left
    // Reversing swaps the ends and the direction; a circle stays.
    ASSERT_EQ(ReverseCLA(IndexOf(3)), 1);
    EXPECT_EQ(LinesOf(3), "$60 3 -1 0.000000 0.000000 10.000000 0.000000 -5.000000 -1\n");
    EXPECT_EQ(ReverseCLA(IndexOf(2)), 1);
    EXPECT_EQ(LinesOf(2), "$60 2 -1 0.000000 0.000000 5.000000 -1\n");
    EXPECT_EQ(InContact(IndexOf(1), IndexOf(4), 0.01), 8); // end 1 at start 4
    EXPECT_EQ(InContact(IndexOf(1), IndexOf(3), 0.01), 3); // both ends the same way
    EXPECT_EQ(InContact(IndexOf(1), IndexOf(2), 0.01), 0); // a circle
    EXPECT_EQ(InContact(IndexOf(1), 9999, 0.01), -1);
    // The same line or arc, also drawn the other way round, exists; another radius does not.
    EXPECT_TRUE(CLAexists(10, 0, 0, 0, 0, kLine, 1));
    EXPECT_FALSE(CLAexists(10, 0, 0, 0, 0, kLine, 0));
    EXPECT_TRUE(CLAexists(10, 0, 0, 0, 5, kCcwArc, 1));
    EXPECT_TRUE(CLAexists(0, 0, 10, 0, 5, kCwArc, 1));
    EXPECT_FALSE(CLAexists(0, 0, 10, 0, 6, kCwArc, 1));
    EXPECT_TRUE(CLAexists(0, 0, 0, 0, 5, kCircle, 1));
    CLA dxf;
    dxf.drawing = 1;
    dxf.x2 = 10;
    EXPECT_EQ(RegisterCLA(dxf), 0); // there already
    dxf.y2 = 3;
    int id = RegisterCLA(dxf);
    EXPECT_GT(id, 4);
    std::string undo;
    PeepUndoCom(undo);
    EXPECT_EQ(undo, "DELETE " + std::to_string(id));
}

TEST_F(CLAOps, GroupsOfSelectedElements) {
    TypeAll({"INFO_CLA 1 -1 0 0 10 0 A", "INFO_CLA 2 -1 0 0 5 A", "INFO_CLA 3 -1 0 5 5 5 -1",
             "INFO_CLA 4 -1 0 9 5 9 B"});
    InitUndoBuf();
    Type("SELECT 3");
    Type("SELECT 4");
    int g = GroupSelectedCLA();
    ASSERT_GE(g, 0);
    EXPECT_EQ(At(3).group, g);
    EXPECT_EQ(At(4).group, g);
    EXPECT_TRUE(GroupIsSelected(g));
    EXPECT_FALSE(GroupIsSelected(At(1).group));
    EXPECT_EQ(NextGroup(-1), At(1).group);
    ASSERT_EQ(Type("UNDO"), 1);
    EXPECT_EQ(LinesOf(3), "$60 3 -1 0.000000 5.000000 5.000000 5.000000 -1\n");
    EXPECT_EQ(LinesOf(4), "$60 4 -1 0.000000 9.000000 5.000000 9.000000 B\n");
    // Ungrouping resolves every group with a selected element.
    Type("UNSELECT ALL");
    Type("SELECT 1");
    UnGroupSelectedCLA();
    EXPECT_EQ(At(1).group, -1);
    EXPECT_EQ(At(2).group, -1);
    EXPECT_EQ(FindGroupByName("A"), -1);
    EXPECT_EQ(At(4).group, FindGroupByName("B"));
    // Deleting a group deletes its elements.
    ASSERT_EQ(DeleteGroup(FindGroupByName("B")), 1);
    EXPECT_EQ(LinesOf(4), "");
    EXPECT_EQ(FindGroupByName("B"), -1);
    ASSERT_EQ(Type("UNDO"), 1);
    EXPECT_EQ(LinesOf(4), "$60 4 -1 0.000000 9.000000 5.000000 9.000000 B\n");
    EXPECT_TRUE(Messages().empty());
}

} // namespace
} // namespace korvel
