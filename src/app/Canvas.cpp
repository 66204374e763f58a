// The client area widget.
#include "app/Canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/Main.h"

namespace lf {
namespace {

// Client coordinates as whole pixels; during a drag they may be negative, so round down.
QPoint PixelOf(const QMouseEvent* event) {
    const QPointF p = event->position();
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

}  // namespace

Canvas::Canvas(TMainForm* form, QWidget* parent) : QWidget(parent), form_(form) {
    setObjectName("ClientArea");
    setCursor(Qt::CrossCursor);
    // The zoom feed follows every movement, not only drags.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Canvas::paintEvent(QPaintEvent* event) {
    // Only a copy of what the last redraw rendered: a repaint never changes the picture, the
    // window size or the caption.
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), screen_, area);
}

void Canvas::mousePressEvent(QMouseEvent* event) {
    const QPoint p = PixelOf(event);
    form_->FormMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void Canvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = PixelOf(event);
    form_->FormMouseMove(event->modifiers(), p.x(), p.y());
}

void Canvas::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = PixelOf(event);
    form_->FormMouseUp(event->button(), event->modifiers(), p.x(), p.y());
}

}  // namespace lf
