// The G-code line reader: the word scanner and a reader that follows a program line by line
// with its modal state, as the drawing view does when it replays a generated program.
//
// Values are converted into the project unit (base/units.h) from the program's unit (G20
// inches, G21 millimetres). Motion codes are element kinds (geometry/types.h): -1 no move,
// 0 rapid, 1 line, 2 counter-clockwise arc (G03), 4 clockwise arc (G02), plus 8 for a full
// circle. An arc's radius follows the element convention: negative for more than 180 degrees.
#pragma once

#include <optional>
#include <string_view>

namespace korvel {

// Converts a value read from G-code into the project unit: divided by 25.4 when the code is in
// millimetres and the project in inches, multiplied by 25.4 the other way round, else unchanged.
void UnitConvertion(int project_inch, int code_inch, double& value);

// Reads the first word of a G-code line. Blanks and tabs are skipped. Integer words
// (A G H L M N O P S T) and real words (B E F I J K Q R X Y Z), in either case, give the
// upper-case letter and the number that follows it: the scanner moves over digits, '.' and
// '-'. A real written without a decimal point is in thousandths (X100 is 0.1); an integer word
// written with one ends the line. Returns the text after the word, or nullopt when the line is
// finished: letter '%' for '%', '(' for a comment, -1 at the end of the text or of the line
// and on any other character; value 0 then.
std::optional<std::string_view> gcom(std::string_view text, int& letter, double& value);

constexpr int kGcodeNoMove = -1;
constexpr int kGcodeFullCircle = 8; // added to the arc's motion code
constexpr int kGcodeRejected = -2;  // result for a line the reader cannot follow
constexpr int kGcodeStop = -99;     // result after M00

// What a reader carries from line to line.
struct GcodeModal {
    double x = 0, y = 0, z = 0; // the last position, project unit
    double feed = 0;            // project unit per minute
    int motion = 0;             // 0 rapid (G00, G28), 1 line, 2 clockwise, 3 counter-clockwise
    // The program's unit: 1 after G20, 0 after G21; before either -1, the project's unit (a
    // program written for this project needs no unit word to be read right).
    int inch = -1;
    int distance_mode = 90; // 90 absolute, 91 incremental; a change applies from the next line
    int tool = 0;           // the last T word
    int spindle_tool = 0;   // the tool in the spindle: the tool at the last M06; -1 after M30
};

// A reader holds its own modal state, so several programs can be followed side by side.
class GcodeReader {
public:
    // Reads one line. Outputs: the new position (for a full circle x, y are its centre), the
    // arc radius (0 otherwise), the modal feed and the motion code (-1 when the line makes no
    // move). Returns the spindle tool (which may be -1 or 0), kGcodeStop after M00, or
    // kGcodeRejected for a tool word outside 1..99, an arc with both R and I/J or neither, a
    // full circle without I/J, an I/J arc whose end is not on its circle (tolerance 0.025), or a
    // number too large for a double. A rejected line moves nothing (motion -1, x, y, z the last
    // position); the modal words read before the fault stay in effect.
    int gline_3D(std::string_view line, double& x, double& y, double& z, double& r, double& feed,
                 int& motion);

    const GcodeModal& Modal() const { return modal_; }

private:
    // The words of the line being read.
    struct LineWords {
        bool incremental = false; // the distance mode at the start of the line
        int project_inch = 0;
        double x = 0, y = 0, z = 0; // the new position so far
        bool move = false;
        int g_motion = kGcodeNoMove; // motion code of the line's last G00..G03 word
        double r = 0, i = 0, j = 0;
        bool r_given = false, ij_given = false;
        bool stop = false;
    };

    bool ApplyWord(int letter, double value, LineWords& w);
    bool ApplyG(int code, LineWords& w);
    bool ApplyM(int code, LineWords& w);
    bool Axis(double value, double last, double& out, LineWords& w) const;
    bool ResolveArc(const LineWords& w, int& motion, double& r) const;
    void Convert(const LineWords& w, double& value) const;
    void ResetPosition(LineWords& w);

    GcodeModal modal_;
};

// The program reader of the drawing view: one reader shared by these functions.
int gline_3D(std::string_view line, double& x, double& y, double& z, double& r, double& feed,
             int& motion);
const GcodeModal& GcodeReaderModal();
// A fresh reader: position, feed and tools 0, rapid motion, absolute, the project's unit.
void InitGcodeReader();

} // namespace korvel
