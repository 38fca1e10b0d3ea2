// The keyword table of the interpreter: names, handlers and keyword recognition. The codes
// themselves are a file format and live in base/keyword_codes.h.
#pragma once

#include <string_view>

#include "base/keyword_codes.h"

namespace korvel {

// Returned by recogn for a word that matches no keyword, and for an ambiguous abbreviation.
constexpr int kNoKeyword = -1;
constexpr int kAmbiguousKeyword = 9999;

// The command handler of a keyword: reads its arguments from the argument vector, returns 1
// when the line is accepted and 0 when it was rejected (the message has been shown). file is
// nullptr for typed and replayed commands, and line is then 0.
using CommandHandler = int (*)(const char* file, int line);

// The keyword of a code ("" for 34, 35, 64, 65 and for codes outside 0..133).
std::string_view KeywordName(int code);
// The handler of a code; nullptr where the system has none (the line is unrecognized).
CommandHandler KeywordHandler(int code);
// Whether a command takes argument arg (1 for the first after the keyword; `count` arguments
// with the keyword) as text: a name, a file name or free words, which are never read as numbers.
bool IsTextArgument(int code, int arg, int count);

// Recognises a keyword: '$' and a decimal code, the keyword itself, or an abbreviation that
// begins exactly one keyword. Returns the code, kNoKeyword, or kAmbiguousKeyword.
int recogn(std::string_view word);

} // namespace korvel
