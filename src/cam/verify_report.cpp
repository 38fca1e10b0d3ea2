// Wording the findings of a verification.
#include "cam/verify_report.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "base/units.h"
#include "cam/gcode_block.h"
#include "model/block.h"
#include "model/object_kind.h"

namespace korvel {

namespace {

const char* UnitName() { return UserUnit() == kUnitInch ? "in" : "mm"; }

std::string ObjectName(int id, int type) {
    const ObjectKind* kind = KindOf(type);
    return Sprintf("%s %d", kind ? kind->name : "Object", id);
}

// The start of every line of the program, to name a line by its N number as well. Lines end
// as the simulation counts them: with LF, CR LF or a lone CR.
class ProgramLines {
public:
    explicit ProgramLines(std::string_view program) : program_(program) {
        starts_.push_back(0);
        for (std::size_t i = 0; i < program.size(); ++i)
            if (program[i] == '\n' ||
                (program[i] == '\r' && (i + 1 == program.size() || program[i + 1] != '\n')))
                starts_.push_back(i + 1);
    }
    // "line 12", or "line 12 (N120)" when the line carries an N word.
    std::string Name(int line) const {
        std::string name = Sprintf("line %d", line);
        if (line < 1 || static_cast<std::size_t>(line) > starts_.size())
            return name;
        std::size_t start = starts_[static_cast<std::size_t>(line - 1)];
        std::string_view text = program_.substr(start);
        text = text.substr(0, text.find_first_of("\r\n"));
        GcodeBlock b;
        std::string error;
        if (ReadGcodeBlock(text, b, error) && b.Has('N'))
            name += Sprintf(" (N%d)", static_cast<int>(b.Value('N')));
        return name;
    }

private:
    std::string_view program_;
    std::vector<std::size_t> starts_;
};

std::string OffsetName(int index) { return WorkOffsetName(index); }

std::string EventLine(const SimEvent& e, const ProgramLines& lines) {
    std::string at = lines.Name(e.line);
    const char* u = UnitName();
    switch (e.kind) {
    case SimProblem::kProgramError:
        return Sprintf("Program error: %s: %s; the machine stops here", at.c_str(), e.text.c_str());
    case SimProblem::kRapidThroughMaterial:
        return Sprintf("Rapid through material: %s, %0.3f %s deep at X%0.3f Y%0.3f", at.c_str(),
                       e.depth, u, e.x, e.y);
    case SimProblem::kSpindleOff:
        return Sprintf("Feed with the spindle off: %s", at.c_str());
    case SimProblem::kTapDirection:
        return Sprintf("Tapping with the spindle turning the wrong way: %s", at.c_str());
    case SimProblem::kNoFeed:
        return Sprintf("Feed move without a feed rate: %s", at.c_str());
    case SimProblem::kFixture:
        return Sprintf("Cut into fixture %d: %s, %0.3f %s deep", e.detail, at.c_str(), e.depth, u);
    case SimProblem::kWorkspace:
        return Sprintf("Outside the working space: %s, machine X%0.3f Y%0.3f Z%0.3f", at.c_str(),
                       e.x, e.y, e.z);
    case SimProblem::kNoTool:
        return Sprintf("Feed move without a tool: %s", at.c_str());
    case SimProblem::kToolNotAttached:
        return Sprintf("No tool in magazine place T%d: %s", e.detail, at.c_str());
    case SimProblem::kLengthComp:
        return e.detail < 0 ? Sprintf("Cut without tool length compensation: %s", at.c_str())
                            : Sprintf("Tool length compensation H%d for another tool: %s", e.detail,
                                      at.c_str());
    case SimProblem::kWorkOffset:
        return Sprintf("Work offset %s, the project's is %s: %s", OffsetName(e.detail).c_str(),
                       OffsetName(GetCoordinates().work_offset).c_str(), at.c_str());
    case SimProblem::kCount:
        break;
    }
    return {};
}

} // namespace

std::vector<std::string> VerifyProblems(const VerifyResult& r, std::string_view program) {
    std::vector<std::string> out;
    ProgramLines lines(program);
    const char* u = UnitName();
    auto events_of = [&](SimProblem kind) {
        int kept = 0;
        for (const SimEvent& e : r.run.events)
            if (e.kind == kind) {
                out.push_back(EventLine(e, lines));
                ++kept;
            }
        int more = r.run.counts[static_cast<std::size_t>(kind)] - kept;
        if (more > 0)
            out.push_back(out.back().substr(0, out.back().find(':')) +
                          Sprintf(": %d more lines", more));
    };
    events_of(SimProblem::kProgramError);
    std::vector<VerifyFeature> by_depth = r.features;
    std::stable_sort(
        by_depth.begin(), by_depth.end(),
        [](const VerifyFeature& a, const VerifyFeature& b) { return a.gouge > b.gouge; });
    for (const VerifyFeature& f : by_depth)
        if (f.gouge > r.tolerance)
            out.push_back(Sprintf("Gouge: %s is cut %0.3f %s too deep at X%0.3f Y%0.3f by %s",
                                  ObjectName(f.id, f.type).c_str(), f.gouge, u, f.gouge_x,
                                  f.gouge_y, lines.Name(f.gouge_line).c_str()));
    std::stable_sort(
        by_depth.begin(), by_depth.end(),
        [](const VerifyFeature& a, const VerifyFeature& b) { return a.left > b.left; });
    for (const VerifyFeature& f : by_depth)
        if (f.left > r.tolerance)
            out.push_back(Sprintf("Left stock: %s keeps %0.3f %s too much at X%0.3f Y%0.3f",
                                  ObjectName(f.id, f.type).c_str(), f.left, u, f.left_x, f.left_y));
    for (SimProblem kind :
         {SimProblem::kRapidThroughMaterial, SimProblem::kFixture, SimProblem::kSpindleOff,
          SimProblem::kTapDirection, SimProblem::kNoFeed, SimProblem::kNoTool,
          SimProblem::kToolNotAttached, SimProblem::kLengthComp, SimProblem::kWorkOffset,
          SimProblem::kWorkspace})
        events_of(kind);
    return out;
}

std::string VerifyReport(const VerifyResult& r, const std::string& program_name) {
    const char* u = UnitName();
    std::string tools;
    for (int place : r.run.tools)
        tools += Sprintf(" T%d", place);
    BlockRecord b = GetBlock();
    std::string out =
        Sprintf("Program %s: %d lines run, %ld moves, tools%s\n", program_name.c_str(), r.run.lines,
                r.run.moves, tools.empty() ? " none" : tools.c_str());
    out += Sprintf(
        "Stock %0.3f x %0.3f x %0.3f %s: %d x %d cells of %0.3f %s, tolerance %0.3f %s\n", b.length,
        b.width, b.height, u, r.frame.nx, r.frame.ny, r.frame.res, u, r.tolerance, u);
    for (const std::string& p : r.problems)
        out += p + "\n";
    out += Sprintf("Largest deviations: %0.3f %s too deep, %0.3f %s left\n", r.deepest, u,
                   r.most_left, u);
    if (r.clean)
        out += Sprintf("Clean: the program makes the part within %0.3f %s\n", r.tolerance, u);
    else
        out += Sprintf("Not clean: %zu problem%s\n", r.problems.size(),
                       r.problems.size() == 1 ? "" : "s");
    return out;
}

} // namespace korvel
