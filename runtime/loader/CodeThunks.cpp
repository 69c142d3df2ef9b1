#include "loader/CodeThunks.h"

#include <windows.h>

#include <cstring>

#include "loader/ImageFormat.h"
#include "text/FatalError.h"

namespace runtime::plugins {
namespace {

constexpr size_t kThunkSize = 32;  // at most 26 bytes used
constexpr size_t kPageSize = 4096;

uint32_t addressOf(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// Process-wide: thunks stay callable until the end.
struct ThunkPages {
    uint8_t* page = nullptr;
    size_t used = kPageSize;
};
ThunkPages gPages;

uint8_t* nextThunk() {
    if (gPages.used == kPageSize) {
        gPages.page =
            static_cast<uint8_t*>(VirtualAlloc(nullptr, kPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READ));
        if (!gPages.page) runOutOfMemory();
        gPages.used = 0;
    }
    uint8_t* thunk = gPages.page + gPages.used;
    gPages.used += kThunkSize;
    return thunk;
}

class ThunkWriter {
public:
    explicit ThunkWriter(uint8_t* at) : start_(at), at_(at) {}
    void pushStackWord(uint8_t displacement) { bytes({0xFF, 0x74, 0x24, displacement}); }
    void pushImmediate(uint32_t value) {
        bytes({0x68});
        word(value);
    }
    void call(void* routine) {
        bytes({image::kCallOpcode});
        word(addressOf(routine) - (addressOf(at_) + 4));
    }
    void popArguments(uint8_t count) { bytes({0x83, 0xC4, static_cast<uint8_t>(4 * count)}); }
    void ret() { bytes({0xC3}); }
    size_t size() const { return static_cast<size_t>(at_ - start_); }

private:
    void bytes(std::initializer_list<uint8_t> list) {
        for (uint8_t b : list) *at_++ = b;
    }
    void word(uint32_t value) {
        image::writeU32(at_, value);
        at_ += 4;
    }
    uint8_t* start_;
    uint8_t* at_;
};

}  // namespace

void* makeParameterThunk(void* routine, uint32_t parameter, int valueWords) {
    uint8_t* thunk = nextThunk();
    DWORD previous = 0;
    VirtualProtect(gPages.page, kPageSize, PAGE_READWRITE, &previous);
    ThunkWriter w(thunk);
    const auto k = static_cast<uint8_t>(valueWords);
    // The value words, last first: each one is found at the same depth, as
    // every push moves the stack by one word.
    for (int j = 0; j < valueWords; ++j) w.pushStackWord(static_cast<uint8_t>(4 + 4 * k));
    w.pushImmediate(parameter);
    w.pushStackWord(static_cast<uint8_t>(4 + 4 * (k + 1)));  // the instance
    w.call(routine);
    w.popArguments(static_cast<uint8_t>(k + 2));
    w.ret();
    VirtualProtect(gPages.page, kPageSize, PAGE_EXECUTE_READ, &previous);
    FlushInstructionCache(GetCurrentProcess(), thunk, kThunkSize);
    return thunk;
}

}  // namespace runtime::plugins
