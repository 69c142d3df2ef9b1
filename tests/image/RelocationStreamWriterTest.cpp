// Encoding the data relocation stream: runs split at 512 words and at a change
// of base, skips split at 4096 bytes; and whatever is encoded, the runtime's
// decoder applies exactly the address words it came from.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "RelocationStreamWriter.h"
#include "ToolError.h"
#include "loader/DataRelocation.h"
#include "loader/ImageFormat.h"

using namespace imagetool;

namespace {

std::vector<uint16_t> wordsOf(const std::vector<uint8_t>& stream) {
    std::vector<uint16_t> words;
    for (size_t i = 0; i + 1 < stream.size(); i += 2) words.push_back(static_cast<uint16_t>(stream[i] | stream[i + 1] << 8));
    return words;
}

std::vector<AddressWord> consecutive(uint32_t from, uint32_t count, AddressBase base) {
    std::vector<AddressWord> words;
    for (uint32_t i = 0; i < count; ++i) words.push_back({from + 4 * i, base});
    return words;
}

TEST(RelocationStreamWriter, EncodesSkipsAndRuns) {
    constexpr auto C = AddressBase::Code;
    constexpr auto D = AddressBase::Data;
    struct Case {
        const char* what;
        std::vector<AddressWord> words;
        std::vector<uint16_t> stream;
    };
    const Case cases[] = {
        {"nothing", {}, {}},
        {"one code word", {{0, C}}, {0x4000}},
        {"one data word after 8 bytes", {{8, D}}, {0x8007, 0x4200}},
        {"512 words in one run", consecutive(0, 512, D), {0x43FF}},
        {"513 words in two runs", consecutive(0, 513, C), {0x41FF, 0x4000}},
        {"a skip of exactly 4096", {{4096, C}}, {0x8FFF, 0x4000}},
        {"a skip of 4097 in two", {{4097, C}}, {0x8FFF, 0x8000, 0x4000}},
        {"runs end where the base changes", {{0, C}, {4, D}, {8, D}, {12, C}}, {0x4000, 0x4201, 0x4000}},
        {"unaligned words", {{1, C}, {5, C}}, {0x8000, 0x4001}},
        {"order does not matter", {{12, C}, {0, C}}, {0x4000, 0x8007, 0x4000}},
    };
    for (const Case& c : cases) EXPECT_EQ(wordsOf(encodeRelocationStream(c.words)), c.stream) << c.what;
}

TEST(RelocationStreamWriter, RefusesOverlappingWords) {
    EXPECT_THROW(encodeRelocationStream({{0, AddressBase::Code}, {2, AddressBase::Data}}), ToolError);
    EXPECT_THROW(encodeRelocationStream({{8, AddressBase::Code}, {8, AddressBase::Code}}), ToolError);
}

TEST(RelocationStreamWriter, TheRuntimeAppliesExactlyTheEncodedWords) {
    constexpr uint32_t kCodeBase = 0x00400000;
    constexpr uint32_t kDataBase = 0x00A00000;
    std::mt19937 random(20240601);
    for (int round = 0; round < 200; ++round) {
        // Address words at random gaps (some long, some none), of random bases.
        std::map<uint32_t, AddressBase> chosen;
        uint32_t offset = random() % 8;
        const uint32_t count = 1 + random() % 1200;
        for (uint32_t i = 0; i < count; ++i) {
            chosen[offset] = random() % 3 == 0 ? AddressBase::Data : AddressBase::Code;
            const uint32_t gap = random() % 4 == 0 ? random() % 9000 : 0;
            offset += 4 + gap;
        }
        std::vector<AddressWord> words;
        for (const auto& [at, base] : chosen) words.push_back({at, base});
        std::vector<uint8_t> data(offset + random() % 16, 0);
        for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
        std::vector<uint8_t> expected = data;
        for (const auto& [at, base] : chosen) {
            const uint32_t add = base == AddressBase::Code ? kCodeBase : kDataBase;
            image::writeU32(expected.data() + at, image::readU32(expected.data() + at) + add);
        }
        const std::vector<uint8_t> stream = encodeRelocationStream(words);
        ASSERT_TRUE(runtime::loader::relocateData(data, stream, kCodeBase, kDataBase).ok());
        ASSERT_EQ(data, expected) << "round " << round;
    }
}

}  // namespace
