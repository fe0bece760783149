#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vprinter {

// The stream file: the data calls a printer received, in order, so that the
// stream can be printed or read again. Little-endian throughout.
//
//   header   8 bytes   "ORVSTRM1"
//   records, one after another, each
//     kind     1 byte   'D' one SendDataChannel call, its bytes as sent;
//                       'C' the code pair the channel was given with
//                           SetD4CommandRCode (2 bytes of data), valid for
//                           the packets of the 'D' records after it;
//                       'R' the printer started (power on, D4Reset): read on
//                           from its power-on state (no data);
//                       'T' what came before was dropped to keep the file
//                           small: read on from the power-on state (no data)
//     flags    1 byte   0
//     result   2 bytes  'D': what the call returned, 1 when the printer took
//                       the bytes; any other value (0x2000 busy or paper
//                       out) means they were refused and sent again later
//     length   4 bytes  number of data bytes
//     data     length bytes
//
// Readers take a missing 'C' as the pair 0B 54 and skip records of unknown
// kind. A file that does not begin with the header is one 'D' record of all
// its bytes (raw print data).
inline constexpr char kStreamMagic[] = "ORVSTRM1";
inline constexpr size_t kStreamHeaderBytes = 8;
inline constexpr size_t kStreamRecordHead = 8;

struct StreamRecord {
    char kind = 'D';
    uint16_t result = 1;
    size_t offset = 0;  // of the record's data in the file
    size_t length = 0;
};

// Encodes one record.
std::string StreamRecordBytes(char kind, uint16_t result, const uint8_t* data, size_t length);

// Splits a whole file into records. False, with the reason, when it ends
// inside a record; the whole records before it are kept.
bool ParseStream(const std::string& file, std::vector<StreamRecord>& records, std::string& error);

// The printer's own stream file, <printer folder>/received.stream, appended
// to as calls arrive and kept below a bound: once it passes the bound, the
// oldest records are dropped, cutting only where the printer was between
// pages, and a 'T' record heads the rest. Processes may share the file: each
// record is appended in one write, each looks at the file again before it
// appends, and the file is begun and cut under the lock file given.
class CaptureFile {
  public:
    static constexpr uint64_t kDefaultLimit = uint64_t{16} << 20;

    explicit CaptureFile(std::string path, uint64_t limit = kDefaultLimit,
                         std::string lockPath = {});

    // The printer started; the code pair goes with it.
    void Started(uint8_t codeA, uint8_t codeB);
    // One data call; atRest tells that the printer was between pages before it.
    void Call(const uint8_t* data, size_t length, uint16_t result, bool atRest, uint8_t codeA,
              uint8_t codeB);

    const std::string& Path() const { return path_; }
    uint64_t Size() const { return size_; }

  private:
    // Takes the file's present size; another process may have appended to it
    // or cut it (then this one's places to cut are gone).
    void Refresh();
    void Code(uint8_t codeA, uint8_t codeB);
    void Append(const std::string& bytes);
    void Trim();

    std::string path_;
    uint64_t limit_;
    std::string lockPath_;
    uint64_t size_ = 0;
    uint64_t inode_ = 0;
    bool codeKnown_ = false;
    uint8_t codeA_ = 0;
    uint8_t codeB_ = 0;
    // Offsets of records that begin between pages, the first of each stretch
    // of limit/64 bytes: where the file may be cut.
    std::deque<uint64_t> cuts_;
};

}  // namespace vprinter
