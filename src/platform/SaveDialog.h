#pragma once

#include <optional>
#include <string>

namespace orvane {

// How a save-file dialog behaves.
struct SaveDialogOptions {
    std::string defaultExtension;  // added to a name typed without one ("eep")
    // Pairs of description and pattern, all separated by '|':
    // "EEP files (*.eep)|*.eep".
    std::string filter;
    bool overwritePrompt = false;   // ask before an existing file is chosen
    bool hideReadOnly = false;      // offer no "open as read-only" choice
    bool noReadOnlyReturn = false;  // refuse an existing file that cannot be written
    bool resizable = false;
};

// The save-file dialog. The windows show a real one; tests answer from a
// script.
class ISaveDialog {
  public:
    virtual ~ISaveDialog() = default;
    // Shows the dialog modally: the chosen file's path, or nothing when the
    // technician cancelled it.
    virtual std::optional<std::string> Execute(const SaveDialogOptions& options) = 0;
};

}  // namespace orvane
