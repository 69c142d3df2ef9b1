#include "text/ByteStrings.h"

#include <algorithm>

namespace runtime {

StringValue middleFrom(const StringValue& s, int32_t i) { return i <= 1 ? s : s.tail(i - 1); }

StringValue middle(const StringValue& s, int32_t i, int32_t n) {
    // Computed in 64 bits, so that no start or count wraps around.
    int64_t start = int64_t{i} - 1;
    int64_t count = n;
    if (start < 0) {
        count += start;
        start = 0;
    }
    if (count < 1) return {};
    return s.slice(static_cast<int32_t>(start), static_cast<int32_t>(std::min<int64_t>(count, INT32_MAX)));
}

int32_t firstByte(const StringValue& s) { return s.empty() ? 0 : s.bytes()[0]; }

StringValue byteString(int32_t n) {
    const auto byte = static_cast<uint8_t>(n);
    return StringValue::fromBytes(&byte, 1);
}

}  // namespace runtime
