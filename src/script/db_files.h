// The database on disk: kvdb.csv (a script of DEFMAT, DEFTOOL and DEFTOOLMAT lines), the
// material groups of amg.dat, and the older tab-separated material.dat, tool.dat and
// toolmat.dat. Load problems go to DB_ERR.TXT (tooldb/library.h).
#pragma once

#include <string>

namespace korvel {

constexpr std::size_t kMaxDbLine = 255;

// Writes kvdb.csv (library directory, else program directory); 0 after a message when it
// could not be written (the old file then stays as it was).
int SaveToolDB();
// The text SaveToolDB writes.
std::string ToolDBText();
// Reads kvdb.csv from the program directory when it exists: 1, or -1 when a line of it was
// rejected (the database then must not be written back, or those lines would be lost).
int LoadToolDB();

// amg.dat: -1 when missing; else the number of lines read.
int LoadMaterialGroups();
// material.dat: -1 when missing; else the number of lines read.
int LoadMaterials();
// tool.dat and toolmat.dat: the number of records registered (0 for a missing file).
int LoadTools();
int LoadToolMat();
// Write tool.dat and toolmat.dat; the number of records written, or -1 after a message.
int SaveTools();
int SaveToolMat();

// Imports the older files into an emptied database (groups stay): 1 when all loaded.
int LoadOldDB();
// At exit: asks in ask mode, then writes tool.dat, toolmat.dat and kvdb.csv in save mode, as
// one set: when one of them cannot be written, a message names it and none is replaced.
void SaveDatabaseAtExit();

int DefineMaterialCom(const char* file, int line); // DEFMAT name group
int DefineToolCom(const char* file, int line);     // DEFTOOL name type d d2 len flutes pitch [text]
int DefineToolMatCom(const char* file, int line); // DEFTOOLMAT tool group speed fxy cxy fz cz spare
int LibCom(const char* file, int line);           // LIBRARY directory [READONLY|CONFIRM]

} // namespace korvel
