// The document side of selecting with the mouse: the anchor on the press, the far corner and
// the "nothing selected" fallback on the release. The window adds the marker and the caption.
#pragma once

namespace lf {

inline constexpr const char* kNothingSelectedMessage = "Nothing selected.\r\nSelecting all.";

// Left button: the press pixel becomes the selection's Left and Top; Right and Bottom keep
// their old values until the release. Other buttons leave the selection alone. No redraw.
void SelectionMouseDown(bool leftButton, int x, int y);

// Left button: the release pixel becomes Right and Bottom, taken as they are (a release
// outside the window lies outside the picture). Then, for every button, a selection that is
// one pixel thin or reversed is answered by the message and replaced by the whole picture,
// and the window is redrawn.
void SelectionMouseUp(bool leftButton, int x, int y);

}  // namespace lf
