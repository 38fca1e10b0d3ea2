// Drawing and engraving elements and drawing groups through their script lines: what is read,
// what is written back, what is refused, the limits of both tables, and undo of every edit.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "base/undo_stack.h"
#include "model/cla.h"
#include "model/cla_append.h"
#include "model/cla_edit.h"
#include "model/cla_group.h"
#include "model/object_kind.h"
#include "model/registry.h"
#include "model/texts.h"
#include "script/project.h"
#include "script/undo.h"
#include "support.h"
#include "ui/startup.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

// A block with a bulge, engraving elements on both and drawing elements of every kind, two of
// them in groups; each line as the project file holds it.
const V kProject = {
    "$59 3 2 10.00000 10.00000 30.00000 10.00000 0.50000 0.20000",
    "$59 4 1 5.00000 5.00000 3.00000 0.40000 0.10000",
    "$59 5 1 0.00000 0.00000 10.00000 0.00000 5.00000 0.50000 0.20000",
    "$59 6 2 20.00000 20.00000 30.00000 20.00000 -6.00000 0.30000 0.10000",
    "$60 7 -1 0.000000 0.000000 10.000000 10.000000 -1",
    "$60 8 -1 1.000000 2.000000 3.000000 LAYER_1",
    "$60 9 -1 0.000000 0.000000 10.000000 0.000000 -6.000000 LAYER_1",
    "$60 10 -1 0.000000 0.000000 0.000000 12.000000 6.000000 -1",
    "$60 11 -1 -5.500000 2.250000 4.125000 -1",
    "$60 12 -1 3.000000 4.000000 5.000000 6.000000 2",
};

class CLATest : public test::KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        TypeAll({"BLOCK 1 100 80 20 0 0 -20 0 0 -1", "RBULGE 2 1 60 40 5 10 10 5 0 0 0 -1 0 0"});
    }
    void TypeProject() {
        TypeAll(kProject);
        InitUndoBuf();
    }
    // Every element's line in ID order.
    static V ElementLines() {
        V lines;
        for (int id = 3; id <= 40; ++id) {
            std::string text = LinesOf(id);
            if (!text.empty())
                lines.push_back(text.substr(0, text.size() - 1));
        }
        return lines;
    }
    // Every object's lines, for comparing the project before and after an edit and its undo.
    static V ProjectLines() {
        V lines;
        for (int id = 1; id <= 60; ++id) {
            std::string text = LinesOf(id);
            // A turn and its undo may leave a coordinate a rounding below 0: "-0.000000".
            std::istringstream in(text);
            std::string word;
            text.clear();
            while (in >> word) {
                if (word[0] == '-' && word.find_first_not_of("-0.") == std::string::npos)
                    word.erase(0, 1);
                text += word + " ";
            }
            if (!text.empty())
                lines.push_back(text);
        }
        return lines;
    }
    static CLA Element(int id) {
        CLA e;
        GetCLA(e, IndexOf(id));
        return e;
    }
};

TEST_F(CLATest, EveryKindReadsAndWritesBackExactly) {
    TypeProject();
    EXPECT_EQ(ElementLines(), kProject);
    EXPECT_TRUE(Messages().empty());
    // A negative radius is a clockwise arc with a positive radius.
    CLA arc = Element(9);
    EXPECT_EQ(arc.kind, kCwArc);
    EXPECT_EQ(arc.radius, 6);
    EXPECT_EQ(arc.drawing, 1);
    EXPECT_EQ(Element(6).kind, kCwArc);
    EXPECT_EQ(Element(5).kind, kCcwArc);
    EXPECT_EQ(Element(8).kind, kCircle);
    EXPECT_EQ(Element(7).group, -1);
    EXPECT_EQ(Element(8).group, Element(9).group);
    // An engraving element stands on its parent; a drawing element has none.
    EXPECT_EQ(GetCLAPid(IndexOf(3)), 2);
    EXPECT_EQ(GetCLAPid(IndexOf(7)), -1);
    // The whole project saved and opened again gives the same lines.
    std::string path = ScratchDir() + "/drawing.kvp";
    ASSERT_EQ(SaveProject(path), 1);
    InitAllTables();
    ASSERT_EQ(OpenProject(path), 1);
    EXPECT_EQ(ElementLines(), kProject);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CLATest, ACircleTooSmallForTheDecimalsIsSavedInFullAndReopens) {
    ASSERT_EQ(Type("ENG_CLA 20 2 1 2 0.0000003 0.5 0.25"), 1);
    ASSERT_EQ(Type("INFO_CLA 21 -1 1 2 0.0000003 -1"), 1);
    EXPECT_EQ(LinesOf(20), "$59 20 2 1.00000 2.00000 2.9999999999999999e-07 0.50000 0.25000\n");
    EXPECT_EQ(LinesOf(21), "$60 21 -1 1.000000 2.000000 2.9999999999999999e-07 -1\n");
    std::string path = ScratchDir() + "/small.kvp";
    ASSERT_EQ(SaveProject(path), 1);
    InitAllTables();
    ASSERT_EQ(OpenProject(path), 1);
    EXPECT_EQ(Element(20).radius, 3e-7);
    EXPECT_EQ(Element(21).radius, 3e-7);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CLATest, KeywordFormsAndTheGroupArgument) {
    TypeAll({"ENG_CLA 20 1 1 2 3 4 0.5 0.25", "INFO_CLA 21 7 0 0 5 layer_a",
             "INFO_CLA 22 -1 1 1 2 2 Layer_A", "INFO_CLA 23 -1 0 0 4 0 2 -1",
             "INFO_CLA 24 -1 0 0 3 3 \"my layer\""});
    EXPECT_EQ(LinesOf(20), "$59 20 1 1.00000 2.00000 3.00000 4.00000 0.50000 0.25000\n");
    // The last argument is always the group, whatever the count; the parent of a drawing
    // element is always -1; group names are held in upper case.
    EXPECT_EQ(LinesOf(21), "$60 21 -1 0.000000 0.000000 5.000000 LAYER_A\n");
    EXPECT_EQ(LinesOf(22), "$60 22 -1 1.000000 1.000000 2.000000 2.000000 LAYER_A\n");
    EXPECT_EQ(LinesOf(23), "$60 23 -1 0.000000 0.000000 4.000000 0.000000 2.000000 -1\n");
    // A name with a blank keeps to one word: the blank becomes an underscore.
    EXPECT_EQ(LinesOf(24), "$60 24 -1 0.000000 0.000000 3.000000 3.000000 MY_LAYER\n");
    EXPECT_EQ(DefCLAGroup("my layer", 5, 0), Element(24).group);
    CLAGroup g;
    ASSERT_EQ(GetCLAGroup(g, Element(21).group), 1);
    EXPECT_EQ(g.colour, kDefaultGroupColour);
    EXPECT_EQ(g.visible, 1);
    // The width and depth become the engraving defaults.
    EXPECT_EQ(DefaultEngravingWidth(), 0.5);
    EXPECT_EQ(DefaultEngravingDepth(), 0.25);
    // A line of the same ID updates the element; the old line is the undo.
    ASSERT_EQ(Type("ENG_CLA 20 2 0 0 3 0.1 0.1"), 1);
    std::string undo;
    PeepUndoCom(undo);
    EXPECT_EQ(undo.substr(0, 8), "$59 20 1");
    EXPECT_EQ(Element(20).kind, kCircle);
    EXPECT_EQ(Type("UNDO"), 1);
    EXPECT_EQ(LinesOf(20), "$59 20 1 1.00000 2.00000 3.00000 4.00000 0.50000 0.25000\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CLATest, RefusedLines) {
    const V bad = {
        "ENG_CLA 20 1 1 2 3 0.5", // 6 arguments
        "ENG_CLA 20 1 1 2 3 4 5 6 7 8 9",  "INFO_CLA 20 -1 1 2 3",
        "INFO_CLA 20 -1 1 2 3 4 5 6 7",
        "ENG_CLA 20 1 1 2 0 0.5 0.2", // circle radius 0
        "ENG_CLA 20 1 1 2 -3 0.5 0.2",     "INFO_CLA 20 -1 1 2 0 -1",
        "ENG_CLA 20 1 1 2 1 2 0.5 0.2",    // zero length
        "INFO_CLA 20 -1 1 2 1.0005 2 -1",  // within the equality tolerance
        "ENG_CLA 20 1 0 0 10 0 4 0.5 0.2", // radius below half the chord
        "ENG_CLA 20 1 0 0 10 0 0 0.5 0.2", // radius 0
        "INFO_CLA 20 -1 0 0 10 0 -4.9 -1", "INFO_CLA 20 -1 0 0 10 0 0 -1",
        "INFO_CLA 20 -1 0 0 0 0 5 -1", // an arc of no length
        "ENG_CLA 0 1 0 0 1 1 0.5 0.2", // ID out of range
        "ENG_CLA 8192 1 0 0 1 1 0.5 0.2",
        "ENG_CLA 2 1 0 0 1 1 0.5 0.2", // ID of the bulge
        "INFO_CLA 2 -1 0 0 1 1 -1",
        "INFO_CLA 20 -1 0 0 1 1 \"\"", // a group without a name
    };
    for (const std::string& line : bad)
        EXPECT_EQ(Type(line), 0) << line;
    const std::string range = "[Errors found] Value(s) out of range";
    const std::string zero = "[Errors found] Drawing/Engraving element has 0 length";
    const std::string syntax = "[Errors found] Syntax error";
    const std::string type = "[Errors found] Wrong object type";
    EXPECT_EQ(Messages(), (V{syntax, syntax, syntax, syntax, range, range, range, zero, zero, range,
                             range, range, range, zero, range, range, type, type, range}));
    int t, index;
    EXPECT_FALSE(FindID(20, t, index));
    // Exactly half the chord is a half circle, and is taken.
    EXPECT_EQ(Type("ENG_CLA 20 1 0 0 10 0 5 0.5 0.2"), 1);
    EXPECT_EQ(Type("INFO_CLA 21 -1 0 0 10 0 -5 -1"), 1);
}

TEST_F(CLATest, InchProjectsConvertEveryLength) {
    std::string path = WriteFile("inch.kvp", "PROJECTUNIT INCH\n"
                                             "ENG_CLA 20 1 1 2 3 4 0.02 0.01\n"
                                             "INFO_CLA 21 -1 1 1 0.5 -1\n"
                                             "ENDOFFILE\n");
    ASSERT_EQ(OpenProject(path), 1);
    EXPECT_EQ(LinesOf(20), "$59 20 1 25.40000 50.80000 76.20000 101.60000 0.50800 0.25400\n");
    EXPECT_EQ(LinesOf(21), "$60 21 -1 25.400000 25.400000 12.700000 -1\n");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CLATest, TheElementTableHolds8192AndTheGroupTable1024) {
    // IDs run out at 8191, before the element table does: every ID can be an element.
    for (int id = 3; id < kMaxObjectId; ++id)
        ASSERT_EQ(
            Type("INFO_CLA " + std::to_string(id) + " -1 0 0 " + std::to_string(id) + " 1 -1"), 1);
    EXPECT_EQ(Type("ENG_CLA 8191 1 0 0 1 1 0.5 0.2"), 1);
    EXPECT_TRUE(Messages().empty());
    // The table itself ends at its 8192nd slot.
    EXPECT_EQ(NextCLA(), 8189);
    for (int i = 8189; i < kMaxCLA; ++i) {
        ASSERT_EQ(NextCLA(), i);
        CLA e;
        e.valid = 1;
        e.drawing = 1;
        e.radius = 1;
        e.kind = kCircle;
        PutCLA(e, i);
    }
    EXPECT_EQ(NextCLA(), -1);
    // An emptied slot, or one put back without its valid mark, is the next one again.
    RemoveCLA(12);
    EXPECT_EQ(NextCLA(), 12);
    EXPECT_EQ(NextCLA(), 12); // taken but not filled: still the next one
    CLA circle;
    circle.valid = 1;
    circle.kind = kCircle;
    PutCLA(circle, 12);
    EXPECT_EQ(NextCLA(), -1);
    PutCLA(CLA{}, 5000);
    EXPECT_EQ(NextCLA(), 5000);
    PutCLA(circle, 5000);
    EXPECT_EQ(NextCLA(), -1);
    CLA line;
    line.drawing = 1;
    line.x2 = 7.5;
    EXPECT_EQ(RegisterCLA(line), -1);
    EXPECT_EQ(AppendInfoLine(0, 0, 7.5, 1), -1);
    EXPECT_EQ(Messages(), (V{"[Out of drawing memory] Too many drawing elements",
                             "[Out of space] Too many free drawing/engraving elements"}));
    InitAllTables();
    // Groups: 1024 names, then no more; "-1" is never a group.
    TypeAll({"BLOCK 1 100 80 20 0 0 -20 0 0 -1"});
    for (int g = 0; g < kMaxCLAGroups; ++g)
        ASSERT_EQ(Type("INFO_CLA " + std::to_string(g + 2) + " -1 0 0 1 1 G" + std::to_string(g)),
                  1);
    EXPECT_EQ(Type("INFO_CLA 2000 -1 0 0 1 1 G0"), 1); // a known name is no new group
    EXPECT_EQ(Type("INFO_CLA 2001 -1 0 0 1 1 ONE_MORE"), 0);
    EXPECT_EQ(Messages(), V{"[Errors found] Too many Drawing Groups"});
    EXPECT_EQ(NewGroup(), -1);
    EXPECT_EQ(DefCLAGroup("-1", 2, 1), -1);
    EXPECT_EQ(FindGroupByName("-1"), -1);
}

TEST_F(CLATest, GroupNamesAndTheRunningCounter) {
    int a = NewGroup();
    int b = NewGroup();
    std::string name;
    GetGroupName(a, name);
    EXPECT_EQ(name, "1");
    GetGroupName(b, name);
    EXPECT_EQ(name, "2");
    // A number already taken as a name is skipped; a start number restarts the counter.
    EXPECT_EQ(DefCLAGroup("3", 4, 1), 2);
    GetGroupName(NewGroup(), name);
    EXPECT_EQ(name, "4");
    GetGroupName(NextCLAGroup(100), name);
    EXPECT_EQ(name, "100");
    EXPECT_EQ(SetGroupName(a, "shared"), 1);
    EXPECT_EQ(SetGroupName(b, "SHARED"), 0); // names are unique
    EXPECT_EQ(FindGroupByName("Shared"), a);
    std::string long_name(100, 'x');
    int l = DefCLAGroup(long_name, 2, 1);
    GetGroupName(l, name);
    EXPECT_EQ(name, std::string(kMaxGroupName, 'X'));
    EXPECT_EQ(AcadLayerGroup(long_name), l);
    EXPECT_EQ(GetGroupName(-1, name), 0);
    EXPECT_EQ(name, "-1");
}

TEST_F(CLATest, EveryEditIsUndoneAndRedone) {
    TypeProject();
    const V before = ProjectLines();
    int group = Element(8).group;
    const std::vector<std::pair<std::string, std::function<void()>>> steps = {
        {"MOVE", [&] { Type("MOVE 9 5 -2.5"); }},
        {"MIRRORX", [&] { Type("MIRRORX 5 7"); }},
        {"MIRRORY", [&] { Type("MIRRORY 10 -3"); }},
        {"TURN", [&] { Type("TURN 6 1 2 33.3"); }},
        {"SCALE", [&] { Type("SCALE 8 1 1 1.7"); }},
        {"DELETE", [&] { Type("DELETE 12"); }},
        {"copy", [&] { CopyCLABy(IndexOf(3), 1, 1); }},
        {"move group", [&] { MoveGroupBy(group, 1, 2); }},
        {"mirror group", [&] { MirrorXGroupBy(group, 4); }},
        {"mirror group y", [&] { MirrorYGroupBy(group, 4); }},
        {"turn group", [&] { TurnGroupBy(group, 0, 0, 90); }},
        {"scale group", [&] { ScaleGroupBy(group, 0, 0, 2); }},
        {"copy group", [&] { CopyGroupBy(group, 10, 0); }},
        {"move selected", [&] { MoveSelectedCLABy(3, 3); }},
        {"mirror selected", [&] { MirrorXSelectedCLABy(0); }},
        {"mirror selected y", [&] { MirrorYSelectedCLABy(0); }},
        {"turn selected", [&] { TurnSelectedCLABy(1, 1, -45); }},
        {"scale selected", [&] { ScaleSelectedCLABy(1, 1, 0.5); }},
        {"copy selected", [&] { CopySelectedCLABy(-4, 4); }},
        {"group selected", [&] { GroupSelectedCLA(); }},
        {"ungroup selected", [&] { UnGroupSelectedCLA(); }},
        {"resolve", [&] { ResolveGroup(group); }},
        {"delete group", [&] { DeleteGroup(group); }},
        {"line", [&] { AppendInfoLine(0, 0, 3, 4); }},
        {"rectangle", [&] { AppendInfoRect(0, 0, 3, 4); }},
        {"polygon", [&] { AppendInfoPolygon(0, 0, 3, 6, 0); }},
    };
    for (const auto& [what, run] : steps) {
        Type("SELECT 7");
        Type("SELECT 9");
        Type("SELECT 4");
        run();
        EXPECT_NE(ProjectLines(), before) << what;
        ASSERT_EQ(Type("UNDO"), 1) << what;
        EXPECT_EQ(ProjectLines(), before) << what;
        ASSERT_EQ(Type("REDO"), 1) << what;
        EXPECT_NE(ProjectLines(), before) << what;
        ASSERT_EQ(Type("UNDO"), 1) << what;
        EXPECT_EQ(ProjectLines(), before) << what;
        Type("UNSELECT ALL");
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CLATest, MirroringTurnsTheArcsDirection) {
    TypeProject();
    ASSERT_EQ(Type("MIRRORX 10 5"), 1);
    EXPECT_EQ(LinesOf(10), "$60 10 -1 10.000000 0.000000 10.000000 12.000000 -6.000000 -1\n");
    ASSERT_EQ(Type("MIRRORY 10 0"), 1);
    EXPECT_EQ(LinesOf(10), "$60 10 -1 10.000000 0.000000 10.000000 -12.000000 6.000000 -1\n");
    ASSERT_EQ(Type("MIRRORY 8 1"), 1); // a circle mirrors its centre
    EXPECT_EQ(LinesOf(8), "$60 8 -1 1.000000 0.000000 3.000000 LAYER_1\n");
    // A copy of an engraving element keeps its parent and gets the next ID of its type.
    int id = CopyCLABy(IndexOf(3), 0, 5);
    ASSERT_GT(id, 0);
    EXPECT_EQ(GetCLAPid(IndexOf(id)), 2);
    int type = 0, slot = -1;
    ASSERT_TRUE(FindID(id, type, slot));
    EXPECT_EQ(type, kTypeEngElement);
}

} // namespace
} // namespace korvel
