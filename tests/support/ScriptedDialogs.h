// A dialog script for tests: answers the boxes and file dialogs from queues and records every
// text shown, in order.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace lf::test {

struct ShownMessage {
    enum Kind { Information, Confirm, Error } kind;
    std::string text;
    friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

class ScriptedDialogs : public Dialogs {
public:
    // Installs itself for its lifetime.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // Answers, used in order. An unanswered confirmation fails the test and answers No; an
    // unanswered file dialog fails the test and cancels.
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> fileAnswers;  // nullopt = Cancel

    std::vector<ShownMessage> shown;
    // Every recorded text, whatever the box.
    std::vector<std::string> Texts() const;
    // The filters and default extensions the file dialogs were opened with.
    std::vector<std::string> fileDialogFilters;
    std::vector<std::string> fileDialogDefaultExtensions;

    void Information(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    std::optional<std::string> OpenFileName(const std::string& filter) override;
    std::optional<std::string> SaveFileName(const std::string& filter,
                                            const std::string& defaultExtension) override;

private:
    Dialogs* previous_;
};

}  // namespace lf::test
