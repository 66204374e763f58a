// The main window: the menu bar built from the menu table, the client area that ReDraw paints,
// and the handlers of the File and Edit menus.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <map>

#include "app/Document.h"

class QAction;
class QMenu;
class QScrollArea;

namespace lf {

class Canvas;

class TMainForm : public QMainWindow, public DocumentView {
    Q_OBJECT

public:
    // parameters: the command-line parameters after the program's name.
    explicit TMainForm(const QStringList& parameters = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Start-up: the buffers, the picture named by the first parameter, the first redraw.
    void FormCreate(const QStringList& parameters);
    void FormClick() {}

    // DocumentView: the painter of the client area and the keeper of the menu state.
    void ReDraw() override;
    void UndoEnabledChanged(bool enabled) override;
    void PictureArrived() override;

    // The mouse on the client area, in client coordinates (not clamped: during a drag the
    // pointer may be outside, at negative coordinates or beyond the picture).
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void FormMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // Menu handlers. Each runs inside the command guard when its item is triggered.
    void OpenMenuClick();
    void SaveasMenuClick();
    void PrintMenuClick();
    void ExitMenuClick();
    void UndoMenuClick();
    void CopyMenuClick();
    void PasteMenuClick();
    void SelectallMenuClick();
    void StatisticsMenuClick();
    void ZoomMenuClick();
    void RetouchMenuClick();
    void CustomfilterMenuClick();
    void FeatherMenuClick();
    void ResizeMenuClick();
    void WebcameraMenuClick();
    void ScanMenuClick();
    void AboutMenuClick();

    // What the client area shows, pixel for pixel: ReDraw renders into it, a paint event
    // only copies it to the screen. Drawing into it directly needs UpdateScreen() after.
    QImage& Screen();
    void UpdateScreen();
    // The client area's size (the picture area, not counting scroll bars).
    QSize ClientSize() const;
    // The widget that receives the mouse (tests press and drag on it).
    QWidget* ClientArea() const;

    // The menu command or submenu of that component name ("OpenMenu", "FiltersMenu"), or
    // nullptr. A submenu's action is the one whose enabling enables everything under it.
    QAction* Action(const QString& componentName) const;
    QMenu* Menu(const QString& componentName) const;

    void SetCaption(const QString& caption);

    // The font of the two size texts.
    QFont TextFont() const;

protected:
    // Closing the main window, from "&Esci" or the title bar, ends the program even while
    // a tool window (zoom, resize) is still shown.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void RenderScreen();
    void FitWindowToClient(int width, int height);

    Canvas* canvas_ = nullptr;
    QScrollArea* scrollArea_ = nullptr;
    std::map<QString, QAction*> actions_;
    std::map<QString, QMenu*> menus_;
};

extern TMainForm* MainForm;

}  // namespace lf
