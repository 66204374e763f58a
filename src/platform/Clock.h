// The system clock, replaceable in tests (the noise generator takes its seed from it).
#pragma once

#include <functional>

namespace lf {

struct TimeOfDay {
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// Time of day in UTC with milliseconds, from the installed clock.
TimeOfDay Now();
// Installs a replacement clock; an empty function restores the system clock.
void SetClock(std::function<TimeOfDay()> clock);

}  // namespace lf
