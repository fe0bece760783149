#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/OpenDialog.h"

namespace testing_support {

// Answers open dialogs from a script of chosen paths (nothing: cancelled)
// and records the options of every dialog shown. Without a scripted answer
// the dialog is cancelled.
class ScriptedOpenDialog final : public orvane_app::IOpenDialog {
  public:
    std::optional<std::string> Execute(const orvane_app::OpenDialogOptions& options) override {
        shown.push_back(options);
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<orvane_app::OpenDialogOptions> shown;
};

}  // namespace testing_support
