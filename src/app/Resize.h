// The resize window ("Ridimensiona"): two size bars, the proportion lock, six preset sizes and the
// smoothing box; OK scales the main window's picture.
#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace lf {

class ScrollBar;

class TResizeForm : public QWidget {
    Q_OBJECT
public:
    // A stay-on-top tool window, hidden until Open(); parent is optional.
    explicit TResizeForm(QWidget* parent = nullptr);

    // What the "&Ridimensiona" menu command does: the old size into the labels and the bars
    // (their change handlers run), then the window is shown and activated.
    void Open();

    // Event handlers, named after their components.
    void FormActivate();
    void WidthScrollBarChange();
    void HeightScrollBarChange();
    void RatioCheckBoxClick();
    void Button1Click() { Preset(320, 240); }
    void Button2Click() { Preset(640, 480); }
    void Button3Click() { Preset(800, 600); }
    void Button4Click() { Preset(1024, 768); }
    void Button5Click() { Preset(1152, 864); }
    void Button6Click() { Preset(1280, 1024); }
    void OKButtonClick();
    void CancelButtonClick();

    // The old size as the labels show it.
    int OldWidth() const;
    int OldHeight() const;

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLabel* WidthLabel;
    QLabel* Label2;
    QLabel* HeightLabel;
    QLabel* Label5;
    QCheckBox* RatioCheckBox;
    QCheckBox* InterpolationCheckBox;
    QLabel* Label4;
    ScrollBar* WidthScrollBar;
    QLabel* NewWidthLabel;
    QLabel* Label3;
    ScrollBar* HeightScrollBar;
    QLabel* NewHeightLabel;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* OKButton;
    QPushButton* CancelButton;

protected:
    void changeEvent(QEvent* event) override;

private:
    void Preset(int width, int height);
    // old height × width position div old width.
    int ProportionalHeight() const;

    // Open() runs the activation handler itself; the window system's report of the activation
    // that opening causes is not run again.
    bool activationHandled_ = false;
};

// Created hidden by the program entry, in the fourth place.
extern TResizeForm* ResizeForm;

}  // namespace lf
