#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "tools/service/Commands.h"

namespace orvane::service {

// One value a command writes: its key in `written` (as the command's object
// names it), what its writes are counted as on stderr ("Head ID bytes"), and
// how many writes it takes (EEPROM bytes, or packets with their store).
struct ValueWrites {
    std::string key;
    std::string noun;
    size_t of = 0;
};

// What a writing command has written, told when it fails: the values whose
// writes the printer all accepted under their keys in out["written"], also
// when the failure came after their last write (a wait, a restart); and of
// the value that the failure cut short, the writes the printer accepted
// (written.partial: value, accepted, of, writes). The writes are the link's
// accepted writes, so nothing is counted that the printer did not take. A
// dry run writes nothing and tells nothing on a failure.
class Written {
  public:
    // listed: the command's object lists `written` when it succeeds too
    // (identity set, adjust set); the others tell it only on a failure.
    Written(Session& session, Json& out, bool listed);

    // The writes of a value begin.
    void Begin(ValueWrites value);
    // The value begun has all its writes accepted: it stands as value.
    void Whole(Json value);
    // The command ends with outcome. On a failure the writes the printer
    // accepted of a value begun and not whole go to written.partial, and the
    // outcome's detail line tells what is written.
    Outcome End(Outcome outcome);

  private:
    Session& session_;
    Json& out_;
    bool listed_;
    std::optional<ValueWrites> value_;
    size_t mark_ = 0;
};

}  // namespace orvane::service
