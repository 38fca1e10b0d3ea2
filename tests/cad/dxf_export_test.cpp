// DXF export: the fixed sections, every feature's entities, the edge cases of arcs, long holes
// and mirrored texts, the round trip through import, and the file read by ezdxf when the
// Debian package python3-ezdxf is installed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cad/dxf_export.h"
#include "cad/dxf_import.h"
#include "dxf_test_support.h"
#include "model/cla.h"

namespace korvel {
namespace {

using V = std::vector<std::string>;

class DxfExport : public test::DxfTest {
protected:
    std::string Export(int& entities) { return ExportDXFText(entities); }
    // The pairs of the ENTITIES section as "code value" strings, comments left out.
    static V EntityPairs(const std::string& dxf) {
        std::size_t from = dxf.find("ENTITIES\n");
        std::istringstream in(dxf.substr(from + 9));
        V pairs;
        std::string code, value;
        while (std::getline(in, code) && std::getline(in, value)) {
            if (value == "ENDSEC")
                break;
            if (std::stoi(code) != 999)
                pairs.push_back(std::to_string(std::stoi(code)) + " " + value);
        }
        return pairs;
    }
    static int Count(const std::string& s, const std::string& what) {
        int n = 0;
        for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
            ++n;
        return n;
    }
};

TEST_F(DxfExport, EmptyProjectHasHeaderTablesAndNoEntities) {
    int entities = -1;
    std::string dxf = Export(entities);
    EXPECT_EQ(entities, 0);
    EXPECT_EQ(dxf.rfind("999\nKORVEL 3-Axis CAD-CAM Vesrion 2.05\n999\n", 0), 0u);
    EXPECT_NE(dxf.find("  9\n$ACADVER\n  1\nAC1009\n"), std::string::npos);
    EXPECT_NE(dxf.find("  2\nLAYER\n 70\n9\n"), std::string::npos);
    EXPECT_EQ(Count(dxf, "  0\nLAYER\n"), 9);
    EXPECT_NE(dxf.find("  0\nLAYER\n  2\nPOCKET\n 70\n0\n 62\n191\n  6\nCONTINUOUS\n"),
              std::string::npos);
    EXPECT_NE(dxf.find("  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n"), std::string::npos);
    // The default travel is negative: the extents still come out as minimum and maximum.
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(dxf.c_str() + dxf.find("$EXTMIN"),
                          "$EXTMIN\n 10\n%lf\n 20\n%lf\n  9\n$EXTMAX\n 10\n%lf\n 20\n%lf", &x0, &y0,
                          &x1, &y1),
              4);
    EXPECT_LT(x0, x1);
    EXPECT_LT(y0, y1);
    EXPECT_EQ(ExportDXF(ScratchDir() + "/e.dxf"), 1);
    EXPECT_EQ(Messages(), V{"[" + ScratchDir() + "/e.dxf] 0 Entities exported"});
    EXPECT_EQ(test::Slurp(ScratchDir() + "/e.dxf"), dxf);
    EXPECT_EQ(ExportDXF(ScratchDir() + "/no/such/folder.dxf"), 0);
    EXPECT_NE(Messages()[0].find("Can't open file for writing"), std::string::npos);
}

TEST_F(DxfExport, ArcsLongHolesAndTexts) {
    TypeAll({"INFO_CLA 5 -1 10 0 0 -10 -10 -1", "BLOCK 1 100 80 20 0 0 -20 0 0 -1",
             "LONGHOLE 6 1 10 5 20 0 0 0", "INFO_TEXT 7 0 \"m\" 1 2 0 3 -1 1 0",
             "INFO_TEXT 8 0 \"z\" 1 2 0 3 0 1 0"});
    int entities = 0;
    V pairs = EntityPairs(Export(entities));
    EXPECT_EQ(entities, 4 + 4 + 1 + 2);
    auto has = [&](const V& run) {
        for (std::size_t i = 0; i + run.size() <= pairs.size(); ++i)
            if (V(pairs.begin() + static_cast<long>(i),
                  pairs.begin() + static_cast<long>(i + run.size())) == run)
                return true;
        return false;
    };
    EXPECT_TRUE(has({"0 ARC", "8 Drawing", "10 0.000000", "20 0.000000", "30 0.000000",
                     "40 10.000000", "50 -90.000000", "51 0.000000"}));
    EXPECT_TRUE(has({"0 LINE", "8 Pocket", "10 0.000000", "20 -5.000000", "30 0.000000",
                     "11 20.000000", "21 -5.000000"}));
    EXPECT_TRUE(has({"0 LINE", "8 Pocket", "10 20.000000", "20 5.000000", "30 0.000000",
                     "11 0.000000", "21 5.000000"}));
    EXPECT_TRUE(has({"0 ARC", "8 Pocket", "10 20.000000", "20 0.000000", "30 0.000000",
                     "40 5.000000", "50 -90.000000", "51 90.000000"}));
    EXPECT_TRUE(has({"0 ARC", "8 Pocket", "10 0.000000", "20 0.000000", "30 0.000000",
                     "40 5.000000", "50 90.000000", "51 -90.000000"}));
    EXPECT_TRUE(has({"41 1.000000", "71 2", "1 m"}));
    EXPECT_TRUE(has({"41 -0.000000", "71 2", "1 z"}));
    EXPECT_TRUE(has({"0 LINE", "8 Block", "10 100.000000", "20 0.000000", "30 -20.000000",
                     "11 100.000000", "21 80.000000", "31 -20.000000"}));
}

// A drawing of every element kind, in groups, and texts.
const V kDrawing = {"INFO_CLA 1 -1 0 0 10 0 -1",
                    "INFO_CLA 2 -1 10 0 10 10 5 SIDE",
                    "INFO_CLA 3 -1 10 10 0.3 7.7 -6.25 SIDE",
                    "INFO_CLA 4 -1 33.3 44.4 5.55 HOLES",
                    "INFO_CLA 5 -1 -3 -4 -7 -9.5 my_group",
                    "INFO_TEXT 6 0 \"note\" 1 2 30 3 0.9 1 0"};

// The drawing's elements and texts as numbers, a clockwise arc turned counter-clockwise.
std::vector<std::vector<double>> Geometry() {
    std::vector<std::vector<double>> g;
    CLA e;
    for (int i = 0; i < kMaxCLA; ++i) {
        if (!GetCLA(e, i))
            continue;
        if (e.kind == kCwArc)
            g.push_back({double(kCcwArc), e.x2, e.y2, e.x1, e.y1, e.radius});
        else
            g.push_back({double(e.kind), e.x1, e.y1, e.x2, e.y2, e.radius});
    }
    Text t;
    for (int i = 0; i < kMaxTexts; ++i)
        if (GetText(t, i))
            g.push_back({t.x, t.y, t.height, t.angle, t.scale}); // TEXT carries no alignment
    return g;
}

TEST_F(DxfExport, ImportExportImportKeepsTheDrawing) {
    std::string drawing = test::Dxf({
        test::DxfLine(0.1234567, 0, 10, 0.7654321, "Walls"),
        "0\nARC\n8\nwalls\n10\n1\n20\n2\n40\n10\n50\n10\n51\n250\n",
        "0\nCIRCLE\n10\n5\n20\n5\n40\n2.5\n",
        "0\nLWPOLYLINE\n90\n3\n70\n1\n10\n0\n20\n0\n42\n-3\n10\n10\n20\n0\n10\n10\n"
        "20\n10\n42\n0.3\n",
        "0\nTEXT\n10\n3\n20\n3\n40\n1\n41\n0.8\n50\n30\n71\n2\n1\nHello\n",
        "0\nMTEXT\n10\n1\n20\n2\n40\n2\n71\n9\n11\n0.6\n21\n0.8\n1\nAB\\PCD\n",
    });
    ASSERT_EQ(Import(drawing), 1);
    auto first = Geometry();
    EXPECT_EQ(first.size(), 1u + 2 + 1 + 4 + 1 + 2);
    int entities = 0;
    std::string exported = Export(entities);
    EXPECT_EQ(entities, 11);
    InitCLA();
    InitText(-999); // every slot
    ASSERT_EQ(Import(exported), 1);
    auto second = Geometry();
    ASSERT_EQ(second.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        for (std::size_t j = 0; j < first[i].size(); ++j)
            EXPECT_NEAR(second[i][j], first[i][j], 1e-6) << i << " " << j;
}

TEST_F(DxfExport, EzdxfReadsEveryFeatureWithoutAuditErrors) {
    if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    TypeAll(kDrawing);
    for (const char* line :
         {"BLOCK 30 100 80 20 0 0 -20 0 0 -1", "DRILL 20 30 8.5 20 10 10 0.5 0 7 8",
          "THREAD 21 30 10 1.5 15 30 10 0.5 0", "LONGHOLE 22 30 10 5 20 0 40 40",
          "BORE 23 30 30 10 50 40 1 2 3 4", "RBULGE 24 30 40 30 5 10 10 0 0 0 0 -1 0 0",
          "RPOCKET 25 30 30 20 4 50 10 3 0 0 0 -1 0 0", "ENG_CLA 26 30 1 2 3 4 0.5 0.25",
          "ENG_CLA 27 30 5 5 2 0.1 0.1"})
        Type(line);
    Messages();
    std::string path = ScratchDir() + "/all.dxf";
    ASSERT_EQ(ExportDXF(path), 1);
    V messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    std::string count = messages[0].substr(messages[0].find("] ") + 2);
    std::string script = ScratchDir() + "/check.py";
    WriteFile("check.py",
              "import sys, collections, ezdxf\n"
              "doc = ezdxf.readfile(sys.argv[1])\n"
              "auditor = doc.audit()\n"
              "kinds = collections.Counter(e.dxftype() for e in doc.modelspace())\n"
              "print(len(auditor.errors), sum(kinds.values()), kinds['LINE'], kinds['ARC'],\n"
              "      kinds['CIRCLE'], kinds['TEXT'], doc.dxfversion)\n");
    std::string out, err;
    ASSERT_EQ(test::RunCommand("/usr/bin/python3 " + script + " " + path, &out, &err), 0) << err;
    // Errors, entities, lines, arcs, circles, texts.
    int n = std::stoi(count);
    std::string dxf = test::Slurp(path);
    EXPECT_GE(n, 25); // block, holes, long hole, bulge, pocket, drawing, engraving
    EXPECT_EQ(out, "0 " + std::to_string(n) + " " + std::to_string(Count(dxf, "  0\nLINE\n")) +
                       " " + std::to_string(Count(dxf, "  0\nARC\n")) + " " +
                       std::to_string(Count(dxf, "  0\nCIRCLE\n")) + " " +
                       std::to_string(Count(dxf, "  0\nTEXT\n")) + " AC1009\n");
}

} // namespace
} // namespace korvel
