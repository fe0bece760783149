#pragma once

#include <optional>
#include <string>

namespace orvane_app {

// How an open-file dialog behaves.
struct OpenDialogOptions {
    std::string title;
    // Pairs of description and pattern, all separated by '|', as the save
    // dialog takes them: "Pictures (*.png *.jpg)|*.png;*.jpg".
    std::string filter;
};

// The open-file dialog: an existing file to read. The windows show a real
// one; tests answer from a script.
class IOpenDialog {
  public:
    virtual ~IOpenDialog() = default;
    // Shows the dialog modally: the chosen file's path, or nothing when the
    // technician cancelled it.
    virtual std::optional<std::string> Execute(const OpenDialogOptions& options) = 0;
};

}  // namespace orvane_app
