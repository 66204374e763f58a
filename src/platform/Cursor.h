// The application-wide hourglass as an RAII guard, restored also when a command throws.
#pragma once

#include <functional>

namespace lf {

// The window layer installs what "busy" and "normal" mean on screen (the batch tool and unit
// tests leave the hooks empty).
void SetCursorHooks(std::function<void()> showHourglass, std::function<void()> showDefault);
// True while an hourglass guard is alive: tests read it to check that errors restore the cursor.
bool HourglassShown();

class HourglassCursor {
public:
    HourglassCursor();
    ~HourglassCursor();
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

}  // namespace lf
