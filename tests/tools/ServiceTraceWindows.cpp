// Windows builds no adjustment window (Qt): the trace tests, which compare
// each command with its page's action, are skipped there with the reason.
#include "ServiceTraceFixture.h"
#include "support/LinuxOnly.h"

namespace testing_support {

void ServiceTraceBase::SetUp() {
    ORVANE_LINUX_ONLY("compares the command with the adjustment window's page (Qt)");
}

void ServiceTraceBase::TypeText(const char*, const char*) {}
void ServiceTraceBase::TypeKeys(const char*, const char*) {}
void ServiceTraceBase::Request(const std::vector<const char*>&) {}
void ServiceTraceBase::GiveUsbId() {}
void ServiceTraceBase::Choose(const char*, int) {}
void ServiceTraceBase::ShowBidInput() {}
void ServiceTraceBase::ChooseItem(const char*, int) {}
void ServiceTraceBase::Compare(const PageAction&) {}

}  // namespace testing_support
