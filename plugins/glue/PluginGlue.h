// The plug-in's half of the calling contract: the resolver the host handed to
// VELMPluginMain, and glue routines that find their runtime routine through it
// on first use and keep the address. A plug-in holds one GlueRoutine object per
// runtime routine its own code calls, named after that routine, so it contains
// only the glue it needs and asks the resolver only for names it calls.
#pragma once

#include <cstdint>
#include <type_traits>

#include "RuntimeCall.h"
#include "glue/PluginRecords.h"
#include "text/StringRecord.h"

namespace glue {

// Stores the resolver (VELMPluginMain's argument) for every later lookup.
void setResolver(PluginResolver resolver);
// Asks the resolver for `name`; null when there is no resolver yet.
void* resolveRuntimeRoutine(const char* name);

// A runtime routine of signature R(Args...), resolved once and cached. The
// resolver's answer is not checked beyond 0: a routine the host does not
// provide is asked for again next time, and the call gives the neutral value
// of its result type (0, nil, false) instead of jumping to address 0.
template <typename R, typename... Args>
class GlueRoutine {
public:
    constexpr explicit GlueRoutine(const char* name) : name_(name) {}

    R operator()(Args... args) {
        using Routine = R(RUNTIME_CALL*)(Args...);
        void* address = bound();
        if (!address) {
            if constexpr (std::is_void_v<R>) return;
            else return R{};
        }
        return reinterpret_cast<Routine>(address)(args...);
    }

    // The cached address, resolving it first when there is none yet.
    void* bound() {
        if (!cache_) cache_ = resolveRuntimeRoutine(name_);
        return cache_;
    }
    const char* name() const { return name_; }

private:
    const char* name_;
    void* cache_ = nullptr;
};

// Direct reads of a string value (the record layout is part of the contract).
inline int32_t stringLength(StringHandle s) { return s ? s->length : 0; }
inline const char* stringText(StringHandle s) {
    return s ? reinterpret_cast<const char*>(s->text + 1) : "";
}

}  // namespace glue
