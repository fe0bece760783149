#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/MessageBox.h"

namespace testing_support {

// Answers message boxes from a script and records every box shown. Without a
// scripted answer a box is answered with OK.
class ScriptedMessageBox final : public orvane::IMessageBox {
  public:
    orvane::MessageAnswer Show(const orvane::MessageRequest& request) override {
        shown.push_back(request);
        if (onShow) {
            onShow(request);
        }
        if (answers.empty()) {
            return orvane::MessageAnswer::Ok;
        }
        const orvane::MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<orvane::MessageAnswer> answers;
    std::vector<orvane::MessageRequest> shown;
    // Runs while the box is up, e.g. to load paper into the virtual printer.
    std::function<void(const orvane::MessageRequest&)> onShow;
};

}  // namespace testing_support
