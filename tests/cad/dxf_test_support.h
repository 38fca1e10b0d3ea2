// What the DXF tests share: a fixture with the import settings reset, hand-written drawings
// built from entity snippets, and the drawing's project lines.
#pragma once

#include <string>
#include <vector>

#include "cad/dxf_import.h"
#include "model/cla.h"
#include "model/texts.h"
#include "support.h"

namespace korvel::test {

// A DXF file with the given entities (each a run of "code\nvalue\n" lines) in its ENTITIES
// section, after a HEADER section, with line ends `eol`.
inline std::string Dxf(const std::vector<std::string>& entities, const std::string& eol = "\n") {
    std::string s = "999\nhand-written\n0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n0\nENDSEC\n"
                    "0\nSECTION\n2\nENTITIES\n";
    for (const std::string& e : entities)
        s += e;
    s += "0\nENDSEC\n0\nEOF\n";
    if (eol == "\n")
        return s;
    std::string out;
    for (char c : s) {
        if (c == '\n')
            out += eol;
        else
            out += c;
    }
    return out;
}

inline std::string DxfLine(double x1, double y1, double x2, double y2, const char* layer = "0") {
    return "0\nLINE\n8\n" + std::string(layer) + "\n10\n" + std::to_string(x1) + "\n20\n" +
           std::to_string(y1) + "\n30\n0\n11\n" + std::to_string(x2) + "\n21\n" +
           std::to_string(y2) + "\n31\n0\n";
}

class DxfTest : public KorvelTest {
protected:
    void SetUp() override {
        KorvelTest::SetUp();
        DXFImportOptions() = DXFImportSettings{};
        DXFImportOptions().first_point = false;
    }
    // Imports the text as a file; the import's result.
    int Import(const std::string& dxf, const std::string& name = "t.dxf") {
        return ImportDXF(WriteFile(name, dxf));
    }
    // Every drawing element's and drawing text's project line, in table order.
    static std::vector<std::string> DrawingLines() {
        std::vector<std::string> lines;
        std::string line;
        for (int i = 0; i < kMaxCLA; ++i)
            if (StrCLAData(line, i) && !line.empty())
                lines.push_back(line.substr(line.find(' ', line.find(' ') + 1) + 1));
        for (int i = 0; i < kMaxTexts; ++i)
            if (StrInfoTextData(line, i) && !line.empty())
                lines.push_back(line.substr(line.find(' ', line.find(' ') + 1) + 1));
        return lines;
    }
    static int ElementCount() {
        int n = 0;
        for (int i = 0; i < kMaxCLA; ++i)
            n += CLA_valid(i) ? 1 : 0;
        return n;
    }
};

} // namespace korvel::test
