// Undo and redo through the commands users type, and a randomised round of edits undone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "base/text.h"
#include "base/undo_stack.h"
#include "model/bulge.h"
#include "model/drill.h"
#include "model/mparam.h"
#include "model/object_kind.h"
#include "model/object_ops.h"
#include "model/pocket.h"
#include "model/registry.h"
#include "model/settings.h"
#include "script/project.h"
#include "script/undo.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

// Every object's state as lines of words; shapes as their vertices, so that a rectangle that
// came back as the equal free contour compares equal.
V Snapshot() {
    ExactFloats exact;
    V lines;
    for (int id = 1; id <= kMaxObjectId; ++id) {
        int type, index;
        if (!FindID(id, type, index))
            continue;
        if (type == kTypeBulge || type == kTypePocket) {
            Bulge b;
            Pocket p;
            const Shape* shape;
            if (type == kTypeBulge) {
                GetBulge(index, b);
                shape = &b.shape;
                lines.push_back(Sprintf("B %d %d %f %f %d %d %d %d %d", b.id, b.pid, b.wz,
                                        b.chamfer, b.rough_tool, b.fine_tool, b.quality,
                                        b.tol_offset, b.scan));
            } else {
                GetPocket(index, p);
                shape = &p.shape;
                lines.push_back(Sprintf("P %d %d %f %f %d %d %d %d %d", p.id, p.pid, p.wz,
                                        p.chamfer, p.rough_tool, p.fine_tool, p.quality,
                                        p.tol_offset, p.scan));
            }
            Shape compact;
            CompactShape(*shape, compact);
            for (int i = 0; i < compact.n; ++i)
                lines.push_back(Sprintf("v %f %f %f %d", compact.v[i].x, compact.v[i].y,
                                        compact.v[i].radius, compact.v[i].kind));
            continue;
        }
        std::string text;
        WriteObjectLines(id, text);
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
    }
    std::string params = WriteMParams();
    std::istringstream in(params);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Equal word by word, numbers within 1e-6.
::testing::AssertionResult Same(const V& a, const V& b) {
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << a.size() << " lines against " << b.size();
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::istringstream sa(a[i]), sb(b[i]);
        std::string wa, wb;
        while (sa >> wa) {
            if (!(sb >> wb))
                return ::testing::AssertionFailure() << a[i] << " | " << b[i];
            char *ea, *eb;
            double da = std::strtod(wa.c_str(), &ea), db = std::strtod(wb.c_str(), &eb);
            bool numbers = *ea == 0 && *eb == 0 && ea != wa.c_str() && eb != wb.c_str();
            if (numbers ? std::fabs(da - db) > 1e-6 : wa != wb)
                return ::testing::AssertionFailure() << a[i] << " | " << b[i];
        }
    }
    return ::testing::AssertionSuccess();
}

class UndoTest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        ASSERT_EQ(StartUp(), StartupResult::kOk);
        Messages();
    }
    void OpenExample(const std::string& name) {
        LoadCfgValues();
        ASSERT_EQ(OpenProject(std::string(KORVEL_SOURCE_DIR) + "/examples/" + name), 1);
        InitUndoBuf(); // as after opening a project
    }
};

TEST_F(UndoTest, CreateUndoRedoUndo) {
    Type("BLOCK 1 100 80 20 0 0 -20 0 0 -1");
    InitUndoBuf();
    ASSERT_EQ(Type("DRILL 5 1 8.5 10 20 30 0.5 0 0 1 -1"), 1);
    V created = Snapshot();
    EXPECT_EQ(UnDo(), 1);
    int type, index;
    EXPECT_FALSE(FindID(5, type, index));
    EXPECT_EQ(ReDo(), 1);
    EXPECT_TRUE(Same(Snapshot(), created));
    EXPECT_TRUE(FindID(5, type, index));
    EXPECT_EQ(UnDo(), 1);
    EXPECT_FALSE(FindID(5, type, index));
    EXPECT_TRUE(Messages().empty());
    InitUndoBuf();
    EXPECT_EQ(UnDo(), 1); // nothing to undo
    EXPECT_EQ(RedoDepth(), 0);
    EXPECT_EQ(ReDo(), 0);
}

TEST_F(UndoTest, AGroupIsUndoneInOneStep) {
    OpenExample("flange-plate.kvp");
    V before = Snapshot();
    Type("SELECT 2");
    Type("SELECT 6");
    Type("SELECT 10");
    ASSERT_EQ(Type("MOVE SELECTED 5 -2.5"), 1);
    Drill d;
    int type, index;
    FindID(2, type, index);
    GetDrill(d, index);
    EXPECT_NEAR(d.x, 44.19417 + 5, 1e-9);
    EXPECT_EQ(Type("UNDO"), 1);
    EXPECT_TRUE(Same(Snapshot(), before));
    EXPECT_EQ(Type("REDO"), 1);
    GetDrill(d, index);
    EXPECT_NEAR(d.x, 44.19417 + 5, 1e-9);
}

TEST_F(UndoTest, ExactValuesAfterScaleAndTurn) {
    OpenExample("stepped-boss.kvp");
    V before = Snapshot();
    Type("SCALE 2 1.5 -7 3");
    Type("TURN 3 10 10 33.3");
    Type("SCALE 5 0 0 0.7");
    UnDo();
    UnDo();
    UnDo();
    EXPECT_TRUE(Same(Snapshot(), before));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(UndoTest, ScaleAndDeleteGiveBackParametersAndTools) {
    OpenExample("pocket-plate.kvp");
    V before = Snapshot();
    int params = MParamCount();
    ASSERT_GT(params, 0);
    Type("SCALE 3 0 0 1.5"); // pocket 3 has tools and milling parameters
    EXPECT_LT(MParamCount(), params);
    UnDo();
    EXPECT_TRUE(Same(Snapshot(), before));
    // Deleting an object drops its milling parameters; undo brings both back.
    Type("MPARAM_D 7 500 0 0 50 0");
    V with_params = Snapshot();
    Type("DELETE 7");
    int speed;
    double v[4];
    EXPECT_EQ(RetrieveMParam(7, kDrilling, speed, v), 0);
    UnDo();
    EXPECT_TRUE(Same(Snapshot(), with_params));
    EXPECT_EQ(RetrieveMParam(7, kDrilling, speed, v), 1);
    EXPECT_EQ(speed, 500);
}

TEST_F(UndoTest, RefusalsAndMessages) {
    OpenExample("stepped-boss.kvp");
    EXPECT_EQ(DeleteId(3), 0); // bulge 3 carries drill 7
    EXPECT_EQ(Type("MIRRORX 6 10"), 1);
    EXPECT_EQ(Type("MOVE 999 1 1"), 1);
    EXPECT_EQ(Type("TURN 1 0 0 90"), 1);
    EXPECT_EQ(Type("MOVE 2 1"), 0);
    EXPECT_EQ(Type("REVERSE SEL"), 1);
    EXPECT_EQ(Type("REVERSE ALL"), 0);
    EXPECT_EQ(Type("UNDO now"), 0);
    EXPECT_EQ(Messages(),
              (V{"[Can't delete object ID=3] One or more objects have been attached "
                 "on this object",
                 "[Undo/ObjectNotFound(id)] Object ID 6 not found!",
                 "[Undo/ObjectNotFound(id)] Object ID 999 not found!",
                 "[Undo/ObjectNotFound(id)] Object ID 1 not found!", "[Errors found] Syntax error",
                 "[Errors found] Syntax error", "[Errors found] Syntax error"}));
}

TEST_F(UndoTest, ARejectedReversalStopsRedo) {
    OpenExample("stepped-boss.kvp");
    Type("MOVE 7 1 1");
    PushUndoCom("NOSUCHCOMMAND");
    EXPECT_EQ(UnDo(), 0);
    std::string entry;
    PeepRedoCom(entry);
    EXPECT_EQ(entry, "# Error! REDO impossible");
    EXPECT_EQ(ReDo(), 1); // a comment: nothing happens
    EXPECT_EQ(UnDo(), 1); // the move below is still there
    Messages();
}

TEST_F(UndoTest, SelectionMarks) {
    OpenExample("stepped-boss.kvp");
    EXPECT_EQ(Type("SELECT 2"), 1);
    EXPECT_EQ(Type("SELECT 2"), 0); // already selected
    EXPECT_EQ(Type("SELECT 2 2"), 1);
    EXPECT_EQ(ParentCandidate(), 2);
    Type("UNSELECT ALL 3");
    EXPECT_EQ(ParentCandidate(), -1);
    Type("SELECT ALL");
    Type("REVERSE S");
    EXPECT_EQ(Bulge_selected(0), 0);
    Type("SELECT 1 2");
    EXPECT_EQ(ParentCandidate(), 1);
}

// A few hundred random edits on an example: undoing all of them gives back the example, and
// every single undo is reversed exactly by a redo.
TEST_F(UndoTest, RandomEditsAreUndone) {
    for (const char* example : {"stepped-boss.kvp", "pocket-plate.kvp"}) {
        SCOPED_TRACE(example);
        OpenExample(example);
        V original = Snapshot();
        unsigned seed = 2026;
        auto next = [&seed](int n) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) % static_cast<unsigned>(n));
        };
        int edits = 0;
        for (int step = 0; step < 300; ++step) {
            int id = 1 + next(12);
            std::string x = std::to_string(next(200) - 100) + "." + std::to_string(next(10));
            std::string y = std::to_string(next(200) - 100) + ".25";
            int before = UndoDepth();
            switch (next(8)) {
            case 0:
                Type("DRILL " + std::to_string(100 + step) + " 1 6 5 " + x + " " + y +
                     " 0 0 0 1 -1");
                break;
            case 1:
                Type("MOVE " + std::to_string(id) + " " + x + " " + y);
                break;
            case 2:
                Type("TURN " + std::to_string(id) + " " + x + " " + y + " " +
                     std::to_string(next(360)));
                break;
            case 3:
                Type("SCALE " + std::to_string(id) + " " + x + " " + y + " " +
                     std::to_string(1 + next(20)) + ".5");
                break;
            case 4:
                Type("MIRRORX " + std::to_string(id) + " " + x);
                break;
            case 5:
                Type("MIRRORY " + std::to_string(id) + " " + y);
                break;
            case 6:
                Type("DELETE " + std::to_string(100 + next(step + 1)));
                break;
            default:
                Type("SELECT " + std::to_string(id));
                Type("MOVE SELECTED " + x + " 0");
                break;
            }
            if (UndoDepth() == before)
                continue; // nothing happened (unknown object, refused edit)
            ++edits;
            V edited = Snapshot();
            UnDo();
            ReDo();
            ASSERT_TRUE(Same(Snapshot(), edited)) << "step " << step;
        }
        ASSERT_GT(edits, 100);
        while (UndoDepth() > 0)
            ASSERT_EQ(UnDo(), 1);
        EXPECT_TRUE(Same(Snapshot(), original));
        Messages();
    }
}

} // namespace
} // namespace korvel
