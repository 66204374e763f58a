// The whole-picture geometry commands (crop, mirror, reflection, quarter turn, resize), their pure
// pixel kernels and the command table the menus and the batch tool run.
#pragma once

#include <cstdint>
#include <vector>

#include "app/Document.h"
#include "platform/Bitmap.h"
#include "platform/Rect.h"

namespace lf {

// ---- Pure kernels: a picture in, a picture out (or changed in place); no document state. ----

// The pixels of the inclusive rectangle selection, one to one, in a picture of the selection's
// size. Pixels of the selection that lie outside the picture come out black. Throws lf::Error
// when the selection's size is negative or beyond the picture limits.
Bitmap CropPicture(const Bitmap& picture, const TRect& selection);

// Left and right (vertical = false) or top and bottom (vertical = true) change places.
void MirrorPicture(Bitmap& picture, bool vertical);

// Every pixel becomes the channel-wise truncated average of itself and its mirror partner.
void ReflectPicture(Bitmap& picture, bool vertical);

// A quarter turn: left (counter-clockwise, right = false) or right (clockwise, right = true).
// The result is Height() × Width().
Bitmap RotatePicture(const Bitmap& picture, bool right);
// The same into result, which is resized (its memory reused when the byte count matches).
// result must not be picture.
void RotatePicture(const Bitmap& picture, Bitmap& result, bool right);

// Nearest-neighbour scaling into target's own size (every target pixel is a copy of one source
// pixel, sampled exactly as Bitmap::StretchDraw samples). An empty source leaves target alone.
void StretchPicture(const Bitmap& source, Bitmap& target);

// ---- Routines over the document (MainBitmap, WorkBitmap, SelRect). ----

// MainBitmap becomes the selection; the whole picture is selected.
void Crop();
// horizontal = false, vertical = true; the whole picture, whatever is selected.
void Mirror(bool vertical);
void Reflect(bool vertical);
// left = false, right = true.
void Rotate(bool right);

// TMainForm.Resize: MainBitmap scaled to newWidth × newHeight by nearest neighbour, then the
// whole picture selected. No snapshot, no redraw, no hourglass.
void Resize(int newWidth, int newHeight);

// What the resize window's OK does after it has closed: the undo snapshot, the resize, the
// smoothing when interpolate is set and (oldWidth < width or oldHeight < height), the redraw.
// The window passes the old size its labels show; the picture may have changed since.
void ResizeOK(int oldWidth, int oldHeight, int width, int height, bool interpolate);
// The same with the picture's current size as the old size (the batch tool's --resize).
void ResizeOK(int width, int height, bool interpolate);

// ---- The menu handlers as data, run by component name. ----

struct GeometryCommand {
    const char* component;
    const char* menuPath;  // where a user finds it, without accelerator marks
    Stage run;             // the whole handler: snapshot, operation, redraw
};
// CropMenu, HorisontallyMenu, VerticallyMenu, ReflectionHorisontallyMenu,
// ReflectionVerticallyMenu, LeftMenu, RightMenu.
const std::vector<GeometryCommand>& GeometryCommands();
// The entry for a component name, or nullptr.
const GeometryCommand* FindGeometryCommand(const char* component);

}  // namespace lf
