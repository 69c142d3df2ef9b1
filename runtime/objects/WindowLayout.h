// A window layout of the image: the window's class and properties as
// name/value texts, one entry per control (class and properties, again as
// texts) and the bindings between controls. Parsing checks every count and
// length against the bytes present, so a damaged layout is refused without
// reading outside it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace runtime {

using PropertyText = std::pair<std::string, std::string>;  // name, value text

struct LayoutControl {
    int32_t classIndex = 0;
    std::vector<PropertyText> properties;
};

struct LayoutBinding {
    int32_t sourceControl = 0;
    std::string sourcePart;
    int32_t targetControl = 0;
    std::string targetPart;
    int32_t binderClass = 0;
    std::string sourcePartText;
    std::string targetPartText;
};

struct WindowLayout {
    int32_t windowClass = 0;
    std::vector<PropertyText> properties;
    std::vector<LayoutControl> controls;
    std::vector<LayoutBinding> bindings;
};

// The L bytes after the layout's length word. Null when a count or a length
// runs past the end, a count is negative, or bytes are left over.
std::optional<WindowLayout> parseWindowLayout(std::span<const uint8_t> bytes);

// The bytes of a layout (without the length word).
std::vector<uint8_t> encodeWindowLayout(const WindowLayout& layout);

// A layout as the image holds it: the length word, then the stream.
std::vector<uint8_t> encodeSizedWindowLayout(const WindowLayout& layout);

}  // namespace runtime
