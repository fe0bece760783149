#pragma once

#include <QLineEdit>
#include <QValidator>

namespace orvane_app {

// Keeps an edit's text in upper case: a lower-case letter typed or pasted
// becomes its upper-case letter at once. A change that would then be longer
// than the edit allows is refused.
class UpperCaseValidator final : public QValidator {
  public:
    UpperCaseValidator(int maxLength, QObject* parent);
    State validate(QString& input, int& pos) const override;

  private:
    int maxLength_;
};

// Makes edit an upper-case edit of at most maxLength characters.
void MakeUpperCaseEdit(QLineEdit& edit, int maxLength);

}  // namespace orvane_app
