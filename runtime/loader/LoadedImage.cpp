#include "loader/LoadedImage.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "RuntimeCall.h"
#include "loader/DataRelocation.h"
#include "loader/ImageFormat.h"
#include "loader/UnboundMemberTrap.h"
#include "text/FatalError.h"

namespace runtime {
namespace {

using loader::LoadResult;

uint32_t addressOf(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

// Whole pages from VirtualAlloc: page-aligned, so every section alignment the
// image tool honours holds, and with a protection of their own, so that code
// runs from executable memory and is writable only while it is patched.
class PageBlock {
public:
    void allocate(const std::vector<uint8_t>& content) {
        size_ = static_cast<uint32_t>(content.size());
        bytes_ = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, content.empty() ? 1 : content.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!bytes_) runOutOfMemory();
        if (!content.empty()) std::memcpy(bytes_, content.data(), content.size());
    }

    void protect(DWORD protection) {
        DWORD previous = 0;
        VirtualProtect(bytes_, size_ ? size_ : 1, protection, &previous);
        if (protection & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE)) {
            FlushInstructionCache(GetCurrentProcess(), bytes_, size_);
        }
    }

    uint8_t* bytes() const { return bytes_; }
    uint32_t size() const { return size_; }
    loader::PlacedBlock placed() const { return {{bytes_, size_}, addressOf(bytes_)}; }

private:
    uint8_t* bytes_ = nullptr;
    uint32_t size_ = 0;
};

struct InstalledImage {
    PageBlock code;                       // code1: the code base
    PageBlock data;                       // data1: the data base
    std::vector<uint8_t> linkRecords;     // code2, kept after linking
    loader::DeferredImportList deferred;  // plug-in members, newest first
};

InstalledImage& installed() {
    // Never destroyed: compiled code runs from these blocks until the process ends.
    static InstalledImage* image = new InstalledImage();
    return *image;
}

}  // namespace

LoadResult installImage(loader::ImageBlocks blocks, loader::ImportBinder& binder) {
    InstalledImage& image = installed();
    if (blocks.data1.size() < 4 * image::kFixedDataWords) {
        return LoadResult::failure(loader::damagedImageMessage("data1 is too short for its two fixed words"));
    }
    image.code.allocate(blocks.code1);
    image.data.allocate(blocks.data1);
    blocks.code1 = {};
    blocks.data1 = {};
    image.linkRecords = std::move(blocks.code2);

    const LoadResult linked = loader::linkCode(image.code.placed(), image.linkRecords, addressOf(image.data.bytes()),
                                               binder, image.deferred);
    image.code.protect(PAGE_EXECUTE_READ);
    if (!linked.ok()) return linked;

    const LoadResult relocated = loader::relocateData({image.data.bytes(), image.data.size()}, blocks.data2,
                                                      addressOf(image.code.bytes()), addressOf(image.data.bytes()));
    blocks.data2 = {};
    if (!relocated.ok()) return relocated;

    const uint32_t entry = image::readU32(image.data.bytes() + image::kEntryWordOffset);
    if (entry - addressOf(image.code.bytes()) >= image.code.size()) {
        return LoadResult::failure(loader::damagedImageMessage("the entry routine " + loader::hexOffset(entry) +
                                                               " lies outside code1"));
    }
    return LoadResult::success();
}

void callApplicationEntry() {
    using EntryRoutine = void(RUNTIME_CALL*)();
    const uint32_t entry = image::readU32(installed().data.bytes() + image::kEntryWordOffset);
    reinterpret_cast<EntryRoutine>(static_cast<uintptr_t>(entry))();
}

uint8_t* imageCodeBase() { return installed().code.bytes(); }
uint32_t imageCodeSize() { return installed().code.size(); }
uint8_t* imageDataBase() { return installed().data.bytes(); }
uint32_t imageDataSize() { return installed().data.size(); }

void bindDeferredPluginImports(const PluginMemberResolver& resolve) {
    InstalledImage& image = installed();
    if (image.deferred.empty()) return;
    // The caller runs inside compiled code: the pages stay executable while
    // they are patched.
    image.code.protect(PAGE_EXECUTE_READWRITE);
    loader::bindDeferredImports(image.deferred, image.code.placed(), [&](const StringValue& member) {
        if (void* routine = resolve(member)) return addressOf(routine);
        return unboundMemberTrap("!" + std::string(member.view()));
    });
    image.code.protect(PAGE_EXECUTE_READ);
}

size_t deferredPluginImportCount() { return installed().deferred.size(); }

}  // namespace runtime
