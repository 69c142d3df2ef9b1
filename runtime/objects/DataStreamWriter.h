// Writes the serialised streams of the application image (the counterpart of
// DataStream): varints, counted strings, big-endian words and bytes.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "objects/ProjectStreams.h"

namespace runtime {

class DataStreamWriter {
public:
    void writeByte(uint8_t value) { bytes_.push_back(value); }
    void writeVarint(int32_t value);
    void writeString(std::string_view text);
    void writeWord(uint32_t value);

    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

std::vector<uint8_t> encodeMenuBarStream(const MenuBarStream& bar);
std::vector<uint8_t> encodeSettingsStream(const SettingsStream& settings);

}  // namespace runtime
