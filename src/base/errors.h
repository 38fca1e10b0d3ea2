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

// An internal inconsistency of the tool-path and G-code code (a state that should not occur):
// "Error code %d" captioned "Internal error" with the error icon. Returns 0, so that the
// function that found it can return its result directly. The codes name the place:
//   1-5 contour paths, 7 path optimiser, 8-10 level paths, 16-26 pocket paths, 27-30 path
//   emission, and the generators' own codes above those.
int ErrCode(int code);

// Reports a rejected line with a text of its own: "<what> in file [%s], line [%d]", or just
// "<what>" without a file.
int ScriptError(const char* what, const char* file, int line);

} // namespace korvel
