#include "tools/pattern/Session.h"

#include <cstdio>
#include <iostream>

#include "link/ResultCodes.h"
#include "platform/ExecutableFolder.h"
#include "vprinter/Host.h"

namespace orvane::tools {

namespace {

std::string Hex(uint16_t code) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", code);
    return text;
}

}  // namespace

MessageAnswer ConsoleMessages::Show(const MessageRequest& request) {
    std::string text = request.text;
    for (char& c : text) {
        c = c == '\n' ? ' ' : c;
    }
    std::cerr << (request.caption.empty() ? "Message" : request.caption) << ": " << text << '\n';
    return MessageAnswer::Ok;
}

uint16_t ConsoleMessages::ShowStatus(int, const std::string& text) {
    std::cerr << text << '\n';
    return ResultOk;
}

Session::Session(const RunOptions& options)
    : options_(options),
      link_(loader_, ExecutableFolder()),
      status_(link_),
      raster_(link_, status_, clock_, console_),
      factory_(link_, status_, clock_),
      pattern_(raster_, factory_, link_, status_, random_) {
    if (options_.seed) {
        random_.Seed(*options_.seed);
    }
}

bool Session::Open(std::string& reason) {
    // The libraries in this process share the tool's virtual printers.
    vprinter::Host& host = options_.folder.empty() ? vprinter::TheHost()
                                                   : vprinter::ResetHost(options_.folder);
    if (!host.GetStore().Exists(options_.port)) {
        reason = "no printer on port '" + options_.port + "'";
        return false;
    }
    if (!link_.Load()) {
        reason = "the link libraries do not load from " + ExecutableFolder();
        return false;
    }
    link_.SetD4CommandRCode(11, 84);
    link_.PortCloseByPway();
    uint16_t result = link_.PortOpenByPway(vprinter::Store::PortNumber(options_.port));
    if (result == ResultOk) {
        result = link_.CheckDeviceIDByPway();
    }
    if (result == ResultOk) {
        result = link_.D4Negotiation();
    }
    if (result != ResultOk) {
        reason = "cannot open the link to " + options_.port + " (" + Hex(result) + ")";
        return false;
    }
    host.ClearTrace();
    return true;
}

std::vector<CapturedSend> Session::Received() const {
    std::vector<CapturedSend> sends;
    for (const auto& entry : vprinter::TheHost().Trace()) {
        if (entry.function == "SendDataChannel") {
            sends.push_back({entry.data, entry.result});
        }
    }
    return sends;
}

}  // namespace orvane::tools
