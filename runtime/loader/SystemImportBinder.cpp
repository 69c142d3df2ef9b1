#include "loader/SystemImportBinder.h"

#include <windows.h>

#include <string>

#include "loader/RuntimeEntryTable.h"

namespace runtime {

uint32_t SystemImportBinder::runtimeRoutine(std::string_view name) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(findRuntimeRoutine(std::string(name).c_str())));
}

loader::LibraryRoutine SystemImportBinder::libraryRoutine(std::string_view library, std::string_view routine) {
    // Every import loads its library anew; the handles are kept for the life
    // of the process, as the routines are called until it ends.
    const HMODULE module = LoadLibraryA(std::string(library).c_str());
    if (!module) return {loader::LibraryRoutine::Status::LibraryMissing, 0};
    const FARPROC address = GetProcAddress(module, std::string(routine).c_str());
    if (!address) return {loader::LibraryRoutine::Status::RoutineMissing, 0};
    return {loader::LibraryRoutine::Status::Found, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(address))};
}

}  // namespace runtime
