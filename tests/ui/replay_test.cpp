// The replay of a program: loading rules, what each line draws and returns, the delay buttons,
// and runs of the animation's step logic over whole programs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "geometry/gcode_reader.h"
#include "model/block.h"
#include "model/settings.h"
#include "support.h"
#include "ui/canvas.h"
#include "ui/replay.h"
#include "ui/view.h"
#include "ui/view_pens.h"

namespace korvel {
namespace {

using Op = RecordingCanvas::Op;
using V = std::vector<std::string>;

class ReplayTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        GetViewCoef(1000, 700);
        ViewTable();
    }
    int Exec(const std::string& line) {
        double feed = 0;
        int result = 12345;
        EXPECT_EQ(ExecGLine(cv_, line, feed, result), 1);
        return result;
    }
    // Lines drawn in a pen since the last call.
    int Drawn(ViewPen which) {
        int n = 0;
        std::uint32_t pen = 0;
        const auto& ops = cv_.ops();
        for (std::size_t i = seen_; i < ops.size(); ++i) {
            if (ops[i].kind == Op::kPen)
                pen = ops[i].pen.rgb;
            n += ops[i].kind == Op::kLine && pen == GetViewPen(which).rgb;
        }
        seen_ = ops.size();
        return n;
    }
    RecordingCanvas cv_;
    std::size_t seen_ = 0;
};

TEST_F(ReplayTest, LoadingNeedsBothPercentLines) {
    V list{"old"};
    EXPECT_EQ(LoadProgram(list, WriteFile("a.cnc", "\n  \t\n%\nG00 X1.\n\n  G01 X2.  \n%\nM30\n")),
              1);
    EXPECT_EQ(list, (V{"G00 X1.", "G01 X2."}));
    // Not opened: the path is the caption.
    std::string missing = ScratchDir() + "/none.cnc";
    EXPECT_EQ(LoadProgram(list, missing), 0);
    EXPECT_EQ(Messages(), V{"[" + missing + "] File not found"});
    // The first non-blank line must be a "%", even before valid G-code.
    EXPECT_EQ(LoadProgram(list, WriteFile("b.cnc", "G00 X1.\n%\nG01 X2.\n%\n")), 0);
    // Without the closing "%" the program is not loaded either.
    EXPECT_EQ(LoadProgram(list, WriteFile("c.cnc", "%\nG00 X1\nG01 X2\n")), 0);
    EXPECT_EQ(LoadProgram(list, WriteFile("d.cnc", "")), 0);
    // Long lines are cut; "%" with more text still counts.
    std::string longer(300, 'X');
    EXPECT_EQ(LoadProgram(list, WriteFile("e.cnc", "%O1\n" + longer + "\n%end\n")), 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].size(), 254u);
    EXPECT_TRUE(Messages().empty());
    // Lines ended by a CR alone or by CR LF read as the same lines.
    for (const char* end : {"\r", "\r\n"}) {
        std::string e = end;
        EXPECT_EQ(LoadProgram(list, WriteFile("f.cnc", "%" + e + "G00 X1." + e + e + "G01 X2." + e +
                                                           "%" + e)),
                  1);
        EXPECT_EQ(list, (V{"G00 X1.", "G01 X2."}));
    }
    // A pipe or a folder is no program (and reading a pipe would wait for ever).
    std::string fifo = ScratchDir() + "/pipe.cnc";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(LoadProgram(list, fifo), 0);
    EXPECT_EQ(LoadProgram(list, ScratchDir()), 0);
    EXPECT_EQ(Messages(),
              (V{"[" + fifo + "] File not found", "[" + ScratchDir() + "] File not found"}));
}

TEST_F(ReplayTest, LinesArcsCirclesAndRapids) {
    EXPECT_EQ(Exec("M30"), -1);
    EXPECT_EQ(Exec("G01 X10. Y0. F100."), -1); // no tool yet: nothing drawn
    EXPECT_EQ(Drawn(ViewPen::kFeed), 0);
    EXPECT_EQ(Exec("T1 M06"), 1);
    EXPECT_EQ(Exec("(a comment)"), 1); // keeps the result
    EXPECT_EQ(Exec(""), 1);
    EXPECT_EQ(Exec("G00 X0. Y0. Z5."), 1);
    EXPECT_EQ(Drawn(ViewPen::kRapid), 1);
    EXPECT_EQ(Exec("G01 Z-1."), 1);
    EXPECT_EQ(Exec("G01 X20."), 1);
    EXPECT_EQ(Drawn(ViewPen::kFeed), 2);
    EXPECT_EQ(Exec("G01 X20."), 1); // no move
    EXPECT_EQ(Drawn(ViewPen::kFeed), 0);
    EXPECT_EQ(Exec("G02 X30. Y-10. R10."), 1); // a clockwise quarter
    EXPECT_EQ(Drawn(ViewPen::kFeed), 16);
    EXPECT_EQ(Exec("G03 X30. Y10. I0. J10."), 1); // a half circle
    EXPECT_EQ(Drawn(ViewPen::kFeed), 31);
    EXPECT_EQ(Exec("G02 X30. Y10. I0. J-5."), 1); // a full circle: 60 chords, stays
    EXPECT_EQ(Drawn(ViewPen::kFeed), 60);
    EXPECT_DOUBLE_EQ(GcodeReaderModal().x, 30);
    EXPECT_DOUBLE_EQ(GcodeReaderModal().y, 10);
    EXPECT_EQ(Exec("G01 X40. T100"), -2); // rejected: no tool 100, no move
    EXPECT_EQ(Drawn(ViewPen::kFeed), 0);
    EXPECT_EQ(Exec("(after the fault)"), 1); // the stored result is the last good one
    EXPECT_EQ(Exec("M00"), -99);
    EXPECT_EQ(Exec("M30"), -1);
    EXPECT_EQ(Exec("G01 X0."), -1); // after the end nothing is drawn
    EXPECT_EQ(Drawn(ViewPen::kFeed), 0);
}

TEST_F(ReplayTest, HelixIsDrawnFlatAtItsStart) {
    SetViewMode(kViewFront); // rows show Z
    Exec("M30");
    Exec("T1 M06");
    Exec("G00 X10. Y0. Z-2.");
    cv_ = RecordingCanvas();
    Exec("G03 X-10. Y0. Z-4. R10.");
    ASSERT_FALSE(cv_.ops().empty());
    double row = -1;
    for (const Op& op : cv_.ops()) {
        if (op.kind == Op::kPen)
            continue;
        if (row < 0)
            row = op.y;
        EXPECT_EQ(op.y, row);
    }
    EXPECT_EQ(row, 700 - pixel(GetView().oy - 2 + GetCoordinates().wz_z));
}

TEST_F(ReplayTest, FastAndSlowArithmetic) {
    EXPECT_EQ(FastDelay(10), 9);
    EXPECT_EQ(SlowDelay(10), 11);
    EXPECT_EQ(FastDelay(100), 90);
    EXPECT_EQ(SlowDelay(100), 110);
    EXPECT_EQ(FastDelay(1), 1);
    EXPECT_EQ(FastDelay(2), 1);
    EXPECT_EQ(FastDelay(11), 9);
    EXPECT_EQ(SlowDelay(9), 10);
    EXPECT_EQ(SlowDelay(1), 2);
    // The setting's range holds: slowing down ends at 9999 ms.
    EXPECT_EQ(SlowDelay(9500), 9999);
    EXPECT_EQ(SlowDelay(9999), 9999);
    Replay r;
    MutableSettings().delay = 100;
    r.Fast();
    EXPECT_EQ(r.Delay(), 90);
    r.Slow();
    EXPECT_EQ(r.Delay(), 99);
}

TEST_F(ReplayTest, RunStopsAtM00AndEndsAtM30) {
    std::string path =
        WriteFile("p.cnc", "%\nO0001\nG21 G90\nT1 M06\nG00 X0. Y0. Z5.\nG01 Z-1. F100.\n"
                           "G01 X20.\nM00\nG01 Y20.\nT2 M06\nG00 Z5.\nM30\n%\n");
    Replay r;
    ASSERT_TRUE(r.Open(path, cv_));
    EXPECT_EQ(r.ToolText(), "No Tool");
    EXPECT_EQ(r.Lines().size(), 11u);
    r.Run(0);
    ASSERT_TRUE(r.Running());
    int steps = 0;
    while (r.Running() && steps < 100) {
        r.TimerStep(cv_);
        ++steps;
    }
    EXPECT_EQ(r.Current(), 7); // after the M00 line
    EXPECT_EQ(r.LastTool(), 1);
    EXPECT_EQ(r.ToolText(), "T1 M06");
    EXPECT_GT(Drawn(ViewPen::kFeed), 0);
    r.Run(r.Current());
    while (r.Running() && steps < 100) {
        r.TimerStep(cv_);
        ++steps;
    }
    EXPECT_EQ(r.Current(), 0); // the end puts the selection back on the first line
    EXPECT_EQ(r.LastTool(), -1);
    EXPECT_EQ(r.ToolText(), "");
}

TEST_F(ReplayTest, SingleStepsErrorsAndLoadErrors) {
    std::string path = WriteFile("q.cnc", "%\nT1 M06\nG01 X10. F100.\nM00\nT100 M06\nG01 X5.\n%\n");
    Replay r;
    ASSERT_TRUE(r.Open(path, cv_));
    r.Single(cv_, 0);
    EXPECT_EQ(r.Current(), 1);
    EXPECT_EQ(r.ToolText(), "T1 M06");
    r.Single(cv_, 1);
    r.Single(cv_, 2); // the stop line is stepped over
    EXPECT_EQ(r.Current(), 3);
    r.Single(cv_, 3); // rejected: stays
    EXPECT_EQ(r.ToolText(), "Error");
    EXPECT_EQ(r.Current(), 3);
    r.Run(3);
    r.TimerStep(cv_);
    EXPECT_FALSE(r.Running());
    EXPECT_EQ(r.Current(), 3);
    // A program without M30 ends after its last line.
    r.Run(4);
    r.TimerStep(cv_);
    EXPECT_FALSE(r.Running());
    EXPECT_EQ(r.Current(), 0);
    r.Reset(cv_);
    EXPECT_EQ(r.ToolText(), "");
    EXPECT_EQ(r.LastTool(), -1);
    Replay bad;
    EXPECT_FALSE(bad.Open(WriteFile("bad.cnc", "G00 X1.\n"), cv_));
    EXPECT_EQ(bad.ToolText(), "Load Error");
    bad.Run(0);
    EXPECT_FALSE(bad.Running());
}

} // namespace
} // namespace korvel
