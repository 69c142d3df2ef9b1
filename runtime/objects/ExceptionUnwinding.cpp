#include "objects/ExceptionUnwinding.h"

#include <windows.h>


#include "UnalignedAccess.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectTests.h"
#include "objects/ProjectItems.h"
#include "objects/UnwindScope.h"
#include "text/FatalError.h"
#include "text/StringValue.h"
#include "text/UserAlerts.h"

// Continues in a frame of compiled code: EBP becomes that frame, execution
// goes on at the catch clause. The stack below stays as it is; the function's
// `leave` restores its own stack pointer. No other register is restored: a
// function with catch clauses keeps what it needs in its frame.
extern "C" [[noreturn]] void sutakibaResumeInFrame(uintptr_t framePointer, uintptr_t handler);
asm(".text\n"
    ".globl _sutakibaResumeInFrame\n"
    "_sutakibaResumeInFrame:\n"
    "  movl 8(%esp), %eax\n"
    "  movl 4(%esp), %ebp\n"
    "  jmp *%eax\n");

namespace runtime {
namespace {

// The longest distance from a call-site tag to the end of its function that
// the scan for the trailer covers.
constexpr size_t kMaxTrailerScan = 1 << 20;

template <typename T>
T load(uintptr_t address) {
    return loadUnaligned<T>(reinterpret_cast<const void*>(address));
}

template <typename T>
void store(uintptr_t address, T value) {
    storeUnaligned(reinterpret_cast<void*>(address), 0, value);
}

bool readable(uintptr_t address, size_t bytes) {
    return !IsBadReadPtr(reinterpret_cast<const void*>(address), bytes);
}

// Releases made while unwinding may run finalisers of compiled code; an
// exception one of them raises is dropped rather than unwound over the frames
// this walk is leaving.
void releaseObjectContained(ObjectHandle object) {
    runDroppingExceptions([object] { unlockObject(object); });
}

void releaseStringAt(uintptr_t slot) {
    unlockString(load<StringHandle>(slot));
    store<StringHandle>(slot, nullptr);
}

void releaseObjectAt(uintptr_t slot) {
    releaseObjectContained(load<ObjectHandle>(slot));
    store<ObjectHandle>(slot, nullptr);
}

// Performs the operations of the tag at `tag` (0xEB n 0x2F ...) on the
// arguments at `arguments`. Returns whether the call site is outside any
// protected region.
bool runCallSiteTag(uintptr_t tag, uintptr_t arguments) {
    const uintptr_t end = tag + 2 + load<uint8_t>(tag + 1);
    bool outside = false;
    for (uintptr_t p = tag + 3; p < end;) {
        const uint8_t op = load<uint8_t>(p++);
        if (op == 0) break;
        if (op == kReleaseStringArgument) releaseStringAt(arguments + load<uint8_t>(p++));
        else if (op == kReleaseObjectArgument) releaseObjectAt(arguments + load<uint8_t>(p++));
        else if (op == kOutsideProtectedRegion) outside = true;
    }
    return outside;
}

// The first byte after "leave, ret, 0x2F" at or after `from`, or 0.
uintptr_t findTrailer(uintptr_t from) {
    for (uintptr_t p = from; p < from + kMaxTrailerScan; ++p) {
        // Each page is checked once, when the three bytes read first reach it.
        if (p == from || ((p + 2) & 0xFFF) < 3) {
            if (!readable(p, 3)) return 0;
        }
        if (load<uint8_t>(p) == kLeave && load<uint8_t>(p + 1) == kReturn && load<uint8_t>(p + 2) == kTagMark) {
            return p + 3;
        }
    }
    return 0;
}

[[noreturn]] void resumeAtCatch(ObjectHandle exception, uintptr_t callerFrame, uintptr_t handler) {
    // The catch clause owns the reference from here; a value the slot held
    // from an earlier catch is released as leaving the frame would.
    releaseObjectAt(callerFrame - 4);
    store<ObjectHandle>(callerFrame - 4, exception);
    UnwindScopes::abandonBelow(callerFrame);
    dropSystemHandlersBelow(callerFrame);
    sutakibaResumeInFrame(callerFrame, handler);
}

// Runs the trailer operations at `ops` for the frame `callerFrame`; returns
// the handler address of a catch clause that takes the exception, or 0.
uintptr_t runTrailer(uintptr_t ops, uintptr_t callerFrame, ObjectHandle exception, bool outside) {
    for (uintptr_t p = ops;;) {
        const uint8_t op = load<uint8_t>(p++);
        if (op == 0) break;
        if (op == kCatchClause) {
            const int16_t classIndex = load<int16_t>(p);
            const uintptr_t displacementField = p + 2;
            const int32_t displacement = load<int32_t>(displacementField);
            p += 6;
            if (!outside && objectIsa(exception, classTableEntry(classIndex))) {
                return displacementField + static_cast<uintptr_t>(displacement);
            }
        } else if (op == kReleaseLocalString) {
            releaseStringAt(callerFrame + static_cast<uintptr_t>(static_cast<intptr_t>(load<int16_t>(p))));
            p += 2;
        } else if (op == kReleaseLocalObject) {
            releaseObjectAt(callerFrame + static_cast<uintptr_t>(static_cast<intptr_t>(load<int16_t>(p))));
            p += 2;
        }
    }
    releaseObjectAt(callerFrame - 4);
    return 0;
}

}  // namespace

void dropSystemHandlersBelow(uintptr_t framePointer) {
    NT_TIB* tib;
    asm("movl %%fs:0x18, %0" : "=r"(tib));  // the thread's information block
    while (reinterpret_cast<uintptr_t>(tib->ExceptionList) < framePointer) {
        tib->ExceptionList = tib->ExceptionList->Next;
    }
}

void unwindException(ObjectHandle exception, uintptr_t frame) {
    SystemEntry* systemEntry = UnwindScopes::innermostSystemEntry();
    while (frame && readable(frame, 12)) {
        const uintptr_t callerFrame = load<uintptr_t>(frame);
        // The next frame lies at or beyond the place where the system called
        // the runtime: no catch clause below it took the exception.
        if (systemEntry && reinterpret_cast<uintptr_t>(systemEntry) < callerFrame) break;
        // The runtime frames up to the caller are left: their scopes release
        // what they hold before the caller's own cleanup runs.
        UnwindScopes::abandonBelow(callerFrame);
        const uintptr_t returnAddress = load<uintptr_t>(frame + 4);
        if (!readable(returnAddress, 4)) break;
        if (load<uint8_t>(returnAddress) == kShortJump && load<uint8_t>(returnAddress + 2) == kTagMark) {
            const bool outside = runCallSiteTag(returnAddress, frame + 8);
            if (const uintptr_t trailer = findTrailer(returnAddress)) {
                if (const uintptr_t handler = runTrailer(trailer, callerFrame, exception, outside)) {
                    resumeAtCatch(exception, callerFrame, handler);
                }
            }
        }
        if (callerFrame < frame || callerFrame - frame > kMaxFrameStep) break;
        frame = callerFrame;
    }
    // The system's frames are never jumped over: the exception waits at the
    // system entry (also when the chain broke below it).
    if (systemEntry) UnwindScopes::holdAt(systemEntry, exception);
    endWithUnhandledException(exception);
}

ObjectHandle newBuiltinException(const char* className) { return newObject(builtinClass(className)); }

std::string unhandledExceptionMessage(std::string_view className) {
    constexpr size_t kUnhandledExceptionEntry = 4;
    std::string text = messageTableEntry(kUnhandledExceptionEntry);
    for (size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at + className.size())) {
        text.replace(at, 2, className);
    }
    return text;
}

void endWithUnhandledException(ObjectHandle exception) {
    // No further events while the message is up or the process ends.
    stopCompiledCode();
    if (!objectIsa(exception, builtinClass("EndException"))) {
        showRuntimeMessage(unhandledExceptionMessage(viewOf(exception ? exception->classRecord->name : nullptr)));
        ExitProcess(kExitUnhandledException);
    }
    ExitProcess(0);
}

}  // namespace runtime
