// korvelc render: the project from the top as an SVG picture, with its tool paths on request;
// or, with --view or --gcode, the picture of the desktop program's view in one of its
// projections, with a program replayed over it.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "model/block.h"
#include "platform/platform.h"
#include "ui/canvas.h"
#include "ui/draw_paths.h"
#include "ui/draw_top.h"
#include "ui/replay.h"
#include "ui/svg_canvas.h"
#include "ui/view.h"
#include "ui/view_draw.h"
#include "ui/view_pens.h"

namespace korvel {

namespace {

constexpr double kLongSide = 800; // pixels along the picture's longer side
constexpr double kMargin = 16;    // pixels round the drawing

// The picture of what was recorded, scaled to kLongSide.
std::string Picture(const RecordingCanvas& drawing) {
    double x0 = 0, y0 = 0, x1 = 1, y1 = 1;
    if (!drawing.Extent(x0, y0, x1, y1)) {
        x1 = x0 + 1;
        y1 = y0 + 1;
    }
    double span = std::fmax(x1 - x0, y1 - y0);
    double scale = span > 0 ? kLongSide / span : 1;
    SvgCanvas svg((x1 - x0) * scale + 2 * kMargin, (y1 - y0) * scale + 2 * kMargin);
    drawing.Replay(svg, x0, y0, scale, kMargin, kMargin);
    return svg.Document();
}

bool WriteText(const std::string& path, const std::string& text) {
    if (path.empty())
        return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    // Saved as projects are: through a link to the file it names, keeping the file's mode, and
    // never over a folder or a device.
    return WriteFileAtomically(path, text);
}

// The view's window for pictures, in pixels.
constexpr int kViewWidth = 1000, kViewHeight = 700;

// Replays a whole program over the view. False when it cannot be loaded or a line is rejected
// (the picture then shows the moves up to that line).
bool ReplayProgram(Canvas& cv, const std::string& path) {
    std::vector<std::string> lines;
    if (!LoadProgram(lines, path)) {
        std::fprintf(stderr, "korvelc: %s: Load Error\n", path.c_str());
        return false;
    }
    double feed;
    int result;
    ExecGLine(cv, "M30", feed, result);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ExecGLine(cv, lines[i], feed, result);
        if (result == -2) {
            std::fprintf(stderr, "korvelc: %s: Error in program line %zu: %s\n", path.c_str(),
                         i + 1, lines[i].c_str());
            return false;
        }
        if (result == -1) // program end
            break;
    }
    return true;
}

// The view as the desktop program draws it: zoomed to the block (or the table), half as close
// again so that the oblique views fit, in the projection asked for.
std::string ViewPicture(int mode, const std::string& gcode, bool& ok) {
    GetViewCoef(kViewWidth, kViewHeight);
    if (!ViewBlock())
        ViewTable();
    ZoomFastOut();
    SetViewMode(mode);
    SvgCanvas svg(kViewWidth, kViewHeight, ViewBackground());
    draw_all(svg);
    if (!gcode.empty() && !ReplayProgram(svg, gcode))
        ok = false;
    return svg.Document();
}

} // namespace

int RenderCommand(const std::vector<std::string>& words) {
    std::string project, output;
    bool paths = false;
    int view = -1;
    std::string gcode;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "-o") {
            if (i + 1 >= words.size())
                return Usage("-o needs a FILE.svg");
            output = words[++i];
        } else if (w == "--paths") {
            paths = true;
        } else if (w == "--view") {
            if (i + 1 >= words.size() || words[i + 1].size() != 1 || words[i + 1][0] < '0' ||
                words[i + 1][0] > '5')
                return Usage("--view needs a projection 0..5");
            view = words[++i][0] - '0';
        } else if (w == "--gcode") {
            if (i + 1 >= words.size())
                return Usage("--gcode needs a FILE");
            gcode = words[++i];
        } else if (w.size() > 1 && w[0] == '-') {
            return Usage(("unknown option " + w).c_str());
        } else if (project.empty()) {
            project = w;
        } else {
            return Usage("render takes one PROJECT");
        }
    }
    if (project.empty())
        return Usage("render needs a PROJECT");
    if (!Start())
        return kExitFailed;
    bool ok = false;
    LoadProject(project, &ok);
    if (view >= 0 || !gcode.empty()) {
        if (paths)
            return Usage("--paths is drawn from the top only, without --view or --gcode");
        std::string picture = ViewPicture(view < 0 ? kViewTop : view, gcode, ok);
        if (!WriteText(output, picture)) {
            std::fprintf(stderr, "korvelc: cannot write %s\n", output.c_str());
            return kExitFailed;
        }
        return ok ? kExitOk : kExitFailed;
    }
    // Drawn at one surface unit per project unit first, then scaled to the picture.
    RecordingCanvas drawing;
    TopPainter painter(drawing, TopView{});
    DrawProjectTop(painter);
    if (paths && !DrawToolPaths(painter))
        ok = false;
    if (!WriteText(output, Picture(drawing))) {
        std::fprintf(stderr, "korvelc: cannot write %s\n", output.c_str());
        return kExitFailed;
    }
    return ok ? kExitOk : kExitFailed;
}

} // namespace korvel
