// The system clock behind a replaceable function.
#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace lf {
namespace {

TimeOfDay SystemTimeOfDay() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&t, &utc);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return TimeOfDay{utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms)};
}

std::function<TimeOfDay()> installedClock;

}  // namespace

TimeOfDay Now() { return installedClock ? installedClock() : SystemTimeOfDay(); }

void SetClock(std::function<TimeOfDay()> clock) { installedClock = std::move(clock); }

}  // namespace lf
