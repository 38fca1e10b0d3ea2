// Reading the stroke font's file.
#include "script/font_file.h"

#include "base/errors.h"
#include "model/font.h"
#include "script/interpreter.h"

namespace korvel {

int LoadFont(const std::string& path) {
    // A font file may name another through FONT; the outer one goes on defining afterwards.
    bool outer = FontFileReading();
    bool open_before = GlyphIsOpen();
    SetFontFileReading(true);
    ScriptReadResult r = ReadScript(path);
    SetFontFileReading(outer);
    if (!r.opened)
        return 0;
    if (GlyphIsOpen() && !open_before) {
        // The outline commands that follow (of a project's bulges) must not land in a glyph.
        AbandonGlyph();
        return ShapeIsOpen(path.c_str(), r.lines);
    }
    return r.last_result;
}

} // namespace korvel
