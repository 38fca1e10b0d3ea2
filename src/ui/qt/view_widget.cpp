// The view widget.
#include "ui/qt/view_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "ui/app.h"
#include "ui/qt/qt_canvas.h"
#include "ui/view.h"
#include "ui/view_draw.h"
#include "ui/view_pens.h"

namespace korvel {

ViewWidget::ViewWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("drawing");
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setMinimumSize(100, 100);
}

void ViewWidget::ClearOverlay() {
    overlay_ = RecordingCanvas();
    update();
}

void ViewWidget::ViewChanged() {
    SetViewChanged(true);
    ClearOverlay();
}

void ViewWidget::paintEvent(QPaintEvent*) {
    if (!GetView().valid || GetView().W != width() || GetView().H != height())
        GetViewCoef(width(), height());
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(static_cast<QRgb>(ViewBackground())));
    QtCanvas canvas(painter);
    draw_all(canvas);
    overlay_.Replay(canvas, 0, 0, 1, 0, 0);
}

void ViewWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    GetViewCoef(width(), height());
    overlay_ = RecordingCanvas();
    update();
}

void ViewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton)
        drag_from_ = event->position();
    QWidget::mousePressEvent(event);
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event) {
    double x, y;
    QPointF p = event->position();
    if (event->buttons() & Qt::MiddleButton) {
        Pan(p.x() - drag_from_.x(), p.y() - drag_from_.y());
        drag_from_ = p;
        ViewChanged();
    }
    if (where(p.x(), p.y(), x, y) && GetView().mode == kViewTop)
        cursor_text_ = QString::fromStdString(CursorPositionText(x, y));
    else
        cursor_text_.clear();
    emit CursorMoved(cursor_text_);
}

void ViewWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    cursor_text_.clear();
    emit CursorMoved(cursor_text_);
}

void ViewWidget::wheelEvent(QWheelEvent* event) {
    int steps = event->angleDelta().y() / 120;
    if (steps == 0) {
        event->ignore();
        return;
    }
    QPointF p = event->position();
    ZoomAt(p.x(), p.y(), steps > 0 ? 1.1 : 1 / 1.1);
    ViewChanged();
    event->accept();
}

} // namespace korvel
