// The error box's text rule.
#include "platform/Errors.h"
#include "platform/Extended.h"

namespace lf {

std::string ErrorBoxText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

}  // namespace lf
