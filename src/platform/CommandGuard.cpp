// The command guard.
#include "platform/CommandGuard.h"

#include <new>
#include <stdexcept>

#include "platform/Dialogs.h"

namespace lf {

bool RunGuarded(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        ShowErrorBox(kOutOfMemory);
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
    }
    return false;
}

}  // namespace lf
