// Reading the words of a G-code line for the simulation: values as the word scanner reads them,
// the faults it names, and one block read into line after line.
#include <gtest/gtest.h>

#include <string>

#include "cam/gcode_block.h"
#include "geometry/gcode_reader.h"

namespace korvel {
namespace {

TEST(GcodeBlockTest, WordsHaveTheValuesTheWordScannerReads) {
    for (const char* word :
         {"X12.3456", "x-.5", "Y100", "Z-0.", "F1200.", "I-7.25", "R3", "Q0.0001", "S3000", "H12",
          "N10", "P500", "T7", "X123456.789012345678"}) {
        GcodeBlock b;
        std::string error;
        ASSERT_TRUE(ReadGcodeBlock(std::string("  ") + word + " ", b, error)) << word << error;
        int letter;
        double value;
        ASSERT_TRUE(gcom(word, letter, value).has_value()) << word;
        EXPECT_EQ(b.letters, 1u << (letter - 'A')) << word;
        EXPECT_EQ(b.Value(static_cast<char>(letter)), value) << word;
    }
}

// A block read into again holds the new line's words only, whatever the earlier line held
// or however it failed; and the fault of a line is named the same wherever the word stands.
TEST(GcodeBlockTest, ABlockReadIntoAgainHoldsOnlyTheNewLine) {
    GcodeBlock b;
    std::string error;
    ASSERT_TRUE(ReadGcodeBlock("G02 G90 X1. Y2. I3. J4. M08 M03 S100", b, error));
    EXPECT_EQ(b.g_count, 2);
    EXPECT_EQ(b.m_count, 2);
    ASSERT_TRUE(ReadGcodeBlock("G01 X5.", b, error));
    EXPECT_EQ(b.g_count, 1);
    EXPECT_EQ(b.g[0], 10);
    EXPECT_EQ(b.m_count, 0);
    EXPECT_FALSE(b.Has('I') || b.Has('Y') || b.Has('S'));
    EXPECT_EQ(b.Value('I'), 0);
    EXPECT_EQ(b.Value('X'), 5);
    ASSERT_TRUE(ReadGcodeBlock("%", b, error));
    EXPECT_TRUE(b.percent);
    EXPECT_FALSE(ReadGcodeBlock("G01 X1.5.5 Y1.", b, error));
    EXPECT_EQ(error, "cannot read X1.5.5");
    ASSERT_TRUE(ReadGcodeBlock("Y1.", b, error));
    EXPECT_TRUE(error.empty());
    EXPECT_FALSE(b.percent || b.Has('X'));
    const char* faults[][2] = {
        {"X-1-2", "cannot read X-1-2"},
        {"G1-2", "cannot read G1-2"},
        {"D1.5.", "cannot read D1.5."},
        {"%1-2", "cannot read %1-2"},
        {"?5", "cannot read \"?5\""},
        {"S10.5", "S10.5 is not a whole number"},
        {"X1. X2.", "X given twice"},
        {"Z2000000.", "Z word out of range"},
        {"G59.12", "G59.12 is not a whole number"},
    };
    for (auto& f : faults)
        for (const char* before : {"", "G01 ", "(C) N5 "}) {
            std::string line = std::string(before) + f[0];
            EXPECT_FALSE(ReadGcodeBlock(line, b, error)) << line;
            EXPECT_EQ(error, f[1]) << line;
        }
}

} // namespace
} // namespace korvel
