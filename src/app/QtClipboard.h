// The clipboard seam over QClipboard: pictures go out and come in as images, losslessly, so
// other programs paste what we copy and we paste what they copy.
#pragma once

#include "platform/Clipboard.h"

class QImage;

namespace lf {

class QtClipboard final : public Clipboard {
public:
    void SetPicture(const Bitmap& picture) override;
    std::optional<Bitmap> GetPicture() override;
};

// The conversions, exact in both directions for 24-bit pictures.
QImage ToImage(const Bitmap& picture);
// Alpha is dropped; throws lf::Error for a picture beyond the size limits.
Bitmap FromImage(const QImage& image);

}  // namespace lf
