#pragma once

#include <string>

namespace orvane {

enum class MessageIcon { None, Error, Warning, Information, Question };
enum class MessageButtons { Ok, OkCancel };
enum class MessageAnswer { Ok, Cancel };
// The window that owns a box; None shows it without an owner.
enum class MessageOwner { None, BootWindow, AdjustmentWindow };

struct MessageRequest {
    std::string text;     // lines separated by '\n'
    std::string caption;  // empty: the system's default caption
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    MessageOwner owner = MessageOwner::None;
};

// Modal message boxes. The windows show real boxes; tests answer from a script.
class IMessageBox {
  public:
    virtual ~IMessageBox() = default;
    virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

}  // namespace orvane
