// The error reporters every command handler uses. Each shows one message box captioned
// "Errors found" (with the file and line when the line came from a file; file is nullptr for
// typed and replayed commands) and returns 0, so that a handler can return its result directly.
#pragma once

namespace korvel {

int SyntaxError(const char* file, int line);
int WrongObjectType(const char* file, int line);
int NotSupported(const char* file, int line);
int UnRecogn(const char* file, int line);
int OutOfRange(const char* file, int line);
int ZeroLength(int id, const char* file, int line);
int EndUnexpected(const char* file, int line);
int ShapeIsOpen(const char* file, int line);
int Unexpected(const char* file, int line);
// noun: "Bulges", "Pockets", "Drills", "Threads", "Cylindrical pockets", "Longholes", "Texts",
// "Fixtures", "Drawing Elements", "Engraving Elements", "Milling Parameters", "Tools",
// "Tool milling data".
int TooMany(const char* noun, const char* file, int line);
int UnknownTool(const char* file, int line);
int UnknownMaterialGroup(const char* file, int line);
int Dublicate(const char* file, int line);

// Reports a rejected line with a text of its own: "<what> in file [%s], line [%d]", or just
// "<what>" without a file.
int ScriptError(const char* what, const char* file, int line);

} // namespace korvel
