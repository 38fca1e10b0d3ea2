// korvelc dxf-export and dxf-import: every example exported and read back by ezdxf (when the
// Debian package python3-ezdxf is installed) and by korvelc itself; broken drawings exit 1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "cli_support.h"
#include "support.h"

namespace korvel {
namespace {

using test::CliRun;
using test::Korvelc;

class KorvelcDxf : public test::KorvelTest {};

TEST_F(KorvelcDxf, EveryExampleExportsAndReadsBack) {
    bool ezdxf = std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
    std::string check =
        WriteFile("check.py", "import sys, ezdxf\n"
                              "doc = ezdxf.readfile(sys.argv[1])\n"
                              "auditor = doc.audit()\n"
                              "print(len(auditor.errors), len(doc.modelspace()))\n");
    for (const char* name :
         {"drilled-plate", "first-steps", "flange-plate", "pocket-plate", "stepped-boss"}) {
        SCOPED_TRACE(name);
        std::string project = std::string(KORVEL_SOURCE_DIR) + "/examples/" + name + ".kvp";
        std::string dxf = ScratchDir() + "/" + name + ".dxf";
        CliRun r = Korvelc("dxf-export " + project + " -o " + dxf);
        ASSERT_EQ(r.status, 0) << r.err;
        std::size_t at = r.err.find(" Entities exported");
        ASSERT_NE(at, std::string::npos) << r.err;
        std::string count =
            r.err.substr(r.err.rfind(' ', at - 1) + 1, at - r.err.rfind(' ', at - 1) - 1);
        EXPECT_GT(std::stoi(count), 0);
        if (ezdxf) {
            CliRun e{};
            e.status = test::RunCommand("/usr/bin/python3 " + check + " " + dxf, &e.out, &e.err);
            EXPECT_EQ(e.status, 0) << e.err;
            EXPECT_EQ(e.out, "0 " + count + "\n");
        }
        CliRun back = Korvelc("dxf-import " + dxf + " -o " + ScratchDir() + "/back.kvp");
        EXPECT_EQ(back.status, 0) << back.err;
        EXPECT_NE(back.err.find("DXF entities found"), std::string::npos) << back.err;
    }
    if (!ezdxf)
        GTEST_SKIP() << "python3-ezdxf is not installed: read back by korvelc only";
}

TEST_F(KorvelcDxf, ImportOptionsAndBrokenFiles) {
    std::string good = WriteFile("g.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nA\n10\n1\n20\n1\n"
                                          "11\n2\n21\n1\n0\nENDSEC\n0\nEOF\n");
    std::string out = ScratchDir() + "/g.kvp";
    CliRun r = Korvelc("dxf-import " + good + " --at 10,20 --unit 2 --first-point -o " + out);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(test::Slurp(out).find(" -1 10.000000 20.000000 12.000000 20.000000 A\n"),
              std::string::npos)
        << test::Slurp(out);
    std::string broken = WriteFile("b.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\n");
    r = Korvelc("dxf-import " + broken + " -o " + ScratchDir() + "/b.kvp");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("b.dxf, line 8: the file ends inside the ENTITIES section"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Korvelc("dxf-import " + good + " --unit 0").status, 2);
    EXPECT_EQ(Korvelc("dxf-export").status, 2);
}

} // namespace
} // namespace korvel
