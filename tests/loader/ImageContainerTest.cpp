// Reading the four blocks of an appended image: lengths little-endian, checked
// against what is left of the file before anything is read.
#include <gtest/gtest.h>

#include "ImageBytes.h"
#include "loader/ImageContainer.h"

using namespace runtime::loader;
using namespace loader_test;

namespace {

Bytes block(const Bytes& content) {
    Bytes bytes;
    appendU32(bytes, static_cast<uint32_t>(content.size()));
    bytes.insert(bytes.end(), content.begin(), content.end());
    return bytes;
}

LoadResult read(const Bytes& file, ImageBlocks& blocks) {
    MemorySource source(file);
    return readAppendedImage(source, blocks, "sutakiba.exe");
}

TEST(ImageContainer, ReadsTheFourBlocksInOrder) {
    const Bytes code1(258, 0xC3);  // a length above 255 shows the byte order of the length word
    const Bytes file = concat({block(code1), block({}), block({1, 2, 3, 4, 5, 6, 7, 8}), block({0x00, 0x40}), {0xEE}});
    EXPECT_EQ(file[0], 0x02);
    EXPECT_EQ(file[1], 0x01);
    ImageBlocks blocks;
    ASSERT_TRUE(read(file, blocks).ok());
    EXPECT_EQ(blocks.code1, code1);
    EXPECT_TRUE(blocks.code2.empty());
    EXPECT_EQ(blocks.data1, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(blocks.data2, (Bytes{0x00, 0x40}));
}

TEST(ImageContainer, RefusesShortAndOverlongImages) {
    const Bytes code1 = block({0x55, 0xC3});
    struct Case {
        const char* what;
        Bytes file;
        std::string_view detail;
    };
    Bytes lengthTooLarge = concat({code1, block({}), block({1, 2, 3, 4})});
    image::writeU32(lengthTooLarge.data() + 10, 5);  // data1 claims one byte more than the file has
    Bytes hugeLength = code1;
    appendU32(hugeLength, 0xFFFFFFFF);
    const Case cases[] = {
        {"empty file", {}, "the length of block code1 is missing at image offset 0x0"},
        {"cut inside a length word", concat({code1, Bytes{0x00, 0x00}}), "the length of block code2 is missing at image offset 0x6"},
        {"data2 missing", concat({code1, block({}), block({})}), "the length of block data2 is missing"},
        {"last block longer than the rest", concat({code1, block({}), block({}), Bytes{3, 0, 0, 0, 1, 2}}),
         "block data2 claims 0x3 bytes but only 0x2 are left of the file"},
        {"length beyond the file", lengthTooLarge, "block data1 claims 0x5 bytes but only 0x4 are left of the file"},
        {"huge length", hugeLength, "block code2 claims 0xFFFFFFFF bytes but only 0x0 are left"},
    };
    for (const Case& c : cases) {
        ImageBlocks blocks;
        const LoadResult result = read(c.file, blocks);
        ASSERT_FALSE(result.ok()) << c.what;
        EXPECT_TRUE(result.message().starts_with("The application could not be loaded because its image is damaged: "));
        EXPECT_NE(result.message().find(c.detail), std::string::npos) << c.what << ": " << result.message();
    }
}

TEST(ImageContainer, ReadsAWholeDevelopmentFile) {
    const Bytes content{9, 8, 7};
    MemorySource source(content);
    Bytes block;
    ASSERT_TRUE(readWholeFile(source, block, "code1.dat").ok());
    EXPECT_EQ(block, content);
}

}  // namespace
