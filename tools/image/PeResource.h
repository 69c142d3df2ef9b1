// Finds the image locator (resource 101 of type "PICKLE") in a 32-bit PE
// executable by walking its resource directory.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace imagetool {

struct ImageLocator {
    uint32_t fileOffset;        // of the resource's data in the file
    uint32_t size;              // of the resource's data
    uint64_t endOfSectionData;  // the first file offset after every section's data
};

// Throws ToolError naming `path` when the file is no PE executable or has no
// usable locator.
ImageLocator findImageLocator(const std::string& path, std::span<const uint8_t> pe);

}  // namespace imagetool
