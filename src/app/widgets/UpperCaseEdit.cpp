#include "app/widgets/UpperCaseEdit.h"

#include <algorithm>
#include <utility>

namespace orvane_app {

UpperCaseValidator::UpperCaseValidator(int maxLength, QObject* parent)
    : QValidator(parent), maxLength_(maxLength) {}

QValidator::State UpperCaseValidator::validate(QString& input, int& pos) const {
    QString upper = input.toUpper();
    if (upper.size() > maxLength_) {
        return Invalid;
    }
    // A letter whose upper case is longer moves the cursor with it.
    pos = std::clamp(pos + static_cast<int>(upper.size() - input.size()), 0,
                     static_cast<int>(upper.size()));
    input = std::move(upper);
    return Acceptable;
}

void MakeUpperCaseEdit(QLineEdit& edit, int maxLength) {
    edit.setMaxLength(maxLength);
    edit.setValidator(new UpperCaseValidator(maxLength, &edit));
}

}  // namespace orvane_app
