#include "loader/DataRelocation.h"

#include "loader/ImageFormat.h"

namespace runtime::loader {
namespace {

// The base that a run word adds, or nothing for a word that is no run.
bool runBase(uint16_t word, uint32_t codeBase, uint32_t dataBase, uint32_t& base) {
    switch (word & image::kRunMask) {
    case image::kRunCodeWord:
    case image::kRunHandlerCodeWord: base = codeBase; return true;
    case image::kRunDataWord: base = dataBase; return true;
    default: return false;
    }
}

}  // namespace

LoadResult relocateData(std::span<uint8_t> data1, std::span<const uint8_t> stream, uint32_t codeBase,
                        uint32_t dataBase) {
    uint64_t cursor = 0;  // wide enough that skips cannot wrap it
    const size_t words = stream.size() / 2;
    for (size_t i = 0; i < words; ++i) {
        const uint16_t word = image::readU16(stream.data() + 2 * i);
        if ((word & image::kSkipMask) == image::kSkipWord) {
            cursor += (word & image::kSkipCountMask) + 1u;
            continue;
        }
        uint32_t base = 0;
        if (!runBase(word, codeBase, dataBase, base)) continue;
        const uint32_t count = (word & image::kRunCountMask) + 1u;
        if (cursor > data1.size() || data1.size() - cursor < 4ull * count) {
            return LoadResult::failure(damagedImageMessage("the relocation word at data2 offset " + hexOffset(2 * i) +
                                                           " runs past the end of data1 (cursor " + hexOffset(cursor) +
                                                           ", " + std::to_string(count) + " words)"));
        }
        for (uint32_t k = 0; k < count; ++k, cursor += 4) {
            uint8_t* slot = data1.data() + cursor;
            image::writeU32(slot, image::readU32(slot) + base);
        }
    }
    return LoadResult::success();
}

}  // namespace runtime::loader
