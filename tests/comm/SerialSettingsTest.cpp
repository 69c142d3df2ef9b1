// The line-setting tables of serial ports: every index of Baud, Bits, Parity
// and Stop, and the fall-backs outside each table.
#include <gtest/gtest.h>

#include "comm/SerialSettings.h"

namespace {

TEST(SerialSettings, RatesAndFallBacks) {
    const uint32_t rates[] = {300, 600, 1200, 1800, 2400, 3600, 4800, 7200, 9600, 14400, 19200, 28800, 38400, 57600};
    for (int32_t i = 0; i < 14; ++i) EXPECT_EQ(runtime::lineSettingsFor(i, 3, 0, 0).baudRate, rates[i]) << i;
    for (int32_t outside : {-1, 14, 99, 32767}) EXPECT_EQ(runtime::lineSettingsFor(outside, 3, 0, 0).baudRate, 57600u);
}

TEST(SerialSettings, DataBitsParityAndStopBits) {
    struct Case {
        int32_t index;
        uint8_t byteSize, parity, stopBits;
    };
    const Case cases[] = {{0, 5, 0, 0}, {1, 6, 1, 1}, {2, 7, 2, 2}, {3, 8, 0, 0}, {4, 8, 0, 0}, {-1, 8, 0, 0}};
    for (const Case& c : cases) {
        const runtime::LineSettings s = runtime::lineSettingsFor(0, c.index, c.index, c.index);
        EXPECT_EQ(s.byteSize, c.byteSize) << c.index;
        EXPECT_EQ(s.parity, c.parity) << c.index;
        EXPECT_EQ(s.stopBits, c.stopBits) << c.index;
    }
}

}  // namespace
