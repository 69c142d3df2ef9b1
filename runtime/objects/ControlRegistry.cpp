#include "objects/ControlRegistry.h"

#include "text/CaseFold.h"

namespace runtime {

uint8_t registryBucket(std::string_view key) {
    int32_t hash = 0;
    for (char c : key) {
        int32_t byte = static_cast<int8_t>(c);
        if (byte >= 'a' && byte <= 'z') byte -= 'a' - 'A';
        hash = byte ^ static_cast<int32_t>(static_cast<uint32_t>(hash) << 2);
    }
    return static_cast<uint8_t>(hash & 0xFF);
}

std::string registryKey(std::string_view name, int32_t index) {
    std::string key(name);
    if (index != kNoIndex) key += "$" + std::to_string(index);
    return key;
}

bool registryKeysEqual(std::string_view a, std::string_view b) { return foldedEquals(a, b); }

}  // namespace runtime
