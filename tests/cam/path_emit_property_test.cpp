// Emitted paths read back: for random contour and pocket paths with fixed seeds, the program as
// written (numbers normalised) traces the path's points through the G-code line reader, every
// arc ends on its circle as a control computes it, cuts run at the cutting height and rapids
// at the safe height, and LinuxCNC's interpreter reads the whole program.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>

#include "base/units.h"
#include "cam/code_buffer.h"
#include "cam/path_emit.h"
#include "cam/program_frame.h"
#include "geometry/gcode_reader.h"
#include "geometry/primitives.h"
#include "geometry/tolerance.h"
#include "model/settings.h"
#include "paths/contour_path.h"
#include "paths/path_checks.h"
#include "paths/path_table.h"
#include "paths/pocket_path.h"
#include "support.h"
#include "support_rs274.h"

namespace korvel {
namespace {

using test::Rng;
using test::Vertex;

constexpr int kCases = 60;
constexpr double kZ = -5;
constexpr double kSafe = 25; // block top 0 plus the corridor

// What the read-back measured over all paths.
struct Findings {
    int paths = 0, arcs = 0;
    double worst_point = 0;     // traced point against the path's point
    double worst_end = 0;       // written arc end off its written circle (I/J)
    double worst_arc_shape = 0; // the middle of a traced arc off the path's element
};

// The words of one written line that the reader does not report.
struct ArcWords {
    double i = 0, j = 0, r = 0;
    bool ij = false, r_given = false;
};

ArcWords WordsOf(const std::string& line) {
    ArcWords w;
    std::optional<std::string_view> rest = std::string_view(line);
    int letter;
    double value;
    while (rest && (rest = gcom(*rest, letter, value))) {
        if (letter == 'I' || letter == 'J') {
            (letter == 'I' ? w.i : w.j) = value;
            w.ij = true;
        } else if (letter == 'R') {
            w.r = value;
            w.r_given = true;
        }
    }
    return w;
}

// The point halfway along an arc about a known centre.
Point ArcMiddle(Point s, Point e, Point c, int kind) {
    double a1 = std::atan2(s.y - c.y, s.x - c.x), a2 = std::atan2(e.y - c.y, e.x - c.x);
    double sweep = kind == kCcwArc ? a2 - a1 : a1 - a2;
    while (sweep <= 0)
        sweep += 2 * kPi;
    double mid = a1 + (kind == kCcwArc ? sweep : -sweep) / 2;
    double r = distance(s.x, s.y, c.x, c.y);
    return Point{c.x + r * std::cos(mid), c.y + r * std::sin(mid)};
}

// Follows the written program with the line reader and matches it against the path.
void CheckTrace(const std::string& program, const PathRef& path, double tol, Findings& f,
                const std::string& what) {
    // The path's points as they are cut, equal neighbours dropped.
    std::vector<int> wanted = {0};
    for (int i = 1; i < path.size(); ++i)
        if (!(equal(path[i].x, path[i - 1].x) && equal(path[i].y, path[i - 1].y)))
            wanted.push_back(i);
    GcodeReader reader;
    std::istringstream lines(program);
    std::string line;
    std::size_t next = 0; // the next wanted point
    Point at{0, 0};
    int failures = 0;
    while (std::getline(lines, line) && failures < 3) {
        double x, y, z, r, feed;
        int motion;
        int result = reader.gline_3D(line, x, y, z, r, feed, motion);
        ASSERT_NE(result, kGcodeRejected) << what << ": " << line;
        if (motion == kGcodeNoMove || (x == at.x && y == at.y))
            continue;
        Point from = at;
        at = Point{x, y};
        EXPECT_TRUE(motion == kRapid ? z == kSafe : std::fabs(z - kZ) < 1e-9) << what << line;
        // Points that the rounding of the program brought onto the tool's position.
        while (next < wanted.size() && next > 0 &&
               distance(from.x, from.y, path[wanted[next]].x, path[wanted[next]].y) <= tol &&
               distance(x, y, path[wanted[next]].x, path[wanted[next]].y) > tol)
            ++next;
        ASSERT_LT(next, wanted.size()) << what << ": a move past the path's end: " << line;
        const PathPoint& target = path[wanted[next]];
        double off = distance(x, y, target.x, target.y);
        bool arc = motion == kCcwArc || motion == kCwArc;
        if (!arc) {
            // Moves stay moves; an arc becomes a line only when its chord is tiny.
            const PathPoint& before = path[wanted[next] - (next > 0 ? 1 : 0)];
            bool tiny = distance(before.x, before.y, target.x, target.y) <= kArcTooSmallChord;
            EXPECT_TRUE(next == 0 || motion == (target.kind == kRapid ? kRapid : kLine))
                << what << ": " << line;
            EXPECT_TRUE(next == 0 || target.kind == kRapid || target.kind == kLine || tiny)
                << what << ": " << line;
            f.worst_point = std::fmax(f.worst_point, off);
            if (off > tol && ++failures)
                ADD_FAILURE() << what << ": " << line << " misses point " << wanted[next];
            ++next;
            continue;
        }
        ++f.arcs;
        ArcWords w = WordsOf(line);
        Point c;
        if (w.ij) {
            c = Point{from.x + w.i, from.y + w.j};
            double miss = std::fabs(std::hypot(w.i, w.j) - distance(c.x, c.y, x, y));
            f.worst_end = std::fmax(f.worst_end, miss);
            EXPECT_LE(miss, kArcEndTolerance * (UserUnit() == kUnitInch ? 1 / 25.4 : 1))
                << what << ": " << line;
        } else {
            ASSERT_TRUE(w.r_given) << line;
            EXPECT_GE(2 * std::fabs(w.r), distance(from.x, from.y, x, y)) << what << line;
            ASSERT_EQ(ArcCenter(from.x, from.y, x, y, w.r, motion, c.x, c.y), 1) << line;
        }
        EXPECT_EQ(motion, target.kind) << what << ": " << line;
        Element e = ElementBetween(path[wanted[next] - 1], target);
        Point mid = ArcMiddle(from, at, c, motion);
        f.worst_arc_shape = std::fmax(f.worst_arc_shape, test::DistanceTo(e, mid.x, mid.y));
        // A piece of an arc (radius words split arcs near half a turn) ends on the arc.
        if (off > tol) {
            double on = test::DistanceTo(e, x, y);
            if (on > tol && ++failures)
                ADD_FAILURE() << what << ": " << line << " leaves the arc to " << wanted[next];
            continue;
        }
        f.worst_point = std::fmax(f.worst_point, off);
        ++next;
    }
    EXPECT_EQ(next, wanted.size()) << what << ": not every point was reached";
    ++f.paths;
}

class EmitProperty : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        TypeAll({"BLOCK 1 400 300 40 0 0 -40 0 0 -1", "CORRIDOR 25", "RPLANE 2"});
    }
    void TearDown() override {
        CloseCodeBuffers();
        KorvelTest::TearDown();
    }

    // Object 2 as a random star-shaped outline with arcs, as a bulge or a pocket.
    void RandomOutline(Rng& rng, bool pocket) {
        if (IndexOf(2) >= 0)
            Type("DELETE 2");
        Vertex closing;
        double cx = rng.Uniform(150, 250), cy = rng.Uniform(120, 180);
        auto v = test::RandomStar(rng, cx, cy, rng.Uniform(20, 90), rng.Int(3, 14), true, closing);
        TypeAll(test::FreeContour(pocket ? "POCKET" : "BULGE", 2, 1, v, closing));
    }

    // Emits the paths in `paths` once in each arc format into a program of its own, checks each
    // read back, and hands the programs to the interpreter.
    void EmitAndCheck(const std::vector<int>& paths, double tol, Findings& f, std::string* programs,
                      const std::string& what) {
        for (int format = 0; format < 2; ++format) {
            MutableSettings().use_r_in_g02_g03 = format;
            for (int p : paths) {
                InitCodeBuffers();
                int b = NewCodeBuffer(-1);
                ASSERT_EQ(GPath(p, b, kZ, 150, 60, 1), 1) << what;
                std::string written;
                ASSERT_EQ(WriteCode(&written, b), 1);
                CheckTrace(written, GetPath(p), tol, f,
                           what + Sprintf(" path %d, %s", p, format ? "R" : "IJ"));
                programs[format] += written;
            }
        }
        EXPECT_TRUE(Messages().empty()) << what;
    }

    // A whole program around the emitted lines, for the interpreter.
    static std::string Program(const std::string& body) {
        InitCodeBuffers();
        GStart();
        std::string out;
        WriteCode(&out, 0);
        out += body;
        InitCodeBuffers();
        GEnd();
        WriteCode(&out, 0);
        return out;
    }
};

TEST_F(EmitProperty, ContourAndPocketPathsTraceTheirPointsInMillimetres) {
    Rng rng(4301);
    Findings f;
    std::string programs[2];
    for (int n = 0; n < kCases; ++n) {
        bool pocket = n % 2 == 1;
        RandomOutline(rng, pocket);
        double d = rng.Uniform(0.5, 6);
        std::string what = Sprintf("case %d (%s, %g)", n, pocket ? "pocket" : "bulge", d);
        int built = pocket ? MakePocketPathsX(IndexOf(2), d, 0.8) : MakeBulgePath(1, IndexOf(2), d);
        Messages(); // a pocket too narrow for the tool, or a warning about a neck
        if (!built)
            continue;
        EmitAndCheck(pocket ? std::vector<int>{1, 2} : std::vector<int>{1}, 0.001, f, programs,
                     what);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GE(f.paths, kCases);
    EXPECT_GE(f.arcs, 4 * kCases);
    EXPECT_LE(f.worst_point, 0.001);
    // The offsets are chosen, not merely rounded: an end lies within about one written step
    // of its circle, where rounding the path's centre offsets leaves up to two. And a traced
    // arc keeps to the path's within a step or two (radius words included, since an arc near
    // half a turn goes as two halves).
    EXPECT_LE(f.worst_end, 0.0012);
    EXPECT_LE(f.worst_arc_shape, 0.003);
    RecordProperty("worst_point", Sprintf("%.6f", f.worst_point));
    RecordProperty("worst_end", Sprintf("%.6f", f.worst_end));
    RecordProperty("worst_arc_shape", Sprintf("%.6f", f.worst_arc_shape));
    test::ExpectMachineAccepts(Program(programs[0]), "the centre-offset programs");
    test::ExpectMachineAccepts(Program(programs[1]), "the radius-word programs");
}

TEST_F(EmitProperty, ContourPathsTraceTheirPointsInInches) {
    // Four decimals of an inch: a point is off by half a step, an arc's end by one step more
    // where it had to move onto its circle.
    SetUserUnit(kUnitInch);
    TypeAll({"BLOCK 1 16 12 2 0 0 -2 0 0 -1", "CORRIDOR 25"});
    Rng rng(4302);
    Findings f;
    std::string programs[2];
    for (int n = 0; n < kCases; ++n) {
        if (IndexOf(2) >= 0)
            Type("DELETE 2");
        Vertex closing;
        auto v = test::RandomStar(rng, rng.Uniform(6, 10), rng.Uniform(5, 7), rng.Uniform(1, 4),
                                  rng.Int(3, 14), true, closing);
        TypeAll(test::FreeContour("BULGE", 2, 1, v, closing));
        if (!MakeBulgePath(1, IndexOf(2), rng.Uniform(0.02, 0.25)))
            continue;
        EmitAndCheck({1}, 0.0002, f, programs, Sprintf("inch case %d", n));
        if (HasFatalFailure())
            return;
    }
    EXPECT_GE(f.paths, kCases);
    EXPECT_LE(f.worst_point, 0.0002);
    RecordProperty("worst_point", Sprintf("%.7f", f.worst_point));
    RecordProperty("worst_end", Sprintf("%.7f", f.worst_end));
    RecordProperty("worst_arc_shape", Sprintf("%.7f", f.worst_arc_shape));
    test::ExpectMachineAccepts(Program(programs[0]), "the centre-offset programs in inches");
    test::ExpectMachineAccepts(Program(programs[1]), "the radius-word programs in inches");
}

} // namespace
} // namespace korvel
