// The dialog seam and its default, silent implementation.
#include "platform/Dialogs.h"

#include "platform/Errors.h"

namespace lf {
namespace {

class SilentDialogs final : public Dialogs {
public:
    void Information(const std::string&) override {}
    bool Confirm(const std::string&) override { return false; }
    void ErrorBox(const std::string&) override {}
    std::optional<std::string> OpenFileName(const std::string&) override { return std::nullopt; }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

SilentDialogs silentDialogs;
Dialogs* installed = &silentDialogs;

}  // namespace

Dialogs& CurrentDialogs() { return *installed; }

Dialogs* InstallDialogs(Dialogs* d) {
    Dialogs* old = installed;
    installed = d ? d : &silentDialogs;
    return old;
}

void ShowErrorBox(const std::string& message) { CurrentDialogs().ErrorBox(ErrorBoxText(message)); }

}  // namespace lf
