// Reading and writing the database files.
#include "script/db_files.h"

#include <cmath>
#include <vector>

#include "base/errors.h"
#include "base/line_file.h"
#include "base/text.h"
#include "base/units.h"
#include "platform/platform.h"
#include "script/core_commands.h"
#include "script/interpreter.h"
#include "script/keywords.h"
#include "tooldb/database.h"
#include "tooldb/library.h"

namespace korvel {

namespace {

// A name as files hold it: blanks and tabs as underscores.
std::string FileName(std::string name) {
    Blank2UScore(name);
    return name;
}

// A name or description as kvdb.csv holds it: as FileName, and between double quotes when it
// holds a character that the script splitter cuts at (a comma, a '#', ...), so that it reads
// back as one field. A double quote cannot stand inside quotes and becomes an apostrophe.
std::string ScriptField(const std::string& text) {
    std::string field = FileName(text);
    for (char& c : field)
        if (c == '"')
            c = '\'';
    if (field.find_first_of("()[]=,<>\xB3|&#^%;") == std::string::npos)
        return field;
    return "\"" + field + "\"";
}

// A name as read from a file: quotes removed, underscores as blanks. A double quote inside
// could not be written back, so it becomes an apostrophe.
std::string ReadName(std::string name) {
    RemQuotes(name);
    UScore2Blank(name);
    for (char& c : name)
        if (c == '"')
            c = '\'';
    return name;
}

// Lengths and feeds far beyond any machine are refused: they would not fit a line when
// written back.
constexpr double kMaxDbValue = 1e7;

bool Sane(double v) { return std::isfinite(v) && std::fabs(v) < kMaxDbValue; }

void ReportLine(const char* file_name, int line, const char* what) {
    ReportLoadError(Sprintf("File [%s], Line [%d] %s", file_name, line, what));
}

// Reads a tab-separated database file line by line. For each line that is not too long the
// reader gets the line number and the field count (the fields are in the argument vector);
// it returns false to stop. A line over 255 characters is reported and skipped.
template <class Reader>
void ReadFields(LineFile& in, const char* file_name, bool upper, Reader reader) {
    std::string line;
    bool too_long;
    while (in.Next(line, kMaxDbLine, too_long)) {
        if (too_long) {
            ReportLine(file_name, in.LineNumber(), "Line too long");
            continue;
        }
        if (upper)
            caps(line);
        int count = argt(line);
        if (!reader(in.LineNumber(), count))
            break;
    }
    if (in.Failed())
        ReportLoadError(Sprintf("File [%s]: reading failed", file_name));
}

bool SkippedLine(int count) { return count == 0 || Arg(0)[0] == '#'; }

double InchFactor() { return UserUnit() == kUnitInch ? 1 / kMMPerInch : 1.0; }

// A group number field ("2.3") as its code; material.dat and toolmat.dat read it in single
// precision.
int GroupField(int arg) { return GroupCode(static_cast<float>(ArgF(arg))); }

bool WriteOrWarn(const std::string& path, const std::string& text, const char* message) {
    if (WriteFileAtomically(path, text))
        return true;
    ShowMessage(message, path, kMbOk | kMbIconError);
    return false;
}

} // namespace

std::string ToolDBText() {
    std::string out =
        Sprintf("# KORVEL VERSION %0.2f MATERIAL AND TOOL DATABASE FILE\n", kKorvelVersion);
    out += "# DO NOT EDIT!\n#\n# Section 1: Opening\n";
    out += Sprintf("$%d %s\n", kProjectunit, UserUnit() == kUnitInch ? "INCH" : "MM");
    out += "#\n# Section 2: Materials\n";
    // Each walk stops once it has met every record of its table, into one record each: the
    // tables are mostly empty, and visiting every slot with a record of its own cost more than
    // writing the lines.
    MaterialRecord m;
    ToolRecord t;
    ToolMatRecord r;
    for (int slot = 0, left = MaterialCount(); slot < kMaxMaterials && left > 0; ++slot) {
        if (!GetMaterial(slot, m))
            continue;
        --left;
        if (!m.name.empty())
            out += Sprintf("$%d\t%s\t%d\n", kDefmat, ScriptField(m.name).c_str(), m.group);
    }
    out += "#\n# Section 2: Tools - Geometry data\n";
    for (int slot = 0, left = ToolCount(); slot < kMaxTools && left > 0; ++slot) {
        if (!GetToolRecord(slot, t))
            continue;
        --left;
        if (t.name.empty())
            continue;
        std::string line =
            Sprintf("$%d\t%s\t%d\t%f\t%f\t%f\t%d\t%f", kDeftool, ScriptField(t.name).c_str(),
                    t.type, t.dia, t.dia2, t.length, t.flutes, t.pitch);
        if (!t.description.empty()) {
            // A script line holds at most 254 characters: a longer description is cut so that
            // the line still reads back.
            std::string text = t.description;
            std::size_t used = line.size() + 3; // a tab and two quotes
            std::size_t room = used < kMaxScriptLine ? kMaxScriptLine - used : 0;
            if (text.size() > room)
                text.resize(room);
            line += '\t';
            line += ScriptField(text);
        }
        out += line + "\n";
    }
    out += "#\n# Section 3: Tools - Milling data\n";
    for (int slot = 0, left = ToolMatCount(); slot < kMaxToolMats && left > 0; ++slot) {
        if (!GetToolMatRecord(slot, r))
            continue;
        --left;
        if (!r.tool.empty())
            out += Sprintf("$%d\t%s\t%d\t%d\t%f\t%f\t%f\t%f\t0.00\n", kDeftoolmat,
                           ScriptField(r.tool).c_str(), r.group, r.speed, r.fxy, r.cutxy, r.fz,
                           r.cutz);
    }
    out += Sprintf("#\n# Section 4: Closing\n$%d\n", kEndoffile);
    return out;
}

int SaveToolDB() {
    return WriteOrWarn(LibraryPath("kvdb.csv"), ToolDBText(),
                       "Can't open file (Material and Tool DB) for writing")
               ? 1
               : 0;
}

int LoadToolDB() {
    std::string path = ProgramDirectory() + "kvdb.csv";
    if (!FileExist(path))
        return 1;
    ScriptReadResult r = ReadScript(path);
    if (!r.opened || r.rejected > 0) {
        ReportLoadError(
            Sprintf("%s: %d line(s) rejected", path.c_str(), r.opened ? r.rejected : 1));
        return -1;
    }
    return 1;
}

int LoadMaterialGroups() {
    std::string path = LibraryPath("amg.dat");
    LineFile in;
    if (!in.Open(path)) {
        ReportLoadError(path + ": file missing!");
        return -1;
    }
    ReadFields(in, "amg.dat", true, [&](int line, int count) {
        if (SkippedLine(count))
            return true;
        if (count < 3) {
            ReportLine("amg.dat", line, "Arguments missmatch");
            return true;
        }
        int code = GroupCode(ArgF(0));
        if (code < 0) {
            ReportLine("amg.dat", line, "Invalid group number");
            return true;
        }
        return RegisterMaterialGroup(code, ReadName(Arg(1)), ReadName(Arg(2))) >= 0;
    });
    return in.LineNumber();
}

int LoadMaterials() {
    std::string path = LibraryPath("material.dat");
    LineFile in;
    if (!in.Open(path)) {
        ReportLoadError(path + ": Can't read file");
        return -1;
    }
    ReadFields(in, "material.dat", true, [&](int line, int count) {
        if (SkippedLine(count))
            return true;
        int code = count == 2 ? GroupField(1) : -1;
        if (code < 0) {
            ReportLine("material.dat", line, "Arguments missmatch");
            return true;
        }
        return RegisterMaterial(ReadName(Arg(0)), code) >= 0;
    });
    return in.LineNumber();
}

int LoadTools() {
    LineFile in;
    if (!in.Open(LibraryPath("tool.dat")))
        return 0;
    int registered = 0;
    double k = InchFactor(); // the file is in millimetres
    ReadFields(in, "tool.dat", false, [&](int line, int count) {
        if (SkippedLine(count))
            return true;
        if (count != 7 && count != 8) {
            ReportLine("tool.dat", line, "Arguments missmatch");
            return true;
        }
        ToolRecord t;
        t.name = ReadName(Arg(0));
        if (FindTool(t.name) >= 0) {
            ReportLine("tool.dat", line, "Dublicate entry");
            return true;
        }
        t.type = ArgI(1);
        t.dia = ArgF(2) * k;
        t.dia2 = ArgF(3) * k;
        t.length = ArgF(4) * k;
        t.flutes = ArgI(5);
        t.pitch = ArgF(6) * k;
        if (!Sane(t.dia) || !Sane(t.dia2) || !Sane(t.length) || !Sane(t.pitch)) {
            ReportLine("tool.dat", line, "Value out of range");
            return true;
        }
        if (count == 8) {
            std::string text = Arg(7);
            bool quoted = !text.empty() && text[0] == '"';
            RemQuotes(text);
            t.description = quoted ? text : ReadName(text);
        }
        if (RegisterTool(t) < 0) {
            ReportLoadError("Tool Data Base Error: Too many tools!");
            return false;
        }
        ++registered;
        return true;
    });
    return registered;
}

int LoadToolMat() {
    LineFile in;
    if (!in.Open(LibraryPath("toolmat.dat")))
        return 0;
    int registered = 0;
    double k = InchFactor();
    ReadFields(in, "toolmat.dat", false, [&](int line, int count) {
        // This file has no comment lines: whatever is not a record is a mismatch.
        if (count != 8) {
            ReportLine("toolmat.dat", line, "Arguments missmatch");
            return true;
        }
        std::string tool = ReadName(Arg(0));
        int group = GroupField(1);
        if (FindTool(tool) < 0) {
            ReportLine("toolmat.dat", line, "Unknown tool");
            return true;
        }
        if (FindMaterialGroup(group) < 0) {
            ReportLine("toolmat.dat", line, "Unknown material group");
            return true;
        }
        if (FindToolMatGroup(tool, group) >= 0) {
            ReportLine("toolmat.dat", line, "Dublicate entry");
            return true;
        }
        double fxy = ArgF(3) * k, cutxy = ArgF(4) * k, fz = ArgF(5) * k, cutz = ArgF(6) * k;
        if (!Sane(fxy) || !Sane(cutxy) || !Sane(fz) || !Sane(cutz)) {
            ReportLine("toolmat.dat", line, "Value out of range");
            return true;
        }
        if (RegisterToolMatGroup(tool, group, ArgI(2), fxy, cutxy, fz, cutz, 0) < 0) {
            ReportLoadError("Tool data base error: Data Base is full!");
            return false;
        }
        ++registered;
        return true;
    });
    return registered;
}

namespace {

// The text of tool.dat and the number of tools in it.
std::string ToolsText(int& written) {
    std::string text;
    written = 0;
    double k = UserUnit() == kUnitInch ? kMMPerInch : 1.0; // the file is in millimetres
    ToolRecord t; // one record for every slot, as in ToolDBText
    for (int slot = 0, left = ToolCount(); slot < kMaxTools && left > 0; ++slot) {
        if (!GetToolRecord(slot, t))
            continue;
        --left;
        if (t.name.empty())
            continue;
        text += Sprintf("%s\t%d\t%0.3f\t%0.3f\t%0.3f\t%d\t%0.3f\t%s\n", FileName(t.name).c_str(),
                        t.type, t.dia * k, t.dia2 * k, t.length * k, t.flutes, t.pitch * k,
                        FileName(t.description).c_str());
        ++written;
    }
    return text;
}

// The text of toolmat.dat and the number of records in it.
std::string ToolMatText(int& written) {
    std::string text;
    written = 0;
    double k = UserUnit() == kUnitInch ? kMMPerInch : 1.0;
    ToolMatRecord r;
    for (int slot = 0, left = ToolMatCount(); slot < kMaxToolMats && left > 0; ++slot) {
        if (!GetToolMatRecord(slot, r))
            continue;
        --left;
        if (r.tool.empty())
            continue;
        text += Sprintf("%s\t%0.1f\t%d\t%0.3f\t%0.3f\t%0.3f\t%0.3f\t0\n", FileName(r.tool).c_str(),
                        r.group / 10.0, r.speed, r.fxy * k, r.cutxy * k, r.fz * k, r.cutz * k);
        ++written;
    }
    return text;
}

} // namespace

int SaveTools() {
    int written;
    std::string text = ToolsText(written);
    return WriteOrWarn(LibraryPath("tool.dat"), text, "Can't open file for writing") ? written : -1;
}

int SaveToolMat() {
    int written;
    std::string text = ToolMatText(written);
    return WriteOrWarn(LibraryPath("toolmat.dat"), text, "Can't open file for writing") ? written
                                                                                        : -1;
}

int LoadOldDB() {
    ClearToolsMaterialsDB();
    SetSaveMode(kReadOnly);
    if (LoadMaterials() < 0) {
        ShowMessage("Loading Materials failed", "File: Material.dat", kMbOk | kMbIconError);
        return 0;
    }
    if (LoadTools() < 0) {
        ShowMessage("Loading Tool Geometry Data failed", "File: Tools.dat", kMbOk | kMbIconError);
        return 0;
    }
    if (LoadToolMat() < 0) {
        ShowMessage("Loading Tool Milling Data failed", "File: ToolMat.dat", kMbOk | kMbIconError);
        return 0;
    }
    SetSaveMode(kAskOnExit);
    ShowMessage("At exit you will be asked to confirm whether the tool data base file (kvdb.csv) "
                "will updated or not",
                "Loading completed sucesfully", kMbOk | kMbIconInformation);
    return 1;
}

void SaveDatabaseAtExit() {
    if (SaveMode() == kAskOnExit &&
        ShowMessage("Save Tool Data Base Data ?", "Korvel", kMbYesNo | kMbIconQuestion) == kIdYes)
        SetSaveMode(kSaveOnExit);
    if (SaveMode() != kSaveOnExit)
        return;
    // The three files are one database: all of them are written before any is replaced, so
    // that a disk that fills up part-way leaves the old set, never a mix of old and new.
    int count;
    std::vector<FileContent> files = {{LibraryPath("tool.dat"), ToolsText(count)},
                                      {LibraryPath("toolmat.dat"), ToolMatText(count)},
                                      {LibraryPath("kvdb.csv"), ToolDBText()}};
    int failed = WriteFilesAtomically(files);
    if (failed < 0)
        return;
    const char* message = failed == 2 ? "Can't open file (Material and Tool DB) for writing"
                                      : "Can't open file for writing";
    ShowMessage(message, files[static_cast<std::size_t>(failed)].path, kMbOk | kMbIconError);
}

int DefineMaterialCom(const char* file, int line) {
    if (ArgCount() != 3)
        return SyntaxError(file, line);
    if (RegisterMaterial(ReadName(Arg(1)), ArgI(2)) < 0)
        return SyntaxError(file, line);
    return 1;
}

int DefineToolCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 8 && count != 9)
        return SyntaxError(file, line);
    double f = UnitFactor();
    ToolRecord t;
    t.name = ReadName(Arg(1));
    t.type = ArgI(2);
    t.dia = ArgF(3) * f;
    t.dia2 = ArgF(4) * f;
    t.length = ArgF(5) * f;
    t.flutes = ArgI(6);
    t.pitch = ArgF(7) * f;
    if (count == 9)
        t.description = ReadName(Arg(8));
    if (!Sane(t.dia) || !Sane(t.dia2) || !Sane(t.length) || !Sane(t.pitch))
        return OutOfRange(file, line);
    if (FindTool(t.name) >= 0)
        return Dublicate(file, line);
    if (RegisterTool(t) < 0)
        return TooMany("Tools", file, line);
    return 1;
}

int DefineToolMatCom(const char* file, int line) {
    if (ArgCount() != 9)
        return SyntaxError(file, line);
    std::string tool = ReadName(Arg(1));
    int group = ArgI(2);
    double f = UnitFactor();
    double fxy = ArgF(4) * f, cutxy = ArgF(5) * f, fz = ArgF(6) * f, cutz = ArgF(7) * f;
    if (!Sane(fxy) || !Sane(cutxy) || !Sane(fz) || !Sane(cutz))
        return OutOfRange(file, line);
    if (FindTool(tool) < 0)
        return UnknownTool(file, line);
    if (FindMaterialGroup(group) < 0)
        return UnknownMaterialGroup(file, line);
    if (FindToolMatGroup(tool, group) >= 0)
        return Dublicate(file, line);
    if (RegisterToolMatGroup(tool, group, ArgI(3), fxy, cutxy, fz, cutz, ArgF(8)) < 0)
        return TooMany("Tool milling data", file, line);
    return 1;
}

int LibCom(const char* file, int line) {
    int count = ArgCount();
    if (count != 2 && count != 3)
        return SyntaxError(file, line);
    int mode = SaveMode();
    if (count == 3) {
        std::string word = Upper(Arg(2));
        if (!word.empty() && word[0] == 'R' && std::string_view("READONLY").starts_with(word))
            mode = kReadOnly;
        else if (!word.empty() && word[0] == 'C' && std::string_view("CONFIRM").starts_with(word))
            mode = kAskOnExit;
        else
            return SyntaxError(file, line);
    }
    SetLibraryDirectory(NameToken(Arg(1)));
    // A database that failed to load stays read-only whatever the configuration asks.
    if (SaveMode() != kReadOnly || mode == kReadOnly)
        SetSaveMode(mode);
    return 1;
}

} // namespace korvel
