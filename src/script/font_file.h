// Reading a font file: a script of CHARACTER definitions (model/font.h) that FONT names.
#pragma once

#include <string>

namespace korvel {

// Interprets the font file; glyph definitions are taken only while it is read. A definition
// left open at the end of the file is reported ("Open Shape" at its last line) and its glyph
// stays undefined. The result of the file's last line; 0 when it cannot be read or a
// definition was left open.
int LoadFont(const std::string& path);

} // namespace korvel
