// Line splitting into the shared argument vector, and the small string routines that the
// readers and writers of every text file share.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace korvel {

constexpr int kMaxArgs = 32;            // slots of the argument vector
constexpr std::size_t kMaxArgLen = 255; // characters a slot holds

// Splitters. Each overwrites the argument vector and returns the count it leaves: the number
// of tokens stored (0..31), or -1 when the line held 32 or more tokens (the stored tokens are
// then to be ignored). The line is cut at its end (rmnl) in place; a NUL byte ends the line.
//   args:   script words; blanks and tabs separate, a word opening with '"' runs to the next
//           '"' (both kept), and each of ( ) [ ] = , < > \xB3 | & # ^ % ; is a token by itself
//   argt:   tab-separated fields (database files); blanks belong to the field
//   arg_gm: G-code words; N, G, M and S words end at the first non-digit after the letter
int args(std::string& line);
int argt(std::string& line);
int arg_gm(std::string& line);

namespace detail {
// The last split's tokens, for the inline accessors below: handlers read their arguments
// through these for every line of every file.
struct TokenSpan {
    std::size_t begin = 0;
    std::size_t length = 0;
};
struct ParsedNumber {
    bool consumed = false; // the token begins with a number
    double value = 0;      // the number (atof)
    int whole = 0;         // its integer part (atoi), where g_whole says so
};
extern std::string g_line;                     // the line, which the tokens are spans of
extern std::array<TokenSpan, kMaxArgs> g_span; // token i
extern int g_stored;                           // tokens stored (32 when the count is -1)
extern std::array<ParsedNumber, kMaxArgs> g_number;
extern std::uint32_t g_parsed; // bit i: g_number[i].value and consumed hold token i's number
extern std::uint32_t g_whole;  // bit i: g_number[i].whole holds token i's atoi

inline std::string_view Token(int i) {
    if (static_cast<unsigned>(i) >= static_cast<unsigned>(g_stored))
        return {};
    return std::string_view(g_line.data() + g_span[i].begin, g_span[i].length);
}
bool ArgNumberSlow(int i, double& value);
int ArgISlow(int i);
} // namespace detail

// The argument vector: slot i of the last split ("" where the split stored no token), and the
// count. A reference stays valid until the next split.
const std::string& Arg(int i);
// The same token, without making a string of it.
inline std::string_view ArgView(int i) { return detail::Token(i); }
int ArgCount();

// The number slot i begins with (as atof reads it); false when it begins with none.
inline bool ArgNumber(int i, double& value) {
    if (static_cast<unsigned>(i) < static_cast<unsigned>(kMaxArgs) &&
        (detail::g_parsed >> i & 1u)) {
        value = detail::g_number[i].value;
        return detail::g_number[i].consumed;
    }
    return detail::ArgNumberSlow(i, value);
}

// atof of slot i.
inline double ArgF(int i) {
    double v;
    ArgNumber(i, v);
    return v;
}

// atoi of slot i, clamped to the int range.
inline int ArgI(int i) {
    if (static_cast<unsigned>(i) < static_cast<unsigned>(kMaxArgs) && (detail::g_whole >> i & 1u))
        return detail::g_number[i].whole;
    return detail::ArgISlow(i);
}

// Keeps the argument vector of the line being handled aside while a nested interpretation (an
// INCLUDE, an undo replay, a machine file) splits lines of its own, and puts it back when it
// goes out of scope: the outer handler then reads its own arguments again.
class SavedArguments {
public:
    SavedArguments();
    ~SavedArguments();
    SavedArguments(const SavedArguments&) = delete;
    SavedArguments& operator=(const SavedArguments&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Writes every stored argument followed by one blank; returns the count.
int inv_args(std::string& buffer);

// Cuts at the first line feed or, without one, the first carriage return; 1 if it cut.
int rmnl(std::string& s);
// 1 if the string holds a line feed or a carriage return.
int enl(std::string_view s);
// Removes trailing blanks and tabs and returns the position of the first character that is
// neither (the text is not shifted).
std::size_t rmb(std::string& s);
// Removes trailing blanks and tabs.
void rmtb(std::string& s);
// Upper-cases a-z; every other byte stays.
void caps(std::string& s);
// Trims blanks and tabs, then drops one leading and one trailing double quote.
void RemQuotes(std::string& s);
void UScore2Blank(std::string& s);
void Blank2UScore(std::string& s); // blanks and tabs become '_'
// Copies src to dst, folding every run of blanks into one blank.
void cpstr(std::string& dst, std::string_view src);
// Copies exactly n bytes of src (fewer if src is shorter).
void q_copy(std::string& dst, std::string_view src, std::size_t n);
// 1 if s holds nothing but blanks, tabs, carriage returns and line feeds.
int IsBlank(std::string_view s);
// 1 if path names a regular file that can be opened for reading.
int FileExist(const std::string& path);

// A string stack of 8 entries for the database dialogs: a push on a full stack and a pop on an
// empty one do nothing.
void Remember(const std::string& s);
void Retrieve(std::string& s);
void ClearStringStack();

// While an ExactFloats lives, Sprintf writes every %f conversion as %.17g, so that the line
// reads back to the very same doubles: for the lines that undo and redo replay.
class ExactFloats {
public:
    ExactFloats();
    ~ExactFloats();
    ExactFloats(const ExactFloats&) = delete;
    ExactFloats& operator=(const ExactFloats&) = delete;

private:
    bool previous_;
};

// printf-style formatting into a std::string ("C" locale numbers).
std::string Sprintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// An upper-cased copy, for handlers that take words in any case.
std::string Upper(std::string_view s);

// A name read from one token (file, machine, tool and material names): a token in double
// quotes loses them; a double quote left inside becomes an apostrophe, since a written name
// cannot hold one. Reading what was written then gives the same name again.
std::string NameToken(const std::string& token);

// A text as one token of a written line: between double quotes when it is empty or holds a
// blank, a tab or a character the splitter cuts at.
std::string QuoteIfNeeded(const std::string& text);

// A number written so that reading it back gives the same double ("%.17g"): for the commands
// that undo pushes, which must restore exact values.
std::string ExactNumber(double v);

// A value written with a fixed number of decimals ("%0.*f"), unless that would turn a value
// that is not zero into zero: the readers refuse zero where they want a positive size, so such
// a value is written in full ("%.17g").
std::string FixedNonZero(double v, int decimals);

} // namespace korvel
