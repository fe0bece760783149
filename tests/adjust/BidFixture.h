#pragma once

#include "adjust/Rk7bid.h"
#include "link/Rk7factory.h"
#include "support/PrintJobFixture.h"

namespace adjust_tests {

// The Bi-D module on VTUSB001 with the real packet object.
class BidTest : public testing_support::PrintJobTest {
  protected:
    TPFactory factory_{Link(), status_, Clock()};
    TPBid bid_{Link(), factory_};
};

}  // namespace adjust_tests
