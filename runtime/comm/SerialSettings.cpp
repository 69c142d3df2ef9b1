#include "comm/SerialSettings.h"

#include <array>
#include <cstddef>

namespace runtime {
namespace {

constexpr std::array<uint32_t, 14> kBaudRates = {300,  600,   1200,  1800,  2400,  3600,  4800,
                                                 7200, 9600, 14400, 19200, 28800, 38400, 57600};
constexpr std::array<uint8_t, 4> kByteSizes = {5, 6, 7, 8};
constexpr uint8_t kParityCount = 3;    // none, odd, even
constexpr uint8_t kStopBitsCount = 3;  // one, one and a half, two

template <typename T, size_t N>
T pick(const std::array<T, N>& table, int32_t index, T fallback) {
    return index >= 0 && static_cast<size_t>(index) < N ? table[static_cast<size_t>(index)] : fallback;
}

}  // namespace

LineSettings lineSettingsFor(int32_t baud, int32_t bits, int32_t parity, int32_t stop) {
    LineSettings settings;
    settings.baudRate = pick(kBaudRates, baud, 57600u);
    settings.byteSize = pick(kByteSizes, bits, uint8_t{8});
    settings.parity = parity >= 0 && parity < kParityCount ? static_cast<uint8_t>(parity) : 0;
    settings.stopBits = stop >= 0 && stop < kStopBitsCount ? static_cast<uint8_t>(stop) : 0;
    return settings;
}

}  // namespace runtime
