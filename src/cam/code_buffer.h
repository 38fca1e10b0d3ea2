// Code buffers: the compiler appends each operation's G-code lines to the buffer of the tool that
// runs it, so that operations with one tool end up together under one tool change. The buffers
// are written one after the other, in the order they were opened, numbered and with their
// numbers normalised, when the program is complete.
#pragma once

#include <string>
#include <vector>

namespace korvel {

constexpr int kCodeBuffers = 128;

// Empties every buffer, sets every buffer's place to -1, the buffer counter to 0 and the
// last-opened pair to -1; line numbering follows the LABELING setting. Returns 1.
int InitCodeBuffers();
// Opens the next buffer for a magazine place (or -1) and returns its number; -1 after
// "Too many code buffers opened" when all 128 are open.
int NewCodeBuffer(int place);
// The magazine place of a buffer; for the last-opened buffer the place it was opened with, even
// after UseNewToolBuffers. -1 after "Buffer number out of range" for a number outside 0..127.
int CodeTool(int buffer);
// Forgets the place of every buffer opened so far: later operations open new buffers even for
// tools already used. Only the last-opened buffer stays reachable for its tool.
void UseNewToolBuffers();
// The number of buffers opened since InitCodeBuffers.
int CodeBufferCount();

// Appends one line (without line end and without N number). An empty text is ignored; a text
// equal to the buffer's last line is not appended again; runs of blanks become one blank.
// 1, or 0 after "Buffer number out of range".
int AppendCode(int buffer, const std::string& text);
// The lines of a buffer (empty outside 0..127).
const std::vector<std::string>& CodeLines(int buffer);

// Frees one buffer's lines: 1, or 0 after "Buffer number out of range".
int _FreeCodeBuffer(int buffer);
// Frees every buffer. Harmless when they are already free. Returns 1.
int CloseCodeBuffers();

// Line numbering: the N number the next written line consumes, -1 when numbering is off.
int LineNumberCounter();
// Numbering on (counter 0) or off (-1).
void SetLineNumbering(bool on);

// Writes one buffer's lines, each numbered as the settings say, normalised and ended by a line
// feed, to the end of *target. 1; 0 after "Target file pointer is NULL" for a null target or
// "Buffer number out of range".
int WriteCode(std::string* target, int buffer);

// The number normaliser: copies source to target, rewriting the numbers after the address
// letters I, J, F, X, Y, Z, R and Q (outside comments) that have more than four characters:
// with four decimals for inches (unit 1), three otherwise, trailing zeros removed (the point
// kept) and a blank added. Returns 1 when it rewrote a number.
int IJFXYZR_mm_to_inch(int unit, const std::string& source, std::string& target);

// The value that a number appended with four decimals ("%0.4f") has in the written program, in
// the user unit: the normaliser leaves three decimals in millimetres and four in inches. A
// control reads this value, not the one the code was made from.
double WrittenNumber(double value);

// A text placed inside a G-code comment: "(" and ")" become "[" and "]", since a comment that
// closes early or nests makes controls reject the program.
std::string CommentText(const std::string& text);

} // namespace korvel
