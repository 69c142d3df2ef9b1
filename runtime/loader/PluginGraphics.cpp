#include "loader/PluginGraphics.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "objects/BuiltinClasses.h"
#include "ui/PictureDrawing.h"

namespace runtime::plugins {
namespace {

// Process-wide, on the GUI thread: the Graphics objects handed to plug-ins
// and the device contexts they draw into.
std::vector<std::pair<ObjectHandle, HDC>>& registry() {
    static std::vector<std::pair<ObjectHandle, HDC>> entries;
    return entries;
}

// Pictures of the image hold 16-bit pixels, five bits per colour.
constexpr int32_t kSupportedDepth = 16;

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
    const PictureDescription p = pictureDescription(picture);
    if (!p.pixels) return false;
    description = {kSupportedDepth, p.pixels, p.width, p.height};
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
