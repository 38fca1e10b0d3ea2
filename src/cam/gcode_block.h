// One line of a G-code program read into its words, for the program simulation. Unlike the
// drawing view's line reader (geometry/gcode_reader.h), this reader only collects the words;
// the simulation then applies them in the order a control does, whatever their order on the
// line. It reads what Korvel writes and what machinists commonly add by hand: decimal G codes
// (G59.1), comments in parentheses anywhere on a line, ';' comments, block delete '/', and
// integer words written with a decimal point of zero (S1000.).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

struct GcodeBlock {
    static constexpr int kMaxCodes = 12;
    int g[kMaxCodes] = {}; // G codes times ten, in line order: G1 is 10, G59.1 is 591
    int g_count = 0;
    int m[kMaxCodes] = {}; // M codes
    int m_count = 0;
    std::uint32_t letters = 0; // bit (letter - 'A') for each other word on the line
    double value[26] = {};     // the value of each such word, as written (others: see Value)
    bool percent = false;      // a '%' line (program start or end)

    bool Has(char letter) const { return letters >> (letter - 'A') & 1u; }
    // The value of a word on the line, 0 for a letter the line does not have. (A block read
    // into again keeps the values of words its earlier line had; only this reads them right.)
    double Value(char letter) const { return Has(letter) ? value[letter - 'A'] : 0.0; }
    bool HasG(int code10) const {
        for (int k = 0; k < g_count; ++k)
            if (g[k] == code10)
                return true;
        return false;
    }
    bool HasM(int code) const {
        for (int k = 0; k < m_count; ++k)
            if (m[k] == code)
                return true;
        return false;
    }
};

// The largest magnitude of a number the reader accepts (a kilometre in millimetres): beyond it
// no program value makes sense, and every later computation stays finite.
constexpr double kLargestGcodeValue = 1e6;

// Reads the words of one line into `block`, in place of what it held. False, with the reason in
// `error`, for a word the reader cannot read: an unknown character, a G or M code with more
// than one decimal, an integer word with a fraction, a letter given twice, too many G or M
// codes, or a number out of range.
bool ReadGcodeBlock(std::string_view line, GcodeBlock& block, std::string& error);

} // namespace korvel
