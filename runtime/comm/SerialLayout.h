// Instance data of the built-in classes `Serial` and `SerialPort`, after the
// data of `Object` (offset 24). Compiled code reads and writes the property
// fields through the generic field routines, so offsets and widths are fixed.
#pragma once

#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

namespace runtime {

constexpr int32_t kSerialFieldsOffset = 24;

struct SerialFields {
    ObjectHandle next;        // the runtime-wide list of live Serial objects, newest first
    void* device;             // INVALID_HANDLE_VALUE while closed
    int16_t baud;             // index into the rate table
    int16_t bits;
    int16_t stop;
    int16_t parity;
    int16_t port;             // 0 = COM1
    uint8_t xon, cts, dtr;    // stored only
    uint8_t open;
    uint8_t unused[2];
    StringHandle received;    // bytes not yet read (Lookahead)
    ObjectHandle serialPort;  // when set, names the device instead of `port`
    uint8_t dataArrived;      // set by a poll that appended bytes
    uint8_t eventDue;         // DataAvailable is to be raised at the next pass
};

struct SerialPortFields {
    StringHandle name;
    StringHandle inputDriverName;
    StringHandle outputDriverName;
    int32_t ratedSpeed;
    int32_t maximumSpeed;
};

#if defined(__i386__)
static_assert(offsetof(SerialFields, device) == 4);
static_assert(offsetof(SerialFields, baud) == 8);
static_assert(offsetof(SerialFields, port) == 16);
static_assert(offsetof(SerialFields, xon) == 18);
static_assert(offsetof(SerialFields, open) == 21);
static_assert(offsetof(SerialFields, received) == 24);
static_assert(offsetof(SerialFields, serialPort) == 28);
static_assert(offsetof(SerialFields, dataArrived) == 32);
static_assert(kSerialFieldsOffset + sizeof(SerialFields) <= 64);
static_assert(kSerialFieldsOffset + sizeof(SerialPortFields) == 44);
#endif

}  // namespace runtime
