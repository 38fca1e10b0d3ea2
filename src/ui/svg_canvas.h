// A canvas that writes an SVG picture: one <path> per run of drawing with one pen, lines and
// arcs as such, on a plain background.
#pragma once

#include <string>

#include "ui/canvas.h"

namespace korvel {

class SvgCanvas : public Canvas {
public:
    // A picture of width x height surface units (pixels).
    SvgCanvas(double width, double height, std::uint32_t background = 0xffffff);

    void SetPen(const Pen& pen) override;
    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void ArcTo(double x, double y, double cx, double cy, bool clockwise) override;

    // The whole SVG document, ended; drawing afterwards starts no new document.
    std::string Document();

private:
    void StartDrawing();
    void Flush();

    std::string head_, body_;
    std::string data_;   // the current <path>'s data
    bool drawn_ = false; // the current path data draws something
    Pen pen_;
    double x_ = 0, y_ = 0; // the current point
};

} // namespace korvel
