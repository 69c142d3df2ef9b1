// The data relocation stream: skips, runs of code and data words, words that
// are ignored, and runs that would write past data1.
#include <gtest/gtest.h>

#include <map>

#include "ImageBytes.h"
#include "loader/DataRelocation.h"

using namespace runtime::loader;
using namespace loader_test;

namespace {

constexpr uint32_t kCodeBase = 0x00400000;
constexpr uint32_t kDataBase = 0x00A00000;

// data1 of `words` words, word i holding i.
Bytes numberedData(uint32_t words) {
    Bytes data;
    for (uint32_t i = 0; i < words; ++i) appendU32(data, i);
    return data;
}

TEST(DataRelocation, AppliesSkipsAndRuns) {
    struct Case {
        const char* what;
        Bytes stream;
        std::map<uint32_t, uint32_t> added;  // word index -> base added to it; every other word unchanged
    };
    const uint32_t words = 1600;
    std::map<uint32_t, uint32_t> allOf512;
    for (uint32_t i = 0; i < 512; ++i) allOf512[i] = kCodeBase;
    std::map<uint32_t, uint32_t> afterSkip512Data;
    for (uint32_t i = 0; i < 512; ++i) afterSkip512Data[1024 + i] = kDataBase;
    const Case cases[] = {
        {"one code word", relocationWords({0x4000}), {{0, kCodeBase}}},
        {"one data word", relocationWords({0x4200}), {{0, kDataBase}}},
        {"handler words add the code base", relocationWords({0x8003, 0x4601}), {{1, kCodeBase}, {2, kCodeBase}}},
        {"a run of 512 words", relocationWords({0x41FF}), allOf512},
        {"a skip of 4096 bytes, then 512 data words", relocationWords({0x8FFF, 0x43FF}), afterSkip512Data},
        {"a skip of one byte makes unaligned words", relocationWords({0x8000, 0x4000}), {}},
        {"ignored words do not move the cursor",
         relocationWords({0x4400, 0x0000, 0xF000, 0x7FFF, 0x4800, 0x4000, 0x4400, 0x4200}),
         {{0, kCodeBase}, {1, kDataBase}}},
        {"runs follow each other", relocationWords({0x4001, 0x4200, 0x8007, 0x4000}),
         {{0, kCodeBase}, {1, kCodeBase}, {2, kDataBase}, {5, kCodeBase}}},
        {"an odd last byte is no word", concat({relocationWords({0x4000}), Bytes{0x42}}), {{0, kCodeBase}}},
        {"skips may end past data1", relocationWords({0x4000, 0x8FFF, 0x8FFF}), {{0, kCodeBase}}},
    };
    for (const Case& c : cases) {
        Bytes data = numberedData(words);
        const LoadResult result = relocateData(data, c.stream, kCodeBase, kDataBase);
        ASSERT_TRUE(result.ok()) << c.what << ": " << result.message();
        if (std::string_view(c.what).starts_with("a skip of one byte")) {
            // Bytes 1..4 were relocated as one word: word 0 (0) and word 1 (1) overlap it.
            EXPECT_EQ(image::readU32(data.data() + 1), 0x01000000u + kCodeBase) << c.what;
            continue;
        }
        for (uint32_t i = 0; i < words; ++i) {
            auto it = c.added.find(i);
            const uint32_t expected = i + (it == c.added.end() ? 0 : it->second);
            ASSERT_EQ(image::readU32(data.data() + 4 * i), expected) << c.what << ", word " << i;
        }
    }
}

TEST(DataRelocation, RefusesRunsPastTheEndOfData1) {
    struct Case {
        const char* what;
        uint32_t dataBytes;
        Bytes stream;
        std::string_view detail;
    };
    const Case cases[] = {
        {"one word too many", 8, relocationWords({0x4002}), "data2 offset 0x0 runs past the end of data1"},
        {"a run after the end", 8, relocationWords({0x4001, 0x4000}), "data2 offset 0x2 runs past"},
        {"a run after a skip past the end", 16, relocationWords({0x8FFF, 0x4200}), "cursor 0x1000"},
        {"a word cut by the end", 6, relocationWords({0x8002, 0x4000}), "cursor 0x3"},
        {"a run of 512 in a smaller block", 2044, relocationWords({0x43FF}), "512 words"},
    };
    for (const Case& c : cases) {
        Bytes data(c.dataBytes, 0);
        const LoadResult result = relocateData(data, c.stream, kCodeBase, kDataBase);
        ASSERT_FALSE(result.ok()) << c.what;
        EXPECT_NE(result.message().find(c.detail), std::string::npos) << c.what << ": " << result.message();
        EXPECT_TRUE(result.message().starts_with("The application could not be loaded because its image is damaged: "));
    }
}

TEST(DataRelocation, EmptyStreamChangesNothing) {
    Bytes data = numberedData(4);
    const Bytes before = data;
    EXPECT_TRUE(relocateData(data, {}, kCodeBase, kDataBase).ok());
    EXPECT_EQ(data, before);
}

}  // namespace
