// Saving a file without risking the old one: the new contents go to a
// temporary file beside it, which replaces the old file only once it holds
// every byte that was written.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// The temporary file's name: the file's name followed by ".new" (in the same
// folder, so the replacement is a rename within one volume). Returns the
// length, or -1 when it does not fit.
int32_t temporarySaveName(Bytes name, uint8_t* out, int32_t capacity);
inline constexpr int32_t kTemporarySaveSuffixLength = 4;

// Counts the bytes a text stream writes for its lines, to check the
// temporary file before it replaces the old one.
class WrittenLength {
public:
    explicit WrittenLength(int32_t lineEndLength) : lineEnd_(lineEndLength) {}
    void line(int32_t length) {
        total_ += int64_t{length} + lineEnd_;
    }
    // The total, or -1 once it no longer fits in a file size.
    int32_t total() const { return total_ > INT32_MAX ? -1 : static_cast<int32_t>(total_); }

private:
    int32_t lineEnd_;
    int64_t total_ = 0;
};

}  // namespace applogic
