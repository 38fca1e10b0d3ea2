// The SVG canvas. Numbers are written in the C locale with two decimals, a hundredth of a
// pixel.
#include "ui/svg_canvas.h"

#include <cmath>

#include "base/text.h"
#include "geometry/primitives.h"

namespace korvel {

namespace {

std::string Colour(std::uint32_t rgb) { return Sprintf("#%06x", static_cast<unsigned>(rgb)); }

std::string Number(double v) {
    std::string s = Sprintf("%.2f", v);
    return s == "-0.00" ? "0.00" : s;
}

std::string Coords(double x, double y) { return Number(x) + " " + Number(y); }

} // namespace

SvgCanvas::SvgCanvas(double width, double height, std::uint32_t background) {
    std::string w = Sprintf("%.0f", std::ceil(width)), h = Sprintf("%.0f", std::ceil(height));
    head_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
            w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n" +
            "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"" +
            Colour(background) + "\"/>\n";
}

void SvgCanvas::SetPen(const Pen& pen) {
    if (pen == pen_)
        return;
    Flush();
    pen_ = pen;
}

void SvgCanvas::MoveTo(double x, double y) {
    // A move after a move replaces it: a path of moves alone draws nothing.
    if (!drawn_)
        data_.clear();
    data_ += (data_.empty() ? "M" : " M") + Coords(x, y);
    x_ = x;
    y_ = y;
}

void SvgCanvas::StartDrawing() {
    if (data_.empty())
        data_ = "M" + Coords(x_, y_);
    drawn_ = true;
}

void SvgCanvas::LineTo(double x, double y) {
    StartDrawing();
    data_ += " L" + Coords(x, y);
    x_ = x;
    y_ = y;
}

void SvgCanvas::ArcTo(double x, double y, double cx, double cy, bool clockwise) {
    StartDrawing();
    double r = std::hypot(x_ - cx, y_ - cy);
    // SVG's sweep flag 1 turns towards growing angles: clockwise with y downwards.
    std::string sweep_flag = clockwise ? " 1 " : " 0 ";
    std::string radii = " A" + Number(r) + " " + Number(r) + " 0";
    double a1 = std::atan2(y_ - cy, x_ - cx);
    double sweep = std::atan2(y - cy, x - cx) - a1;
    if (clockwise && sweep <= 0)
        sweep += 2 * kPi;
    if (!clockwise && sweep >= 0)
        sweep -= 2 * kPi;
    if (std::fabs(sweep) >= 2 * kPi - 1e-9) {
        // A whole circle: SVG draws no arc whose ends coincide, so two half circles.
        double ox = 2 * cx - x_, oy = 2 * cy - y_;
        data_ += radii + " 0" + sweep_flag + Coords(ox, oy);
        data_ += radii + " 0" + sweep_flag + Coords(x, y);
    } else {
        data_ += radii + (std::fabs(sweep) > kPi ? " 1" : " 0") + sweep_flag + Coords(x, y);
    }
    x_ = x;
    y_ = y;
}

void SvgCanvas::Flush() {
    if (drawn_) {
        std::string style;
        if (pen_.style == LineStyle::kDashed)
            style = " stroke-dasharray=\"6 4\"";
        else if (pen_.style == LineStyle::kDotted)
            style = " stroke-dasharray=\"1 3\"";
        body_ += "<path d=\"" + data_ + "\" fill=\"none\" stroke=\"" + Colour(pen_.rgb) +
                 "\" stroke-width=\"" + Number(pen_.width) + "\"" + style +
                 " stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
    }
    data_.clear();
    drawn_ = false;
}

std::string SvgCanvas::Document() {
    Flush();
    std::string doc = head_ + body_ + "</svg>\n";
    return doc;
}

} // namespace korvel
