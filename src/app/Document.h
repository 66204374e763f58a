// The document: one picture, one selection, one undo snapshot and the scratch buffers, held
// as namespace-level variables, and the small routines over them. Qt-free, so the filters,
// the batch tool and the unit tests use it without a window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Rect.h"

namespace lf {

extern std::string CurrentFile;  // path the picture was last opened from or saved to
extern Bitmap MainBitmap;        // the picture being edited
extern Bitmap WorkBitmap;        // scratch copy of the selection while a command works on it
extern Bitmap UndoBitmap;        // the one-level undo snapshot
extern Bitmap ZoomBitmap;        // 80 × 60 source of the zoom window
extern uint8_t* CurPixel;        // the pixel pass cursor
extern int32_t CurX;
extern int32_t CurY;
extern TRect SelRect;  // the selection, inclusive corners, not clamped to the picture
extern bool UndoAvailable;  // mirrors whether "&Annulla" is enabled

// What the window (or the batch tool) does when the document asks for it. The main window
// paints; the batch tool only orders the selection's corners.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    virtual void ReDraw() = 0;
    virtual void UndoEnabledChanged(bool enabled) = 0;
    // A picture has arrived: enable the six commands that need one.
    virtual void PictureArrived() = 0;
};

// Installs the view (not owned); nullptr installs a headless one.
void SetDocumentView(DocumentView* view);
DocumentView& CurrentView();

// Back to the start-up state (tests and the batch tool): empty buffers, ZoomBitmap 80 × 60,
// no file, no undo, selection (0, 0, 0, 0).
void ResetDocument();

void SelectAll();
bool NothingSelected();
uint8_t Clamp(int32_t v);
int Intensity();  // (R + G + B) div 3 of the pixel at CurPixel
inline int Intensity(const uint8_t* p) { return (p[0] + p[1] + p[2]) / 3; }

// Puts the selection's corners in order, as every redraw does.
void OrderSelection();

void UpdateUndo();
void RestoreUndo();
void ReDraw();  // asks the installed view

// Title rule: "Lumaforge", or "Lumaforge - " and the file.
std::string WindowCaption();
inline constexpr const char* kApplicationTitle = "Lumaforge";

// The editing-command pattern: snapshot, the stages in order, redraw. A stage that throws
// ends the command there; the snapshot stays.
using Stage = std::function<void()>;
void RunEditingCommand(const std::vector<Stage>& stages);

}  // namespace lf
