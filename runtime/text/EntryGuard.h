// The one way the body of an entry routine runs when it may allocate through
// the standard library: no C++ exception crosses the cdecl boundary. The only
// exceptions that the string and number code can meet are failed allocations,
// and those end the process as every other exhaustion of memory does.
#pragma once

#include "text/FatalError.h"

namespace runtime {

template <typename Body>
auto guardedEntry(Body&& body) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        runOutOfMemory();
    }
}

}  // namespace runtime
