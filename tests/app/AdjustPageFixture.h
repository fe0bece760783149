#pragma once

#include <QTest>
#include <QToolButton>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "PageFixture.h"
#include "app/widgets/UpDown.h"

namespace testing_support {

// An adjustment page: its up-down arrows and the pages it printed.
class AdjustPageTest : public PageTest {
  protected:
    size_t PagesPrinted() {
        const auto* pages = Printers().PrintedPages("VTUSB001");
        return pages != nullptr ? pages->size() : 0;
    }
    // Whether the accepted bytes end with the form feed that ejects the page.
    // Only the initialisations of the readiness polls that wait for the page
    // to come out may follow it.
    bool EndsWithEject() const {
        const std::vector<uint8_t> accepted = AcceptedBytes();
        size_t end = accepted.size();
        while (end >= 2 && accepted[end - 2] == 0x1B && accepted[end - 1] == 0x40) {
            end -= 2;
        }
        return end > 0 && accepted[end - 1] == 0x0C;
    }
};

}  // namespace testing_support
