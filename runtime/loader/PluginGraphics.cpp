#include "loader/PluginGraphics.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "objects/BuiltinClasses.h"
#include "objects/ResourceObjects.h"

namespace runtime::plugins {
namespace {

// Process-wide, on the GUI thread: the Graphics objects handed to plug-ins
// and the device contexts they draw into.
std::vector<std::pair<ObjectHandle, HDC>>& registry() {
    static std::vector<std::pair<ObjectHandle, HDC>> entries;
    return entries;
}

// The description words in data1: bits per pixel, width, height, byte count.
constexpr int32_t kDescriptionHeaderBytes = 16;
constexpr int32_t kSupportedDepth = 16;

int32_t rowBytes(int32_t width) { return (width * 2 + 3) & ~3; }

uint32_t wordAt(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

ObjectRef newGraphicsFor(HDC dc) {
    ObjectRef graphics = ObjectRef::adopt(newObject(builtinClass("Graphics")));
    if (graphics) registry().emplace_back(graphics.get(), dc);
    return graphics;
}

void forgetGraphics(ObjectHandle graphics) {
    std::erase_if(registry(), [graphics](const auto& entry) { return entry.first == graphics; });
}

HDC graphicsDC(ObjectHandle graphics) {
    if (!graphics) return nullptr;
    for (const auto& [object, dc] : registry()) {
        if (object == graphics) return dc;
    }
    return nullptr;
}

bool describePicture(ObjectHandle picture, PluginPictureDescription& description) {
    if (!picture || picture->classRecord != builtinClass(kPictureClass.name)) return false;
    const auto& fields = *reinterpret_cast<const ResourceFields*>(reinterpret_cast<const char*>(picture) +
                                                                  kResourceFieldsOffset);
    const uint8_t* data = fields.data;
    if (!data) return false;
    const auto depth = static_cast<int32_t>(wordAt(data));
    const auto width = static_cast<int32_t>(wordAt(data + 4));
    const auto height = static_cast<int32_t>(wordAt(data + 8));
    const uint32_t byteCount = wordAt(data + 12);
    if (depth != kSupportedDepth || width <= 0 || height <= 0 || width > 0x7FFF || height > 0x7FFF) return false;
    if (byteCount < static_cast<uint32_t>(rowBytes(width)) * static_cast<uint32_t>(height)) return false;
    description = {depth, data + kDescriptionHeaderBytes, width, height};
    return true;
}

void drawPictureDescription(HDC dc, const PluginPictureDescription& d, int32_t x, int32_t y) {
    if (!dc || !d.pixels || d.bitsPerPixel != kSupportedDepth || d.width <= 0 || d.height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = d.width;
    info.bmiHeader.biHeight = -d.height;  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 16;  // five bits per colour
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(d.width), static_cast<DWORD>(d.height), 0, 0, 0,
                      static_cast<UINT>(d.height), d.pixels, &info, DIB_RGB_COLORS);
}

}  // namespace runtime::plugins
