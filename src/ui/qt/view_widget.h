// The drawing area of the main window: the view drawn with QPainter, redrawn on resize and on
// every change; the wheel zooms about the cursor; the cursor's work coordinates are reported.
// A replay draws its moves into an overlay that lasts until the view is cleared or changes.
#pragma once

#include <QString>
#include <QWidget>

#include "ui/canvas.h"

namespace korvel {

class ViewWidget : public QWidget {
    Q_OBJECT
public:
    explicit ViewWidget(QWidget* parent = nullptr);

    // Where a replay draws: kept in window pixels and drawn over the picture.
    Canvas& Overlay() { return overlay_; }
    // Forgets the replayed moves and redraws (the animation's Clear; any view change).
    void ClearOverlay();
    // The view changed (zoom, projection, fit): the overlay no longer fits it.
    void ViewChanged();
    // The cursor's text for the command line: the last position over the drawing.
    QString CursorText() const { return cursor_text_; }

signals:
    void CursorMoved(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    RecordingCanvas overlay_;
    QString cursor_text_;
    QPointF drag_from_; // the middle button's last position while it pans
};

} // namespace korvel
