#include "objects/WindowLayout.h"
#include <cstring>

#include "objects/DataStream.h"
#include "objects/DataStreamWriter.h"

namespace runtime {
namespace {

// A count of items that each take at least `minimumBytes`: one beyond what is
// left is damage, refused before anything is reserved for it.
bool plausibleCount(const DataStream& in, size_t total, int32_t count, size_t minimumBytes) {
    if (in.failed() || count < 0) return false;
    return static_cast<size_t>(count) <= (total - in.position()) / minimumBytes;
}

bool readPairs(DataStream& in, size_t total, int32_t count, std::vector<PropertyText>& pairs) {
    if (!plausibleCount(in, total, count, 2)) return false;
    pairs.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        std::string name = in.readString();
        std::string value = in.readString();
        if (in.failed()) return false;
        pairs.emplace_back(std::move(name), std::move(value));
    }
    return true;
}

bool readControls(DataStream& in, size_t total, std::vector<LayoutControl>& controls) {
    const int32_t count = in.readVarint();
    if (!plausibleCount(in, total, count, 2)) return false;
    for (int32_t i = 0; i < count; ++i) {
        LayoutControl& control = controls.emplace_back();
        control.classIndex = in.readVarint();
        const int32_t pairs = in.readVarint();
        if (!readPairs(in, total, pairs, control.properties)) return false;
    }
    return !in.failed();
}

bool readBindings(DataStream& in, size_t total, std::vector<LayoutBinding>& bindings) {
    const int32_t count = in.readVarint();
    if (!plausibleCount(in, total, count, 7)) return false;
    for (int32_t i = 0; i < count; ++i) {
        LayoutBinding& b = bindings.emplace_back();
        b.sourceControl = in.readVarint();
        b.sourcePart = in.readString();
        b.targetControl = in.readVarint();
        b.targetPart = in.readString();
        b.binderClass = in.readVarint();
        b.sourcePartText = in.readString();
        b.targetPartText = in.readString();
        if (in.failed()) return false;
    }
    return true;
}

void writePairs(DataStreamWriter& out, const std::vector<PropertyText>& pairs) {
    for (const auto& [name, value] : pairs) {
        out.writeString(name);
        out.writeString(value);
    }
}

}  // namespace

std::optional<WindowLayout> parseWindowLayout(std::span<const uint8_t> bytes) {
    DataStream in(bytes);
    WindowLayout layout;
    const int32_t propertyCount = in.readVarint();
    layout.windowClass = in.readVarint();
    if (!readPairs(in, bytes.size(), propertyCount, layout.properties)) return std::nullopt;
    if (!readControls(in, bytes.size(), layout.controls)) return std::nullopt;
    if (!readBindings(in, bytes.size(), layout.bindings)) return std::nullopt;
    // The stream ends exactly at its length.
    if (in.failed() || !in.atEnd()) return std::nullopt;
    return layout;
}

std::vector<uint8_t> encodeWindowLayout(const WindowLayout& layout) {
    DataStreamWriter out;
    out.writeVarint(static_cast<int32_t>(layout.properties.size()));
    out.writeVarint(layout.windowClass);
    writePairs(out, layout.properties);
    out.writeVarint(static_cast<int32_t>(layout.controls.size()));
    for (const LayoutControl& control : layout.controls) {
        out.writeVarint(control.classIndex);
        out.writeVarint(static_cast<int32_t>(control.properties.size()));
        writePairs(out, control.properties);
    }
    out.writeVarint(static_cast<int32_t>(layout.bindings.size()));
    for (const LayoutBinding& b : layout.bindings) {
        out.writeVarint(b.sourceControl);
        out.writeString(b.sourcePart);
        out.writeVarint(b.targetControl);
        out.writeString(b.targetPart);
        out.writeVarint(b.binderClass);
        out.writeString(b.sourcePartText);
        out.writeString(b.targetPartText);
    }
    return out.bytes();
}

std::vector<uint8_t> encodeSizedWindowLayout(const WindowLayout& layout) {
    const std::vector<uint8_t> stream = encodeWindowLayout(layout);
    std::vector<uint8_t> bytes(4);
    const auto length = static_cast<uint32_t>(stream.size());
    std::memcpy(bytes.data(), &length, sizeof length);
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    return bytes;
}

}  // namespace runtime
