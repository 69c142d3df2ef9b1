// Raising exceptions: the unwinder walks the frame-pointer chain from the
// raising routine outwards, performs the cleanup that compiled code marks after
// its call sites and at the end of its functions, and resumes at the first
// catch clause that accepts the exception. Nothing caught ends the process.
// Runtime frames on the way are left through their unwind scopes, and the
// walk stops where the system called into the runtime (UnwindScope.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "objects/ClassRecord.h"

namespace runtime {

// Tag bytes of compiled code.
constexpr uint8_t kShortJump = 0xEB;
constexpr uint8_t kTagMark = 0x2F;
constexpr uint8_t kLeave = 0xC9;
constexpr uint8_t kReturn = 0xC3;

enum CallSiteOp : uint8_t {
    kReleaseStringArgument = 0x01,
    kReleaseObjectArgument = 0x02,
    kOutsideProtectedRegion = 0x07,
};

enum TrailerOp : uint8_t {
    kCatchClause = 0x04,
    kReleaseLocalString = 0x05,
    kReleaseLocalObject = 0x06,
};

// A frame is followed only within this distance.
constexpr uintptr_t kMaxFrameStep = 4096;

// Unwinds with `exception`, whose reference the caller hands over, starting
// at `frame` (the frame pointer of the routine that raises). Continues only
// in a catch clause of compiled code or at a system entry; otherwise ends the
// process.
[[noreturn]] void unwindException(ObjectHandle exception, uintptr_t frame);

// Removes the structured exception handler records of the frames deeper than
// `framePointer` from the thread's chain: those frames are being left.
void dropSystemHandlersBelow(uintptr_t framePointer);

// A new exception of the built-in class `className`, owned by the caller.
ObjectHandle newBuiltinException(const char* className);

// What happens to an exception that nothing caught: `EndException` ends the
// process silently with code 0; any other shows message table entry 4 with
// "%1" replaced by the class name and ends the process with code 2.
[[noreturn]] void endWithUnhandledException(ObjectHandle exception);

// The text shown for an unhandled exception of class `className`.
std::string unhandledExceptionMessage(std::string_view className);

}  // namespace runtime
