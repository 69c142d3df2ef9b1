// Entry routines of the Serial control and the SerialPort descriptions.
// Arguments are borrowed; a returned object or string belongs to the caller.
// No failure shows anything: a port that cannot be opened gives false.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ClassRecord.h"

RUNTIME_ENTRY bool serialOpen(ObjectHandle serial);
RUNTIME_ENTRY void serialClose(ObjectHandle serial);
RUNTIME_ENTRY bool serialWrite(ObjectHandle serial, StringHandle data);
RUNTIME_ENTRY StringHandle serialRead(ObjectHandle serial, int32_t count);
RUNTIME_ENTRY StringHandle serialReadAll(ObjectHandle serial);
RUNTIME_ENTRY void serialXmitWait(ObjectHandle serial);
RUNTIME_ENTRY void serialFlush(ObjectHandle serial);
RUNTIME_ENTRY void serialTick(ObjectHandle serial);
RUNTIME_ENTRY void serialReset(ObjectHandle serial);
RUNTIME_ENTRY void serialLeaveDTROnClose(ObjectHandle serial);
RUNTIME_ENTRY int32_t getSerialPortCount();
RUNTIME_ENTRY ObjectHandle getSerialPort(int32_t index);

namespace runtime {
// Class hooks of Serial and SerialPort.
void initialiseSerial(ObjectHandle serial, ClassRecord*);
void finaliseSerial(ObjectHandle serial, ClassRecord*);
void finaliseSerialPort(ObjectHandle port, ClassRecord*);
}  // namespace runtime
