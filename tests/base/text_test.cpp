// Line splitters and string routines.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/text.h"

namespace korvel {
namespace {

std::vector<std::string> Tokens(int (*splitter)(std::string&), std::string line) {
    int n = splitter(line);
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(Arg(i));
    return out;
}

using V = std::vector<std::string>;

TEST(Args, BlankLinesGiveNoTokens) {
    std::string empty, blanks = "   \t  \n";
    EXPECT_EQ(args(empty), 0);
    EXPECT_EQ(args(blanks), 0);
}

TEST(Args, DelimitersAndQuotesMakeTheirOwnTokens) {
    EXPECT_EQ(Tokens(args, "BLOCK 100,50 \"Steel plate\""),
              (V{"BLOCK", "100", ",", "50", "\"Steel plate\""}));
    EXPECT_EQ(Tokens(args, "X=10"), (V{"X", "=", "10"}));
    EXPECT_EQ(Tokens(args, "#BLOCK"), (V{"#", "BLOCK"}));
    EXPECT_EQ(Tokens(args, "a(b)[c]<d>|e&f^g%h;i\xB3j"),
              (V{"a", "(", "b", ")", "[", "c", "]", "<", "d", ">",    "|",
                 "e", "&", "f", "^", "g", "%", "h", ";", "i", "\xB3", "j"}));
    EXPECT_EQ(Tokens(args, "MSG \"no end here"), (V{"MSG", "\"no end here"}));
    EXPECT_EQ(Tokens(args, "\tkeep Case\n"), (V{"keep", "Case"}));
}

TEST(Args, ThirtyOneTokensFitThirtyTwoDoNot) {
    std::string line31, line32;
    for (int i = 0; i < 31; ++i)
        line31 += "w ";
    line32 = line31 + "w";
    EXPECT_EQ(args(line31), 31);
    EXPECT_EQ(args(line32), -1);
    EXPECT_EQ(ArgCount(), -1);
}

TEST(Args, LongWordsContinueAsNextToken) {
    std::string word(300, 'x');
    std::string line = word;
    ASSERT_EQ(args(line), 2);
    EXPECT_EQ(Arg(0).size(), 255u);
    EXPECT_EQ(Arg(1).size(), 45u);
}

TEST(Args, NulByteEndsTheLine) {
    std::string line("BLOCK 1\0 2 3", 12);
    EXPECT_EQ(Tokens(args, line), (V{"BLOCK", "1"}));
}

TEST(Args, SlotsOutsideTheVectorAreEmpty) {
    std::string line = "A B";
    args(line);
    EXPECT_EQ(Arg(-1), "");
    EXPECT_EQ(Arg(32), "");
    EXPECT_EQ(Arg(5), "");
}

TEST(Argt, TabsOnlySeparate) {
    EXPECT_EQ(Tokens(argt, "ST37 2\t\t  lead\tlast field \n"),
              (V{"ST37 2", "lead", "last field "}));
}

TEST(ArgGm, GCodeWords) {
    EXPECT_EQ(Tokens(arg_gm, "N10G01X5.5 Y2"), (V{"N10", "G01", "X5.5", "Y2"}));
    EXPECT_EQ(Tokens(arg_gm, "N20 (TOOL 3) M06"), (V{"N20", "(TOOL 3", ")", "M06"}));
    EXPECT_EQ(Tokens(arg_gm, "S1200M3"), (V{"S1200", "M3"}));
}

TEST(InvArgs, WritesEachArgumentWithABlank) {
    std::string line = "MOVE 3 1.5", out;
    args(line);
    EXPECT_EQ(inv_args(out), 3);
    EXPECT_EQ(out, "MOVE 3 1.5 ");
    std::string blank;
    args(blank);
    EXPECT_EQ(inv_args(out), 0);
    EXPECT_EQ(out, "");
}

TEST(StringRoutines, LineEnds) {
    std::string a = "abc\r\n", b = "abc\rdef", c = "abc";
    EXPECT_EQ(rmnl(a), 1);
    EXPECT_EQ(a, "abc\r");
    EXPECT_EQ(rmnl(b), 1);
    EXPECT_EQ(b, "abc");
    EXPECT_EQ(rmnl(c), 0);
    EXPECT_EQ(enl("x\n"), 1);
    EXPECT_EQ(enl("x"), 0);
}

TEST(StringRoutines, BlankTrimming) {
    std::string s = "  a b  ";
    std::size_t first = rmb(s);
    EXPECT_EQ(s, "  a b");
    EXPECT_EQ(s.substr(first), "a b");
    std::string empty;
    EXPECT_EQ(rmb(empty), 0u);
    std::string t = "x \t";
    rmtb(t);
    EXPECT_EQ(t, "x");
}

TEST(StringRoutines, CaseQuotesAndUnderscores) {
    std::string s = "abc\xE9z9";
    caps(s);
    EXPECT_EQ(s, "ABC\xE9Z9");

    std::string q = "  \"two words\" ", w = "word", inner = "\"a\"b\"";
    RemQuotes(q);
    RemQuotes(w);
    RemQuotes(inner);
    EXPECT_EQ(q, "two words");
    EXPECT_EQ(w, "word");
    EXPECT_EQ(inner, "a\"b");

    std::string u = "a b\tc";
    Blank2UScore(u);
    EXPECT_EQ(u, "a_b_c");
    UScore2Blank(u);
    EXPECT_EQ(u, "a b c");
}

TEST(StringRoutines, CopiesAndBlankTests) {
    std::string d;
    cpstr(d, "G01  X1   Y2\t\tZ3");
    EXPECT_EQ(d, "G01 X1 Y2\t\tZ3");
    q_copy(d, "abcdef", 3);
    EXPECT_EQ(d, "abc");
    q_copy(d, "ab", 5);
    EXPECT_EQ(d, "ab");
    EXPECT_EQ(IsBlank(" \t\r\n"), 1);
    EXPECT_EQ(IsBlank(""), 1);
    EXPECT_EQ(IsBlank(" x"), 0);
}

TEST(StringRoutines, FileExistOnlyForReadableFiles) {
    EXPECT_EQ(FileExist("/nonexistent/korvel"), 0);
    EXPECT_EQ(FileExist("/tmp"), 0);
    EXPECT_EQ(FileExist("/proc/self/status"), 1);
}

TEST(StringStack, EightDeepThenIgnored) {
    ClearStringStack();
    for (int i = 0; i < 9; ++i)
        Remember("s" + std::to_string(i));
    std::string s;
    Retrieve(s);
    EXPECT_EQ(s, "s7");
    for (int i = 0; i < 7; ++i)
        Retrieve(s);
    EXPECT_EQ(s, "s0");
    s = "kept";
    Retrieve(s);
    EXPECT_EQ(s, "kept");
}

} // namespace
} // namespace korvel

namespace korvel {
namespace {

std::string Reference(const char* format, double v) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

TEST(SprintfTest, NumbersAsPrintfWritesThem) {
    // Doubles of every size and the halfway cases of rounding, in each format the writers use.
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  0.125,
                                  0.0625,
                                  1.000005,
                                  2.0000049,
                                  123456.789,
                                  -98.7654321,
                                  1e-7,
                                  3.14159265358979,
                                  25.4,
                                  1 / 25.4,
                                  1e12,
                                  -1e-300};
    unsigned seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        double mantissa = (seed % 2000001) / 1000.0 - 1000.0;
        int exponent = static_cast<int>(seed >> 20) % 13 - 6;
        values.push_back(mantissa * std::pow(10.0, exponent));
    }
    // Near and exact ties: decimals ending in 5 one place past the precision, and binary
    // fractions, whose ties are exact.
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::string text = std::to_string(seed % 100000) + "." + std::to_string(seed >> 12) + "5";
        values.push_back(std::strtod(text.c_str(), nullptr));
        values.push_back(-static_cast<double>(seed % 4096) / 1024.0);
        values.push_back(static_cast<double>(seed) * 1e3 + 0.5); // near the largest quick values
    }
    for (double v : values) {
        for (const char* format : {"%0.5f", "%0.3f", "%f", "%0.1f", "%.17g", "%0.2f", "%0.0f",
                                   "%0.9f", "%12.4f", "%-9.2f|"})
            ASSERT_EQ(Sprintf(format, v), Reference(format, v)) << format << " " << v;
    }
    EXPECT_EQ(Sprintf("$%d %s %c%s%c %ld|%-6s|%5d|%zu %%", 22, "x", '"', "a b", '"', 7L, "ab", 42,
                      std::size_t(9)),
              "$22 x \"a b\" 7|ab    |   42|9 %");
    EXPECT_EQ(Sprintf("%05d %+d %0.*f", 42, 3, 2, 1.005), "00042 +3 1.00"); // via printf
    EXPECT_EQ(Sprintf("%0.5f %f", NAN, -INFINITY), Reference("%0.5f", NAN) + " -inf");
}

} // namespace
} // namespace korvel

namespace korvel {
namespace {

TEST(ArgNumbers, PlainDecimalsReadExactlyAsStrtod) {
    unsigned seed = 99;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 1103515245u + 12345u;
        long long whole = static_cast<long long>(seed % 100000000);
        seed = seed * 1103515245u + 12345u;
        int decimals = static_cast<int>(seed % 8);
        std::string word = (seed & 1 ? "-" : "") + std::to_string(whole);
        if (decimals > 0 && word.size() > static_cast<std::size_t>(decimals) + 1)
            word.insert(word.size() - decimals, ".");
        std::string line = "X " + word;
        args(line);
        ASSERT_EQ(ArgF(1), std::strtod(word.c_str(), nullptr)) << word;
    }
    for (const char* word : {"0.1", "1234567890.12345", "123456789012345678", ".5", "5.", "-0",
                             "0.000001", "999999999999999"}) {
        std::string line = std::string("X ") + word;
        args(line);
        EXPECT_EQ(ArgF(1), std::strtod(word, nullptr)) << word;
    }
}

TEST(ArgNumbers, ReadAsAtofAndAtoiWould) {
    std::string line = "X 12 -3.5e2 +7 .5 1e999 0x1A 12abc abc +-3 99999999999 -99999999999 nan";
    ASSERT_EQ(args(line), 13);
    for (int i = 1; i <= 11; ++i) {
        EXPECT_EQ(ArgF(i), std::atof(Arg(i).c_str())) << Arg(i);
        if (i != 5 && i != 6 && i < 10) { // outside the int range atoi has no defined result
            EXPECT_EQ(ArgI(i), std::atoi(Arg(i).c_str())) << Arg(i);
        }
    }
    EXPECT_EQ(ArgI(10), INT_MAX);
    EXPECT_EQ(ArgI(11), INT_MIN);
    EXPECT_TRUE(std::isnan(ArgF(12)));
    double v;
    EXPECT_FALSE(ArgNumber(8, v)); // "abc"
    EXPECT_TRUE(ArgNumber(7, v));  // "12abc" begins with 12
    EXPECT_EQ(v, 12);
}

// Script words are read as numbers while the line is split, tab fields and G-code words only
// when asked for: both ways must give what atof and atoi give.
TEST(ArgNumbers, EverySplitterReadsTheSameNumbers) {
    const char* words[] = {"0",
                           "-0",
                           "+5",
                           "007",
                           "12.",
                           ".5",
                           "-.5",
                           "1.25e3",
                           "12.5x",
                           "-",
                           "+",
                           ".",
                           "1.2.3",
                           "--1",
                           "123456789",
                           "-123456789",
                           "1234567890",
                           "999999999.5",
                           "0.000001",
                           "-42.00000",
                           "+-3",
                           "12345678901234.5",
                           "1234567890123456"};
    unsigned seed = 7;
    std::vector<std::string> all(std::begin(words), std::end(words));
    for (int i = 0; i < 2000; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::string w = seed & 1 ? "-" : "";
        w += std::to_string(seed % 100000);
        if (seed & 2)
            w += "." + std::to_string(seed >> 20);
        all.push_back(w);
    }
    for (const std::string& word : all) {
        std::string script = "X " + word + " Y";
        std::string tabbed = "X\t" + word + "\tY";
        for (int splitter = 0; splitter < 2; ++splitter) {
            ASSERT_EQ(splitter == 0 ? args(script) : argt(tabbed), 3) << word;
            ASSERT_EQ(Arg(1), word);
            double expected = std::atof(word.c_str());
            EXPECT_EQ(std::signbit(ArgF(1)), std::signbit(expected)) << word;
            EXPECT_EQ(ArgF(1), expected) << word;
            long long whole = std::strtoll(word.c_str(), nullptr, 10);
            if (whole >= INT_MIN && whole <= INT_MAX) {
                EXPECT_EQ(ArgI(1), whole) << word;
            }
            EXPECT_EQ(ArgF(2), 0);
        }
    }
}

// A slot the last split did not fill reads as empty, never as a word of an earlier line.
TEST(ArgNumbers, SlotsPastTheCountAreEmpty) {
    std::string long_line = "A 1 2 3 4 5 6";
    ASSERT_EQ(args(long_line), 7);
    std::string short_line = "B 9";
    ASSERT_EQ(args(short_line), 2);
    EXPECT_EQ(Arg(3), "");
    EXPECT_EQ(ArgView(3), "");
    EXPECT_EQ(ArgF(3), 0);
    EXPECT_EQ(ArgI(3), 0);
    double v = 1;
    EXPECT_FALSE(ArgNumber(3, v));
    EXPECT_EQ(v, 0);
    EXPECT_EQ(Arg(-1), "");
    EXPECT_EQ(ArgI(40), 0);
    // A word longer than a slot is cut; its number is read from what the slot holds.
    std::string digits(300, '1');
    std::string huge = "X " + digits;
    ASSERT_EQ(args(huge), 3);
    EXPECT_EQ(Arg(1).size(), kMaxArgLen);
    EXPECT_EQ(ArgF(1), std::atof(digits.substr(0, kMaxArgLen).c_str()));
    EXPECT_EQ(ArgI(1), INT_MAX);
    EXPECT_EQ(Arg(2), digits.substr(kMaxArgLen));
    EXPECT_EQ(ArgI(2), INT_MAX); // atoi has no defined result past the int range
}

} // namespace
} // namespace korvel
