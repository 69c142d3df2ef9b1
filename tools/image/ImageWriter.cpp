#include "ImageWriter.h"

#include <filesystem>
#include <fstream>

#include "PeResource.h"
#include "ToolError.h"
#include "loader/ImageFormat.h"

namespace imagetool {
namespace {

const std::vector<uint8_t>& blockOf(const BuiltImage& image, image::Block block) {
    switch (block) {
    case image::Block::Code1: return image.code1;
    case image::Block::Code2: return image.code2;
    case image::Block::Data1: return image.data1;
    case image::Block::Data2: break;
    }
    return image.data2;
}

}  // namespace

std::vector<uint8_t> imageContainer(const BuiltImage& image) {
    std::vector<uint8_t> bytes;
    for (image::Block block : image::kBlocksInImageOrder) {
        const std::vector<uint8_t>& content = blockOf(image, block);
        bytes.resize(bytes.size() + 4);
        image::writeU32(bytes.data() + bytes.size() - 4, static_cast<uint32_t>(content.size()));
        bytes.insert(bytes.end(), content.begin(), content.end());
    }
    return bytes;
}

std::vector<uint8_t> attachImage(const std::string& runtimePath, std::vector<uint8_t> runtime, const BuiltImage& image) {
    const ImageLocator locator = findImageLocator(runtimePath, runtime);
    uint8_t* slot = runtime.data() + locator.fileOffset;
    const bool placeholder = std::equal(std::begin(image::kLocatorPlaceholder), std::end(image::kLocatorPlaceholder), slot);
    if (!placeholder) {
        // The runtime carries an image already: it starts at the offset the
        // locator holds, after every section; cut it off.
        const uint32_t previous = image::readU32(slot);
        if (previous < locator.endOfSectionData || previous > runtime.size()) {
            throw ToolError(runtimePath + ": the PICKLE resource holds neither the placeholder PICK nor a valid image offset");
        }
        runtime.resize(previous);
    }
    if (runtime.size() > UINT32_MAX) throw ToolError(runtimePath + ": the executable is too large");
    image::writeU32(slot, static_cast<uint32_t>(runtime.size()));
    const std::vector<uint8_t> container = imageContainer(image);
    runtime.insert(runtime.end(), container.begin(), container.end());
    return runtime;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    // Written beside the target and renamed, so a failed write leaves no
    // half-written output behind.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw ToolError(path + ": cannot be written");
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) throw ToolError(path + ": cannot be written (" + error.message() + ")");
}

void writeDevelopmentFiles(const BuiltImage& image, const std::string& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) throw ToolError(directory + ": cannot be created (" + error.message() + ")");
    for (image::Block block : image::kBlocksInImageOrder) {
        writeFile((std::filesystem::path(directory) / image::developmentFileName(block)).string(), blockOf(image, block));
    }
}

}  // namespace imagetool
