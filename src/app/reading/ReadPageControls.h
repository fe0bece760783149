#pragma once

#include <QRect>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/reading/PageReader.h"

class QPushButton;
class QWidget;
class TFormAdjust;

namespace orvane_app {

class AppContext;

// The two controls an adjustment page with a check pattern gets beside its
// own: "Read page" reads the newest page the printer printed, "Open
// picture..." a picture or scan the technician chooses. The values read
// surely go into the page's controls (the page's fill); nothing is written
// to the printer until the technician presses Input. The status line says
// what was read, each value that is not sure with why and which way, or why
// the picture was refused.
class ReadPageControls {
  public:
    // The reader's name of the page kind the adjustment page reads now.
    using Kind = std::function<std::string()>;
    // Puts the values that fill into the page's controls.
    using Fill = std::function<void(const std::vector<ReadValue>&)>;

    // prefix: of the buttons' names (prefix + "ReadPageBtn", prefix +
    // "OpenPictureBtn"); holder: the page or one of its group boxes; read,
    // open: the buttons' places in it, clear of the page's own controls.
    ReadPageControls(AppContext& context, TFormAdjust& form, const QString& prefix, QWidget& holder,
                     const QRect& read, const QRect& open, Kind kind, Fill fill);

    QPushButton* ReadButton() const { return read_; }
    QPushButton* OpenButton() const { return open_; }

    void ReadNewest();
    void OpenPicture();
    // After the page's Input wrote values: a page printed before now is
    // refused from here on.
    void InputWritten(const std::map<std::string, int>& values);

    // The open dialog's title and filter.
    static constexpr const char* kOpenTitle = "Open a picture or scan of the check page";
    static constexpr const char* kPictureFilter =
        "Pictures (*.png *.jpg *.jpeg)|*.png;*.jpg;*.jpeg|All files (*)|*";

  private:
    PrinterPages Printer() const;
    void Show(const PageRead& read);

    AppContext& context_;
    TFormAdjust& form_;
    QPushButton* read_;
    QPushButton* open_;
    Kind kind_;
    Fill fill_;
    LastInput last_;
};

}  // namespace orvane_app
