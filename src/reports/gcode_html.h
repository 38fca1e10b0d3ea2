// The G-code program as a coloured HTML page for the user's HTML viewer: G words red, M words
// blue, block numbers green italic, comments green bold, everything else black. The view is
// read-only; the program is edited with the editor program.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// Writes the page of a program file as ncfile.html in the current directory and starts the
// HTML viewer (HTMLVIEW) on it, without waiting. When the page could not be written (a
// message said why) the viewer is not started, so that it never shows an older program's page
// in its place. Returns 1.
int ViewGCode(const std::string& gcode_path);

// Writes the page of source_path to html_path, replacing it only when the whole page was
// written. 1; 0 after "File not found" captioned with the path that could not be read or
// written. Lines may end in LF, CR LF or a lone CR.
int TranslateFile(const std::string& source_path, const std::string& html_path);

// Rewrites one program line (without its line end) into its HTML form: every word in its span,
// each followed by one blank, all text escaped. Returns the number of words.
int translate(std::string& line);

// The length of the G-code word at the start of text: a comment runs up to its ")" (which
// starts the next word) or the end; an N, G, M or S word ends at the first non-digit after its
// letter; any other word at the next blank or tab. 0 at the end of the text.
std::size_t gm_len(std::string_view text);
// Splits a line into its G-code words, cut at its first line feed or, without one, its first
// carriage return; blanks and tabs between words are dropped. Returns the number of words;
// there is no limit on the count or the length of the words.
int arg_gm(const std::string& line, std::vector<std::string>& words);
// Joins words back into one string, each followed by one blank; returns the count.
int inv_args(const std::vector<std::string>& words, std::string& buffer);

// Whether an (upper-case) word is one of the G or M words the view colours; whether a word is
// a block number (it begins with N).
int isgcode(std::string_view word);
int ismcode(std::string_view word);
int islabel(std::string_view word);

// The page's opening lines (document type, character set, title, the five word styles, the
// start of the body) and its closing lines, each ended by a line feed. Both return 1.
int HtmlOpen(std::string& out);
int HtmlClose(std::string& out);

} // namespace korvel
