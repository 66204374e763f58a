// The mouse on the main window's client area: selecting with the left button, the zoom
// window with the others and the zoom feed on every movement; select-all, zoom and statistics.
#include <QAction>
#include <QColor>

#include "app/Document.h"
#include "app/Main.h"
#include "app/Selection.h"
#include "app/Statistics.h"
#include "app/Zoom.h"
#include "platform/CommandGuard.h"
#include "platform/Dialogs.h"

namespace lf {

namespace {

constexpr const char* kSelectingCaption = "Release mouse button to end selection!";

// Two white strokes of ten pixels from the press point, right and down, drawn on the screen
// only: the picture never gets them and the next redraw removes them.
void DrawStartMarker(QImage& screen, int x, int y) {
    const QRgb white = qRgb(255, 255, 255);
    const auto plot = [&](int px, int py) {
        if (px >= 0 && py >= 0 && px < screen.width() && py < screen.height()) screen.setPixel(px, py, white);
    };
    for (int i = 0; i < 10; ++i) {
        plot(x + i, y);
        plot(x, y + i);
    }
}

TZoomForm& TheZoomForm() {
    // The program entry creates it; a window made without it (a test) still gets one, which
    // like every form lives until the process ends.
    if (!ZoomForm) ZoomForm = new TZoomForm();
    return *ZoomForm;
}

}  // namespace

// The mouse handlers run inside the command guard like the menu items: the release ends in a
// redraw, which throws when the screen image cannot be allocated, and nothing may escape into
// the event loop.
void TMainForm::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    RunGuarded([&] {
        if (button == Qt::LeftButton) {
            SelectionMouseDown(true, x, y);
            DrawStartMarker(Screen(), x, y);
            UpdateScreen();
        } else {
            ZoomMenuClick();
        }
        SetCaption(kSelectingCaption);
    });
}

void TMainForm::FormMouseMove(Qt::KeyboardModifiers, int x, int y) {
    RunGuarded([&] { TheZoomForm().Feed(Screen(), x, y); });
}

void TMainForm::FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    RunGuarded([&] { SelectionMouseUp(button == Qt::LeftButton, x, y); });
}

void TMainForm::SelectallMenuClick() {
    SelectAll();
    ReDraw();
}

void TMainForm::ZoomMenuClick() {
    TZoomForm& zoom = TheZoomForm();
    zoom.setVisible(!zoom.isVisible());
    if (QAction* item = Action("ZoomMenu")) item->setChecked(zoom.isVisible());
}

void TMainForm::StatisticsMenuClick() { ShowInformation(StatisticsReport()); }

}  // namespace lf
