// The mouse on the main window's client area and the select-all, zoom and statistics
// commands (placeholder bodies until the selection code lands).
#include "app/Main.h"

namespace lf {

void TMainForm::FormMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TMainForm::FormMouseMove(Qt::KeyboardModifiers, int, int) {}

void TMainForm::FormMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void TMainForm::SelectallMenuClick() {
    SelectAll();
    ReDraw();
}

void TMainForm::ZoomMenuClick() {}

void TMainForm::StatisticsMenuClick() {}

}  // namespace lf
