#pragma once

#include <string>
#include <vector>

#include "link/ServiceLog.h"

namespace testing_support {

// A service log that keeps its records in a list, or loses them as a full
// disk would.
class ListServiceLog final : public IServiceLog {
  public:
    bool Record(const ServiceLogRecord& record, std::string& reason) override {
        if (fails) {
            reason = "No space left on device";
            ++lost;
            return false;
        }
        records.push_back(record);
        return true;
    }

    // The operation, target and value of every record, as one text each.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const ServiceLogRecord& record : records) {
            lines.push_back(record.operation + " " + record.target + " " + record.value);
        }
        return lines;
    }

    std::vector<ServiceLogRecord> records;
    bool fails = false;
    int lost = 0;
};

}  // namespace testing_support
