// The program frame around the tools' code: the opening buffer (program number, header
// comments, the user's start code, work offset and unit), the tool-change block at the head of
// each tool's buffer, the closing buffer, and the milling time of every magazine place.
#pragma once

namespace korvel {

// The buffer in which code for the tool in a magazine place is appended: the newest buffer of
// that place when there is one (no tool change), else a new buffer that starts with the
// tool-change block. Place -1 means no tool: the spindle is taken as empty and -1 returned.
// -1 after "Missing tool-material data" or "Speed S out of range" (titled with the tool name),
// or when no buffer can be opened.
int OpenToolCodeBuffer(int place);
// As OpenToolCodeBuffer, but always a new buffer with its tool-change block.
int OpenNewToolCodeBuffer(int place);
// The newest buffer of a place without opening one; -1 when there is none.
int FindToolCodeBuffer(int place);
// OpenToolCodeBuffer(-1): no tool in the spindle. Returns -1.
int NoTool();
// The place whose tool is in the spindle at the end of the code so far; -1 when none.
int CurrentToolPlace();

// Open and fill the program's opening and closing buffers: 1, or 0 when no buffer could be
// opened. GStart also restarts the line numbering.
int GStart();
int GEnd();

// Milling time per magazine place (0..99), in minutes.
void ResetMillTime();
// Adds minutes to a place; places outside 0..99 are ignored.
void AddMillTime(int place, double minutes);
double MillTime(int place);
double TotalMillTime();

// The version the G-code header names.
constexpr double kGCodeVersion = 2.05;

} // namespace korvel
