// The runtime entry table: the named routines that compiled application code
// and plug-ins bind to. Names are looked up ignoring letter case; the first
// slot with a matching name wins. The table holds only implemented routines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

struct RuntimeEntry {
    const char* name;   // NUL-terminated ASCII
    void* routine;      // a cdecl routine
    uint32_t reserved[2];
};

#if defined(__i386__)
static_assert(sizeof(RuntimeEntry) == 16);
static_assert(offsetof(RuntimeEntry, name) == 0);
static_assert(offsetof(RuntimeEntry, routine) == 4);
static_assert(offsetof(RuntimeEntry, reserved) == 8);
#endif

namespace runtime {

std::span<const RuntimeEntry> runtimeEntryTable();

// The routine of the first slot whose name equals `name` ignoring letter case,
// or null when none does.
void* findRuntimeRoutine(const char* name);

}  // namespace runtime
