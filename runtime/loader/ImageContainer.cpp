#include "loader/ImageContainer.h"

#include <cstring>
#include <string>

namespace runtime::loader {

std::vector<uint8_t>& ImageBlocks::operator[](image::Block block) {
    switch (block) {
    case image::Block::Code1: return code1;
    case image::Block::Code2: return code2;
    case image::Block::Data1: return data1;
    case image::Block::Data2: break;
    }
    return data2;
}

bool MemorySource::read(uint8_t* into, uint32_t n) {
    if (n > remaining()) return false;
    if (n != 0) std::memcpy(into, bytes_.data() + position_, n);
    position_ += n;
    return true;
}

LoadResult readAppendedImage(ByteSource& source, ImageBlocks& blocks, std::string_view fileName) {
    uint64_t position = 0;  // from the start of the image
    for (image::Block block : image::kBlocksInImageOrder) {
        const std::string name(image::blockName(block));
        if (source.remaining() < 4) {
            return LoadResult::failure(damagedImageMessage("the length of block " + name + " is missing at image offset " +
                                                           hexOffset(position)));
        }
        uint8_t lengthBytes[4];
        if (!source.read(lengthBytes, 4)) return LoadResult::failure(unreadableFileMessage(fileName));
        position += 4;
        const uint32_t length = image::readU32(lengthBytes);
        if (length > source.remaining()) {
            return LoadResult::failure(damagedImageMessage("block " + name + " claims " + hexOffset(length) +
                                                           " bytes but only " + hexOffset(source.remaining()) +
                                                           " are left of the file"));
        }
        std::vector<uint8_t>& bytes = blocks[block];
        bytes.resize(length);
        if (!source.read(bytes.data(), length)) return LoadResult::failure(unreadableFileMessage(fileName));
        position += length;
    }
    return LoadResult::success();
}

LoadResult readWholeFile(ByteSource& source, std::vector<uint8_t>& block, std::string_view fileName) {
    const uint64_t size = source.remaining();
    if (size > UINT32_MAX) return LoadResult::failure(damagedImageMessage(std::string(fileName) + " is too large"));
    block.resize(static_cast<size_t>(size));
    if (!source.read(block.data(), static_cast<uint32_t>(size))) {
        return LoadResult::failure(unreadableFileMessage(fileName));
    }
    return LoadResult::success();
}

}  // namespace runtime::loader
