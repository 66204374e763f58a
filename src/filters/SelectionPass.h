// The frame in which every filter changes the selection: copy the selection into WorkBitmap,
// let a kernel rewrite the copy, draw it back, release the copy, all under the hourglass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/Bitmap.h"
#include "platform/Rect.h"

namespace lf {

using Kernel = std::function<void(Bitmap& work)>;

// The selection's size from the inclusive SelRect, in 64 bits so that no corner overflows.
int64_t SelectionWidth();
int64_t SelectionHeight();

// Sizes WorkBitmap to the selection and copies the selected pixels in one to one; pixels of the
// selection that lie outside the picture are black.
void CopySelectionToWork();
// Draws WorkBitmap back over the selection, clipped to the picture.
void WriteWorkToSelection();

// The whole pass: hourglass, copy in, kernel, write back, release, default cursor. When the
// kernel throws, nothing is written back, WorkBitmap is released, the cursor comes back and the
// error goes on to the caller.
void SelectionPass(const Kernel& kernel);

// The same pass with the write-back left to the caller (the edge finder enlarges its interior
// onto the selection): writeBack runs after the kernel, before the copy is released.
void SelectionPass(const Kernel& kernel, const std::function<void(Bitmap& work)>& writeBack);

// Rows of pixels that a kernel rewrites in place: the scratch copy, or the selection itself.
struct PixelRows {
    uint8_t* Base = nullptr;
    ptrdiff_t Stride = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t* Row(int32_t y) const { return Base + y * Stride; }
};
PixelRows RowsOf(Bitmap& bitmap);

using RowsKernel = std::function<void(const PixelRows& rows)>;

// For kernels whose every output pixel depends on that pixel alone and that never change a
// pixel before they might throw: the part of the selection inside the picture is rewritten in
// place, whatever the selection's extent. The result equals SelectionPass, because the pixels of
// the copy outside the picture would be dropped by the write-back; and it needs no scratch copy,
// so a selection reaching far beyond the picture (larger than any buffer may be) works too.
void PointPass(const RowsKernel& kernel);

// The pass for kernels that never change a pixel before they might throw. Its result equals
// SelectionPass: when the selection lies wholly inside the picture, the kernel rewrites the
// selected rows of MainBitmap in place (no copy, no write-back, and no fresh scratch memory, which
// on a large picture costs more than the filter itself); otherwise it works on WorkBitmap as usual.
void FastSelectionPass(const RowsKernel& kernel);

// The part of the selection that lies inside the picture, exclusive right and bottom; empty
// (Left >= Right or Top >= Bottom) when they do not meet.
TRect VisibleSelection();
// True when some pixel of the selection lies outside the picture (the copy holds black there).
bool SelectionReachesOutside();

}  // namespace lf
