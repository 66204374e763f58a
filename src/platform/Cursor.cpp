// The hourglass guard.
#include "platform/Cursor.h"

namespace lf {
namespace {
std::function<void()> busyHook;
std::function<void()> normalHook;
int depth = 0;
}  // namespace

void SetCursorHooks(std::function<void()> showHourglass, std::function<void()> showDefault) {
    busyHook = std::move(showHourglass);
    normalHook = std::move(showDefault);
}

bool HourglassShown() { return depth > 0; }

HourglassCursor::HourglassCursor() {
    if (depth++ == 0 && busyHook) busyHook();
}

HourglassCursor::~HourglassCursor() {
    if (--depth == 0 && normalHook) normalHook();
}

}  // namespace lf
