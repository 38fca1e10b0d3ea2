// Drills, threads, bores and long holes through their script lines; edits and heights.
#include <gtest/gtest.h>

#include "model/bore.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/heights.h"
#include "model/longhole.h"
#include "model/registry.h"
#include "model/thread.h"
#include "script/project.h"
#include "base/undo_stack.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class HoleTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1"), 1);
    }
    std::string TopUndo() {
        std::string s;
        PeepUndoCom(s);
        return s;
    }
};

TEST_F(HoleTest, LinesReadBackIdentically) {
    const V kLines = {
        "$22 2 1 8.50000 20.00000 10.00000 10.00000 0.50000 0 7 8 9",
        "$23 3 1 10.00000 -1.50000 15.00000 30.00000 10.00000 0.50000 4 5",
        "$24 4 1 30.00000 10.00000 50.00000 40.00000 1.00000 2 3 4 20",
        "$26 5 4 8.00000 5.00000 20.00000 -3.00000 10.00000 60.00000",
    };
    for (const std::string& line : kLines)
        ASSERT_EQ(Type(line), 1) << line;
    std::string written;
    for (int id = 2; id <= 5; ++id)
        written += LinesOf(id);
    EXPECT_EQ(written, kLines[0] + "\n" + kLines[1] + "\n" + kLines[2] + "\n" + kLines[3] + "\n");
    // The reserved integers keep their order through the record.
    Drill d;
    ASSERT_EQ(GetDrill(d, IndexOf(2)), 1);
    EXPECT_EQ(d.reserved[0], 8);
    EXPECT_EQ(d.reserved[1], 7);
    EXPECT_EQ(d.reserved[2], 9);
    EXPECT_EQ(d.assigned_tool, -1);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(HoleTest, ArgumentCounts) {
    EXPECT_EQ(Type("DRILL 2 1 8.5 20 10 10 0.5 0 7 8"), 0); // silently
    EXPECT_EQ(Type("DRILL 2 1 8.5 20 10 10 0.5 0 7 8 9 10"), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Type("BORE 4 1 30 10 50 40 1 2 3 4 20 77"), 1);
    EXPECT_EQ(LinesOf(4), "$24 4 1 30.00000 10.00000 50.00000 40.00000 1.00000 2 3 4 20\n");
    EXPECT_EQ(Type("BORE 4 1 30 10 50 40 1 2 3 4"), 0);
    EXPECT_EQ(Type("THREAD 3 1 10 1.5 15 30 10 0.5 0"), 0);
    EXPECT_EQ(Type("LONGHOLE 5 1 8 5 20 0 10"), 0);
    EXPECT_EQ(Messages(), V(3, "[Errors found] Syntax error"));
}

TEST_F(HoleTest, UpsertsByIdAndType) {
    ASSERT_EQ(Type("DRILL 2 1 8 20 10 10 0 0 0 1 -1"), 1);
    EXPECT_EQ(TopUndo(), "DELETE 2");
    ASSERT_EQ(Type("DRILL 2 1 6 20 10 10 0 0 0 1 -1"), 1);
    EXPECT_EQ(TopUndo(), "$22 2 1 8 20 10 10 0 0 0 1 -1"); // exact, for undo
    EXPECT_EQ(Type("BORE 2 1 30 10 50 40 1 0 0 -1 0"), 0);
    EXPECT_EQ(Type("THREAD 1 1 10 1.5 15 30 10 0.5 0 0"), 0);
    EXPECT_EQ(Type("LONGHOLE 0 1 8 5 20 0 10 60"), 0);
    EXPECT_EQ(Messages(), (V{"[Errors found] Wrong object type", "[Errors found] Wrong object type",
                             "[Errors found] Value(s) out of range"}));
}

TEST_F(HoleTest, FullTables) {
    for (int i = 0; i < kMaxThreads; ++i)
        ASSERT_EQ(Type("THREAD " + std::to_string(10 + i) + " 1 10 1.5 15 30 10 0.5 0 0"), 1);
    EXPECT_EQ(Type("THREAD 500 1 10 1.5 15 30 10 0.5 0 0"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Too many Threads"});
    for (int i = 0; i < kMaxBores; ++i)
        ASSERT_EQ(Type("BORE " + std::to_string(200 + i) + " 1 30 10 50 40 1 0 0 -1 0"), 1);
    EXPECT_EQ(Type("BORE 600 1 30 10 50 40 1 0 0 -1 0"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Too many Cylindrical pockets"});
}

TEST_F(HoleTest, HeightsAndLevels) {
    ASSERT_EQ(Type("TOPFACE 1"), 1);
    ASSERT_EQ(Type("RBULGE 2 1 40 30 5 10 10 0 0 0 0 -1 0 0"), 1);
    ASSERT_EQ(Type("DRILL 3 2 8 12 20 20 0 0 0 1 -1"), 1);
    ASSERT_EQ(Type("BORE 4 1 30 6 70 40 0 0 0 -1 0"), 1);
    ASSERT_EQ(Type("THREAD 5 4 6 1 8 70 40 0 0 0"), 1);
    ASSERT_EQ(Type("DRILL 6 1 5 5 90 10 0 0 0 1 -1"), 1);
    RecalcZ();
    Drill on_bulge, on_block;
    GetDrill(on_bulge, IndexOf(3));
    GetDrill(on_block, IndexOf(6));
    EXPECT_DOUBLE_EQ(on_bulge.z, -1); // the bulge top is the milled top face
    EXPECT_DOUBLE_EQ(on_block.z, -6); // the base level under a 5 high bulge
    EXPECT_DOUBLE_EQ(calcZ(3), -13);
    Thread in_bore;
    GetThread(in_bore, IndexOf(5));
    EXPECT_DOUBLE_EQ(in_bore.z, -12); // the bore's bottom
    EXPECT_EQ(ObjLevel(3), 0);
    EXPECT_EQ(ObjLevel(6), -1);
    EXPECT_EQ(ObjLevel(5), -1);
    EXPECT_EQ(GetPID(5), 4);
    EXPECT_EQ(CountAttachedObjects(4), 1);
    EXPECT_EQ(CountAttachedObjects(1), 3);
}

TEST_F(HoleTest, CompilerDrillsAreNeitherSavedNorCounted) {
    ASSERT_EQ(Type("THREAD 40 1 10 1.5 15 30 10 0.5 0 0"), 1);
    int slot = NextDrill();
    ASSERT_GE(slot, 0);
    Drill pre;
    pre.id = ExtNewID(kTypeDrill, slot, 40);
    pre.pid = 1;
    pre.dia = 8.5;
    pre.valid = 1;
    pre.system = 1;
    PutDrill(pre, slot);
    EXPECT_EQ(GetCID(kTypeDrill, slot), 40);
    std::string line = "x";
    EXPECT_EQ(StrDrillData(line, slot), 0);
    EXPECT_EQ(line, "");
    EXPECT_EQ(LinesOf(pre.id), "");
    EXPECT_EQ(CountAttachedObjects(1), 1);
    EXPECT_EQ(StrDrillData(line, 5000), 0);
    EXPECT_EQ(GetDrillId(5000), -1);
    EXPECT_EQ(Drill_wz(77), -1);
}

TEST_F(HoleTest, EditsPushTheirReversal) {
    ASSERT_EQ(Type("THREAD 2 1 10 1.5 15 30 10 0.5 3 4"), 1);
    int depth = UndoDepth();
    ScaleThreadBy(IndexOf(2), 0, 0, 1);
    ScaleThreadBy(IndexOf(2), 0, 0, -2);
    EXPECT_EQ(UndoDepth(), depth);

    ASSERT_EQ(Type("BORE 3 1 30 10 50 40 1 2 3 4 20"), 1);
    ScaleBoreBy(IndexOf(3), 0, 0, 1); // no check on the factor: the tools are reset
    EXPECT_EQ(LinesOf(3), "$24 3 1 30.00000 10.00000 50.00000 40.00000 1.00000 0 0 4 20\n");
    EXPECT_EQ(TopUndo(), "SCALE 3 0 0 1");

    ASSERT_EQ(Type("LONGHOLE 4 1 8 5 20 -6 10 60"), 1);
    MirrorLongHoleX(IndexOf(4), 30);
    EXPECT_EQ(LinesOf(4), "$26 4 1 8.00000 5.00000 -20.00000 -6.00000 50.00000 60.00000\n");
    EXPECT_EQ(TopUndo(), "MIRRORX 4 30");
    TurnLongHole(IndexOf(4), 50, 60, 90);
    LongHole h;
    GetLongHole(h, IndexOf(4));
    EXPECT_NEAR(h.lx, 6, 1e-9);
    EXPECT_NEAR(h.ly, -20, 1e-9);
    ScaleLongHoleBy(IndexOf(4), 50, 60, 2);
    GetLongHole(h, IndexOf(4));
    EXPECT_NEAR(h.lx, 12, 1e-9);
    EXPECT_DOUBLE_EQ(h.dia, 16);

    ASSERT_EQ(Type("DRILL 5 1 8 20 10 10 0 6 0 1 -1"), 1);
    MoveDrillBy(IndexOf(5), 1, 2);
    EXPECT_EQ(TopUndo(), "MOVE 5 -1 -2");
    TurnDrill(IndexOf(5), 0, 0, 90);
    Drill d;
    GetDrill(d, IndexOf(5));
    EXPECT_NEAR(d.x, -12, 1e-9);
    EXPECT_NEAR(d.y, 11, 1e-9);
    ScaleDrillBy(IndexOf(5), 0, 0, 0.5);
    GetDrill(d, IndexOf(5));
    EXPECT_EQ(d.tool, 0);
    EXPECT_DOUBLE_EQ(d.dia, 4);
    EXPECT_TRUE(DrillClicked(IndexOf(5), d.x + 1.9, d.y));
    EXPECT_FALSE(DrillClicked(IndexOf(5), d.x + 2.1, d.y));
}

TEST_F(HoleTest, CopiesKeepParentAndTools) {
    ASSERT_EQ(Type("RBULGE 2 1 40 30 5 10 10 0 0 0 0 -1 0 0"), 1);
    ASSERT_EQ(Type("BORE 3 2 10 2 20 20 0.5 4 5 1 10"), 1);
    int copy = CopyBoreTo(IndexOf(3), 10, 0);
    EXPECT_EQ(copy, 4);
    EXPECT_EQ(LinesOf(4), "$24 4 2 10.00000 2.00000 30.00000 20.00000 0.50000 4 5 1 10\n");
    EXPECT_EQ(TopUndo(), "DELETE 4");
    EXPECT_EQ(CopyDrillTo(IndexOf(77), 1, 1), -1);
    SelectBore(IndexOf(4), 2);
    EXPECT_EQ(ParentCandidate(), 4);
    EXPECT_EQ(SelectBore(IndexOf(4), 3), 0); // a mark of the two is already set
    EXPECT_EQ(UnSelectBore(IndexOf(4), 1), 0);
    EXPECT_EQ(UnSelectBore(IndexOf(4), 3), 1);
    EXPECT_EQ(ParentCandidate(), -1);
}

} // namespace
} // namespace korvel
