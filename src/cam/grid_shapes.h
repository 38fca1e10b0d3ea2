// Closed outlines made of lines and arcs, laid on a grid row by row: where a row of cell
// centres enters and leaves the outline, and how far a point lies from it. The intended part
// uses them to paint bulges, pockets and text boxes onto the grid.
#pragma once

#include <vector>

#include "model/shape.h"

namespace korvel {

class Outline {
public:
    // The contour of a bulge or pocket: the element ending at vertex i runs from vertex i-1,
    // vertex 0 carries the closing element. An arc without a centre is taken as a line.
    static Outline FromShape(const Shape& shape);
    // A polygon through the points, closed back to the first.
    static Outline Polygon(const std::vector<Point>& points);

    // The x where the row y crosses the outline, ascending; between the first and second,
    // the third and fourth, ... the row is inside (even-odd). A vertex on the row counts for
    // the element that rises from it, so that rows through vertices come out right.
    void Crossings(double y, std::vector<double>& xs) const;
    // The distance from the point to the nearest point of the outline.
    double Distance(double px, double py) const;
    // The extent of the outline.
    void Bounds(double& x0, double& y0, double& x1, double& y1) const;
    bool Empty() const { return pieces_.empty(); }

    // A line from (x1, y1) to (x2, y2), or an arc: centre, radius, and the counter-clockwise
    // sweep from angle a0, with its exact end points (x1, y1) at a0 and (x2, y2) at a0 + sweep.
    struct Piece {
        bool arc = false;
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        double cx = 0, cy = 0, r = 0, a0 = 0, sweep = 0;
    };
    const std::vector<Piece>& Pieces() const { return pieces_; }
    static double PieceDistance(const Piece& p, double px, double py);

private:
    // A part of an arc along which y only rises or only falls.
    struct Monotone {
        double cx, cy, r;
        double ylo, yhi;
        bool right; // lies right of the centre
    };
    void AddLine(double x1, double y1, double x2, double y2);
    void AddArc(double x1, double y1, double x2, double y2, double radius, int kind);

    std::vector<Piece> pieces_;
    std::vector<Monotone> monotone_;
};

} // namespace korvel
