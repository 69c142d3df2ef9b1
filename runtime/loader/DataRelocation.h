// The data relocation stream of data2: u16 words that move a cursor through
// data1 and add the code base or the data base to runs of 32-bit words.
#pragma once

#include <cstdint>
#include <span>

#include "loader/LoadResult.h"

namespace runtime::loader {

// Applies the stream to data1. A run that would reach past the end of data1
// fails the load; skips may move the cursor anywhere, since only runs write.
// Words of any other pattern are ignored and leave the cursor where it is.
LoadResult relocateData(std::span<uint8_t> data1, std::span<const uint8_t> stream, uint32_t codeBase,
                        uint32_t dataBase);

}  // namespace runtime::loader
