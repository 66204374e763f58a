// The document variables and their routines.
#include "app/Document.h"

#include <utility>

namespace lf {

std::string CurrentFile;
Bitmap MainBitmap;
Bitmap WorkBitmap;
Bitmap UndoBitmap;
Bitmap ZoomBitmap(80, 60);
uint8_t* CurPixel = nullptr;
int32_t CurX = 0;
int32_t CurY = 0;
TRect SelRect;
bool UndoAvailable = false;

namespace {

class HeadlessView final : public DocumentView {
public:
    void ReDraw() override { OrderSelection(); }
    void UndoEnabledChanged(bool) override {}
    void PictureArrived() override {}
};

HeadlessView headlessView;
DocumentView* view = &headlessView;

}  // namespace

void SetDocumentView(DocumentView* v) { view = v ? v : &headlessView; }
DocumentView& CurrentView() { return *view; }

void ResetDocument() {
    CurrentFile.clear();
    MainBitmap.FreeImage();
    WorkBitmap.FreeImage();
    UndoBitmap.FreeImage();
    ZoomBitmap.SetSize(80, 60);
    CurPixel = nullptr;
    CurX = CurY = 0;
    SelRect = TRect{};
    UndoAvailable = false;
}

void SelectAll() { SelRect = Rect(0, 0, MainBitmap.Width() - 1, MainBitmap.Height() - 1); }

bool NothingSelected() {
    return int64_t{SelRect.Right} - SelRect.Left + 1 <= 1 ||
           int64_t{SelRect.Bottom} - SelRect.Top + 1 <= 1;
}

uint8_t Clamp(int32_t v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<uint8_t>(v); }

int Intensity() { return Intensity(CurPixel); }

void OrderSelection() {
    if (SelRect.Right < SelRect.Left) std::swap(SelRect.Right, SelRect.Left);
    if (SelRect.Bottom < SelRect.Top) std::swap(SelRect.Bottom, SelRect.Top);
}

void UpdateUndo() {
    UndoBitmap = MainBitmap;
    UndoAvailable = true;
    view->UndoEnabledChanged(true);
}

void RestoreUndo() {
    MainBitmap = UndoBitmap;
    UndoAvailable = false;
    view->UndoEnabledChanged(false);
    SelectAll();
    ReDraw();
}

void ReDraw() { view->ReDraw(); }

std::string WindowCaption() {
    return CurrentFile.empty() ? std::string(kApplicationTitle)
                               : std::string(kApplicationTitle) + " - " + CurrentFile;
}

void RunEditingCommand(const std::vector<Stage>& stages) {
    UpdateUndo();
    for (const Stage& stage : stages) stage();
    ReDraw();
}

}  // namespace lf
