// Fuzzes the parsers of the serialised streams of the image: the menu bar and
// the settings. The first byte chooses the parser; a stream that parses must
// encode back to bytes that parse to the same structure.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "objects/DataStreamWriter.h"
#include "objects/ProjectStreams.h"

using namespace runtime;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::span<const uint8_t> stream(data + 1, size - 1);
    if (data[0] & 1) {
        if (auto settings = parseSettingsStream(stream)) {
            auto again = parseSettingsStream(encodeSettingsStream(*settings));
            if (!again || again->messages != settings->messages || again->mdiTitle != settings->mdiTitle) std::abort();
        }
    } else if (auto bar = parseMenuBarStream(stream)) {
        auto again = parseMenuBarStream(encodeMenuBarStream(*bar));
        if (!again || again->menus.size() != bar->menus.size()) std::abort();
    }
    return 0;
}
