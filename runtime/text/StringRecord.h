// The string record: the binary layout of a non-empty string value. Compiled
// application code and the plug-in libraries read `length` and `text` directly,
// so every field keeps its place.
#pragma once

#include <cstddef>
#include <cstdint>

struct StringRecord {
    int32_t refCount;  // number of holders; a new record starts at 1
    uint8_t* text;     // length byte, `length` text bytes, zero terminator
    int32_t capacity;  // size of the text buffer: length + 2 (image constants: length)
    int32_t length;    // number of text bytes, at least 1
};

// A string value is one pointer-sized word; null is the empty string.
using StringHandle = StringRecord*;

#if defined(__i386__)
static_assert(sizeof(StringRecord) == 16);
static_assert(offsetof(StringRecord, refCount) == 0);
static_assert(offsetof(StringRecord, text) == 4);
static_assert(offsetof(StringRecord, capacity) == 8);
static_assert(offsetof(StringRecord, length) == 12);
static_assert(sizeof(StringHandle) == 4);
#endif

// The length byte of the text buffer saturates at 255 for longer text.
constexpr uint8_t lengthByteFor(int32_t length) {
    return length < 256 ? static_cast<uint8_t>(length) : uint8_t{255};
}
