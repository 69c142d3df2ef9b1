// Fuzzes the loader's handling of untrusted image bytes: the container, the
// link records with their chains and data references, the relocation stream and
// the deferred binding. The input is an appended image as the runtime reads it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "loader/DataRelocation.h"
#include "loader/ImageContainer.h"
#include "loader/ImageLinker.h"

namespace {

using namespace runtime::loader;

constexpr uint32_t kCodeBase = 0x10000000;
constexpr uint32_t kDataBase = 0x20000000;

// Binds every name somewhere, and lets some library lookups fail, so that both
// the success and the failure paths run.
class AnyBinder final : public ImportBinder {
public:
    uint32_t runtimeRoutine(std::string_view name) override {
        return name.empty() || name.front() == 'z' ? 0 : 0x30000000 + static_cast<uint32_t>(name.size());
    }
    LibraryRoutine libraryRoutine(std::string_view library, std::string_view routine) override {
        if (library.empty()) return {LibraryRoutine::Status::LibraryMissing, 0};
        if (routine.empty()) return {LibraryRoutine::Status::RoutineMissing, 0};
        return {LibraryRoutine::Status::Found, 0x40000000 + static_cast<uint32_t>(routine.size())};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemorySource source({data, size});
    ImageBlocks blocks;
    if (!readAppendedImage(source, blocks, "fuzz").ok()) return 0;
    AnyBinder binder;
    DeferredImportList deferred;
    const PlacedBlock code{blocks.code1, kCodeBase};
    if (!linkCode(code, blocks.code2, kDataBase, binder, deferred).ok()) return 0;
    bindDeferredImports(deferred, code, [](const runtime::StringValue& text) {
        return text.length() % 2 ? 0u : 0x50000000u + static_cast<uint32_t>(text.length());
    });
    (void)relocateData(blocks.data1, blocks.data2, kCodeBase, kDataBase);
    return 0;
}
