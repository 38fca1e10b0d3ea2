// Writing the project report (set-up sheet).
#include "reports/project_report.h"

#include "base/text.h"
#include "base/units.h"
#include "cam/compile.h"
#include "cam/program_frame.h"
#include "model/atttool.h"
#include "model/block.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "reports/html_text.h"
#include "tooldb/database.h"

namespace korvel {

namespace {

constexpr const char* kBuildDate = "30 JAN 2009";

// The page is HTML5: the sheet's table frames and column widths come from this style sheet
// (a title table with a 5-pixel frame, the others with 1 pixel, all 665 pixels wide; the
// paragraphs in the cells without margins, as the older browsers showed them).
constexpr const char* kHead =
    "<!DOCTYPE html>\n"
    "<HTML>\n<HEAD>\n<meta charset=\"utf-8\">\n<TITLE>KORVEL - REPORT\n</TITLE>\n"
    "<STYLE type=\"text/css\">\n"
    "table { width: 665px; border: 1px outset gray; }\n"
    "td { border: 1px inset gray; }\n"
    "td p { margin: 0; }\n"
    "table.title { border-width: 5px; }\n"
    "td.w30 { width: 30px; }\n"
    "td.w60 { width: 60px; }\n"
    "td.w110 { width: 110px; }\n"
    "td.w150 { width: 150px; }\n"
    "td.w450 { width: 450px; }\n"
    "img.logo { float: left; margin: 0 10px; }\n"
    "br.clear { clear: left; }\n"
    "hr.foot { width: 665px; margin-left: 0; }\n"
    "</STYLE>\n"
    "</HEAD>\n";

std::string Row(const std::string& label, const std::string& value_cell) {
    return "\t<tr>\n\t\t<td class=\"w150\"><p>" + HtmlText(label) + "</p></td>\n" + value_cell +
           "\t</tr>\n";
}

// Value cells: bold, plain with a closed paragraph, plain with an open one.
std::string Bold(const std::string& text) {
    return "\t\t<td><p><b>" + HtmlText(text) + "</b></p></td>\n";
}
std::string Plain(const std::string& text) {
    return "\t\t<td><p>" + HtmlText(text) + "</p></td>\n";
}
std::string Open(const std::string& text) { return "\t\t<td><p>" + HtmlText(text) + "</td>\n"; }

std::string Company() {
    const Settings& s = GetSettings();
    std::string out;
    if (!s.company_img.empty())
        out +=
            "<img src=\"" + FileUrl(s.company_img) + "\" alt=\"\" height=\"80\" class=\"logo\">\n";
    if (!s.company.empty()) {
        out += "<h1>" + HtmlText(s.company) + "</h1>";
        if (!s.company_logo.empty())
            out += "<p><b><u>" + HtmlText(s.company_logo) + "</u></b></p>\n<br class=\"clear\">\n";
    }
    return out;
}

std::string TitleTable() {
    return "<table class=\"title\">\n\t<tr>\n"
           "\t\t<td class=\"w450\"><h1>Korvel Report</h1></td>\n"
           "\t\t<td><p><i>Report Produced:</i><br><b>" +
           CtimeText() + "\n</b></p></td>\n\t</tr>\n</table>\n<p></p>\n";
}

std::string Station() {
    const Settings& s = GetSettings();
    std::string out = "<h2><u>Station</u></h2>\n<table>\n";
    out += Row("CNC Machining Center", Bold(s.machine_name));
    if (!s.operator_name.empty())
        out += Row("Machine Operator", Bold(s.operator_name));
    return out + "</table>\n<p></p>\n";
}

std::string Project() {
    const Settings& s = GetSettings();
    std::string out = "<h2><u>Project</u></h2>\n<table>\n";
    if (!s.user.empty())
        out += Row("User", Bold(s.user));
    out += Row("Project file", Bold(s.project_file));
    out += "</table>\n<p></p>\n<table>\n";
    if (!s.client.empty())
        out += Row("Client", Open(s.client));
    if (!s.project.empty())
        out += Row("Project", Bold(s.project));
    if (!s.part.empty())
        out += Row("Part Number", Open(s.part));
    if (!s.description.empty())
        out += Row("Description", Open(s.description));
    out += Row("Parts to be produced", Open(std::to_string(s.noofparts)));
    out += Row("G-Code File", Open(OutputGCodeFile()));
    out += Row("G-Code Programm", Open(Sprintf("O%d", s.program)));
    return out + "</table>\n";
}

// Where the work zero lies on the block, from the block's lower corner in work coordinates.
std::string Coordinates(const BlockRecord& b) {
    std::string out =
        "\t\t<td><p><b>" + HtmlText(WorkOffsetName(GetCoordinates().work_offset)) + "</b><i>";
    if (b.x == 0 && b.y == 0)
        return out + " at Block left,lower edge</i></p></td>\n";
    if (b.x == 0 && b.y == -b.width)
        return out + " at Block left,upper edge</i></p></td>\n";
    if (b.x == -b.length && b.y == 0)
        return out + " at Block right,lower edge</i></p></td>\n";
    if (b.x == -b.length && b.y == -b.width)
        return out + " at Block right,upper edge</i></p></td>\n";
    return out +
           Sprintf(". Block left, lower edge at <b>X%0.3f Y%0.3f</b></i></p></td>\n", b.x, b.y);
}

std::string ToolZero(const BlockRecord& b) {
    if (b.z + b.height == 0)
        return Plain("On block (top face)");
    if (b.z == 0)
        return Plain("On block base (bottom face)");
    if (b.z > 0)
        return Sprintf("\t\t<td><p><b>%0.3f below block base</b></p></td>\n", b.z);
    return Sprintf("\t\t<td><p><b>%0.3f above block base</b></p></td>\n", -b.z);
}

std::string SetUp() {
    BlockRecord b = GetBlock();
    std::string out = "<h2><u>Set up</u></h2>\n<table>\n";
    out += Row("Block", "\t\t<td><p><b>" + HtmlText(b.material) +
                            Sprintf(". </b><i>Dimesions (LxWxH):</i><b> %0.3f x %0.3f x %0.3f</b>"
                                    "</p></td>\n",
                                    b.length, b.width, b.height));
    out += Row("Coordinates", Coordinates(b));
    out += Row(GetSettings().use_g44 ? "Tool length (G44)" : "Tool zero (G43)", ToolZero(b));
    return out + "</table>\n";
}

std::string ToolRow(int place, const std::string& name) {
    int type = 0, flutes = 0;
    double dia = 0, dia2 = 0, length = 0, pitch = 0;
    std::string description;
    bool known = GetToolDataExt(name, type, dia, dia2, length, flutes, pitch, &description) >= 0;
    std::string out = "\t<tr>\n";
    out += Sprintf("\t\t<td class=\"w30\"><p>%d</p></td>\n", place);
    out += "\t\t<td class=\"w150\"><p><b>" + HtmlText(name) + "</b></p></td>\n";
    // A tool the database no longer holds still has its row, so that the holder reads as it is.
    out += "\t\t<td class=\"w110\"><p>" +
           HtmlText(known ? tooltype(type) : "Not in the tool database") + "</p></td>\n";
    out += known ? Sprintf("\t\t<td class=\"w60\"><p>%0.3f</p></td>\n", dia) +
                       Sprintf("\t\t<td class=\"w60\"><p>%0.3f</p></td>\n", length)
                 : "\t\t<td class=\"w60\"><p></p></td>\n\t\t<td class=\"w60\"><p></p></td>\n";
    out += Sprintf("\t\t<td class=\"w60\"><p>%0.0f</p></td>\n", MillTime(place) * 60);
    out += "\t\t<td><p>" + HtmlText(description) + "</p></td>\n";
    return out + "\t</tr>\n";
}

std::string Tools() {
    std::string out = "<h2><u>Tools</u></h2>\n<table>\n\t<tr>\n"
                      "\t\t<td class=\"w30\"><p><i>T</i></p></td>\n"
                      "\t\t<td class=\"w150\"><p><i>Tool Name</i></p></td>\n"
                      "\t\t<td class=\"w110\"><p><i>Tool Type</i></p></td>\n"
                      "\t\t<td class=\"w60\"><p><i>Diameter</i></p></td>\n"
                      "\t\t<td class=\"w60\"><p><i>Length</i></p></td>\n"
                      "\t\t<td class=\"w60\"><p><i>Mill Time (sec)</i></p></td>\n"
                      "\t\t<td><p><i>Description</i></p></td>\n\t</tr>\n";
    for (int place = 1; place <= kMaxPlaces; ++place) {
        std::string name = GetAttachedTool(place).name;
        if (!name.empty())
            out += ToolRow(place, name);
    }
    out += "</table>\n";
    double total = TotalMillTime();
    int minutes = static_cast<int>(total);
    out += Sprintf("<p>Total Milling Time: %d min, %d sec</p>\n", minutes,
                   static_cast<int>((total - minutes) * 60));
    return out;
}

std::string Footer() {
    std::string out = "<p><br><i>\n";
    out += UserUnit() == kUnitInch ? "Units: Imperial (inch)" : "Units: Metric (mm)";
    out += "<br></i></p>\n<hr class=\"foot\">\n";
    out += Sprintf("<p><i>Korvel Version %0.2f / %s</i></p>\n", kGCodeVersion, kBuildDate);
    return out + "</BODY>\n</HTML>\n";
}

} // namespace

std::string ReportHtml() {
    return kHead + std::string("<BODY>\n") + Company() + TitleTable() + Station() + Project() +
           SetUp() + Tools() + Footer();
}

int WriteReport(const std::string& path) {
    if (!WriteFileAtomically(path, ReportHtml())) {
        ShowMessage("Cannot open file for writing", path, kMbOk | kMbIconError);
        return 0;
    }
    return 1;
}

int PrintReport() {
    std::string path = CurrentDirectory() + "report.html";
    if (!WriteReport(path))
        return 0;
    StartProgram(GetSettings().htmlview + " " + ShellQuoted(path));
    return 1;
}

} // namespace korvel
