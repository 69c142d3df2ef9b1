#include "objects/DataStream.h"

namespace runtime {

uint8_t DataStream::readByte() {
    if (position_ >= bytes_.size()) {
        failed_ = true;
        return 0;
    }
    return bytes_[position_++];
}

int32_t DataStream::readVarint() {
    uint8_t byte = readByte();
    const bool negative = byte & 0x40;
    uint32_t magnitude = byte & 0x3F;
    int shift = 6;
    while ((byte & 0x80) && !failed_) {
        byte = readByte();
        // Groups beyond 32 bits are read and dropped.
        if (shift < 32) magnitude |= static_cast<uint32_t>(byte & 0x7F) << shift;
        shift += 7;
    }
    // 0x80000000 has no negative form and is kept as it is.
    if (negative && magnitude != 0x80000000u) magnitude = 0u - magnitude;
    return static_cast<int32_t>(magnitude);
}

std::string DataStream::readString() {
    const int32_t count = readVarint();
    if (count <= 0) return {};
    if (static_cast<size_t>(count) > bytes_.size() - position_) {
        failed_ = true;
        position_ = bytes_.size();
        return {};
    }
    std::string text(reinterpret_cast<const char*>(bytes_.data() + position_), static_cast<size_t>(count));
    position_ += static_cast<size_t>(count);
    return text;
}

uint32_t DataStream::readWord() {
    uint32_t word = 0;
    for (int i = 0; i < 4; ++i) word = (word << 8) | readByte();
    return word;
}

}  // namespace runtime
