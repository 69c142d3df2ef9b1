// The image tool's outputs: the runtime executable with the image appended and
// its locator patched, the four development files, or the bare image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ImageBuilder.h"

namespace imagetool {

// The four blocks, each a u32 length and its bytes: what follows the runtime in
// the executable.
std::vector<uint8_t> imageContainer(const BuiltImage& image);

// A copy of the runtime executable with the image appended and the PICKLE
// resource pointing at it. A runtime that carries an image already has it
// replaced.
std::vector<uint8_t> attachImage(const std::string& runtimePath, std::vector<uint8_t> runtime, const BuiltImage& image);

// code1.dat, code2.dat, data1.dat and data2.dat in `directory`.
void writeDevelopmentFiles(const BuiltImage& image, const std::string& directory);

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace imagetool
