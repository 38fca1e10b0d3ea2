// Line splitting into the shared argument vector, and the small string routines that the
// readers and writers of every text file share.
#pragma once

#include <cstddef>
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

// The argument vector: slot i of the last split ("" outside 0..31), and the count.
const std::string& Arg(int i);
int ArgCount();
double ArgF(int i); // atof of slot i
// The number slot i begins with (as atof reads it); false when it begins with none.
bool ArgNumber(int i, double& value);
int ArgI(int i); // atoi of slot i, clamped to the int range

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

} // namespace korvel
