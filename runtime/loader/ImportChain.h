// Import chains in code1. Every call site of one imported name is a 5-byte
// relative call; before linking its displacement field holds the code1 offset
// of the next site's field, and the last holds 0. A chain is checked in full
// before any of it is patched: every field inside code1, after an E8 opcode,
// and not claimed by another record, so a damaged chain can neither write
// outside the block nor loop.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "loader/LoadResult.h"

namespace runtime::loader {

// A block of the image at its final place: `base` is the 32-bit address of
// bytes[0] as the compiled code sees it.
struct PlacedBlock {
    std::span<uint8_t> bytes;
    uint32_t base;
};

// The bytes of code1 that link records have claimed, so that each call site and
// each data reference is patched exactly once.
class ClaimedBytes {
public:
    explicit ClaimedBytes(size_t size) : claimed_(size, false) {}
    // False when one of the n bytes at `offset` is claimed already; otherwise
    // claims them. The caller has checked that they lie inside the block.
    bool claim(uint32_t offset, uint32_t n);

private:
    std::vector<bool> claimed_;
};

// Checks the chain that starts at `head` (0: no call sites) and claims its
// sites. `name` is the import's name, for the message.
LoadResult checkImportChain(std::span<const uint8_t> code, uint32_t head, std::string_view name, ClaimedBytes& claimed);

// Points every call site of a checked chain at `target`. It stops at a field
// outside the block, so it is safe on any chain.
void patchImportChain(PlacedBlock code, uint32_t head, uint32_t target);

}  // namespace runtime::loader
