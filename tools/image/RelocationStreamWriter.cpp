#include "RelocationStreamWriter.h"

#include <algorithm>

#include "ToolError.h"
#include "loader/ImageFormat.h"

namespace imagetool {
namespace {

void appendWord(std::vector<uint8_t>& stream, uint16_t word) {
    stream.push_back(static_cast<uint8_t>(word));
    stream.push_back(static_cast<uint8_t>(word >> 8));
}

void appendSkip(std::vector<uint8_t>& stream, uint32_t bytes) {
    while (bytes != 0) {
        const uint32_t step = std::min(bytes, image::kMaxSkipBytes);
        appendWord(stream, static_cast<uint16_t>(image::kSkipWord | (step - 1)));
        bytes -= step;
    }
}

}  // namespace

std::vector<uint8_t> encodeRelocationStream(std::vector<AddressWord> words) {
    std::sort(words.begin(), words.end(), [](const AddressWord& a, const AddressWord& b) { return a.offset < b.offset; });
    std::vector<uint8_t> stream;
    uint32_t cursor = 0;
    for (size_t i = 0; i < words.size();) {
        const AddressWord first = words[i];
        if (first.offset < cursor) {
            throw ToolError("two address words overlap at data1 offset " + std::to_string(first.offset));
        }
        size_t count = 1;
        while (i + count < words.size() && count < image::kMaxRunWords && words[i + count].base == first.base &&
               words[i + count].offset == first.offset + 4 * count) {
            ++count;
        }
        appendSkip(stream, first.offset - cursor);
        const uint16_t run = first.base == AddressBase::Code ? image::kRunCodeWord : image::kRunDataWord;
        appendWord(stream, static_cast<uint16_t>(run | (count - 1)));
        cursor = first.offset + static_cast<uint32_t>(4 * count);
        i += count;
    }
    return stream;
}

}  // namespace imagetool
