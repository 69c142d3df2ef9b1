// Fuzzes the window layout reader: any bytes either parse or are refused
// without reading outside them; what parses encodes back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "objects/WindowLayout.h"

using namespace runtime;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto layout = parseWindowLayout(std::span(data, size));
    if (layout) {
        const auto again = parseWindowLayout(encodeWindowLayout(*layout));
        if (!again || again->controls.size() != layout->controls.size() ||
            again->properties != layout->properties || again->bindings.size() != layout->bindings.size()) {
            std::abort();
        }
    }
    return 0;
}
