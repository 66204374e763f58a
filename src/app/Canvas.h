// The main window's client area: one screen image that the redraw renders into and the paint
// event only copies, and the mouse handed on to the window's handlers.
#pragma once

#include <QImage>
#include <QWidget>

namespace lf {

class TMainForm;

class Canvas : public QWidget {
    Q_OBJECT

public:
    explicit Canvas(TMainForm* form, QWidget* parent = nullptr);

    QImage& Screen() { return screen_; }
    const QImage& Screen() const { return screen_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TMainForm* form_;
    QImage screen_;
};

}  // namespace lf
