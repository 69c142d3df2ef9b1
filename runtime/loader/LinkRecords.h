// Reads the link records of code2 in order: imports (a chain head and a name)
// and data references (a code1 offset). A byte that starts no record is skipped
// on its own; a record cut off by the end of the block is reported.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace runtime::loader {

struct LinkRecord {
    enum class Kind : uint8_t { Import, DataReference };
    Kind kind;
    uint32_t position;     // offset of the record's kind byte in code2
    uint32_t offset;       // Import: chain head; DataReference: the code1 offset of the word
    std::string_view name;  // Import: the imported name (inside the code2 block)
};

class LinkRecordReader {
public:
    enum class Status { Record, End, Truncated };

    explicit LinkRecordReader(std::span<const uint8_t> records) : records_(records) {}

    // The next record; End when the block is exhausted; Truncated (with
    // `truncatedAt` set) when a record does not fit in what is left.
    Status next(LinkRecord& record);
    uint32_t truncatedAt() const { return truncatedAt_; }

private:
    std::span<const uint8_t> records_;
    size_t position_ = 0;
    uint32_t truncatedAt_ = 0;
};

}  // namespace runtime::loader
