// Binds imports to what this process has: runtime routines from the runtime
// entry table and routines of Windows libraries, loaded by name.
#pragma once

#include "loader/ImageLinker.h"

namespace runtime {

class SystemImportBinder final : public loader::ImportBinder {
public:
    uint32_t runtimeRoutine(std::string_view name) override;
    loader::LibraryRoutine libraryRoutine(std::string_view library, std::string_view routine) override;
};

}  // namespace runtime
