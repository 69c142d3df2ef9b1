// Calls an entry routine the way compiled code does, from a frame with a
// call-site tag and a catch clause for RuntimeException, so that tests can
// see which exception a call raises. The test environment puts
// RuntimeException at class-table index 0 (installRuntimeExceptionClass).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectLifetime.h"
#include "text/StringValue.h"

extern "C" ObjectHandle catchingCall(const void* routine, const uint32_t* words, int32_t count, uint64_t* result,
                                     int32_t floatResult);

namespace testing_support {

inline void installRuntimeExceptionClass() {
    runtime::defineBuiltinClasses();
    runtime::resetClassTable(1);
    runtime::setClassTableEntry(0, runtime::builtinClass("RuntimeException"));
}

template <typename T>
void pushArgument(std::vector<uint32_t>& words, T value) {
    if constexpr (std::is_same_v<T, double>) {
        uint32_t halves[2];
        std::memcpy(halves, &value, sizeof value);
        words.push_back(halves[0]);
        words.push_back(halves[1]);
    } else if constexpr (std::is_same_v<T, float>) {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof value);
        words.push_back(bits);
    } else if constexpr (std::is_pointer_v<T>) {
        words.push_back(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value)));
    } else {
        words.push_back(static_cast<uint32_t>(value));
    }
}

// The class name of the exception the call raised ("" when it returned); the
// caught exception is released.
template <typename R, typename... Parameters, typename... Arguments>
std::string raisedBy(R (*routine)(Parameters...), Arguments... arguments) {
    static_assert(sizeof...(Parameters) == sizeof...(Arguments));
    std::vector<uint32_t> words;
    (pushArgument<Parameters>(words, static_cast<Parameters>(arguments)), ...);
    uint64_t result = 0;
    ObjectHandle caught = catchingCall(reinterpret_cast<const void*>(routine), words.data(),
                                       static_cast<int32_t>(words.size()), &result, std::is_floating_point_v<R> ? 1 : 0);
    if (!caught) {
        // A routine that returned a new reference: give it back.
        if constexpr (std::is_same_v<R, StringHandle>) runtime::unlockString(reinterpret_cast<StringHandle>(static_cast<uintptr_t>(result)));
        if constexpr (std::is_same_v<R, ObjectHandle>) runtime::unlockObject(reinterpret_cast<ObjectHandle>(static_cast<uintptr_t>(result)));
        return "";
    }
    std::string name(runtime::viewOf(caught->classRecord->name));
    runtime::unlockObject(caught);
    return name;
}

}  // namespace testing_support
