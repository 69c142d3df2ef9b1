// A reader of the serialised streams of the application image (menu bar,
// settings, window layouts): varints, counted strings, big-endian words and
// bytes. Reading past the end yields zeros and empty strings and marks the
// stream as failed, so a damaged stream can never read outside its bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace runtime {

class DataStream {
public:
    explicit DataStream(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint8_t readByte();
    // Sign-and-magnitude varint: 6 bits, sign and continuation in the first
    // byte, then 7 bits per byte, least significant group first.
    int32_t readVarint();
    // A varint byte count, then that many bytes; a count of 0 or less is empty.
    std::string readString();
    // Four bytes, big-endian.
    uint32_t readWord();

    bool failed() const { return failed_; }
    bool atEnd() const { return position_ >= bytes_.size(); }
    size_t position() const { return position_; }

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace runtime
