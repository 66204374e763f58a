// The zoom window and its feed.
#include "app/Zoom.h"

#include <QCloseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "app/Document.h"

namespace lf {

TZoomForm* ZoomForm = nullptr;

namespace {

constexpr int kCopyWidth = 79;
constexpr int kCopyHeight = 59;

// A view of the bitmap's rows as an image, without a copy (the rows are blue, green, red).
QImage ImageOf(const Bitmap& bitmap) {
    return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), static_cast<qsizetype>(bitmap.Stride()),
                  QImage::Format_BGR888);
}

}  // namespace

void CopyScreenAround(const QImage& screen, int x, int y, Bitmap& zoomBuffer) {
    const int width = std::min(kCopyWidth, zoomBuffer.Width());
    const int height = std::min(kCopyHeight, zoomBuffer.Height());
    // QImage::copy fills what lies outside the image with zeros: black once converted.
    QImage part = screen.isNull() ? QImage() : screen.copy(x - 39, y - 29, kCopyWidth, kCopyHeight);
    // (A copy or conversion that cannot allocate comes back null, as the empty screen does.)
    if (!part.isNull()) part = part.convertToFormat(QImage::Format_BGR888);
    if (part.isNull()) {
        zoomBuffer.Fill(Rect(0, 0, width, height), 0);
        return;
    }
    for (int row = 0; row < height; ++row)
        std::memcpy(zoomBuffer.ScanLine(row), part.constScanLine(row), static_cast<size_t>(width) * 3);
}

void ZoomFeed(const QImage& screen, int x, int y, Bitmap& zoomBuffer, Bitmap& view) {
    CopyScreenAround(screen, x, y, zoomBuffer);
    view.StretchDraw(Rect(0, 0, 159, 119), zoomBuffer);
}

TZoomForm::TZoomForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      view_(kZoomClientWidth, kZoomClientHeight) {
    setObjectName("ZoomForm");
    setWindowTitle("Zoom");
    setFixedSize(kZoomClientWidth, kZoomClientHeight);
    move(574, 110);
    // Showing it must not take the keyboard from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TZoomForm::Feed(const QImage& screen, int x, int y) {
    ZoomFeed(screen, x, y, ZoomBitmap, view_);
    update();
}

QImage TZoomForm::Image() const { return ImageOf(view_).copy(); }

void TZoomForm::paintEvent(QPaintEvent* event) {
    // An expose shows the last fed picture again; nothing else draws here.
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), ImageOf(view_), area);
}

void TZoomForm::closeEvent(QCloseEvent* event) {
    // Only the Zoom command and the other mouse buttons show and hide this window, so the
    // menu's check mark always matches; a close asked for by the window manager is refused.
    if (event->spontaneous())
        event->ignore();
    else
        QWidget::closeEvent(event);
}

}  // namespace lf
