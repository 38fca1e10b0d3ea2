// The canvases: the SVG a drawing becomes, and the recording that measures and replays it.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "ui/canvas.h"
#include "ui/svg_canvas.h"

namespace korvel {
namespace {

// The <path .../> elements of a document.
std::vector<std::string> Paths(const std::string& doc) {
    std::vector<std::string> out;
    for (std::size_t at = doc.find("<path "); at != std::string::npos;
         at = doc.find("<path ", at + 1))
        out.push_back(doc.substr(at, doc.find("/>", at) + 2 - at));
    return out;
}

TEST(SvgCanvas, DocumentWithBackgroundAndOnePathPerPen) {
    SvgCanvas svg(100.2, 50, 0xffffff);
    svg.SetPen(Pen{0x1f4fbf, 1.5, LineStyle::kSolid});
    svg.MoveTo(10, 10);
    svg.LineTo(20, 10);
    svg.LineTo(20, 20);
    svg.SetPen(Pen{0x909090, 1, LineStyle::kDashed});
    svg.LineTo(30, 20); // goes on from the current point
    std::string doc = svg.Document();
    EXPECT_EQ(doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n", 0), 0u);
    EXPECT_NE(doc.find("width=\"101\" height=\"50\" viewBox=\"0 0 101 50\""), std::string::npos);
    EXPECT_NE(doc.find("<rect x=\"0\" y=\"0\" width=\"101\" height=\"50\" fill=\"#ffffff\"/>"),
              std::string::npos);
    auto paths = Paths(doc);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], "<path d=\"M10.00 10.00 L20.00 10.00 L20.00 20.00\" fill=\"none\" "
                        "stroke=\"#1f4fbf\" stroke-width=\"1.50\" stroke-linecap=\"round\" "
                        "stroke-linejoin=\"round\"/>");
    EXPECT_EQ(paths[1], "<path d=\"M20.00 20.00 L30.00 20.00\" fill=\"none\" stroke=\"#909090\" "
                        "stroke-width=\"1.00\" stroke-dasharray=\"6 4\" stroke-linecap=\"round\" "
                        "stroke-linejoin=\"round\"/>");
    EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
}

TEST(SvgCanvas, ArcsKeepTheirTurnAndSize) {
    SvgCanvas svg(100, 100);
    svg.MoveTo(60, 50);
    svg.ArcTo(50, 40, 50, 50, false); // a quarter, counter-clockwise on the picture
    svg.ArcTo(60, 50, 50, 50, false); // on round: three quarters
    svg.ArcTo(50, 60, 50, 50, true);  // a quarter clockwise, through no other quadrant
    svg.MoveTo(80, 50);
    svg.ArcTo(80, 50, 70, 50, true); // a whole circle: two halves
    auto paths = Paths(svg.Document());
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_NE(paths[0].find("M60.00 50.00 A10.00 10.00 0 0 0 50.00 40.00 "
                            "A10.00 10.00 0 1 0 60.00 50.00 "
                            "A10.00 10.00 0 0 1 50.00 60.00 "
                            "M80.00 50.00 A10.00 10.00 0 0 1 60.00 50.00 "
                            "A10.00 10.00 0 0 1 80.00 50.00\""),
              std::string::npos)
        << paths[0];
}

TEST(SvgCanvas, MovesAloneDrawNothingAndNumbersIgnoreTheLocale) {
    SvgCanvas svg(10, 10);
    svg.SetPen(Pen{0xff0000, 1, LineStyle::kDotted});
    svg.MoveTo(1, 1);
    svg.MoveTo(2, 2);
    svg.SetPen(Pen{});
    EXPECT_TRUE(Paths(svg.Document()).empty());
    const char* old = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    SvgCanvas dotted(10, 10);
    dotted.SetPen(Pen{0xff0000, 0.5, LineStyle::kDotted});
    dotted.MoveTo(1.25, -0.001);
    dotted.LineTo(2.5, 3);
    std::string doc = dotted.Document();
    if (old)
        std::setlocale(LC_NUMERIC, "C");
    EXPECT_NE(doc.find("d=\"M1.25 0.00 L2.50 3.00\""), std::string::npos) << doc;
    EXPECT_NE(doc.find("stroke-dasharray=\"1 3\""), std::string::npos);
}

TEST(RecordingCanvas, ExtentCountsTheBulgeOfArcs) {
    RecordingCanvas rec;
    double x0, y0, x1, y1;
    EXPECT_FALSE(rec.Extent(x0, y0, x1, y1));
    rec.SetPen(Pen{});
    rec.MoveTo(10, 0);
    rec.ArcTo(-10, 0, 0, 0, true); // through (0, 10): y grows clockwise on the surface
    ASSERT_TRUE(rec.Extent(x0, y0, x1, y1));
    EXPECT_DOUBLE_EQ(x0, -10);
    EXPECT_DOUBLE_EQ(x1, 10);
    EXPECT_NEAR(y0, 0, 1e-12);
    EXPECT_DOUBLE_EQ(y1, 10);
    rec.MoveTo(100, 100); // a move alone adds nothing
    rec.MoveTo(20, 0);
    rec.ArcTo(20, 0, 15, 0, false); // a whole circle
    ASSERT_TRUE(rec.Extent(x0, y0, x1, y1));
    EXPECT_DOUBLE_EQ(x1, 20);
    EXPECT_DOUBLE_EQ(y0, -5);
}

TEST(RecordingCanvas, ReplayMovesAndScales) {
    RecordingCanvas rec, out;
    rec.SetPen(Pen{0x123456, 2, LineStyle::kSolid});
    rec.MoveTo(1, 2);
    rec.LineTo(3, 2);
    rec.ArcTo(5, 2, 4, 2, false);
    rec.Replay(out, 1, 2, 10, 5, 6);
    const auto& ops = out.ops();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_EQ(ops[0].pen.rgb, 0x123456u);
    EXPECT_EQ(ops[0].pen.width, 2); // pens are not scaled
    EXPECT_EQ(ops[1].x, 5);
    EXPECT_EQ(ops[1].y, 6);
    EXPECT_EQ(ops[2].x, 25);
    EXPECT_EQ(ops[3].x, 45);
    EXPECT_EQ(ops[3].cx, 35);
    EXPECT_FALSE(ops[3].clockwise);
}

TEST(RecordingCanvas, AMoveToWhereTheLineEndedIsNotKept) {
    RecordingCanvas rec;
    rec.MoveTo(0, 0);
    rec.LineTo(10, 0);
    rec.MoveTo(10, 0); // chords joined end to end
    rec.LineTo(10, 10);
    rec.SetPen(Pen{0x123456, 1, LineStyle::kSolid});
    rec.MoveTo(10, 10); // a new pen's run starts with its move
    rec.LineTo(0, 10);
    rec.MoveTo(5, 5);
    std::vector<RecordingCanvas::Op::Kind> kinds;
    for (const auto& op : rec.ops())
        kinds.push_back(op.kind);
    using Op = RecordingCanvas::Op;
    EXPECT_EQ(kinds, (std::vector<Op::Kind>{Op::kMove, Op::kLine, Op::kLine, Op::kPen, Op::kMove,
                                            Op::kLine, Op::kMove}));
}

TEST(RecordingCanvas, LongRecordingsKeepEveryStepInOrder) {
    // Far more steps than one block of records holds, with arcs (two records each) falling on
    // every place of a block boundary, read back, copied and replayed unchanged.
    using Op = RecordingCanvas::Op;
    RecordingCanvas rec;
    std::vector<Op> want;
    for (int i = 0; i < 20000; ++i) {
        double x = i * 0.5, y = -i * 0.25;
        switch (i % 7) {
        case 0: {
            Pen pen{static_cast<std::uint32_t>(i), 1 + i % 3, static_cast<LineStyle>(i % 3)};
            rec.SetPen(pen);
            Op op{Op::kPen};
            op.pen = pen;
            want.push_back(op);
            break;
        }
        case 1:
        case 4:
            rec.MoveTo(x, y);
            want.push_back(Op{Op::kMove, x, y});
            break;
        case 3:
            rec.ArcTo(x, y, x + 1, y - 1, i % 2 == 1);
            want.push_back(Op{Op::kArc, x, y, x + 1, y - 1, i % 2 == 1});
            break;
        default:
            rec.LineTo(x, y);
            want.push_back(Op{Op::kLine, x, y});
            break;
        }
    }
    auto same = [](const std::vector<Op>& got, const std::vector<Op>& expected) {
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(got[i].kind, expected[i].kind) << i;
            EXPECT_EQ(got[i].x, expected[i].x) << i;
            EXPECT_EQ(got[i].y, expected[i].y) << i;
            EXPECT_EQ(got[i].cx, expected[i].cx) << i;
            EXPECT_EQ(got[i].cy, expected[i].cy) << i;
            EXPECT_EQ(got[i].clockwise, expected[i].clockwise) << i;
            EXPECT_EQ(got[i].pen, expected[i].pen) << i;
        }
    };
    EXPECT_EQ(rec.size(), want.size());
    same(rec.ops(), want);
    RecordingCanvas copy = rec;
    copy.LineTo(1, 1); // the copy goes on by itself
    same(rec.ops(), want);
    EXPECT_EQ(copy.ops().size(), want.size() + 1);
    RecordingCanvas replayed;
    rec.Replay(replayed, 0, 0, 1, 0, 0);
    same(replayed.ops(), want);
    // Asked again after more drawing, the list has the new step too.
    rec.LineTo(2, 2);
    EXPECT_EQ(rec.ops().back().x, 2);
    EXPECT_EQ(rec.ops().size(), want.size() + 1);
}

} // namespace
} // namespace korvel
