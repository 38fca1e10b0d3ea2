// Bulges through their script lines: written lines, levels, heights, bad contours and edits.
#include <gtest/gtest.h>

#include "base/undo_stack.h"
#include "model/block.h"
#include "model/bulge.h"
#include "model/heights.h"
#include "model/object_kind.h"
#include "model/registry.h"
#include "script/interpreter.h"
#include "script/project.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class BulgeTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1"), 1);
    }
};

V Split(const std::string& text) {
    V lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    return lines;
}

TEST_F(BulgeTest, WrittenLinesReadBackIdentically) {
    const V kLines = {
        "$15 2 1 40.00000 30.00000 5.00000 10.00000 10.00000 3.00000 0.50000 1 2 4 15 3",
        "$15 3 1 20.00000 20.00000 5.00000 60.00000 10.00000 0.00000 0.00000 0 0 -1 0 0",
        "$15 4 1 20.00000 30.00000 5.00000 60.00000 40.00000 10.00000 0.00000 0 0 -1 0 0",
        "$18 5 2 10.00000 4.00000 30.00000 25.00000 0.25000 0 0 5 -7 1",
        "$19 6 1 6 8.00000 5.00000 70.00000 60.00000 0.00000 0 0 -1 0 0",
        "$16 7 1 0.00000 50.00000 5.00000 0.00000 0 0 -1 0 0",
        "$31 20.00000 50.00000",
        "$33 20.00000 70.00000 10.00000",
        "$32 0.00000 70.00000 -10.00000",
        "$31 0.00000 50.00000",
        "$17",
    };
    TypeAll(kLines);
    EXPECT_TRUE(Messages().empty());
    std::string written = AllObjectLines();
    V lines = Split(written);
    ASSERT_EQ(lines.size(), 3 + kLines.size());
    EXPECT_EQ(V(lines.begin() + 3, lines.end()), kLines);

    // A rectangle with L = 2R has no straight bottom and top edges.
    Bulge round;
    GetBulge(IndexOf(4), round);
    EXPECT_EQ(round.shape.n, 6);
    Bulge square;
    GetBulge(IndexOf(3), square);
    EXPECT_EQ(square.shape.n, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(square.shape.v[i].kind, 1);

    // Read into a fresh project, the lines write out the same again.
    InitAllTables();
    TypeAll(lines);
    EXPECT_EQ(AllObjectLines(), written);
}

TEST_F(BulgeTest, LevelsAndHeights) {
    TypeAll({"TOPFACE 1", "RBULGE 2 1 40 30 5 10 10 0 0 0 0 -1 0 0",
             "RBULGE 3 1 20 20 4 60 10 0 0 0 0 -1 0 0", "CBULGE 4 2 10 3 30 25 0 0 0 -1 0 0"});
    EXPECT_EQ(TopLevel(), 1);
    EXPECT_EQ(FindFirstLevelBulge(0), IndexOf(2));
    EXPECT_EQ(FindNextLevelBulge(0), IndexOf(3));
    EXPECT_EQ(FindNextLevelBulge(0), -1);
    EXPECT_EQ(FindFirstLevelBulge(-1), -1);
    EXPECT_EQ(BulgeId_to_level(4), 1);
    EXPECT_EQ(BulgeId_to_level(1), -1);
    EXPECT_EQ(ObjLevel(4), 1);
    EXPECT_EQ(TopBulgeIndex(), IndexOf(4));
    EXPECT_EQ(ChildBulgeIndex(2), IndexOf(4));
    EXPECT_EQ(ChildBulgeIndex(4), -1);

    double structure = 0;
    ASSERT_EQ(MaxBulgeStructureHeight(structure), 1);
    EXPECT_DOUBLE_EQ(structure, 8);
    // Block top 0, top face milled 1 deep: the highest top is at -1.
    EXPECT_DOUBLE_EQ(calcZ(1), -9);
    EXPECT_DOUBLE_EQ(calcZ(2), 0 - 1 - 8 + 5);
    EXPECT_DOUBLE_EQ(calcZ(4), -1);
    EXPECT_DOUBLE_EQ(calcZ(99), 25); // the safe height
    RecalcZ();
    EXPECT_DOUBLE_EQ(Bulge_z(IndexOf(4)), -4);
    EXPECT_DOUBLE_EQ(Bulge_z(IndexOf(3)), -9);

    EXPECT_EQ(GetPID(4), 2);
    EXPECT_EQ(IsDescendant(4, 1), 1);
    EXPECT_EQ(IsAncestor(2, 4), 1);
    EXPECT_EQ(CountAttachedObjects(1), 2);
    EXPECT_EQ(CountAttachedNonBulgeObjects(1), 0);
    EXPECT_EQ(ParentCandidate(), -1);
    SelectBulge(IndexOf(3), 2);
    EXPECT_EQ(ParentCandidate(), 3);
    SetBlockSelected(2);
    EXPECT_EQ(ParentCandidate(), 1);
}

TEST_F(BulgeTest, BrokenParentChains) {
    TypeAll({"RBULGE 2 50 10 10 5 0 0 0 0 0 0 -1 0 0"});
    EXPECT_EQ(BulgeLevel(IndexOf(2)), -1);
    double h = -1;
    EXPECT_EQ(MaxBulgeStructureHeight(h), 0);
    // Two bulges standing on each other: every walk ends.
    TypeAll({"RBULGE 3 4 10 10 5 0 0 0 0 0 0 -1 0 0", "RBULGE 4 3 10 10 5 0 0 0 0 0 0 -1 0 0"});
    EXPECT_EQ(BulgeLevel(IndexOf(3)), -1);
    EXPECT_EQ(IsDescendant(3, 1), 0);
    EXPECT_EQ(ObjLevel(3), -1);
    calcZ(3);
    RecalcZ();
}

TEST_F(BulgeTest, BadContoursStoreNothing) {
    const std::string kOpen = "[Errors found] Shape is open";
    // Open by the smallest amount.
    TypeAll({"BULGE 2 1 0 0 5 0 0 0 -1 0 0", "LINETO 10 0", "LINETO 10 10"});
    EXPECT_EQ(Type("LINETO 0 0.000001"), 1);
    EXPECT_EQ(Type("END"), 0);
    EXPECT_EQ(Type("END"), 0);
    EXPECT_EQ(Type("LINETO 1 1"), 0);
    EXPECT_EQ(Messages(), (V{kOpen, "[Errors found] END command unexpetced",
                             "[Errors found] Command unexpetced"}));
    EXPECT_EQ(IndexOf(2), -1);

    // The 128th vertex and every one after it are refused; the outline stays open, and END
    // judges it by the last vertex that was accepted.
    ASSERT_EQ(Type("BULGE 2 1 0 0 5 0 0 0 -1 0 0"), 1);
    for (int i = 1; i <= 127; ++i)
        ASSERT_EQ(Type("LINETO " + std::to_string(i) + " " + std::to_string(i % 2)), 1);
    EXPECT_EQ(Type("LINETO 0 0"), 0);
    EXPECT_EQ(Type("LINETO 0 0"), 0);
    EXPECT_EQ(Type("END"), 0);
    EXPECT_EQ(Messages(), (V{"[Errors found] Value(s) out of range",
                             "[Errors found] Value(s) out of range", kOpen}));
    EXPECT_EQ(IndexOf(2), -1);

    // After a rejected header no outline is open: each element line and the END are
    // unexpected, and the next outline is clean.
    EXPECT_EQ(Type("BULGE 2 1 0 0 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("LINETO 10 0"), 0);
    EXPECT_EQ(Type("CWTO 10 10 5"), 0);
    EXPECT_EQ(Type("END"), 0);
    TypeAll({"BULGE 2 1 0 0 5 0 0 0 -1 0 0", "CCWTO 10 0 5", "CCWTO 0 0 5", "END"});
    EXPECT_EQ(Messages(),
              (V{"[Errors found] Value(s) out of range", "[Errors found] Command unexpetced",
                 "[Errors found] Command unexpetced", "[Errors found] END command unexpetced"}));
    Bulge b;
    ASSERT_EQ(GetBulge(IndexOf(2), b), 1);
    EXPECT_EQ(b.shape.n, 2);
    EXPECT_EQ(b.shape.v[0].kind, 2);

    // A contour that returns to its start at once encloses nothing.
    TypeAll({"BULGE 3 1 5 5 5 0 0 0 -1 0 0", "LINETO 5 5"});
    EXPECT_EQ(Type("END"), 0);
    EXPECT_EQ(Messages(), V{kOpen});
}

TEST_F(BulgeTest, BadElementLinesAreReportedEachAndTheGoodOnesKept) {
    // Wrong argument counts on three element lines: one message each, the outline stays open
    // and END stores the lines that were accepted.
    TypeAll({"BULGE 5 1 10 10 8 0 0 0 -1 0 0"});
    EXPECT_EQ(Type("LINETO 40"), 0);
    EXPECT_EQ(Type("CWTO 40 10"), 0);
    EXPECT_EQ(Type("CCWTO 40 10 5 1"), 0);
    TypeAll({"LINETO 40 10", "LINETO 40 40", "LINETO 10 10"});
    EXPECT_EQ(Type("END 1"), 0); // refused too, and the outline is still open
    EXPECT_EQ(Type("END"), 1);
    EXPECT_EQ(Messages(), V(4, "[Errors found] Syntax error"));
    EXPECT_EQ(LinesOf(5), "$16 5 1 10.00000 10.00000 8.00000 0.00000 0 0 -1 0 0\n"
                          "$31 40.00000 10.00000\n$31 40.00000 40.00000\n$31 10.00000 10.00000\n"
                          "$17\n");

    // An outline whose last accepted vertex misses the start is open, whatever came after.
    TypeAll({"BULGE 6 1 0 0 5 0 0 0 -1 0 0", "LINETO 10 0", "LINETO 10 10"});
    EXPECT_EQ(Type("LINETO 0"), 0);
    EXPECT_EQ(Type("END"), 0);
    EXPECT_EQ(Messages(), (V{"[Errors found] Syntax error", "[Errors found] Shape is open"}));
    EXPECT_EQ(IndexOf(6), -1);
}

TEST_F(BulgeTest, BadShapeLines) {
    const std::string kRange = "[Errors found] Value(s) out of range";
    EXPECT_EQ(Type("RBULGE 2 1 40 30 5 0 0 16 0 0 0 -1 0 0"), 0); // R above half of 30
    EXPECT_EQ(Type("RBULGE 2 1 40 30 5 0 0 -1 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("RBULGE 2 1 40 30 5 0 0 1 0 0 0 -1 0"), 0);
    EXPECT_EQ(Type("CBULGE 2 1 0 5 0 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("POLYGON 2 1 2 10 5 0 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("POLYGON 2 1 6 0 5 0 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("POLYGON 2 1 127 10 5 0 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("POLYGON 2 1 3 10 5 0 0 0 0 0 -1 0 0"), 1);
    EXPECT_EQ(Type("POLYGON 2 1 126 10 5 0 0 0 0 0 -1 0 0"), 1);
    EXPECT_EQ(Messages(),
              (V{kRange, kRange, "[Errors found] Syntax error", kRange,
                 "[Errors found] Polygon has 0 volume!", "[Errors found] Polygon has 0 volume!",
                 "[Errors found] Polygon has too many edges!"}));
    std::string path = WriteFile("p.kvp", "POLYGON 5 1 127 10 5 0 0 0 0 0 -1 0 0\n"
                                          "POLYGON 5 1 2 10 5 0 0 0 0 0 -1 0 0\n");
    ReadScript(path);
    EXPECT_EQ(Messages(),
              (V{"[Errors found] Polygon, too many edges, file [" + path + "], line [1]",
                 "[Errors found] Polygon has 0 volume!, file [" + path + "], line [2]"}));

    EXPECT_EQ(Type("RBULGE 1 1 40 30 5 0 0 0 0 0 0 -1 0 0"), 0); // ID 1 is the block
    EXPECT_EQ(Messages(), V{"[Errors found] Wrong object type"});
}

TEST_F(BulgeTest, TheTableHoldsThirtyTwo) {
    for (int id = 2; id < 2 + kMaxBulges; ++id)
        ASSERT_EQ(Type("RBULGE " + std::to_string(id) + " 1 10 10 5 0 0 0 0 0 0 -1 0 0"), 1);
    EXPECT_EQ(Type("RBULGE 40 1 10 10 5 0 0 0 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Type("BULGE 40 1 0 0 5 0 0 0 -1 0 0"), 0);
    EXPECT_EQ(Messages(), V(2, "[Errors found] Too many Bulges"));
    // Replacing an existing one still works.
    EXPECT_EQ(Type("RBULGE 2 1 20 10 5 0 0 0 0 0 0 -1 0 0"), 1);
}

TEST_F(BulgeTest, ReplacingPushesThePreviousLinesAsOneUnit) {
    TypeAll({"BULGE 2 1 0 0 5 0 0 0 -1 0 0", "LINETO 10 0", "CWTO 10 10 5", "LINETO 0 0", "END"});
    std::string undo;
    PeepUndoCom(undo);
    EXPECT_EQ(undo, "DELETE 2");
    std::string before = LinesOf(2);
    ASSERT_EQ(Type("RBULGE 2 1 10 10 5 0 0 0 0 0 0 -1 0 0"), 1);
    // Popped from the top: the unit in written order, every line but the last continuing.
    std::string lines;
    while (PopUndoCom(undo) && undo != "DELETE 2")
        lines += undo.back() == '\n' ? undo : undo + "\n";
    EXPECT_EQ(lines, "$16 2 1 0 0 5 0 0 0 -1 0 0\n$31 10 0\n$33 10 10 5\n$31 0 0\n$17\n");
    EXPECT_NE(before, lines); // the project file's own form has five decimals
    // StrBulgeData gives the same lines last first.
    std::string line;
    EXPECT_EQ(StrBulgeData(line, IndexOf(2), 2), 0);
    EXPECT_EQ(line, "$15 2 1 10.00000 10.00000 5.00000 0.00000 0.00000 0.00000 0.00000 0 0 -1 0 0");
    EXPECT_EQ(StrBulgeData(line, IndexOf(2), 3), -1);
    EXPECT_EQ(StrBulgeData(line, 31, 2), -1);
}

TEST_F(BulgeTest, MirroredCylinderKeepsItsCentre) {
    TypeAll({"CBULGE 2 1 10 4 30 25 0 0 0 -1 0 0"});
    MirrorBulgeY(IndexOf(2), 40);
    MirrorBulgeX(IndexOf(2), 10);
    std::string written = LinesOf(2);
    EXPECT_EQ(written, "$18 2 1 10.00000 4.00000 -10.00000 55.00000 0.00000 0 0 -1 0 0\n");
    InitAllTables();
    TypeAll({"BLOCK 1 100 80 20 0 0 -20 0 0 -1", written.substr(0, written.size() - 1)});
    EXPECT_EQ(LinesOf(2), written);
    std::string undo;
    PopUndoCom(undo);
}

TEST_F(BulgeTest, MirroringTwiceGivesTheContourBack) {
    TypeAll({"BULGE 2 1 0 0 5 0 0 0 -1 0 0", "LINETO 20 0", "CCWTO 20 10 -5", "CWTO 10 20 8",
             "LINETO 0 0", "END"});
    Bulge first;
    GetBulge(IndexOf(2), first);
    MirrorBulgeX(IndexOf(2), 3);
    Bulge mirrored;
    GetBulge(IndexOf(2), mirrored);
    EXPECT_DOUBLE_EQ(mirrored.shape.v[0].x, 6);
    EXPECT_DOUBLE_EQ(mirrored.shape.v[1].x, 6 - 10); // old vertex 3 at (10, 20)
    EXPECT_EQ(mirrored.shape.v[1].kind, 1);          // the closing line, reversed
    MirrorBulgeX(IndexOf(2), 3);
    Bulge back;
    GetBulge(IndexOf(2), back);
    ASSERT_EQ(back.shape.n, first.shape.n);
    for (int i = 0; i < first.shape.n; ++i) {
        EXPECT_DOUBLE_EQ(back.shape.v[i].x, first.shape.v[i].x);
        EXPECT_DOUBLE_EQ(back.shape.v[i].y, first.shape.v[i].y);
        EXPECT_EQ(back.shape.v[i].kind, first.shape.v[i].kind);
        EXPECT_DOUBLE_EQ(back.shape.v[i].radius, first.shape.v[i].radius);
    }
    std::string undo;
    PopUndoCom(undo);
    EXPECT_EQ(undo, "MIRRORX 2 3");
}

TEST_F(BulgeTest, TurnedRectangleIsWrittenAsAFreeContour) {
    TypeAll({"RBULGE 2 1 20 10 5 0 0 0 0 0 0 -1 0 0"});
    TurnBulge(IndexOf(2), 0, 0, 0);
    EXPECT_EQ(LinesOf(2).substr(0, 3), "$15");
    TurnBulge(IndexOf(2), 0, 0, 90);
    V lines = Split(LinesOf(2));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "$16 2 1 0.00000 0.00000 5.00000 0.00000 0 0 -1 0 0");
    EXPECT_EQ(lines[1], "$31 0.00000 20.00000");
    EXPECT_EQ(lines[5], "$17");
    std::string undo;
    PopUndoCom(undo);
    EXPECT_EQ(undo, "TURN 2 0 0 -90");
}

TEST_F(BulgeTest, MoveScaleAndCopy) {
    TypeAll({"RBULGE 2 1 20 10 5 0 0 2 0 3 4 -1 0 0"});
    MoveBulgeBy(IndexOf(2), 5, -1);
    EXPECT_EQ(Split(LinesOf(2))[0],
              "$15 2 1 20.00000 10.00000 5.00000 5.00000 -1.00000 2.00000 0.00000 3 4 -1 0 0");
    int depth = UndoDepth();
    ScaleBulgeBy(IndexOf(2), 0, 0, 1);
    ScaleBulgeBy(IndexOf(2), 0, 0, 0);
    ScaleBulgeBy(IndexOf(2), 0, 0, -1);
    EXPECT_EQ(UndoDepth(), depth);
    ScaleBulgeBy(IndexOf(2), 5, -1, 2);
    EXPECT_EQ(Split(LinesOf(2))[0],
              "$15 2 1 40.00000 20.00000 10.00000 5.00000 -1.00000 4.00000 0.00000 0 0 -1 0 0");
    int copy = CopyBulgeTo(IndexOf(2), 100, 0);
    EXPECT_EQ(copy, 3);
    EXPECT_EQ(Split(LinesOf(3))[0],
              "$15 3 1 40.00000 20.00000 10.00000 105.00000 -1.00000 4.00000 0.00000 0 0 -1 0 0");
    std::string undo;
    PopUndoCom(undo);
    EXPECT_EQ(undo, "DELETE 3");
    PopUndoCom(undo);
    EXPECT_EQ(undo, "SCALE 2 5 -1 0.5");
}

TEST_F(BulgeTest, ClicksAndConcaveCorners) {
    TypeAll({"BULGE 2 1 0 0 5 0 0 0 -1 20 0", "LINETO 20 0", "LINETO 20 20", "CWTO 10 10 10",
             "CCWTO 0 20 15", "LINETO 0 0", "END"});
    EXPECT_TRUE(BulgeClicked(IndexOf(2), 5, 5));
    EXPECT_TRUE(BulgeClicked(IndexOf(2), 15, 5));
    EXPECT_FALSE(BulgeClicked(IndexOf(2), 25, 5));
    EXPECT_FALSE(BulgeClicked(IndexOf(2), 10, 19));
    EXPECT_NEAR(MinBulgeCWR(IndexOf(2)), 10 - 0.020, 1e-12);
    EXPECT_EQ(MinBulgeCWR(30), -1);
    TypeAll({"RBULGE 3 1 10 10 5 50 50 0 0 0 0 -1 0 0"});
    EXPECT_EQ(MinBulgeCWR(IndexOf(3)), 0);
}

TEST_F(BulgeTest, LevelDataIsSharedByBroadcast) {
    TypeAll({"RBULGE 2 1 20 10 5 0 0 0 0 0 0 -1 0 0", "RBULGE 3 1 20 10 5 50 0 0 0 0 0 -1 0 0",
             "RBULGE 4 2 5 5 2 0 0 0 0 0 0 -1 0 0"});
    // A script line changes only its own bulge.
    TypeAll({"RBULGE 2 1 20 10 7 0 0 0 0 3 4 5 0 1"});
    EXPECT_DOUBLE_EQ(Bulge_wz(IndexOf(3)), 5);
    BroadcastCommonBulgeData(IndexOf(2));
    Bulge other;
    GetBulge(IndexOf(3), other);
    EXPECT_DOUBLE_EQ(other.wz, 7);
    EXPECT_EQ(other.rough_tool, 3);
    EXPECT_EQ(other.quality, 5);
    EXPECT_EQ(other.scan, 1);
    EXPECT_DOUBLE_EQ(Bulge_wz(IndexOf(4)), 2); // another level
    TypeAll({"RBULGE 5 77 5 5 2 0 0 0 0 0 0 -1 0 0"});
    BroadcastCommonBulgeData(IndexOf(5));
    EXPECT_EQ(Messages(), V{"[BroadcastCommonBulgeData] Parent object for BULGE ID=5 is unknwon"});
}

} // namespace
} // namespace korvel
