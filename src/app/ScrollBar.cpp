// The scroll bar wrapper.
#include "app/ScrollBar.h"

#include <QKeyEvent>

#include "platform/CommandGuard.h"
#include "platform/Errors.h"

namespace lf {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {
    // Qt's bar takes no keyboard focus by default; ours is a tab stop like the other controls.
    setFocusPolicy(Qt::StrongFocus);
    // Qt emits valueChanged only for a real change, whatever moved the position.
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (OnChange) RunGuarded(OnChange);
    });
}

void ScrollBar::SetMin(int newMinimum) {
    if (newMinimum > maximum()) throw Error(kScrollBarRangeError);
    setMinimum(newMinimum);
}

void ScrollBar::SetMax(int newMaximum) {
    if (newMaximum < minimum()) throw Error(kScrollBarRangeError);
    setMaximum(newMaximum);
}

void ScrollBar::keyPressEvent(QKeyEvent* event) {
    SliderAction action;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            action = SliderSingleStepSub;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            action = SliderSingleStepAdd;
            break;
        case Qt::Key_PageUp:
            action = SliderPageStepSub;
            break;
        case Qt::Key_PageDown:
            action = SliderPageStepAdd;
            break;
        case Qt::Key_Home:
            action = SliderToMinimum;
            break;
        case Qt::Key_End:
            action = SliderToMaximum;
            break;
        default:
            QScrollBar::keyPressEvent(event);
            return;
    }
    triggerAction(action);
    event->accept();
}

}  // namespace lf
