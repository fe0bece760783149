#pragma once

#include <ostream>
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

}  // namespace orvane::service
