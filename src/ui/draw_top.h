// The project seen from the top, drawn onto a canvas: the block, the bulges coloured by level,
// pockets and islands, holes, texts in the stroke font, fixtures, and the engraving and drawing
// elements, in ascending ID order.
// One small drawing function per object kind; the full view (projections, selection pens,
// markers) builds on these.
#pragma once

#include "geometry/types.h"
#include "model/shape.h"
#include "ui/canvas.h"

namespace korvel {

// Where the project's plane lies on the surface: a project point (x, y) is drawn at
// ((x - left) * scale, (top - y) * scale), so that Y points up on the picture.
struct TopView {
    double scale = 1; // surface units per project unit
    double left = 0, top = 0;
};

// Draws project geometry through a TopView: points, elements and contours in project units.
class TopPainter {
public:
    TopPainter(Canvas& canvas, const TopView& view) : canvas_(canvas), view_(view) {}

    void SetPen(const Pen& pen) { canvas_.SetPen(pen); }
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    // The element to (x, y) of that kind and radius from the current point (a line for any
    // kind but an arc, and for an arc without a centre).
    void ElementTo(double x, double y, double radius, int kind);
    void Circle(double cx, double cy, double r);
    void Rectangle(double x0, double y0, double x1, double y1);
    // The closed contour of a bulge or pocket.
    void Contour(const Shape& shape);

private:
    double U(double x) const { return (x - view_.left) * view_.scale; }
    double V(double y) const { return (view_.top - y) * view_.scale; }

    Canvas& canvas_;
    TopView view_;
    double x_ = 0, y_ = 0; // the current point in project units
};

// The pens of the drawing. Bulges take the colour of their level, in turn from a few.
Pen BlockPen();
Pen BulgePen(int level);
Pen IslandPen();
Pen PocketPen();
Pen HolePen();
Pen TextPen(bool note);
Pen FixturePen();
Pen EngravingPen();
// A drawing element in the colour number of its group (2 when it has none).
Pen DrawingPen(int colour);

// Each object of the project, in ascending ID order; compiler-made objects are left out.
void DrawProjectTop(TopPainter& painter);

} // namespace korvel
