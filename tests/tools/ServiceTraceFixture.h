#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "ServiceFixture.h"
#ifndef _WIN32
#include "PageFixture.h"
#endif

namespace testing_support {

class ServiceTraceBase;

// A page action of the adjustment window and the command that stands for it.
struct PageAction {
    const char* name;
    const char* group;  // navigation group and item of the page
    int item;
    // What the technician does on the page before the trace is kept
    // (typing, choosing), and the press whose calls are compared.
    std::function<void(ServiceTraceBase&)> prepare;
    const char* press;
    std::vector<std::string> command;
};

// ctest names a case by its name, not by its bytes.
inline void PrintTo(const PageAction& action, std::ostream* os) {
    *os << action.name;
}

// The adjustment window's page and orvane-service on the same printers. The
// window is Qt's, which the Windows build has not: there every test of this
// fixture is skipped as Linux-only (ServiceTraceWindows.cpp), the page's
// side is ServiceTracePage.cpp.
#ifdef _WIN32
using ServiceTracePrinters = ServiceTest;
#else
using ServiceTracePrinters = ServiceOn<PageTest>;
#endif

class ServiceTraceBase : public ServiceTracePrinters {
  public:
    void TypeText(const char* edit, const char* text);
    // Typed key by key, through the edit's own rules (capitals).
    void TypeKeys(const char* edit, const char* text);
    // The Bi-D print page's requests: exactly the given ones.
    void Request(const std::vector<const char*>& boxes);
    // A USB ID the check sheets can read.
    void GiveUsbId();
    void Choose(const char* combo, int index);
    void ShowBidInput();
    void ChooseItem(const char* group, int item);

  protected:
    void SetUp() override;
    // The page action's calls, then the command's on the printer as it was
    // before the page action.
    void Compare(const PageAction& action);
};

}  // namespace testing_support
