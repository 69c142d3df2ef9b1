// Encodes the data relocation stream (data2) from the address words of data1:
// skip words of up to 4096 bytes between them and run words of up to 512
// consecutive words that take the same base.
#pragma once

#include <cstdint>
#include <vector>

namespace imagetool {

enum class AddressBase { Code, Data };

struct AddressWord {
    uint32_t offset;  // in data1
    AddressBase base;
};

// The words may come in any order; two words that overlap throw ToolError.
std::vector<uint8_t> encodeRelocationStream(std::vector<AddressWord> words);

}  // namespace imagetool
