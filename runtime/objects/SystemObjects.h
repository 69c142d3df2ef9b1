// The process-wide system and keyboard objects, and the small core routines
// that describe the process.
#pragma once

#include <cstdint>

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

namespace runtime {

// The system object holds its name (a string value) after the data of
// `Object`.
constexpr int32_t kSystemNameOffset = 24;
constexpr int32_t kSystemObjectSize = 28;

// Creates the system object and names it "System" (a start-up step).
void createSystemObject();

}  // namespace runtime

// The system object, locked for the caller (nil before start-up made it).
RUNTIME_ENTRY ObjectHandle getSystemObject();
// The keyboard object, locked for the caller; made on first use.
RUNTIME_ENTRY ObjectHandle getKeyboardObject();
// Compiled code reports the line it is at; the runtime keeps no trace.
RUNTIME_ENTRY void lineTrace();
// The process's command line as a new string value, owned by the caller.
RUNTIME_ENTRY StringHandle win32getCommandLine();
