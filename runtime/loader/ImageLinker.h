// Links code1 with the link records of code2: every import chain is pointed at
// its routine (a runtime routine found by name, or a routine of a Windows
// library for "!X" names), every data reference gets the data base added, and
// plug-in member imports are kept for the deferred binding. The lookups go
// through an ImportBinder, so this logic runs without Windows too.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "loader/DeferredImports.h"
#include "loader/ImportChain.h"
#include "loader/LoadResult.h"

namespace runtime::loader {

struct LibraryRoutine {
    enum class Status { Found, LibraryMissing, RoutineMissing };
    Status status;
    uint32_t address;  // when found
};

class ImportBinder {
public:
    virtual ~ImportBinder() = default;
    // The routine of the runtime entry table of that name (ignoring case), or 0.
    virtual uint32_t runtimeRoutine(std::string_view name) = 0;
    // Loads the library (anew for every import) and finds the routine in it.
    virtual LibraryRoutine libraryRoutine(std::string_view library, std::string_view routine) = 0;
};

// Processes the records in order. On failure the message says why; records
// before the failing one stay applied.
LoadResult linkCode(PlacedBlock code, std::span<const uint8_t> linkRecords, uint32_t dataBase, ImportBinder& binder,
                    DeferredImportList& deferred);

}  // namespace runtime::loader
