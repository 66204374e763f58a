// The selection pass and its variants.
#include "filters/SelectionPass.h"

#include <algorithm>
#include <cstring>

#include "app/Document.h"
#include "platform/Cursor.h"

namespace lf {
namespace {

// Releases WorkBitmap's pixels when the pass ends, also when the kernel throws.
struct WorkRelease {
    ~WorkRelease() { WorkBitmap.FreeImage(); }
};

}  // namespace

int64_t SelectionWidth() { return int64_t{SelRect.Right} - SelRect.Left + 1; }
int64_t SelectionHeight() { return int64_t{SelRect.Bottom} - SelRect.Top + 1; }

TRect VisibleSelection() {
    const int64_t left = std::max<int64_t>(SelRect.Left, 0);
    const int64_t top = std::max<int64_t>(SelRect.Top, 0);
    const int64_t right = std::min<int64_t>(int64_t{SelRect.Right} + 1, MainBitmap.Width());
    const int64_t bottom = std::min<int64_t>(int64_t{SelRect.Bottom} + 1, MainBitmap.Height());
    if (left >= right || top >= bottom) return TRect{};
    return Rect(static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                static_cast<int32_t>(bottom));
}

bool SelectionReachesOutside() {
    const int64_t w = SelectionWidth(), h = SelectionHeight();
    if (w <= 0 || h <= 0) return false;
    const TRect v = VisibleSelection();
    return int64_t{v.Right - v.Left} * (v.Bottom - v.Top) != w * h;
}

void CopySelectionToWork() {
    const int64_t w = std::max<int64_t>(SelectionWidth(), 0);
    const int64_t h = std::max<int64_t>(SelectionHeight(), 0);
    CheckPictureSize(w, h);
    WorkBitmap.SetSizeUninitialised(static_cast<int32_t>(w), static_cast<int32_t>(h));
    const TRect v = VisibleSelection();
    const size_t rowBytes = static_cast<size_t>(w) * 3;
    if (rowBytes == 0) return;
    // Columns of the copy that have a source pixel.
    const size_t before =
        v.Right > v.Left ? static_cast<size_t>(v.Left - int64_t{SelRect.Left}) * 3 : rowBytes;
    const size_t inside = v.Right > v.Left ? static_cast<size_t>(v.Right - v.Left) * 3 : 0;
    for (int32_t y = 0; y < WorkBitmap.Height(); ++y) {
        uint8_t* dst = WorkBitmap.ScanLine(y);
        const int64_t sy = int64_t{SelRect.Top} + y;
        if (inside == 0 || sy < v.Top || sy >= v.Bottom) {
            std::memset(dst, 0, rowBytes);
            continue;
        }
        std::memset(dst, 0, before);
        std::memcpy(dst + before, MainBitmap.ScanLine(static_cast<int32_t>(sy)) + size_t(v.Left) * 3, inside);
        std::memset(dst + before + inside, 0, rowBytes - before - inside);
    }
}

void WriteWorkToSelection() {
    const TRect v = VisibleSelection();
    if (v.Right <= v.Left || v.Bottom <= v.Top) return;
    const size_t offset = static_cast<size_t>(v.Left - int64_t{SelRect.Left}) * 3;
    const size_t bytes = static_cast<size_t>(v.Right - v.Left) * 3;
    for (int32_t y = v.Top; y < v.Bottom; ++y) {
        std::memcpy(MainBitmap.ScanLine(y) + size_t(v.Left) * 3,
                    WorkBitmap.ScanLine(static_cast<int32_t>(y - int64_t{SelRect.Top})) + offset, bytes);
    }
}

void SelectionPass(const Kernel& kernel) {
    SelectionPass(kernel, [](Bitmap&) { WriteWorkToSelection(); });
}

void SelectionPass(const Kernel& kernel, const std::function<void(Bitmap& work)>& writeBack) {
    HourglassCursor hourglass;
    WorkRelease release;
    CopySelectionToWork();
    kernel(WorkBitmap);
    writeBack(WorkBitmap);
}

PixelRows RowsOf(Bitmap& bitmap) {
    return PixelRows{bitmap.Bits(), static_cast<ptrdiff_t>(bitmap.Stride()), bitmap.Width(), bitmap.Height()};
}

void FastSelectionPass(const RowsKernel& kernel) {
    if (SelectionReachesOutside() || SelectionWidth() <= 0 || SelectionHeight() <= 0) {
        SelectionPass([&](Bitmap& work) { kernel(RowsOf(work)); });
        return;
    }
    HourglassCursor hourglass;
    const TRect v = VisibleSelection();
    kernel(PixelRows{MainBitmap.ScanLine(v.Top) + static_cast<size_t>(v.Left) * 3,
                     static_cast<ptrdiff_t>(MainBitmap.Stride()), v.Right - v.Left, v.Bottom - v.Top});
}

void PointPass(const RowsKernel& kernel) {
    HourglassCursor hourglass;
    const TRect v = VisibleSelection();
    if (v.Right <= v.Left || v.Bottom <= v.Top) {
        kernel(PixelRows{});
        return;
    }
    kernel(PixelRows{MainBitmap.ScanLine(v.Top) + static_cast<size_t>(v.Left) * 3,
                     static_cast<ptrdiff_t>(MainBitmap.Stride()), v.Right - v.Left, v.Bottom - v.Top});
}

}  // namespace lf
