#include "app/reading/ReadPageControls.h"

#include <QPushButton>
#include <algorithm>

#include "app/AppContext.h"
#include "app/Rk7formadjust.h"
#include "app/Rk7formboot.h"
#include "link/StatusReporter.h"

namespace orvane_app {

namespace {

QPushButton* MakeButton(QWidget& holder, const QString& name, const char* text,
                        const QRect& place) {
    auto* button = new QPushButton(QString::fromUtf8(text), &holder);
    button->setObjectName(name);
    button->setGeometry(place);
    if (!PageReaderBuilt()) {
        button->setEnabled(false);
        button->setToolTip(QString::fromUtf8(kNoReaderTip));
    }
    return button;
}

}  // namespace

ReadPageControls::ReadPageControls(AppContext& context, TFormAdjust& form, const QString& prefix,
                                   QWidget& holder, const QRect& read, const QRect& open, Kind kind,
                                   Fill fill)
    : context_(context),
      form_(form),
      read_(MakeButton(holder, prefix + QStringLiteral("ReadPageBtn"), "Read page", read)),
      open_(MakeButton(holder, prefix + QStringLiteral("OpenPictureBtn"), "Open picture...", open)),
      kind_(std::move(kind)),
      fill_(std::move(fill)) {}

PrinterPages ReadPageControls::Printer() const {
    const TFormBoot& boot = context_.Boot();
    return {context_.StateFolder(), boot.PortNumber, boot.ModelCode};
}

void ReadPageControls::ReadNewest() {
    Show(ReadNewestPage(Printer(), kind_(), last_));
}

void ReadPageControls::OpenPicture() {
    const std::optional<std::string> path =
        context_.OpenDialog().Execute({kOpenTitle, kPictureFilter});
    if (path) {
        Show(ReadPictureFile(*path, kind_(), last_));
    }
}

void ReadPageControls::InputWritten(const std::map<std::string, int>& values) {
    for (const auto& [name, value] : values) {
        last_.written[name] = value;
    }
    last_.newestPage = NewestPageNumber(Printer());
}

void ReadPageControls::Show(const PageRead& read) {
    if (!read.refused.empty()) {
        form_.ShowStatus(StatusError, read.refused);
        return;
    }
    fill_(read.values);
    const auto count =
        static_cast<size_t>(std::count_if(read.values.begin(), read.values.end(),
                                          [](const ReadValue& value) { return value.fills; }));
    std::string head = read.title + ", " + read.source + ": ";
    if (read.values.empty()) {
        head += "no value found.";
    } else if (count == read.values.size()) {
        head += count == 1
                    ? "the value is filled in; press Input to write it."
                    : std::to_string(count) + " values are filled in; press Input to write them.";
    } else if (count == 0) {
        head += "nothing is filled in.";
    } else {
        head += std::to_string(count) + " of " + std::to_string(read.values.size()) +
                " values are filled in; the others are not sure.";
    }
    form_.ShowStatus(StatusInfo, head);
    for (const ReadValue& value : read.values) {
        if (!value.fills) {
            form_.ShowStatus(StatusAddLine, value.line);
        }
    }
}

}  // namespace orvane_app
