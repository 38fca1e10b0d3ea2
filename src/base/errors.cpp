// Script error messages. The texts, spelling included, are what users have seen for years
// and what their notes and scripts refer to: keep them exactly as they are.
#include "base/errors.h"

#include "platform/platform.h"
#include "base/text.h"

namespace korvel {

namespace {

constexpr const char* kCaption = "Errors found";

int Report(const std::string& text) {
    ShowMessage(text, kCaption, kMbOk | kMbIconExclamation);
    return 0;
}

// The message "<with_file> in file [f], line [n]" or "<without>" alone.
int Report2(const char* with_file, const char* without, const char* file, int line) {
    if (file)
        return Report(Sprintf("%s in file [%s], line [%d]", with_file, file, line));
    return Report(without);
}

} // namespace

int SyntaxError(const char* f, int l) { return Report2("Syntax error", "Syntax error", f, l); }
int WrongObjectType(const char* f, int l) {
    return Report2("Wrong object type", "Wrong object type", f, l);
}
int NotSupported(const char* f, int l) {
    return Report2("Syntax not supported any more,", "Syntax not supported any more", f, l);
}
int UnRecogn(const char* f, int l) {
    return Report2("Unrecognized command", "Unrecognized command", f, l);
}
int OutOfRange(const char* f, int l) {
    return Report2("Value(s) out of range", "Value(s) out of range", f, l);
}
int ZeroLength(int id, const char* f, int l) {
    if (f)
        return Report(Sprintf("Drawing/Engraving element ID%d has 0 length in file [%s], line [%d]",
                              id, f, l));
    return Report("Drawing/Engraving element has 0 length");
}
int EndUnexpected(const char* f, int l) {
    return Report2("END command unexpetced", "END command unexpetced", f, l);
}
int ShapeIsOpen(const char* f, int l) { return Report2("Open Shape", "Shape is open", f, l); }
int Unexpected(const char* f, int l) {
    return Report2("Command unexpetced", "Command unexpetced", f, l);
}
int TooMany(const char* noun, const char* f, int l) {
    std::string what = Sprintf("Too many %s", noun);
    return Report2(what.c_str(), what.c_str(), f, l);
}
int UnknownTool(const char* f, int l) { return Report2("Uknown Tool", "Uknown Tool", f, l); }
int UnknownMaterialGroup(const char* f, int l) {
    return Report2("Material Group Unknown", "Material Group Unknown", f, l);
}
int Dublicate(const char* f, int l) {
    return Report2("Dubblicate definition", "Dublicate definition", f, l);
}

int ScriptError(const char* what, const char* f, int l) { return Report2(what, what, f, l); }

int ErrCode(int code) {
    ShowMessage(Sprintf("Error code %d", code), "Internal error", kMbOk | kMbIconError);
    return 0;
}

} // namespace korvel
