// Selecting with the mouse, without the window.
#include "app/Selection.h"

#include "app/Document.h"
#include "platform/Dialogs.h"

namespace lf {

void SelectionMouseDown(bool leftButton, int x, int y) {
    if (!leftButton) return;
    SelRect.Left = x;
    SelRect.Top = y;
}

void SelectionMouseUp(bool leftButton, int x, int y) {
    if (leftButton) {
        SelRect.Right = x;
        SelRect.Bottom = y;
    }
    // Tested on the raw corners, before the redraw orders them: a backward drag is refused too.
    if (NothingSelected()) {
        ShowInformation(kNothingSelectedMessage);
        SelectAll();
    }
    ReDraw();
}

}  // namespace lf
