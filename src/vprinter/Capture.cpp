#include "vprinter/Capture.h"

#include <optional>

#include "platform/Files.h"
#include "platform/NativeFile.h"
#include "vprinter/FileLock.h"

namespace vprinter {

namespace {

const std::string kMagic(kStreamMagic, kStreamHeaderBytes);

}  // namespace

std::string StreamRecordBytes(char kind, uint16_t result, const uint8_t* data, size_t length) {
    std::string bytes;
    bytes.reserve(kStreamRecordHead + length);
    bytes += kind;
    bytes += '\0';
    bytes += static_cast<char>(result & 0xFF);
    bytes += static_cast<char>(result >> 8);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes += static_cast<char>((static_cast<uint64_t>(length) >> shift) & 0xFF);
    }
    if (length > 0) {
        bytes.append(reinterpret_cast<const char*>(data), length);
    }
    return bytes;
}

bool ParseStream(const std::string& file, std::vector<StreamRecord>& records, std::string& error) {
    records.clear();
    if (file.compare(0, kStreamHeaderBytes, kMagic) != 0) {
        records.push_back({'D', 1, 0, file.size()});
        return true;
    }
    size_t position = kStreamHeaderBytes;
    while (position < file.size()) {
        if (file.size() - position < kStreamRecordHead) {
            error = "the file ends inside the head of a record at byte " + std::to_string(position);
            return false;
        }
        const auto* head = reinterpret_cast<const uint8_t*>(file.data() + position);
        StreamRecord record;
        record.kind = static_cast<char>(head[0]);
        record.result = static_cast<uint16_t>(head[2] | head[3] << 8);
        record.length = static_cast<size_t>(head[4]) | static_cast<size_t>(head[5]) << 8 |
                        static_cast<size_t>(head[6]) << 16 | static_cast<size_t>(head[7]) << 24;
        record.offset = position + kStreamRecordHead;
        if (record.length > file.size() - record.offset) {
            error = "the record at byte " + std::to_string(position) + " announces " +
                    std::to_string(record.length) + " bytes, but only " +
                    std::to_string(file.size() - record.offset) + " follow";
            return false;
        }
        records.push_back(record);
        position = record.offset + record.length;
    }
    return true;
}

CaptureFile::CaptureFile(std::string path, uint64_t limit, std::string lockPath)
    : path_(std::move(path)), limit_(limit < 4096 ? 4096 : limit), lockPath_(std::move(lockPath)) {
    std::optional<FileLock> lock;
    if (!lockPath_.empty()) {
        lock.emplace(lockPath_);
    }
    // A file that is no regular file is neither read nor replaced: its
    // records are not kept (Append leaves it alone too).
    std::vector<uint8_t> head;
    orvane::FileStatus info;
    if (orvane::ReadFileStart(path_, kStreamHeaderBytes, head) &&
        std::string(head.begin(), head.end()) == kMagic &&
        (info = orvane::StatusOf(path_)).exists) {
        size_ = static_cast<uint64_t>(info.size);
    } else {
        orvane::ReplaceFile(path_, kMagic);
        size_ = kStreamHeaderBytes;
    }
}

void CaptureFile::Refresh() {
    const orvane::FileStatus info = orvane::StatusOf(path_);
    if (!info.exists) {
        size_ = 0;
        cuts_.clear();
        return;
    }
    if (info.inode != inode_) {
        inode_ = info.inode;
        cuts_.clear();
    }
    size_ = static_cast<uint64_t>(info.size);
}

void CaptureFile::Started(uint8_t codeA, uint8_t codeB) {
    Refresh();
    cuts_.push_back(size_);
    Append(StreamRecordBytes('R', 1, nullptr, 0));
    codeKnown_ = false;
    Code(codeA, codeB);
}

void CaptureFile::Code(uint8_t codeA, uint8_t codeB) {
    if (codeKnown_ && codeA == codeA_ && codeB == codeB_) {
        return;
    }
    codeKnown_ = true;
    codeA_ = codeA;
    codeB_ = codeB;
    const uint8_t pair[2] = {codeA, codeB};
    Append(StreamRecordBytes('C', 1, pair, 2));
}

void CaptureFile::Call(const uint8_t* data, size_t length, uint16_t result, bool atRest,
                       uint8_t codeA, uint8_t codeB) {
    Refresh();
    Code(codeA, codeB);
    const uint64_t stretch = limit_ / 64;
    if (atRest && (cuts_.empty() || cuts_.back() / stretch != size_ / stretch)) {
        cuts_.push_back(size_);
    }
    Append(StreamRecordBytes('D', result, data, length));
    if (size_ > limit_) {
        Trim();
    }
}

void CaptureFile::Append(const std::string& bytes) {
    // Under the printer's lock, so that no record lands in a file that a cut
    // in another process is about to replace, and a new file gets one header.
    std::optional<FileLock> lock;
    if (!lockPath_.empty()) {
        lock.emplace(lockPath_);
    }
    // Never through a link, never into a FIFO or a device (nor waiting on
    // one): a regular file only.
    orvane::NativeFile file;
    orvane::FileStatus info;
    if (!file.Open(path_, orvane::NativeFile::Mode::AppendOnlyCreate) || !file.Status(info) ||
        !info.regular) {
        return;
    }
    if (info.size == 0) {
        // Removed behind our back: a new file begins with its header.
        file.WriteAll(kMagic.data(), kMagic.size());
        cuts_.clear();
    }
    file.WriteAll(bytes.data(), bytes.size());
    if (file.Status(info)) {
        size_ = static_cast<uint64_t>(info.size);
        inode_ = info.inode;
    }
}

void CaptureFile::Trim() {
    std::optional<FileLock> lock;
    if (!lockPath_.empty()) {
        // Another process may have cut the file meanwhile.
        lock.emplace(lockPath_);
        Refresh();
        if (size_ <= limit_) {
            return;
        }
    }
    const uint64_t from = size_ - limit_ * 3 / 4;
    uint64_t cut = size_;
    for (const uint64_t candidate : cuts_) {
        if (candidate >= from && candidate > kStreamHeaderBytes) {
            cut = candidate;
            break;
        }
    }
    std::string tail;
    if (orvane::KindOf(path_) != orvane::FileKind::Regular) {
        return;
    }
    if (cut < size_) {
        orvane::NativeFile file;
        if (!file.Open(path_, orvane::NativeFile::Mode::Read)) {
            return;
        }
        tail.resize(size_ - cut);
        size_t done = 0;
        while (done < tail.size()) {
            const int64_t count = file.ReadAt(tail.data() + done, tail.size() - done, cut + done);
            if (count <= 0) {
                break;
            }
            done += static_cast<size_t>(count);
        }
        tail.resize(done);
    }
    const uint8_t pair[2] = {codeA_, codeB_};
    const std::string head =
        kMagic + StreamRecordBytes('T', 1, nullptr, 0) + StreamRecordBytes('C', 1, pair, 2);
    if (orvane::ReplaceFile(path_, head + tail) != orvane::FileWrite::Done) {
        return;
    }
    std::deque<uint64_t> kept;
    for (const uint64_t candidate : cuts_) {
        if (candidate >= cut && cut < size_) {
            kept.push_back(candidate - cut + head.size());
        }
    }
    cuts_ = std::move(kept);
    size_ = head.size() + tail.size();
    if (const orvane::FileStatus info = orvane::StatusOf(path_); info.exists) {
        inode_ = info.inode;
    }
}

}  // namespace vprinter
