// korvelc render: the project from the top as an SVG picture, with its tool paths on request.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "platform/platform.h"
#include "ui/canvas.h"
#include "ui/draw_paths.h"
#include "ui/draw_top.h"
#include "ui/svg_canvas.h"

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

} // namespace

int RenderCommand(const std::vector<std::string>& words) {
    std::string project, output;
    bool paths = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "-o") {
            if (i + 1 >= words.size())
                return Usage("-o needs a FILE.svg");
            output = words[++i];
        } else if (w == "--paths") {
            paths = true;
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
