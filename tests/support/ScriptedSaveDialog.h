#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/SaveDialog.h"

namespace testing_support {

// Answers save dialogs from a script of chosen paths (nothing: cancelled) and
// records the options of every dialog shown. Without a scripted answer the
// dialog is cancelled.
class ScriptedSaveDialog final : public orvane::ISaveDialog {
  public:
    std::optional<std::string> Execute(const orvane::SaveDialogOptions& options) override {
        shown.push_back(options);
        if (onShow) {
            onShow(options);
        }
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<orvane::SaveDialogOptions> shown;
    // Runs while the dialog is up.
    std::function<void(const orvane::SaveDialogOptions&)> onShow;
};

}  // namespace testing_support
