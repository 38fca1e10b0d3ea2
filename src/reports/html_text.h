// Text from outside (a G-code file, a project, the tool database) made safe to stand in an HTML
// page: markup characters escaped, and the bytes made valid UTF-8 so that the page's charset
// declaration holds whatever the file was written in.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

// The text as HTML character data or attribute value: & < > " ' become character references;
// a byte sequence that is not valid UTF-8 is taken byte by byte as Latin-1 (the likeliest
// origin of such a file) and written in UTF-8; control characters other than tab become
// U+FFFD, since an HTML page may not hold them.
std::string HtmlText(std::string_view text);

// A file path as the src of an image: every byte but letters, digits and - . _ ~ / : written as
// %XX, so that blanks, quotes and markup characters can neither break the attribute nor the URL.
std::string FileUrl(std::string_view path);

// The text as one word of a shell command line: in single quotes, a quote inside written as '\''.
std::string ShellQuoted(std::string_view text);

} // namespace korvel
