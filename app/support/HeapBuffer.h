// A block of bytes from the process heap, for texts whose size depends on
// what the user typed (frames stay small: the unwinder steps at most 4 KB).
#pragma once

#include <cstdint>

#include "AppImports.h"

extern "C" {
WINAPI_IMPORT void* GetProcessHeap_() APP_LIBRARY_IMPORT("kernel32.dll", "GetProcessHeap");
WINAPI_IMPORT void* HeapAlloc_(void* heap, uint32_t flags, uint32_t size) APP_LIBRARY_IMPORT("kernel32.dll", "HeapAlloc");
WINAPI_IMPORT int HeapFree_(void* heap, uint32_t flags, void* block) APP_LIBRARY_IMPORT("kernel32.dll", "HeapFree");
}

namespace app {

class HeapBuffer {
public:
    explicit HeapBuffer(int32_t size)
        : data_(size > 0 ? static_cast<uint8_t*>(HeapAlloc_(GetProcessHeap_(), 0, static_cast<uint32_t>(size)))
                         : nullptr),
          size_(data_ ? size : 0) {}
    ~HeapBuffer() {
        if (data_) HeapFree_(GetProcessHeap_(), 0, data_);
    }
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;

    uint8_t* data() const { return data_; }
    int32_t size() const { return size_; }

private:
    uint8_t* data_;
    int32_t size_;
};

}  // namespace app
