// The zoom window: an always-on-top tool window that shows the screen around the mouse
// pointer about twice enlarged, fed by every mouse movement over the main window.
#pragma once

#include <QImage>
#include <QWidget>

#include "platform/Bitmap.h"

namespace lf {

inline constexpr int kZoomClientWidth = 157;
inline constexpr int kZoomClientHeight = 117;

// Copies the 79 × 59 pixels of screen from (x − 39, y − 29) to (x + 40, y + 30), exclusive,
// one to one into zoomBuffer at (0, 0), so the pointer's pixel lands at column 39, row 29.
// Pixels outside the screen image come out black. The buffer's last column and row are left
// as they were.
void CopyScreenAround(const QImage& screen, int x, int y, Bitmap& zoomBuffer);

// The whole feed: CopyScreenAround, then the 80 × 60 buffer scaled by nearest neighbour into
// (0, 0)–(159, 119) of view, which is cut at its own size.
void ZoomFeed(const QImage& screen, int x, int y, Bitmap& zoomBuffer, Bitmap& view);

class TZoomForm : public QWidget {
    Q_OBJECT

public:
    explicit TZoomForm(QWidget* parent = nullptr);

    // Feeds ZoomBitmap and this window's picture from the screen image around (x, y), and
    // shows the result.
    void Feed(const QImage& screen, int x, int y);

    // What the client area shows: the last fed picture (black before the first feed).
    QImage Image() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    Bitmap view_;
};

extern TZoomForm* ZoomForm;

}  // namespace lf
