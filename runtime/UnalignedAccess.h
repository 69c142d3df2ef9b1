// Reads and writes of words that may sit at any byte offset: object fields
// laid out by compiled classes, words of the image's data and of frames.
#pragma once

#include <cstddef>
#include <cstring>

namespace runtime {

template <typename T>
T loadUnaligned(const void* base, std::ptrdiff_t offset = 0) {
    T value;
    std::memcpy(&value, static_cast<const char*>(base) + offset, sizeof value);
    return value;
}

template <typename T>
void storeUnaligned(void* base, std::ptrdiff_t offset, T value) {
    std::memcpy(static_cast<char*>(base) + offset, &value, sizeof value);
}

}  // namespace runtime
