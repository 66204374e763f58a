// The program's error type and the text rule of the application's error box.
#pragma once

#include <stdexcept>
#include <string>

namespace lf {

// Every failure a command does not handle itself is thrown as Error (or std::bad_alloc) and
// reaches the one guard around the command, which shows the error box.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A picture source that holds no picture (an empty clipboard, a file that is no picture).
class EInvalidGraphic : public Error {
public:
    using Error::Error;
};

inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";

// The error box appends a full stop when the message's last character sorts after '.'.
std::string ErrorBoxText(const std::string& message);

}  // namespace lf
