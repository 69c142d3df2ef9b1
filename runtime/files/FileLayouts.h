// Instance data of the built-in file classes, after the data of `Object`
// (offset 24). Compiled code reads some of these fields through the generic
// field routines, so the offsets and widths below are fixed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/StringRecord.h"

namespace runtime {

class FileObject;

constexpr int32_t kFileFieldsOffset = 24;

struct FolderItemFields {
    uint8_t pathKnown;    // 0: the item stands for the executable's folder
    uint8_t unused[3];
    StringHandle path;    // full Windows path
};

constexpr int32_t kTextBufferSize = 1024;

struct TextInputStreamFields {
    FileObject* file;     // owned; null once closed
    uint8_t buffer[kTextBufferSize];
    int32_t position;     // next unread byte of the buffer
    int32_t count;        // valid bytes in the buffer
};

struct TextOutputStreamFields {
    FileObject* file;     // owned; null once closed
    StringHandle delimiter;
};

struct BinaryStreamFields {
    FileObject* file;     // owned; null once closed
    uint8_t littleEndian;
};

// A date: the local time as a count of 100-nanosecond intervals since
// 1 January 1601 (the system's file time), stored unaligned.
struct DateFields {
    uint8_t localTime[8];
    uint8_t unused[4];
};

#if defined(__i386__)
static_assert(offsetof(FolderItemFields, path) == 4 && sizeof(FolderItemFields) == 8);
static_assert(offsetof(TextInputStreamFields, buffer) == 4);
static_assert(offsetof(TextInputStreamFields, position) == 1028);
static_assert(offsetof(TextInputStreamFields, count) == 1032);
static_assert(kFileFieldsOffset + sizeof(TextInputStreamFields) == 1060);
static_assert(offsetof(TextOutputStreamFields, delimiter) == 4 && sizeof(TextOutputStreamFields) == 8);
static_assert(offsetof(BinaryStreamFields, littleEndian) == 4);
static_assert(kFileFieldsOffset + sizeof(DateFields) == 36);
#endif

}  // namespace runtime
