// The one guard around every command: the program's errors and exhausted memory end the command
// and reach the application's error box; nothing crosses the event loop.
#pragma once

#include <functional>

namespace lf {

// Runs command; on lf::Error, std::bad_alloc or any other std::exception shows the error box
// (ShowErrorBox with the error's message) and returns false. True when the command finished.
bool RunGuarded(const std::function<void()>& command);

inline constexpr const char* kOutOfMemory = "Out of memory";

}  // namespace lf
