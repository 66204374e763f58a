// The clipboard's picture, behind a seam: the program installs QClipboard, tests may install
// their own.
#pragma once

#include <optional>

#include "platform/Bitmap.h"

namespace lf {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content with the picture.
    virtual void SetPicture(const Bitmap& picture) = 0;
    // The clipboard's picture, or nothing when it holds none.
    virtual std::optional<Bitmap> GetPicture() = 0;
};

// The installed clipboard; until one is installed, an in-memory one.
Clipboard& CurrentClipboard();
Clipboard* InstallClipboard(Clipboard* c);

}  // namespace lf
