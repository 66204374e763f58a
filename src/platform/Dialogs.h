// Message boxes and file dialogs behind one seam: the program installs the Qt boxes, tests
// install a script that answers them and records every text, the batch tool prints them.
#pragma once

#include <optional>
#include <string>

namespace lf {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The information box: caption "Information", one OK button.
    virtual void Information(const std::string& text) = 0;
    // The confirmation box: caption "Confirm", Yes (the default) and No (Escape). True on Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The application's error box, captioned with the application title. The text is shown
    // as given: callers pass ErrorBoxText(message).
    virtual void ErrorBox(const std::string& text) = 0;
    // File dialogs: the chosen path, or nothing on Cancel. The filter is in the
    // "Name|*.a;*.b|Name|*.c" notation; defaultExtension completes a name typed without one.
    virtual std::optional<std::string> OpenFileName(const std::string& filter) = 0;
    virtual std::optional<std::string> SaveFileName(const std::string& filter,
                                                    const std::string& defaultExtension) = 0;
};

// The installed implementation; until one is installed, a silent one that answers No/Cancel.
Dialogs& CurrentDialogs();
// Installs d (not owned) and returns the one it replaces.
Dialogs* InstallDialogs(Dialogs* d);

// Shortcuts for the three boxes.
inline void ShowInformation(const std::string& text) { CurrentDialogs().Information(text); }
inline bool AskConfirmation(const std::string& text) { return CurrentDialogs().Confirm(text); }
void ShowErrorBox(const std::string& message);  // applies the full-stop rule

}  // namespace lf
