// The interpreter's own commands: the version line, the unit declarations, messages and the
// commands that are accepted for old files' sake.
#pragma once

namespace korvel {

// This system's version, and where users find a newer one.
constexpr float kKorvelVersion = 2.05f;
extern const char* const kKorvelHomePage;

int VerCom(const char* file, int line);         // VER n
int UserUnitCom(const char* file, int line);    // USERUNIT MM|INCH
int ProjectUnitCom(const char* file, int line); // PROJECTUNIT MM|INCH
int EndOfFileCom(const char* file, int line);   // ENDOFFILE
int MessageCom(const char* file, int line);     // MSG words...
int ConfigCom(const char* file, int line);      // accepted, no effect
int BaseCom(const char* file, int line);        // accepted, no effect
int DefineCom(const char* file, int line);      // definition mode on
int CDDepthCom(const char* file, int line);     // obsolete

} // namespace korvel
