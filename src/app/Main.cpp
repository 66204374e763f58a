// The main window: start-up, the redraw of the client area, the menus and their state, and the
// File and Edit commands.
#include "app/Main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <new>
#include <set>
#include <string>

#include "app/Canvas.h"
#include "app/Geometry.h"
#include "app/Glyphs.h"
#include "app/MenuTable.h"
#include "app/PictureFiles.h"
#include "app/QtDialogs.h"
#include "app/Resize.h"
#include "filters/FilterCommands.h"
#include "platform/Clipboard.h"
#include "platform/CommandGuard.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

namespace lf {

TMainForm* MainForm = nullptr;

namespace {

constexpr int kMinimumClientWidth = 260;
constexpr QRgb kGrey = 0xFF808080;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr const char* kOpenFilter = "Images|*.bmp;*.jpg;*.jpeg";
constexpr const char* kSaveFilter = "Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg";
constexpr const char* kSaveDefaultExtension = "bmp|jpg";

// The frame's pixels are set one by one rather than through QPainter: the selection is not
// clamped, so its corners may lie far outside the image, where a painter's coordinates would
// overflow; clipping here is exact.
void SetPixelClipped(QImage& image, int64_t x, int64_t y, QRgb colour) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
    reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(y)))[x] = colour;
}

void HorizontalLine(QImage& image, int64_t x0, int64_t x1, int64_t y, QRgb colour, bool dotted) {
    if (y < 0 || y >= image.height()) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, image.width() - 1);
    for (int64_t x = x0; x <= x1; ++x)
        if (!dotted || ((x + y) & 1) == 0) SetPixelClipped(image, x, y, colour);
}

void VerticalLine(QImage& image, int64_t x, int64_t y0, int64_t y1, QRgb colour, bool dotted) {
    if (x < 0 || x >= image.width()) return;
    y0 = std::max<int64_t>(y0, 0);
    y1 = std::min<int64_t>(y1, image.height() - 1);
    for (int64_t y = y0; y <= y1; ++y)
        if (!dotted || ((x + y) & 1) == 0) SetPixelClipped(image, x, y, colour);
}

// The outline of a rectangle drawn with corners (left, top) and (right, bottom) by a drawing
// call whose right and bottom edges are exclusive: its centre line runs through columns left
// and right - 1 and rows top and bottom - 1. A pen of width 3 covers one pixel either side.
void DrawSelectionFrame(QImage& image, const TRect& selection) {
    const int64_t left = selection.Left;
    const int64_t top = selection.Top;
    const int64_t right = std::max<int64_t>(left, int64_t{selection.Right} - 1);
    const int64_t bottom = std::max<int64_t>(top, int64_t{selection.Bottom} - 1);
    for (int64_t d = -1; d <= 1; ++d) {
        HorizontalLine(image, left - 1, right + 1, top + d, kBlack, false);
        HorizontalLine(image, left - 1, right + 1, bottom + d, kBlack, false);
        VerticalLine(image, left + d, top - 1, bottom + 1, kBlack, false);
        VerticalLine(image, right + d, top - 1, bottom + 1, kBlack, false);
    }
    HorizontalLine(image, left, right, top, kYellow, true);
    HorizontalLine(image, left, right, bottom, kYellow, true);
    VerticalLine(image, left, top, bottom, kYellow, true);
    VerticalLine(image, right, top, bottom, kYellow, true);
}

// The picture one to one at (0, 0), the rest of the image untouched.
void DrawPicture(QImage& image, const Bitmap& picture) {
    const int width = std::min(image.width(), picture.Width());
    const int height = std::min(image.height(), picture.Height());
    for (int y = 0; y < height; ++y) {
        const uint8_t* source = picture.ScanLine(y);
        QRgb* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, source += 3) target[x] = qRgb(source[2], source[1], source[0]);
    }
}

}  // namespace

TMainForm::TMainForm(const QStringList& parameters, QWidget* parent) : QMainWindow(parent) {
    MainForm = this;
    setObjectName("MainForm");
    setWindowTitle(kApplicationTitle);
    // Single border, system menu and minimise: the user cannot resize or maximise the window,
    // whose client area always takes the picture's size.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName("ClientScrollArea");
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    canvas_ = new Canvas(this);
    scrollArea_->setWidget(canvas_);
    setCentralWidget(scrollArea_);

    SetDocumentView(this);
    FormCreate(parameters);
}

TMainForm::~TMainForm() {
    if (&CurrentView() == this) SetDocumentView(nullptr);
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::FormCreate(const QStringList& parameters) {
    BuildMenus();

    // The buffers as a fresh start has them.
    MainBitmap.FreeImage();
    WorkBitmap.FreeImage();
    UndoBitmap.FreeImage();
    ZoomBitmap.SetSize(80, 60);

    // Only the first parameter counts. Anything but a regular file (a folder, a device, a
    // pipe that would block the start) is "not an existing file".
    const std::string parameter =
        parameters.isEmpty() ? std::string() : QFile::encodeName(parameters.first()).toStdString();
    if (!parameter.empty()) {
        std::error_code error;
        if (std::filesystem::is_regular_file(parameter, error)) {
            CurrentFile = parameter;
            RunGuarded([&] { OpenFile(CurrentFile); });
        } else {
            ShowInformation(parameter + " does not exist.");
        }
    }
    RunGuarded([this] { ReDraw(); });
}

void TMainForm::BuildMenus() {
    std::set<std::string> submenus;
    for (const MenuEntry& entry : MenuTable())
        if (*entry.parent) submenus.insert(entry.parent);

    std::map<QString, QString> parentOf;
    for (const MenuEntry& entry : MenuTable()) {
        const QString component = QString::fromUtf8(entry.component);
        const QString caption = QString::fromUtf8(entry.caption);
        QMenu* parentMenu = *entry.parent ? menus_.at(QString::fromUtf8(entry.parent)) : nullptr;
        parentOf[component] = QString::fromUtf8(entry.parent);

        if (submenus.count(entry.component)) {
            QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
            menu->setObjectName(component);
            menu->menuAction()->setObjectName(component);
            // Disabling a submenu's own action makes everything under it unreachable.
            menu->menuAction()->setEnabled(entry.enabledAtStart);
            menus_[component] = menu;
            actions_[component] = menu->menuAction();
            continue;
        }

        QAction* action = nullptr;
        if (caption == "-") {
            action = parentMenu->addSeparator();
        } else {
            action = parentMenu->addAction(Glyph(entry.glyph), caption);
            if (*entry.shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(entry.shortcut)));
            action->setCheckable(entry.checkable);
            action->setEnabled(entry.enabledAtStart);
        }
        action->setObjectName(component);
        actions_[component] = action;
        if (caption == "-") continue;

        std::function<void()> run;
        if (entry.handler) {
            run = [this, handler = entry.handler] { (this->*handler)(); };
        } else if (const FilterCommand* filter = FindFilterCommand(entry.component)) {
            run = [stages = filter->stages] { RunEditingCommand(stages); };
        } else if (const GeometryCommand* geometry = FindGeometryCommand(entry.component)) {
            run = geometry->run;
        }
        if (!run) continue;  // an item whose command comes later

        connect(action, &QAction::triggered, this, [this, action, run, parentOf](bool checked) {
            // The check mark is the handler's to set (it shows a window's visibility), so
            // undo the toggle that the trigger itself made.
            if (action->isCheckable()) action->setChecked(!checked);
            // A disabled item, or one inside a disabled submenu, cannot be chosen.
            if (!action->isEnabled()) return;
            for (QString up = parentOf.at(action->objectName()); !up.isEmpty(); up = parentOf.at(up))
                if (!actions_.at(up)->isEnabled()) return;
            RunGuarded(run);
        });
    }
}

QImage& TMainForm::Screen() { return canvas_->Screen(); }

void TMainForm::UpdateScreen() { canvas_->update(); }

QSize TMainForm::ClientSize() const { return canvas_->size(); }

QWidget* TMainForm::ClientArea() const { return canvas_; }

QAction* TMainForm::Action(const QString& componentName) const {
    const auto found = actions_.find(componentName);
    return found == actions_.end() ? nullptr : found->second;
}

QMenu* TMainForm::Menu(const QString& componentName) const {
    const auto found = menus_.find(componentName);
    return found == menus_.end() ? nullptr : found->second;
}

void TMainForm::SetCaption(const QString& caption) { setWindowTitle(caption); }

QFont TMainForm::TextFont() const {
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    font.setBold(true);
    // Plain white pixels, as the texts have no background to blend with.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void TMainForm::ReDraw() {
    // The client area keeps its minimum width; its height is the picture's.
    const int width = std::max(kMinimumClientWidth, MainBitmap.Width());
    const int height = MainBitmap.Height();
    OrderSelection();
    QImage& screen = canvas_->Screen();
    if (screen.width() != width || screen.height() != height) {
        screen = QImage(width, height, QImage::Format_RGB32);
        // QImage reports a failed allocation only by being null.
        if (screen.isNull() && height > 0) throw std::bad_alloc();
    }
    RenderScreen();
    FitWindowToClient(width, height);
    SetCaption(QFile::decodeName(QByteArray::fromStdString(WindowCaption())));
    canvas_->update();
}

void TMainForm::RenderScreen() {
    QImage& screen = canvas_->Screen();
    if (screen.isNull()) return;
    screen.fill(kGrey);
    DrawPicture(screen, MainBitmap);
    DrawSelectionFrame(screen, SelRect);

    const int64_t selectionWidth = int64_t{SelRect.Right} - SelRect.Left + 1;
    const int64_t selectionHeight = int64_t{SelRect.Bottom} - SelRect.Top + 1;
    QPainter painter(&screen);
    painter.setFont(TextFont());
    painter.setPen(Qt::white);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine;
    painter.drawText(QRect(10, 10, screen.width(), 15), flags,
                     QString("Selezione larghezza: %1").arg(selectionWidth));
    painter.drawText(QRect(10, 25, screen.width(), 15), flags,
                     QString("             Altezza: %1").arg(selectionHeight));
}

void TMainForm::FitWindowToClient(int width, int height) {
    // (A picture of height 0 leaves a null screen image: the size comes from the caller.)
    canvas_->setFixedSize(width, height);

    // A picture larger than the screen is shown one to one from its top-left corner inside
    // scroll bars, rather than in a window larger than the screen.
    const QRect available = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    const int maxWidth = std::max(kMinimumClientWidth, available.width() - 16);
    const int maxHeight = std::max(64, available.height() - menuBar()->sizeHint().height() - 48);
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    bool scrollX = width > maxWidth;
    bool scrollY = height > maxHeight;
    if (scrollY && width + bar > maxWidth) scrollX = true;
    if (scrollX && height + bar > maxHeight) scrollY = true;
    const bool scrolled = scrollX || scrollY;
    scrollArea_->setHorizontalScrollBarPolicy(scrollX ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    scrollArea_->setVerticalScrollBarPolicy(scrollY ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    scrollArea_->setFixedSize(scrolled ? std::min(width + (scrollY ? bar : 0), maxWidth) : width,
                              scrolled ? std::min(height + (scrollX ? bar : 0), maxHeight) : height);

    const int areaW = scrollArea_->width();
    const int menuHeight = menuBar()->heightForWidth(areaW) > 0 ? menuBar()->heightForWidth(areaW)
                                                                : menuBar()->sizeHint().height();
    setFixedSize(areaW, scrollArea_->height() + menuHeight);
}

void TMainForm::UndoEnabledChanged(bool enabled) { Action("UndoMenu")->setEnabled(enabled); }

void TMainForm::PictureArrived() {
    for (const char* name : PictureCommands()) Action(name)->setEnabled(true);
}

void TMainForm::OpenMenuClick() {
    const std::optional<std::string> name = CurrentDialogs().OpenFileName(kOpenFilter);
    if (!name) return;
    CurrentFile = *name;
    OpenFile(CurrentFile);
}

void TMainForm::SaveasMenuClick() {
    const std::optional<std::string> chosen =
        CurrentDialogs().SaveFileName(kSaveFilter, kSaveDefaultExtension);
    if (!chosen) return;
    const std::string name = WithDefaultExtension(*chosen, kSaveDefaultExtension);
    std::error_code error;
    if (std::filesystem::exists(name, error) && !AskConfirmation("File exists. Overwrite?")) return;
    CurrentFile = name;
    SaveFile(CurrentFile);
}

void TMainForm::ExitMenuClick() {
    if (AskConfirmation("Uscire ora?")) close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) QCoreApplication::quit();
}

void TMainForm::UndoMenuClick() { RestoreUndo(); }

void TMainForm::CopyMenuClick() {
    const int64_t width = int64_t{SelRect.Right} - SelRect.Left + 1;
    const int64_t height = int64_t{SelRect.Bottom} - SelRect.Top + 1;
    CheckPictureSize(width, height);
    struct Release {
        ~Release() { WorkBitmap.FreeImage(); }
    } release;
    // A new buffer is black, and that is what the selection holds outside the picture.
    WorkBitmap.SetSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
    const int64_t x = -int64_t{SelRect.Left};
    const int64_t y = -int64_t{SelRect.Top};
    if (x >= INT32_MIN && x <= INT32_MAX && y >= INT32_MIN && y <= INT32_MAX)
        WorkBitmap.Draw(static_cast<int32_t>(x), static_cast<int32_t>(y), MainBitmap);
    CurrentClipboard().SetPicture(WorkBitmap);
}

void TMainForm::PasteMenuClick() {
    std::optional<Bitmap> picture = CurrentClipboard().GetPicture();
    if (!picture) {
        ShowInformation("No clipboard data available.");
        return;
    }
    MainBitmap = std::move(*picture);
    CurrentFile.clear();
    SelectAll();
    ReDraw();
    PictureArrived();
}

// Commands whose windows come later: present in the menus, doing nothing yet.
void TMainForm::PrintMenuClick() {}
void TMainForm::RetouchMenuClick() {}
void TMainForm::CustomfilterMenuClick() {}
void TMainForm::FeatherMenuClick() {}
void TMainForm::WebcameraMenuClick() {}
void TMainForm::ScanMenuClick() {}
void TMainForm::AboutMenuClick() {}

void TMainForm::ResizeMenuClick() {
    // The program entry creates the window; a main window made without it (a test) gets one
    // here, which like every form lives until the process ends.
    if (!ResizeForm) ResizeForm = new TResizeForm();
    ResizeForm->Open();
}

}  // namespace lf
