// DXF import through real files: every entity kind, the settings, layers, polylines, texts,
// mirrored entities, duplicates, and files that are broken in the ways files get broken.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "cad/dxf_import.h"
#include "dxf_test_support.h"
#include "model/cla.h"
#include "model/cla_group.h"
#include "model/texts.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;
using test::Dxf;
using test::DxfLine;

class DxfImport : public test::DxfTest {};

const char* const kArc = "0\nARC\n8\nA\n10\n0\n20\n0\n30\n0\n40\n10\n50\n0\n51\n90\n";
const char* const kCircle = "0\nCIRCLE\n8\nA\n10\n5\n20\n5\n30\n0\n40\n2\n";

TEST_F(DxfImport, EveryEntityKindBecomesElementsAndTexts) {
    std::string dxf = Dxf({
        DxfLine(0, 0, 10, 0, "Walls"),
        "0\nARC\n8\nwalls\n10\n0\n20\n0\n40\n10\n50\n0\n51\n180\n",
        "0\nCIRCLE\n10\n5\n20\n5\n40\n2\n",
        "0\nLWPOLYLINE\n8\nIgnored\n90\n3\n70\n1\n10\n0\n20\n0\n42\n1\n10\n10\n20\n0\n10\n10\n"
        "20\n10\n",
        "0\nPOLYLINE\n8\nPL\n66\n1\n70\n0\n0\nVERTEX\n8\nPL\n10\n0\n20\n20\n42\n-1\n0\nVERTEX\n"
        "8\nPL\n10\n10\n20\n20\n0\nVERTEX\n8\nPL\n10\n10\n20\n30\n0\nSEQEND\n",
        "0\nTEXT\n8\nT\n10\n3\n20\n3\n40\n1\n41\n0.8\n71\n2\n1\nHello \"x\"\n",
        "0\nMTEXT\n8\nT\n10\n1\n20\n2\n40\n2\n71\n7\n1\nABC\\PDEF\n",
    });
    EXPECT_EQ(Import(dxf), 1);
    EXPECT_EQ(
        DrawingLines(),
        (V{"-1 0.000000 0.000000 10.000000 0.000000 WALLS",
           "-1 10.000000 0.000000 0.000000 10.000000 10.000000 WALLS",
           "-1 0.000000 10.000000 -10.000000 0.000000 10.000000 WALLS",
           "-1 5.000000 5.000000 2.000000 -1", "-1 0.000000 0.000000 10.000000 0.000000 5.000000 1",
           "-1 10.000000 0.000000 10.000000 10.000000 1",
           "-1 10.000000 10.000000 0.000000 0.000000 1",
           "-1 0.000000 20.000000 10.000000 20.000000 -5.000000 PL",
           "-1 10.000000 20.000000 10.000000 30.000000 PL",
           "-1 \"Hello 'x'\" 3.00000 3.00000 0.00000 1.00000 -0.80000 1.00000 0",
           "-1 \"ABC\" 1.00000 2.00000 0.00000 2.00000 1.00000 1.00000 0",
           "-1 \"DEF\" 1.00000 -1.00000 0.00000 2.00000 1.00000 1.00000 0"}));
    EXPECT_EQ(Messages(), V{"[Import DXF completed] 12 DXF entities found"});
}

TEST_F(DxfImport, ScaleEntryPointAndFirstPoint) {
    std::string dxf = Dxf({DxfLine(5, 5, 15, 5), kCircle});
    DXFImportOptions() = {2.0, 100, 50, false};
    EXPECT_EQ(Import(dxf), 1);
    EXPECT_EQ(DrawingLines(), (V{"-1 110.000000 60.000000 130.000000 60.000000 0",
                                 "-1 110.000000 60.000000 4.000000 A"}));
    // With the first point as reference, the line's start lands on the entry point; the
    // circle moves with it (a new reference is taken on each import).
    DXFImportOptions() = {1.0, -1, -2, true};
    EXPECT_EQ(Import(dxf), 1);
    EXPECT_EQ(DrawingLines()[2], "-1 -1.000000 -2.000000 9.000000 -2.000000 0");
    EXPECT_EQ(DrawingLines()[3], "-1 -1.000000 -2.000000 2.000000 A");
}

TEST_F(DxfImport, ArcsAcrossZeroAndHalfTurns) {
    EXPECT_EQ(Import(Dxf({"0\nARC\n10\n0\n20\n0\n40\n10\n50\n350\n51\n10\n",
                          "0\nARC\n10\n0\n20\n0\n40\n5\n50\n0\n51\n180\n",
                          "0\nARC\n10\n0\n20\n0\n40\n5\n50\n30\n51\n30\n"})),
              1);
    EXPECT_EQ(DrawingLines(), (V{"-1 9.848078 -1.736482 9.848078 1.736482 10.000000 -1",
                                 "-1 5.000000 0.000000 0.000000 5.000000 5.000000 -1",
                                 "-1 0.000000 5.000000 -5.000000 0.000000 5.000000 -1"}));
}

TEST_F(DxfImport, MirroredArcsAndCirclesAreReadFromAbove) {
    // Extrusion (0, 0, -1): the object x runs the other way; the arc from 0 to 90 degrees
    // about (10, 0) seen from above runs clockwise from (-20, 0) to (-10, 10).
    const char* ext = "210\n0\n220\n0\n230\n-1\n";
    EXPECT_EQ(Import(Dxf({std::string("0\nARC\n10\n10\n20\n0\n40\n10\n50\n0\n51\n90\n") + ext,
                          std::string("0\nCIRCLE\n10\n10\n20\n3\n40\n2\n") + ext,
                          std::string("0\nLINE\n10\n1\n20\n1\n11\n2\n21\n2\n") + ext})),
              1);
    EXPECT_EQ(DrawingLines(), (V{"-1 -10.000000 10.000000 -20.000000 0.000000 10.000000 -1",
                                 "-1 -10.000000 3.000000 2.000000 -1",
                                 "-1 1.000000 1.000000 2.000000 2.000000 -1"}));
}

TEST_F(DxfImport, DuplicatesWithinTheGroupAreRegisteredOnce) {
    std::string dxf =
        Dxf({DxfLine(0, 0, 10, 0, "A"), DxfLine(10, 0.0004, 0, 0, "A"), DxfLine(0, 0, 10, 0, "B"),
             kArc, kCircle, "0\nLWPOLYLINE\n90\n2\n70\n0\n10\n0\n20\n0\n10\n1\n20\n1\n"});
    EXPECT_EQ(Import(dxf), 1);
    EXPECT_EQ(ElementCount(), 5);
    // Again: only the polyline comes again, in a new group of its own.
    EXPECT_EQ(Import(dxf), 1);
    EXPECT_EQ(ElementCount(), 6);
    // A clockwise arc over the same points is the same arc.
    EXPECT_EQ(Import(Dxf({"0\nLWPOLYLINE\n8\nA\n90\n2\n70\n0\n10\n10\n20\n0\n42\n-0.4142135623\n"
                          "10\n0\n20\n10\n"})),
              1);
    EXPECT_TRUE(CLAexistsInGroup(0, 10, 10, 0, 10, kCwArc, AcadLayerGroup("A")));
    EXPECT_FALSE(CLAexistsInGroup(0, 10, 10, 0, 10, kCwArc, AcadLayerGroup("B")));
    EXPECT_TRUE(CLAexistsInGroup(5.0009, 5, 0, 0, 2.0009, korvel::kCircle, AcadLayerGroup("A")));
}

TEST_F(DxfImport, DegenerateEntitiesAreSkipped) {
    EXPECT_EQ(Import(Dxf({DxfLine(1, 1, 1, 1), "0\nCIRCLE\n10\n0\n20\n0\n40\n0\n",
                          "0\nCIRCLE\n10\n0\n20\n0\n40\n-3\n", "0\nLINE\n10\n0\n20\n0\n11\n5\n",
                          "0\nARC\n10\n0\n20\n0\n40\n0\n50\n0\n51\n90\n",
                          "0\nLWPOLYLINE\n90\n2\n70\n1\n10\n4\n20\n4\n10\n4\n20\n4\n"})),
              1);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(Messages(), V{"[Import DXF completed] 0 DXF entities found"});
}

TEST_F(DxfImport, ClosedPolylinesAndLargeBulges) {
    // Flags 129 (closed, linetype pattern) close an LWPOLYLINE; a closed POLYLINE gets its
    // closing segment with the last vertex's bulge; a bulge of -3 (286 degrees clockwise) is
    // split at the arc's true midpoint.
    EXPECT_EQ(Import(Dxf({"0\nLWPOLYLINE\n90\n2\n70\n129\n10\n0\n20\n0\n10\n10\n20\n0\n42\n1\n",
                          "0\nPOLYLINE\n8\nP\n70\n1\n0\nVERTEX\n8\nP\n10\n0\n20\n20\n0\nVERTEX\n"
                          "8\nP\n10\n10\n20\n20\n42\n-3\n0\nSEQEND\n"})),
              1);
    EXPECT_EQ(DrawingLines(), (V{"-1 0.000000 0.000000 10.000000 0.000000 1",
                                 "-1 10.000000 0.000000 0.000000 0.000000 5.000000 1",
                                 "-1 0.000000 20.000000 10.000000 20.000000 P",
                                 "-1 10.000000 20.000000 5.000000 5.000000 -8.333333 P",
                                 "-1 5.000000 5.000000 0.000000 20.000000 -8.333333 P"}));
}

TEST_F(DxfImport, TextsRotatedAndFormatted) {
    // Direction vector (0, 1): 90 degrees; the second line stacks 3 units along -X.
    EXPECT_EQ(Import(Dxf({"0\nMTEXT\n10\n10\n20\n0\n40\n2\n71\n7\n11\n0\n21\n1\n1\n{\\fArial|b0;"
                          "AB\\PCD}\n",
                          "0\nMTEXT\n10\n0\n20\n0\n40\n2\n50\n3.14159265358979\n71\n5\n3\nPart "
                          "o\n1\nne and two\n"})),
              1);
    EXPECT_EQ(DrawingLines(),
              (V{"-1 \"AB\" 10.00000 0.00000 90.00000 2.00000 1.00000 1.00000 0",
                 "-1 \"CD\" 13.00000 -0.00000 90.00000 2.00000 1.00000 1.00000 0",
                 "-1 \"Part one and two\" 0.00000 1.00000 180.00000 2.00000 1.00000 1.00000 2"}));
}

TEST_F(DxfImport, ZeroTextHeightStopsTheImport) {
    EXPECT_EQ(Import(Dxf({DxfLine(0, 0, 1, 0), "0\nTEXT\n10\n0\n20\n0\n40\n0\n1\nx\n",
                          DxfLine(0, 0, 2, 0)})),
              0);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_EQ(Messages(), (V{"[DXF Error] Zero or Negative Text Height",
                             "[Import DXF completed] 1 DXF entities found"}));
}

TEST_F(DxfImport, LineEndsLongLinesAndWholeNames) {
    std::string long_text(600, 'W');
    std::string dxf =
        Dxf({DxfLine(0, 0, 1, 0), "0\nARCALIGNEDTEXT\n10\n0\n20\n0\n40\n9\n50\n0\n51\n90\n",
             "999\n" + std::string(400, 'c') + "\n", DxfLine(0, 0, 2, 0),
             "0\nTEXT\n10\n0\n20\n0\n40\n1\n1\n" + long_text + "\n"},
            "\r\n");
    EXPECT_EQ(Import(dxf), 1);
    V lines = DrawingLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "-1 0.000000 0.000000 2.000000 0.000000 0");
    EXPECT_EQ(lines[2].substr(0, 122), "-1 \"" + std::string(117, 'W') + "\"");
    // A section that only begins with ENTITIES is not the entities section.
    EXPECT_EQ(Import("0\nSECTION\n2\nENTITIES1\n" + DxfLine(0, 0, 5, 5) + "0\nENDSEC\n0\nEOF\n"),
              0);
}

TEST_F(DxfImport, BrokenFilesAddNothingAndSayWhere) {
    struct Case {
        std::string data, message;
    };
    std::string good = Dxf({DxfLine(0, 0, 1, 0)});
    const std::vector<Case> cases = {
        {good.substr(0, good.size() - 30), "line 29: the file ends after a group code"},
        {good.substr(0, good.find("0\nEOF")), "line 34: the file ends without EOF"},
        {"garbage\nmore\n", "line 1: group code \"garbage\" is not an integer"},
        {std::string("AutoCAD Binary DXF\r\n\x1a\0\0\x01", 24),
         "line 1: group code \"AutoCAD Binary DXF\" is not an integer"},
        {"0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n", "line 8: the file has no ENTITIES section"},
        {Dxf({DxfLine(0, 0, 1, 0), "0\nLINE\n10\n1O.5\n20\n0\n11\n3\n21\n3\n"}),
         "line 36: value \"1O.5\" of group 10 is not a number in LINE"},
        {Dxf({"0\nCIRCLE\n10\n0\n20\n0\n40\nnan\n"}),
         "line 24: value \"nan\" of group 40 is not a number in CIRCLE"},
        {Dxf({"0\nLINE\n1 0\n0\n"}), "line 19: group code \"1 0\" is not an integer"},
        {"", "line 0: the file has no ENTITIES section"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Import(c.data, "broken.dxf"), 0);
        V messages = Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("broken.dxf, " + c.message + "; nothing was imported"),
                  std::string::npos)
            << messages[0];
        EXPECT_EQ(ElementCount(), 0);
    }
    EXPECT_EQ(ImportDXF(ScratchDir() + "/missing.dxf"), 0);
    EXPECT_NE(Messages()[0].find("Can't open file for reading"), std::string::npos);
}

TEST_F(DxfImport, AFullTableStopsWithItsMessage) {
    std::vector<std::string> lines;
    for (int i = 0; i < kMaxCLA + 5; ++i)
        lines.push_back(DxfLine(0, i, 1, i));
    EXPECT_EQ(Import(Dxf(lines)), 0);
    V messages = Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "[Out of drawing memory] Too many drawing elements");
    EXPECT_EQ(messages[1],
              "[Import DXF completed] " + std::to_string(ElementCount()) + " DXF entities found");
    EXPECT_GT(ElementCount(), 8000);
}

} // namespace
} // namespace korvel
