#include "loader/UnboundMemberTrap.h"

#include <windows.h>

#include <cstring>
#include <deque>
#include <string>

#include "RuntimeCall.h"
#include "loader/ImageFormat.h"
#include "loader/LoadResult.h"
#include "text/FatalError.h"
#include "text/SystemText.h"

namespace runtime {
namespace {

// push <member text>; call reportUnboundMember
constexpr uint8_t kPushOpcode = 0x68;
constexpr size_t kStubSize = 16;  // 10 bytes used, the rest keeps stubs aligned
constexpr size_t kPageSize = 4096;

[[noreturn]] RUNTIME_CALL void reportUnboundMember(const char* member) {
    runtime::systemMessageBox(nullptr, loader::unboundMemberMessage(member), "Message", MB_OK);
    ExitProcess(kExitLoadFailure);
}

// Stubs and the texts they show live as long as the code that calls them: for
// the rest of the process.
struct TrapStore {
    std::deque<std::string> members;
    uint8_t* page = nullptr;
    size_t used = kPageSize;

    uint8_t* nextStub() {
        if (used == kPageSize) {
            page = static_cast<uint8_t*>(VirtualAlloc(nullptr, kPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
            if (!page) runOutOfMemory();
            used = 0;
        }
        uint8_t* stub = page + used;
        used += kStubSize;
        return stub;
    }
};

TrapStore& trapStore() {
    static TrapStore* store = new TrapStore();  // never destroyed: stubs stay callable until the end
    return *store;
}

}  // namespace

uint32_t unboundMemberTrap(std::string_view member) {
    TrapStore& store = trapStore();
    const char* text = store.members.emplace_back(member).c_str();
    uint8_t* stub = store.nextStub();
    DWORD previous = 0;
    VirtualProtect(store.page, kPageSize, PAGE_READWRITE, &previous);
    const auto address = [](const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); };
    stub[0] = kPushOpcode;
    image::writeU32(stub + 1, address(text));
    stub[5] = image::kCallOpcode;
    image::writeU32(stub + 6, address(reinterpret_cast<const void*>(&reportUnboundMember)) - (address(stub) + 10));
    VirtualProtect(store.page, kPageSize, PAGE_EXECUTE_READ, &previous);
    FlushInstructionCache(GetCurrentProcess(), stub, kStubSize);
    return address(stub);
}

}  // namespace runtime
