#include "tools/pattern/Session.h"

#include <cstdio>
#include <iostream>
#include <string_view>

#include "link/OpenLink.h"
#include "link/ResultCodes.h"
#include "platform/ExecutableFolder.h"
#include "platform/Files.h"
#include "vprinter/Capture.h"
#include "vprinter/Host.h"
#include "vprinter/Store.h"

namespace orvane::tools {

namespace {

std::string Hex(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

}  // namespace

Session::Session(const RunOptions& options)
    : options_(options),
      link_(loader_, ExecutableFolder()),
      status_(link_),
      paperWait_({options.port, options.folder, options.paperWait}, clock_, status_),
      raster_(link_, status_, clock_, console_),
      factory_(link_, status_, clock_),
      pattern_(raster_, factory_, link_, status_, console_, clock_, random_),
      remote_(raster_),
      eeprom_(link_),
      headId_(link_, dataManu_),
      usbId_(link_, clock_),
      maintenance_(link_),
      checkPattern_(raster_, pattern_, remote_, status_, link_, maintenance_, headId_, usbId_,
                    eeprom_) {
    if (options_.seed) {
        random_.Seed(*options_.seed);
    }
    console_.onPaperOut = [this] { return paperWait_.Wait(); };
}

std::optional<int> Session::FamilyDetail(uint16_t familyCode) const {
    switch (familyCode) {
        case ResultHeadIdError:
            return headId_.ErrorIndex();
        case ResultUsbIdError:
            return usbId_.ErrorIndex();
        case ResultEepromFileError:
            return eeprom_.ErrorIndex();
        default:
            return std::nullopt;
    }
}

bool Session::Open(std::string& reason) {
    // The libraries in this process share the tool's virtual printers.
    vprinter::Host& host =
        options_.folder.empty() ? vprinter::TheHost() : vprinter::ResetHost(options_.folder);
    if (clock_.IsManual()) {
        host.GetClock().UseManual(true);
    }
    if (!host.GetStore().Exists(options_.port)) {
        reason = "no printer on port '" + options_.port + "'";
        return false;
    }
    if (!link_.Load()) {
        reason = "the link libraries do not load from " + ExecutableFolder();
        return false;
    }
    link_.SetD4CommandRCode(kLinkCommandCodeA, kLinkCommandCodeB);
    LinkOpenFailure failure = LinkOpenFailure::None;
    const uint16_t result =
        OpenPrinterLink(link_, vprinter::Store::PortNumber(options_.port), failure);
    if (result != ResultOk) {
        reason = "cannot open the link to " + options_.port + " (" + Hex(result) + ")";
        return false;
    }
    host.ClearTrace();
    return true;
}

bool Session::SaveReceived(const std::string& path, size_t& calls, size_t& bytes,
                           std::string& reason) const {
    // The code pair the link was opened with, then one record a call.
    const uint8_t code[] = {kLinkCommandCodeA, kLinkCommandCodeB};
    std::string file(vprinter::kStreamMagic, vprinter::kStreamHeaderBytes);
    file += vprinter::StreamRecordBytes('C', ResultOk, code, sizeof code);
    calls = 0;
    bytes = 0;
    for (const auto& entry : vprinter::TheHost().Trace()) {
        if (entry.function == "SendDataChannel") {
            file += vprinter::StreamRecordBytes('D', entry.result, entry.data.data(),
                                                entry.data.size());
            ++calls;
            bytes += entry.data.size();
        }
    }
    if (ReplaceFile(path, file) != FileWrite::Done) {
        reason = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace orvane::tools
