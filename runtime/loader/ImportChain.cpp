#include "loader/ImportChain.h"

#include <string>

#include "loader/ImageFormat.h"

namespace runtime::loader {
namespace {

// A displacement field needs its opcode byte before it and four bytes in code1.
bool fieldInside(std::span<const uint8_t> code, uint32_t field) {
    return field >= 1 && field <= code.size() && code.size() - field >= 4;
}

std::string chainOf(std::string_view name) { return "the call chain of " + std::string(name); }

}  // namespace

bool ClaimedBytes::claim(uint32_t offset, uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) {
        if (claimed_[offset + i]) return false;
    }
    for (uint32_t i = 0; i < n; ++i) claimed_[offset + i] = true;
    return true;
}

LoadResult checkImportChain(std::span<const uint8_t> code, uint32_t head, std::string_view name, ClaimedBytes& claimed) {
    // Claimed sites cannot be visited twice, so the walk ends after at most
    // code.size() / 5 steps even when the chain forms a loop.
    for (uint32_t field = head; field != 0; field = image::readU32(code.data() + field)) {
        if (!fieldInside(code, field)) {
            return LoadResult::failure(damagedImageMessage(chainOf(name) + " leaves code1 at offset " + hexOffset(field)));
        }
        if (code[field - 1] != image::kCallOpcode) {
            return LoadResult::failure(
                damagedImageMessage(chainOf(name) + " reaches offset " + hexOffset(field) + ", which is not a call"));
        }
        if (!claimed.claim(field - 1, image::kCallSize)) {
            return LoadResult::failure(damagedImageMessage(chainOf(name) + " reaches the call site at offset " +
                                                           hexOffset(field) + ", which is linked already"));
        }
    }
    return LoadResult::success();
}

void patchImportChain(PlacedBlock code, uint32_t head, uint32_t target) {
    size_t stepsLeft = code.bytes.size() / image::kCallSize + 1;
    for (uint32_t field = head; field != 0 && stepsLeft-- != 0;) {
        if (!fieldInside(code.bytes, field)) return;
        uint8_t* site = code.bytes.data() + field;
        const uint32_t next = image::readU32(site);
        image::writeU32(site, target - (code.base + field + 4));
        field = next;
    }
}

}  // namespace runtime::loader
