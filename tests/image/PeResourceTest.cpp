// Finding the image locator in real PE programs made by the mingw-w64 tools,
// and appending images: the resource points at the appended image, and a
// second image replaces the first.
#include <gtest/gtest.h>

#include <cstring>

#include "CoffObject.h"
#include "FixtureFiles.h"
#include "ImageWriter.h"
#include "PeResource.h"
#include "ToolError.h"
#include "loader/ImageContainer.h"

using namespace imagetool;

namespace {

const std::string kLocatorProbe = std::string(PE_PROBES) + "/locator.exe";
const std::string kPlainProbe = std::string(PE_PROBES) + "/plain.exe";

BuiltImage smallImage(uint8_t fill) {
    BuiltImage image;
    image.code1.assign(5, fill);
    image.code2 = {0x02, 0, 0, 0, 0};
    image.data1.assign(12, fill);
    image.data2 = {0x00, 0x40};
    return image;
}

std::string errorOf(const std::string& path, const std::vector<uint8_t>& bytes) {
    try {
        findImageLocator(path, bytes);
    } catch (const ToolError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(PeResource, FindsThePlaceholderOfTheRuntime) {
    const std::vector<uint8_t> pe = readWholeFile(kLocatorProbe);
    const ImageLocator locator = findImageLocator(kLocatorProbe, pe);
    EXPECT_EQ(locator.size, 8u);
    EXPECT_EQ(std::memcmp(pe.data() + locator.fileOffset, "PICK\0\0\0\0", 8), 0);
    EXPECT_LE(locator.endOfSectionData, pe.size());
}

TEST(PeResource, AppendsAnImageAndReplacesItLater) {
    const std::vector<uint8_t> runtime = readWholeFile(kLocatorProbe);
    const std::vector<uint8_t> first = attachImage(kLocatorProbe, runtime, smallImage(0x11));
    const ImageLocator locator = findImageLocator("first.exe", first);
    ASSERT_EQ(image::readU32(first.data() + locator.fileOffset), runtime.size());
    EXPECT_EQ(image::readU32(first.data() + locator.fileOffset + 4), 0u) << "the reserved word stays as it was";

    // What the runtime reads from that offset on is the image.
    runtime::loader::MemorySource source(std::span(first).subspan(runtime.size()));
    runtime::loader::ImageBlocks blocks;
    ASSERT_TRUE(runtime::loader::readAppendedImage(source, blocks, "first.exe").ok());
    EXPECT_EQ(blocks.code1, smallImage(0x11).code1);
    EXPECT_EQ(blocks.data2, smallImage(0x11).data2);
    EXPECT_EQ(source.remaining(), 0u);

    const std::vector<uint8_t> second = attachImage("first.exe", first, smallImage(0x22));
    EXPECT_EQ(second.size(), first.size()) << "the old image is cut off";
    EXPECT_EQ(image::readU32(second.data() + locator.fileOffset), runtime.size());
    EXPECT_EQ(second[runtime.size() + 4], 0x22);
    EXPECT_TRUE(std::equal(runtime.begin() + locator.fileOffset + 8, runtime.end(), second.begin() + locator.fileOffset + 8));
}

TEST(PeResource, RefusesProgramsWithoutAUsableLocator) {
    const std::vector<uint8_t> runtime = readWholeFile(kLocatorProbe);
    EXPECT_EQ(errorOf("plain.exe", readWholeFile(kPlainProbe)),
              "plain.exe: has no resources (the runtime's image locator is missing)");
    EXPECT_EQ(errorOf("text.exe", {'h', 'e', 'l', 'l', 'o'}), "text.exe: not a PE executable");
    std::vector<uint8_t> cut(runtime.begin(), runtime.begin() + 0x90);
    EXPECT_EQ(errorOf("cut.exe", cut), "cut.exe: not a valid PE executable (truncated)");

    // A locator that holds neither the placeholder nor an offset after the sections.
    std::vector<uint8_t> damaged = runtime;
    const ImageLocator locator = findImageLocator("runtime.exe", runtime);
    image::writeU32(damaged.data() + locator.fileOffset, 0x10);
    try {
        attachImage("damaged.exe", damaged, smallImage(1));
        ADD_FAILURE() << "not refused";
    } catch (const ToolError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "damaged.exe: the PICKLE resource holds neither the placeholder PICK nor a valid image offset");
    }
}

}  // namespace
