// The Canvas on a QPainter: the view's lines drawn antialiased in the view's pens.
#pragma once

#include <QPainter>

#include "ui/canvas.h"

namespace korvel {

class QtCanvas : public Canvas {
public:
    explicit QtCanvas(QPainter& painter);

    void SetPen(const Pen& pen) override;
    void MoveTo(double x, double y) override;
    void LineTo(double x, double y) override;
    void ArcTo(double x, double y, double cx, double cy, bool clockwise) override;

private:
    QPainter& painter_;
    QPointF at_;
};

} // namespace korvel
