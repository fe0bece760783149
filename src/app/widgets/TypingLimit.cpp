#include "app/widgets/TypingLimit.h"

#include <algorithm>

namespace orvane_app {

namespace {

const char* const kTypingLimit = "typingLimit";

int TypingLimitOf(const QLineEdit& edit) {
    const QVariant limit = edit.property(kTypingLimit);
    return limit.isValid() ? limit.toInt() : edit.maxLength();
}

}  // namespace

void MakeTypingLimit(QLineEdit& edit) {
    const int limit = edit.maxLength();
    edit.setProperty(kTypingLimit, limit);
    QObject::connect(&edit, &QLineEdit::textChanged, &edit, [&edit, limit](const QString& text) {
        edit.setMaxLength(std::max(limit, static_cast<int>(text.size())));
    });
}

void ShowWhole(QLineEdit& edit, const QString& text) {
    edit.setMaxLength(std::max(TypingLimitOf(edit), static_cast<int>(text.size())));
    edit.setText(text);
}

}  // namespace orvane_app
