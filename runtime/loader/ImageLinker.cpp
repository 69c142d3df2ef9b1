#include "loader/ImageLinker.h"

#include <string>

#include "loader/ImageFormat.h"
#include "loader/LinkRecords.h"

namespace runtime::loader {
namespace {

constexpr std::string_view kLibraryPrefix = "!X";

// The address an import binds to, or the reason it cannot be bound.
LoadResult resolveImport(std::string_view name, ImportBinder& binder, uint32_t& address) {
    if (name.starts_with(kLibraryPrefix)) {
        const std::string_view rest = name.substr(kLibraryPrefix.size());
        const size_t bang = rest.find('!');
        const std::string_view library = rest.substr(0, bang);
        const std::string_view routine = bang == std::string_view::npos ? std::string_view() : rest.substr(bang + 1);
        const LibraryRoutine found = binder.libraryRoutine(library, routine);
        switch (found.status) {
        case LibraryRoutine::Status::LibraryMissing: return LoadResult::failure(missingLibraryMessage(library));
        case LibraryRoutine::Status::RoutineMissing:
            return LoadResult::failure(missingLibraryRoutineMessage(routine, library));
        case LibraryRoutine::Status::Found: address = found.address; return LoadResult::success();
        }
    }
    address = binder.runtimeRoutine(name);
    if (address == 0) return LoadResult::failure(missingRuntimeRoutineMessage(name));
    return LoadResult::success();
}

LoadResult linkImport(PlacedBlock code, const LinkRecord& record, ImportBinder& binder, DeferredImportList& deferred,
                      ClaimedBytes& claimed) {
    if (LoadResult chain = checkImportChain(code.bytes, record.offset, record.name, claimed); !chain.ok()) return chain;
    const bool pluginMember = record.name.starts_with('!') && !record.name.starts_with(kLibraryPrefix);
    if (pluginMember) {
        deferred.add(StringValue::fromBytes(record.name.substr(1)), record.offset);
        return LoadResult::success();
    }
    uint32_t address = 0;
    if (LoadResult resolved = resolveImport(record.name, binder, address); !resolved.ok()) return resolved;
    patchImportChain(code, record.offset, address);
    return LoadResult::success();
}

LoadResult linkDataReference(PlacedBlock code, const LinkRecord& record, uint32_t dataBase, ClaimedBytes& claimed) {
    const uint32_t offset = record.offset;
    const std::string where = "the data reference at code2 offset " + hexOffset(record.position);
    if (offset > code.bytes.size() || code.bytes.size() - offset < 4) {
        return LoadResult::failure(damagedImageMessage(where + " points outside code1 (" + hexOffset(offset) + ")"));
    }
    if (!claimed.claim(offset, 4)) {
        return LoadResult::failure(
            damagedImageMessage(where + " points at offset " + hexOffset(offset) + ", which is linked already"));
    }
    uint8_t* word = code.bytes.data() + offset;
    image::writeU32(word, image::readU32(word) + dataBase);
    return LoadResult::success();
}

}  // namespace

LoadResult linkCode(PlacedBlock code, std::span<const uint8_t> linkRecords, uint32_t dataBase, ImportBinder& binder,
                    DeferredImportList& deferred) {
    ClaimedBytes claimed(code.bytes.size());
    LinkRecordReader reader(linkRecords);
    LinkRecord record{};
    for (;;) {
        switch (reader.next(record)) {
        case LinkRecordReader::Status::End: return LoadResult::success();
        case LinkRecordReader::Status::Truncated:
            return LoadResult::failure(damagedImageMessage("the link record at code2 offset " +
                                                           hexOffset(reader.truncatedAt()) +
                                                           " is cut off by the end of the block"));
        case LinkRecordReader::Status::Record: break;
        }
        LoadResult linked = record.kind == LinkRecord::Kind::Import
                                ? linkImport(code, record, binder, deferred, claimed)
                                : linkDataReference(code, record, dataBase, claimed);
        if (!linked.ok()) return linked;
    }
}

}  // namespace runtime::loader
