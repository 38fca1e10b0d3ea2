// Threads: the tapping cycles and the helical orbits of the reference plates checked from the
// programs' own moves, the choice between tap and thread mill, the radial passes, and the
// refusals that only a direct call can reach.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "cam/code_buffer.h"
#include "cam/gen_thread.h"
#include "cam/machining_data.h"
#include "cam/program_frame.h"
#include "cam_support.h"
#include "model/atttool.h"
#include "model/project_state.h"
#include "model/registry.h"
#include "model/thread.h"
#include "model/thread_type.h"
#include "support_rs274.h"
#include "support_verify.h"
#include "tooldb/database.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

// The words of a program line outside its comments: each letter with its number; the G codes
// of the line in order.
struct Words {
    std::map<char, double> value;
    std::vector<int> g;
    bool Has(char letter) const { return value.count(letter) != 0; }
    double operator[](char letter) const { return value.at(letter); }
};

Words Read(const std::string& line) {
    Words w;
    int depth = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        if (depth > 0 || c == ')' || !std::isalpha(static_cast<unsigned char>(c)))
            continue;
        std::size_t used = 0;
        double number = std::stod(line.substr(i + 1), &used);
        if (c == 'G')
            w.g.push_back(static_cast<int>(std::lround(number * 10)));
        w.value[c] = number;
        i += used;
    }
    return w;
}

std::vector<std::string> Lines(const std::string& program) {
    std::vector<std::string> lines;
    std::istringstream in(program);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ThreadTest : public test::CamTest {
protected:
    std::string CompileCase(const std::string& name) {
        std::string dir = std::string(KORVEL_SOURCE_DIR) + "/tests/cam/" + name;
        if (std::ifstream(dir + "/korvel.cfg"))
            StartWithConfig(test::Slurp(dir + "/korvel.cfg"));
        EXPECT_EQ(Open(dir + "/input.kvp"), 1);
        SetCompiled(false); // the case before is no program of this project
        int result = 0;
        std::string program = Compile(&result);
        EXPECT_EQ(result, 1) << Messages().back();
        return program;
    }
    int OpenWith(const std::string& body) {
        return OpenText("VER 2.05\nPROJECTUNIT MM\nCOMMENTS ON\nLABELING OFF\nCENTERDRILLING OFF\n"
                        "USE G81 ON\nCOORDINATES G54 -450 -250 -300\nBLOCK 1 100 80 30 0 0 -30 0 0 "
                        "-1\nMATERIAL ST37-2\n"
                        "TOPFACE 0 0\n" +
                        body + "ENDOFFILE\n");
    }
    // Compiles the project as it stands, whatever was compiled before.
    std::string Make() {
        SetCompiled(false);
        return Compile();
    }
    static int SlotOf(int id) {
        for (int i = 0; i < kMaxThreads; ++i)
            if (GetThreadId(i) == id)
                return i;
        return -1;
    }
    // The thread record of an object ID.
    static Thread ThreadOf(int id) {
        Thread t;
        GetThread(t, SlotOf(id));
        return t;
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos;
             at = text.find(what, at + 1))
            ++n;
        return n;
    }
};

// ---- Tapping: the spindle turns the tap's way and the feed keeps step with it --------------

// Every G84/G74 of a program: checks that the spindle turns the way the cycle needs and that
// F / S is the pitch of the tap in the spindle. Returns the number of cycles.
int CheckTappingCycles(const std::string& program) {
    int tool = 0, spindle = 5, speed = 0, cycles = 0;
    for (const std::string& line : Lines(program)) {
        Words w = Read(line);
        if (w.Has('T'))
            tool = static_cast<int>(w['T']);
        if (w.Has('S'))
            speed = static_cast<int>(w['S']);
        if (w.Has('M') && (w['M'] == 3 || w['M'] == 4 || w['M'] == 5))
            spindle = static_cast<int>(w['M']);
        for (int g : w.g) {
            if (g != 840 && g != 740)
                continue;
            ++cycles;
            SCOPED_TRACE(line);
            EXPECT_EQ(spindle, g == 840 ? 3 : 4);
            AttachedToolData tap;
            EXPECT_EQ(GetAttToolDataExt(tool, tap), kTap);
            EXPECT_EQ(tap.pitch > 0, g == 840);
            // The written feed has three (millimetres) or four (inches) decimals.
            EXPECT_NEAR(w['F'] / speed, std::fabs(tap.pitch), 0.0006 / speed);
        }
    }
    return cycles;
}

TEST_F(ThreadTest, EveryTappingCycleRunsOnATurningSpindleAtItsTapsPitch) {
    for (const auto& [name, cycles] :
         std::vector<std::pair<std::string, int>>{{"thread-tapped", 5},
                                                  {"thread-milled", 1},
                                                  {"thread-inch", 3},
                                                  {"predrill-thread", 2}}) {
        SCOPED_TRACE(name);
        std::string program = CompileCase(name);
        EXPECT_EQ(CheckTappingCycles(program), cycles);
        test::ExpectMachineAccepts(program, name);
    }
}

TEST_F(ThreadTest, TheTappingFeedIsSpeedTimesPitchWhateverTheDataHold) {
    // A tap whose cutting data hold a feed that does not match its speed (entered with the
    // database file, not the dialog) and a thread with its own tapping speed.
    ASSERT_EQ(OpenWith("DEFTOOL TAP_M6_ODD 3 6 0 26 3 1 Tap\n"
                       "DEFTOOLMAT TAP_M6_ODD 11 500 0 0 900 0 0\n"
                       "ATTTOOL 1 DRILL_5 0 0 0\nATTTOOL 2 TAP_M6_ODD 0 0 0\n"
                       "THREAD 2 1 6 1 10 20 20 0 0 0\nTHREAD 3 1 6 1 10 60 20 0 0 0\n"
                       "MPARAM_TC 3 250 0 0 0 0\n"),
              1);
    std::string program = Make();
    EXPECT_NE(program.find("S500 M03  \nG84 R5.  Z-10.  F500.   \n"), std::string::npos) << program;
    EXPECT_NE(program.find("S250 M03  \nG84 R5.  Z-10.  F250.   \n"), std::string::npos) << program;
    EXPECT_EQ(CheckTappingCycles(program), 2);
}

// ---- Thread milling: the orbits stay inside the thread and reach its depth -----------------

struct Point3 {
    double x = 0, y = 0, z = 0;
};

// The points of an arc from `from` to `to` (end inclusive) in small steps.
std::vector<Point3> ArcPoints(const Point3& from, const Words& w, bool clockwise) {
    Point3 to{w.Has('X') ? w['X'] : from.x, w.Has('Y') ? w['Y'] : from.y,
              w.Has('Z') ? w['Z'] : from.z};
    double cx = 0, cy = 0;
    if (w.Has('R')) {
        // The centre on the side of the chord that a radius word with this sign selects.
        double mx = (from.x + to.x) / 2, my = (from.y + to.y) / 2;
        double dx = to.x - from.x, dy = to.y - from.y, chord = std::hypot(dx, dy);
        double r = std::fabs(w['R']);
        double off = r > chord / 2 ? std::sqrt(r * r - chord * chord / 4) : 0;
        double side = (clockwise ? 1 : -1) * (w['R'] < 0 ? -1 : 1);
        cx = mx + side * off * dy / chord;
        cy = my - side * off * dx / chord;
    } else {
        cx = from.x + (w.Has('I') ? w['I'] : 0);
        cy = from.y + (w.Has('J') ? w['J'] : 0);
    }
    double a0 = std::atan2(from.y - cy, from.x - cx), a1 = std::atan2(to.y - cy, to.x - cx);
    double sweep = a1 - a0;
    if (clockwise) {
        while (sweep >= -1e-9)
            sweep -= 2 * M_PI;
        if (std::hypot(to.x - from.x, to.y - from.y) > 1e-6 && sweep < -2 * M_PI + 1e-9)
            sweep += 2 * M_PI;
    } else {
        while (sweep <= 1e-9)
            sweep += 2 * M_PI;
        if (std::hypot(to.x - from.x, to.y - from.y) > 1e-6 && sweep > 2 * M_PI - 1e-9)
            sweep -= 2 * M_PI;
    }
    double r = std::hypot(from.x - cx, from.y - cy);
    std::vector<Point3> points;
    for (int k = 1; k <= 64; ++k) {
        double a = a0 + sweep * k / 64;
        points.push_back(
            {cx + r * std::cos(a), cy + r * std::sin(a), from.z + (to.z - from.z) * k / 64});
    }
    return points;
}

// What the cutting moves of one thread's block of code do.
struct ThreadMoves {
    int tool = 0;
    int orbits = 0;         // full circles
    double widest = 0;      // largest distance of the tool centre from the thread centre
    double lowest = 1e9;    // lowest Z reached
    bool clockwise = false; // the direction of the arcs (all the same)
    bool counter = false;
};

// Follows the program and collects, per "(THREAD ID n)" block of a thread mill, its moves.
std::map<int, ThreadMoves> MilledThreads(const std::string& program) {
    std::map<int, ThreadMoves> found;
    int tool = 0, current = -1;
    Point3 at;
    for (const std::string& line : Lines(program)) {
        int id = 0;
        if (std::sscanf(line.c_str(), "(THREAD ID %d)", &id) == 1) {
            AttachedToolData t;
            current = GetAttToolDataExt(tool, t) == kThreadMill ? id : -1;
            if (current > 0)
                found[current].tool = tool;
            continue;
        }
        Words w = Read(line);
        if (w.Has('T'))
            tool = static_cast<int>(w['T']);
        int motion = w.g.empty() ? -1 : w.g.back();
        if (motion == 280 || (line.rfind("(", 0) == 0 && line.find("THREAD") == std::string::npos))
            current = -1;
        std::vector<Point3> path;
        Point3 to{w.Has('X') ? w['X'] : at.x, w.Has('Y') ? w['Y'] : at.y,
                  w.Has('Z') ? w['Z'] : at.z};
        if (motion == 20 || motion == 30)
            path = ArcPoints(at, w, motion == 20);
        else if (motion == 0 || motion == 10)
            path = {to};
        if (current > 0 && !path.empty()) {
            ThreadMoves& m = found[current];
            Thread t;
            for (int i = 0; i < kMaxThreads; ++i)
                if (GetThreadId(i) == current)
                    GetThread(t, i);
            // Moves above the thread's surface (to the hole and away) cut nothing.
            for (const Point3& p : path) {
                if (p.z > t.z + 1e-9)
                    continue;
                m.widest = std::max(m.widest, std::hypot(p.x - t.x, p.y - t.y));
                m.lowest = std::min(m.lowest, p.z);
            }
            if (motion == 20 || motion == 30) {
                (motion == 20 ? m.clockwise : m.counter) = true;
                if (std::fabs(to.x - at.x) < 1e-9 && std::fabs(to.y - at.y) < 1e-9)
                    ++m.orbits;
            }
        }
        at = to;
    }
    return found;
}

TEST_F(ThreadTest, HelicalPassesReachTheThreadDepthAndStayWithinTheThread) {
    for (const auto& [name, milled] : std::vector<std::pair<std::string, V>>{
             {"thread-milled", {"2", "4", "5", "6"}}, {"thread-inch", {"5", "6"}}}) {
        SCOPED_TRACE(name);
        std::string program = CompileCase(name);
        std::map<int, ThreadMoves> moves = MilledThreads(program);
        ASSERT_EQ(moves.size(), milled.size());
        // The written numbers have three (millimetres) or four (inches) decimals.
        const double tol = name == "thread-inch" ? 0.0002 : 0.002;
        for (const auto& [id, m] : moves) {
            SCOPED_TRACE("thread " + std::to_string(id));
            Thread t = ThreadOf(id);
            int row = ThreadTypeIndex(t.dia, t.pitch);
            ASSERT_GE(row, 0);
            AttachedToolData mill;
            ASSERT_EQ(GetAttToolDataExt(m.tool, mill), kThreadMill);
            // Core hole radius plus the thread depth: the nominal radius.
            double core = ThreadDrill(row) / 2, depth = (ThreadMillDia(row) - ThreadDrill(row)) / 2;
            EXPECT_LE(m.widest + mill.dia / 2, core + depth + tol);
            EXPECT_GE(m.widest + mill.dia / 2, core + depth - tol); // the last pass cuts it all
            EXPECT_NEAR(m.lowest, t.z - t.wz, tol);
            EXPECT_GE(m.orbits, 1);
            // Right-hand threads clockwise, left-hand ones counter-clockwise, never both.
            EXPECT_EQ(m.clockwise, t.pitch > 0);
            EXPECT_EQ(m.counter, t.pitch < 0);
        }
        EXPECT_EQ(moves.at(6).orbits, name == "thread-milled" ? 3 : 1);
    }
}

TEST_F(ThreadTest, RadialPassesDivideTheThreadDepthEvenly) {
    // An M13x1.5 of a core of 11.8: a thread depth of 0.6 at 0.25 a pass gives three passes of
    // 0.2, the orbits (13 - 8) / 2 - 0.4, - 0.2 and - 0.
    ASSERT_EQ(OpenWith("THREADTYPE M13X1.5 13 1.5 11.8\nTHREADING THREADMILL\n"
                       "DEFTOOL DRILL_11.8 2 11.8 0 130 2 0\n"
                       "DEFTOOLMAT DRILL_11.8 11 809 0 0 130 0 0\n"
                       "ATTTOOL 1 DRILL_11.8 0 0 0\nATTTOOL 2 THREAD_MILL_D8_P1.5 0 0 0\n"
                       "THREAD 2 1 13 1.5 12 50 40 0 0 0\nMPARAM_TM 2 4000 480 0.25 0 0\n"),
              1);
    std::string program = Make();
    EXPECT_EQ(Count(program, "G01 Z-9.  F480."), 3) << program;
    EXPECT_NE(program.find("G02 X47.9  Y40.  I2.1  J0.  Z-11.25 "), std::string::npos);
    EXPECT_NE(program.find("G02 X47.7  Y40.  I2.3  J0.  Z-11.25 "), std::string::npos);
    EXPECT_NE(program.find("G02 X47.5  Y40.  I2.5  J0.  Z-11.25 "), std::string::npos);
    EXPECT_LT(program.find("I2.1 "), program.find("I2.5 "));
    test::ExpectMachineAccepts(program);
    EXPECT_TRUE(test::VerifiesClean(program));
}

TEST_F(ThreadTest, ACoreHoleWiderThanTheTablesLeavesTheInnerOrbitsOut) {
    // The same M13x1.5 with a 12.5 mm core drill preselected and a 12.3 mm mill: the orbits
    // would be 0.75 - 0.4, - 0.2 and - 0 wide, and the first, below no radius, is left out.
    ASSERT_EQ(OpenWith("THREADTYPE M13X1.5 13 1.5 11.8\nTHREADING THREADMILL\n"
                       "DEFTOOL DRILL_12.5 2 12.5 0 135 2 0\n"
                       "DEFTOOLMAT DRILL_12.5 11 764 0 0 130 0 0\n"
                       "DEFTOOL THREAD_MILL_D12.3 4 12.3 12.4 20 4 1.5\n"
                       "DEFTOOLMAT THREAD_MILL_D12.3 11 2600 400 0.25 0 0 0\n"
                       "ATTTOOL 1 DRILL_12.5 0 0 0\nATTTOOL 2 THREAD_MILL_D12.3 0 0 0\n"
                       "THREAD 2 1 13 1.5 12 50 40 0 0 1\n"),
              1);
    std::string program = Make();
    EXPECT_EQ(Count(program, "G01 Z-9.  F400."), 2) << program;
    EXPECT_NE(program.find(" I0.15  J0. "), std::string::npos);
    EXPECT_NE(program.find(" I0.35  J0. "), std::string::npos);
    test::ExpectMachineAccepts(program);
    EXPECT_TRUE(test::VerifiesClean(program));
}

// ---- Tap or thread mill ----------------------------------------------------------------------

const char* const kTapAndMill = "ATTTOOL 1 DRILL_8.5 0 0 0\nATTTOOL 2 TAP_M10 0 0 0\n"
                                "ATTTOOL 3 THREAD_MILL_D8_P1.5 0 0 0\n"
                                "THREAD 2 1 10 1.5 15 50 40 0 0 0\n";

TEST_F(ThreadTest, ThreadingSaysWhichToolIsTriedFirst) {
    ASSERT_EQ(OpenWith(std::string("THREADING TAP\n") + kTapAndMill), 1);
    std::string program = Make();
    EXPECT_EQ(Count(program, "G84 "), 1);
    EXPECT_EQ(Count(program, "G02 "), 0);
    ASSERT_EQ(OpenWith(std::string("THREADING THREADMILL\n") + kTapAndMill), 1);
    program = Make();
    EXPECT_EQ(Count(program, "G84 "), 0);
    EXPECT_EQ(Count(program, "G02 "), 3);
    // Without a thread mill the thread is tapped all the same, and without a tap milled.
    ASSERT_EQ(OpenWith("THREADING THREADMILL\nATTTOOL 1 DRILL_8.5 0 0 0\n"
                       "ATTTOOL 2 TAP_M10 0 0 0\nTHREAD 2 1 10 1.5 15 50 40 0 0 0\n"),
              1);
    EXPECT_EQ(Count(Make(), "G84 "), 1);
    ASSERT_EQ(OpenWith("THREADING TAP\nATTTOOL 1 DRILL_8.5 0 0 0\n"
                       "ATTTOOL 3 THREAD_MILL_D8_P1.5 0 0 0\nTHREAD 2 1 10 1.5 15 50 40 0 0 0\n"),
              1);
    EXPECT_EQ(Count(Make(), "G02 "), 3);
}

TEST_F(ThreadTest, APreselectedToolWinsOverTheThreadingSetting) {
    ASSERT_EQ(OpenWith(std::string("THREADING TAP\n") + kTapAndMill +
                       "THREAD 3 1 10 1.5 15 20 40 0 3 0\n"),
              1);
    std::string program = Make();
    EXPECT_EQ(Count(program, "G84 "), 1);
    EXPECT_EQ(Count(program, "G02 "), 3);
    // The tap (T2) before the thread mill (T3), by place.
    EXPECT_LT(program.find("G84 "), program.find("G02 "));
}

TEST_F(ThreadTest, FlangePlateThreadsAreTapped) {
    ASSERT_EQ(Open(std::string(KORVEL_SOURCE_DIR) + "/examples/flange-plate.kvp"), 1);
    int result = 0;
    std::string program = Compile(&result);
    ASSERT_EQ(result, 1) << Messages().back();
    EXPECT_EQ(CheckTappingCycles(program), 4);
    for (int id = 6; id <= 9; ++id)
        EXPECT_NE(program.find("(THREAD ID " + std::to_string(id) + ")"), std::string::npos);
    test::ExpectMachineAccepts(program, "flange-plate.kvp");
}

// ---- Refusals that no project reaches through Make ------------------------------------------

class ThreadCallTest : public ThreadTest {
protected:
    void SetUp() override {
        ThreadTest::SetUp();
        ASSERT_EQ(OpenWith("ATTTOOL 1 DRILL_8.5 0 0 0\nATTTOOL 2 TAP_M10 0 0 0\n"
                           "ATTTOOL 3 THREAD_MILL_D8_P1.5 0 0 0\nATTTOOL 4 TAP_M8 0 0 0\n"
                           "THREAD 2 1 10 -1.5 15 50 40 0 0 0\n"
                           "THREAD 3 1 10 1.5 15 20 40 0 0 0\n"
                           "THREAD 4 1 7.3 1 10 80 40 0 0 0\n"),
                  1);
        InitCodeBuffers();
        NoTool();
        Messages();
    }
    void TearDown() override {
        CloseCodeBuffers();
        ThreadTest::TearDown();
    }
    // Gives a thread a pre-drill diameter and an assigned tool, as a run would.
    static int Prepare(int id, double predrill, int tool) {
        int slot = SlotOf(id);
        Thread t;
        GetThread(t, slot);
        t.predrill_dia = predrill;
        t.assigned_tool = tool;
        PutThread(t, slot);
        return slot;
    }
};

TEST_F(ThreadCallTest, ATapOfTheOtherHandOrPitchIsRefused) {
    EXPECT_EQ(GTapThisThread(Prepare(2, 8.5, 2)), 0);
    EXPECT_EQ(Messages(), V{"[Tool/thread left/right missmatch] Thread ID 2"});
    EXPECT_EQ(GTapThisThread(Prepare(3, 8.5, 4)), 0);
    EXPECT_EQ(Messages(), V{"[Tool Error] Tool pitch does not match thread pitch. Thread ID 3"});
    EXPECT_EQ(CodeBufferCount(), 0); // refused before any code
}

TEST_F(ThreadCallTest, AThreadWithoutPreDrillOrOfNoKnownTypeIsRefused) {
    EXPECT_EQ(AssignToolToThread(SlotOf(3)), 0);
    EXPECT_EQ(Messages(), V{"[FATAL] Predrilling diameter 0"});
    EXPECT_EQ(GMillThisThread(Prepare(4, 6.2, 3)), 0);
    EXPECT_EQ(Messages(), V{"[Unknown thread type!] Thread ID 4"});
}

TEST_F(ThreadCallTest, ToolsAndSlotsThatCannotBeGiveInternalErrors) {
    const V no_thread{"[Internal error] Error code 32"}, no_tool{"[Internal error] Error code 33"};
    for (int index : {-1, kMaxThreads, 100}) {
        EXPECT_EQ(GThisThread(index), 0);
        EXPECT_EQ(Messages(), no_thread);
        EXPECT_EQ(GTapThisThread(index), 0);
        EXPECT_EQ(Messages(), no_thread);
        EXPECT_EQ(GMillThisThread(index), 0);
        EXPECT_EQ(Messages(), no_thread);
        EXPECT_EQ(AssignToolToThread(index), 0);
        EXPECT_EQ(Messages(), no_thread);
    }
    // No tool, a drill, and a tool of the other kind than the cycle needs.
    for (int tool : {-1, 1, 50}) {
        EXPECT_EQ(GThisThread(Prepare(3, 8.5, tool)), 0);
        EXPECT_EQ(Messages(), no_tool);
    }
    EXPECT_EQ(GTapThisThread(Prepare(3, 8.5, 3)), 0);
    EXPECT_EQ(Messages(), no_tool);
    EXPECT_EQ(GMillThisThread(Prepare(3, 8.5, 2)), 0);
    EXPECT_EQ(Messages(), no_tool);
}

TEST_F(ThreadCallTest, OneThreadIsDispatchedByItsToolAndDeclaredProcessed) {
    DeclareAllObjectsNotReady();
    EXPECT_EQ(GThisThread(Prepare(3, 8.5, 3)), 1);
    DeclareProcessedObjectsReady();
    EXPECT_EQ(ObjectIsReady(3), 1);
    EXPECT_EQ(ObjectIsReady(2), 0);
    const std::vector<std::string>& lines = CodeLines(CodeBufferCount() - 1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "G00 Z25.0000");
    EXPECT_EQ(Messages(), V{});
}

} // namespace
} // namespace korvel
