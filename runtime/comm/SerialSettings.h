// The line settings of a Serial object as the device takes them: the indexes
// of `Baud`, `Bits`, `Parity` and `Stop` mapped to rates and codes, with the
// fall-backs for indexes outside each table.
#pragma once

#include <cstdint>

namespace runtime {

struct LineSettings {
    uint32_t baudRate;
    uint8_t byteSize;
    uint8_t parity;    // 0 none, 1 odd, 2 even (the system's codes)
    uint8_t stopBits;  // 0 one, 1 one and a half, 2 two (the system's codes)
};

LineSettings lineSettingsFor(int32_t baud, int32_t bits, int32_t parity, int32_t stop);

}  // namespace runtime
