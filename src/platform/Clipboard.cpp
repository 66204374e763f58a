// The clipboard seam and its in-memory default.
#include "platform/Clipboard.h"

namespace lf {
namespace {

class MemoryClipboard final : public Clipboard {
public:
    void SetPicture(const Bitmap& picture) override { held_ = picture; }
    std::optional<Bitmap> GetPicture() override { return held_; }

private:
    std::optional<Bitmap> held_;
};

MemoryClipboard memoryClipboard;
Clipboard* installed = &memoryClipboard;

}  // namespace

Clipboard& CurrentClipboard() { return *installed; }

Clipboard* InstallClipboard(Clipboard* c) {
    Clipboard* old = installed;
    installed = c ? c : &memoryClipboard;
    return old;
}

}  // namespace lf
