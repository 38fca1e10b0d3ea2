// Drawing the view with QPainter.
#include "ui/qt/qt_canvas.h"

#include <QPainterPath>
#include <cmath>

namespace korvel {

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
    painter_.setRenderHint(QPainter::Antialiasing, true);
}

void QtCanvas::SetPen(const Pen& pen) {
    QPen q(QColor::fromRgb(static_cast<QRgb>(pen.rgb)));
    q.setWidthF(pen.width);
    switch (pen.style) {
    case LineStyle::kDashed:
        q.setStyle(Qt::DashLine);
        break;
    case LineStyle::kDotted:
        q.setStyle(Qt::DotLine);
        break;
    default:
        q.setStyle(Qt::SolidLine);
        break;
    }
    painter_.setPen(q);
}

void QtCanvas::MoveTo(double x, double y) { at_ = QPointF(x, y); }

void QtCanvas::LineTo(double x, double y) {
    QPointF to(x, y);
    painter_.drawLine(at_, to);
    at_ = to;
}

void QtCanvas::ArcTo(double x, double y, double cx, double cy, bool clockwise) {
    // Qt's angles are in degrees, counter-clockwise as seen on the screen (y downwards).
    double r = std::hypot(at_.x() - cx, at_.y() - cy);
    double start = std::atan2(cy - at_.y(), at_.x() - cx) * 180 / M_PI;
    double end = std::atan2(cy - y, x - cx) * 180 / M_PI;
    double sweep = end - start;
    if (clockwise) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path(at_);
    path.arcTo(QRectF(cx - r, cy - r, 2 * r, 2 * r), start, sweep);
    painter_.drawPath(path);
    at_ = QPointF(x, y);
}

} // namespace korvel
