// The scroll bar the windows use: Qt's bar with the rules our handlers rely on, a range that is
// refused rather than silently bent, and one change callback.
#pragma once

#include <QScrollBar>
#include <functional>

namespace lf {

inline constexpr const char* kScrollBarRangeError = "Scrollbar property out of range";

// The position always lies within minimum..maximum (a value outside becomes the nearer bound),
// and OnChange runs when, and only when, the position actually changes: set by code, forced
// down by a lower maximum, or moved by the user. A maximum below the minimum (or a minimum above
// the maximum) throws lf::Error(kScrollBarRangeError) and changes nothing; Qt's own bar would
// quietly move the other bound instead.
class ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    int Position() const { return value(); }
    void SetPosition(int position) { setValue(position); }
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    void SetMin(int minimum);
    void SetMax(int maximum);

    // Runs inside the command guard: an error it throws reaches the error box, not Qt.
    std::function<void()> OnChange;

protected:
    // The keys move the bar the same way whatever the style's key handling: Right and Down towards
    // the maximum (a larger size), Left and Up towards the minimum.
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace lf
