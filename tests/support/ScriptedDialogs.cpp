// The test dialog script.
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace lf::test {

ScriptedDialogs::ScriptedDialogs() : previous_(InstallDialogs(this)) {}
ScriptedDialogs::~ScriptedDialogs() { InstallDialogs(previous_); }

std::vector<std::string> ScriptedDialogs::Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : shown) texts.push_back(m.text);
    return texts;
}

void ScriptedDialogs::Information(const std::string& text) {
    shown.push_back({ShownMessage::Information, text});
}

bool ScriptedDialogs::Confirm(const std::string& text) {
    shown.push_back({ShownMessage::Confirm, text});
    if (confirmAnswers.empty()) {
        ADD_FAILURE() << "unexpected confirmation: " << text;
        return false;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::ErrorBox(const std::string& text) { shown.push_back({ShownMessage::Error, text}); }

std::optional<std::string> ScriptedDialogs::OpenFileName(const std::string& filter) {
    fileDialogFilters.push_back(filter);
    fileDialogDefaultExtensions.emplace_back();
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::SaveFileName(const std::string& filter,
                                                         const std::string& defaultExtension) {
    fileDialogFilters.push_back(filter);
    fileDialogDefaultExtensions.push_back(defaultExtension);
    if (fileAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog";
        return std::nullopt;
    }
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

}  // namespace lf::test
