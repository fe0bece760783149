#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "link/Dllfunction.h"
#include "tools/service/Commands.h"

namespace orvane::service {

// The calls a dry run kept, as a JSON array: each with its function, and
// the address and value of an EEPROM write, or the length and the bytes (in
// hex; of a long send only its first 32 bytes, as "head") of a send.
Json DryRunList(const std::vector<TPDLLFunction::DryRunCall>& calls);

// A command's result as text: one "key: value" line per field, the members
// of an object indented below its key, one line per element of an array.
void WriteText(std::ostream& out, const Json& result);

// The JSON text of a value on one line. Bytes that are no UTF-8 (a model
// name, a port or a file name as the system gave them) come out as U+FFFD
// instead of ending the program.
std::string JsonText(const Json& value);

// The JSON object of a failure.
Json ErrorObject(const Outcome& outcome);

// A result whose last member is a long array, written while the array is
// read, one element at a time: the same text as WriteText (with json, as
// JsonText and a newline) of the whole result.
class StreamedResult {
  public:
    // head holds the members before the array, name is the array's key;
    // empty tells that no element will follow.
    StreamedResult(std::ostream& out, bool json, const Json& head, const std::string& name,
                   bool empty);
    void Add(const Json& element);
    // Ends the array and the result.
    void End();

  private:
    std::ostream& out_;
    bool json_;
    bool first_ = true;
};

}  // namespace orvane::service
