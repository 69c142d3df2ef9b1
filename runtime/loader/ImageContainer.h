// The image container: the four blocks code1, code2, data1 and data2, read
// either from the executable's overlay (each block a u32 length and its bytes)
// or as whole development files. Every length is checked against what is left
// of the file before anything is allocated.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "loader/ImageFormat.h"
#include "loader/LoadResult.h"

namespace runtime::loader {

struct ImageBlocks {
    std::vector<uint8_t> code1;
    std::vector<uint8_t> code2;
    std::vector<uint8_t> data1;
    std::vector<uint8_t> data2;

    std::vector<uint8_t>& operator[](image::Block block);
};

// A stream of image bytes: the executable from the image offset on, or one
// development file.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Bytes from the current position to the end of the file.
    virtual uint64_t remaining() const = 0;
    // Reads exactly `n` bytes; false when the file gave fewer.
    virtual bool read(uint8_t* into, uint32_t n) = 0;
};

// Bytes already in memory (tests, fuzzing).
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t remaining() const override { return bytes_.size() - position_; }
    bool read(uint8_t* into, uint32_t n) override;

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

// Reads the four length-prefixed blocks, in image order. `fileName` names the
// file in the message of a failed read.
LoadResult readAppendedImage(ByteSource& source, ImageBlocks& blocks, std::string_view fileName);

// Reads all that is left of `source` as one block (a development file).
LoadResult readWholeFile(ByteSource& source, std::vector<uint8_t>& block, std::string_view fileName);

}  // namespace runtime::loader
