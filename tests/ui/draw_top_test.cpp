// The top view of a project drawn onto a recording canvas: where each kind of object lands,
// in which pen, arcs with their turn, and the tool paths with their moves and start marks.
#include <gtest/gtest.h>

#include <cmath>

#include "model/atttool.h"
#include "model/bulge.h"
#include "paths/path_table.h"
#include "support.h"
#include "tooldb/database.h"
#include "ui/canvas.h"
#include "ui/draw_paths.h"
#include "ui/draw_top.h"

namespace korvel {
namespace {

using Op = RecordingCanvas::Op;

class DrawTop : public test::KorvelTest {
protected:
    // The drawing at 2 surface units per millimetre with (0, 100) at the surface's origin.
    std::vector<Op> Draw(bool paths = false) {
        RecordingCanvas rec;
        TopPainter painter(rec, TopView{2, 0, 100});
        DrawProjectTop(painter);
        if (paths)
            paths_ok_ = DrawToolPaths(painter);
        return rec.ops();
    }
    // The ops drawn in one pen.
    static std::vector<Op> InPen(const std::vector<Op>& ops, const Pen& pen) {
        std::vector<Op> out;
        bool on = false;
        for (const Op& op : ops) {
            if (op.kind == Op::kPen)
                on = op.pen == pen;
            else if (on)
                out.push_back(op);
        }
        return out;
    }
    int paths_ok_ = -1;
};

TEST_F(DrawTop, BlockAndBulgesByLevelWithTheirArcs) {
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1", "RBULGE 2 1 40 30 5 10 10 5 0 0 0 -1 0 0",
             "RBULGE 3 2 10 10 5 20 20 0 0 0 0 -1 0 0"});
    auto ops = Draw();
    auto block = InPen(ops, BlockPen());
    ASSERT_EQ(block.size(), 5u);
    EXPECT_EQ(block[0].kind, Op::kMove);
    EXPECT_EQ(block[0].x, 0);
    EXPECT_EQ(block[0].y, 200); // y = 0 lies 100 below the top: 200 units down
    EXPECT_EQ(block[2].x, 200);
    EXPECT_EQ(block[2].y, 100);
    // The level-0 bulge: four lines and four counter-clockwise corner arcs of radius 5.
    auto level0 = InPen(ops, BulgePen(0));
    int arcs = 0;
    for (const Op& op : level0) {
        if (op.kind != Op::kArc)
            continue;
        ++arcs;
        EXPECT_FALSE(op.clockwise);
    }
    EXPECT_EQ(arcs, 4);
    ASSERT_FALSE(level0.empty());
    EXPECT_EQ(level0[0].x, 30); // vertex 0 (15, 10)
    EXPECT_EQ(level0[0].y, 180);
    // The bulge on top of it is level 1.
    EXPECT_EQ(InPen(ops, BulgePen(1)).size(), 5u);
}

TEST_F(DrawTop, PocketsIslandsHolesTextsAndFixtures) {
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1", "RPOCKET 2 1 40 30 5 10 10 5 0 0 0 -1 0 0",
             "CBULGE 3 2 10 3 30 25 0 0 0 -1 0 0", "DRILL 4 1 6 10 80 25 0 0 0 1 -1",
             "ENG_TEXT 5 1 \"AB\" 60 10 90 5 0.5 0.2 1 1 0", "FIXTURE 6 20 10 -5 -30 0"});
    auto ops = Draw();
    EXPECT_EQ(InPen(ops, PocketPen()).front().kind, Op::kMove);
    auto island = InPen(ops, IslandPen());
    ASSERT_EQ(island.size(), 3u); // two half circles
    EXPECT_EQ(island[1].kind, Op::kArc);
    auto hole = InPen(ops, HolePen());
    ASSERT_GE(hole.size(), 2u);
    EXPECT_EQ(hole[1].kind, Op::kArc); // a whole circle of radius 3 about (80, 25)
    EXPECT_EQ(hole[1].cx, 160);
    EXPECT_EQ(hole[1].x, 166);
    // The text stands on its base line turned by 90 degrees. Without a font file each
    // character is glyph 0's box: a move to the character's origin, the jump to the box's
    // corner and four lines. The origin lies a quarter of the 0.5 width up the base line and
    // half of it to its left, so that the stroke stays inside the text's height.
    auto text = InPen(ops, TextPen(false));
    ASSERT_EQ(text.size(), 12u);
    EXPECT_EQ(text[0].kind, Op::kMove);
    EXPECT_NEAR(text[0].x, 119.5, 1e-9);
    EXPECT_NEAR(text[0].y, 179.75, 1e-9);
    EXPECT_EQ(text[2].kind, Op::kLine);
    EXPECT_NEAR(text[2].x, 119.5, 1e-9);
    EXPECT_NEAR(text[2].y, 179.75 - 2 * 9 * (5 - 0.5) / 12, 1e-9); // the box's base, 9 units
    EXPECT_EQ(InPen(ops, FixturePen()).size(), 7u);
}

TEST_F(DrawTop, ObjectsInAscendingIdOrder) {
    TypeAll({"BLOCK 9 100 50 20 0 0 -20 0 0 -1", "RBULGE 3 9 10 10 5 10 10 0 0 0 0 -1 0 0"});
    auto ops = Draw();
    ASSERT_EQ(ops.front().kind, Op::kPen);
    EXPECT_EQ(ops.front().pen, BulgePen(0)); // ID 3 before the block's ID 9
}

TEST_F(DrawTop, ToolPathsWithMovesAndStartMarks) {
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1", "RPOCKET 2 1 40 30 5 10 10 5 0 0 0 -1 0 0",
             "RBULGE 3 1 20 20 5 70 10 0 0 0 0 -1 0 0"});
    auto ops = Draw(true);
    EXPECT_EQ(paths_ok_, 1);
    EXPECT_FALSE(InPen(ops, PathMovePen()).empty()); // the returns between scan lines
    auto cuts = InPen(ops, PathCutPen());
    ASSERT_FALSE(cuts.empty());
    // The marks are rings of 0.8 in the path's colour: the pocket's wall and its scan lines,
    // and the level path, in the colour of level 0.
    auto ring_count = [&](const Pen& pen) {
        int marks = 0;
        for (const Op& op : InPen(ops, pen))
            marks += op.kind == Op::kArc && std::fabs(op.x - op.cx - 1.6) < 1e-9;
        return marks;
    };
    EXPECT_EQ(ring_count(PathCutPen()), 2);
    EXPECT_EQ(ring_count(LevelPathPen(0)), 1);
    EXPECT_FALSE(InPen(ops, LevelPathPen(0)).empty());
}

TEST_F(DrawTop, ToolRadiusFromThePreselectedToolElseWhatFits) {
    SetToolDataExt("MILL 6", 5, 6, 0, 30, 3, 0, "");
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1", "ATTTOOL 4 MILL_6 0 0 0",
             "RBULGE 2 1 20 20 5 10 10 0 0 4 0 -1 0 0", "RPOCKET 3 1 40 30 5 50 10 2 0 0 0 -1 0 0",
             "RPOCKET 4 1 40 30 5 50 10 8 0 0 0 -1 0 0"});
    EXPECT_EQ(BulgePathRadius(IndexOf(2)), 3);
    EXPECT_EQ(PocketPathRadius(IndexOf(3)), 2); // a 10 mm tool would not fit its corners
    EXPECT_EQ(PocketPathRadius(IndexOf(4)), 5);
}

TEST_F(DrawTop, APathThatCannotBeMadeIsLeftOutAndReported) {
    // A pocket narrower than the 10 mm default tool: its paths are left out.
    TypeAll({"BLOCK 1 100 50 20 0 0 -20 0 0 -1"});
    TypeAll({"POCKET 2 1 10 10 5 0 0 0 -1 0 0", "LINETO 60 10", "LINETO 60 16", "LINETO 10 16",
             "LINETO 10 10", "END"});
    auto ops = Draw(true);
    EXPECT_EQ(paths_ok_, 0);
    EXPECT_TRUE(InPen(ops, PathCutPen()).empty());
    EXPECT_EQ(Messages(), (std::vector<std::string>{"[Tool selection error] Tool diameter too big",
                                                    "[Internal error] Error code 22"}));
}

} // namespace
} // namespace korvel
