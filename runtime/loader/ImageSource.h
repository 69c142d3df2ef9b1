// Where the application image comes from: the executable's own file from the
// offset that the "PICKLE" resource holds, or, with the placeholder "PICK" or
// no resource, the four development files of the current directory.
#pragma once

#include <cstdint>

#include "loader/ImageContainer.h"
#include "loader/LoadResult.h"

namespace runtime {

// The image's file offset in the executable; 0 for development mode.
loader::LoadResult locateImage(uint32_t& offset);

// Reads the four blocks appended to the executable at `offset`.
loader::LoadResult readAppendedImage(uint32_t offset, loader::ImageBlocks& blocks);

// Reads code1.dat, data1.dat, code2.dat and data2.dat, in that order.
loader::LoadResult readDevelopmentImage(loader::ImageBlocks& blocks);

}  // namespace runtime
