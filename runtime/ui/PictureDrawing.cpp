#include "ui/PictureDrawing.h"

#include <cstring>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ResourceObjects.h"

namespace runtime {
namespace {

uint32_t wordAt(const uint8_t* p, int index) {
    uint32_t word;
    std::memcpy(&word, p + 4 * index, 4);
    return word;
}

constexpr uint32_t kBitsPerPixel = 16;
constexpr uint32_t kLargestSide = 32767;

}  // namespace

PictureDescription pictureDescription(ObjectHandle picture) {
    if (!picture || !inheritsFrom(picture->classRecord, builtinClass("Picture"))) return {};
    const auto* fields = reinterpret_cast<const ResourceFields*>(reinterpret_cast<const char*>(picture) +
                                                                 kResourceFieldsOffset);
    const uint8_t* description = fields->data;
    if (!description) return {};
    const uint32_t bits = wordAt(description, 0), width = wordAt(description, 1), height = wordAt(description, 2);
    const uint32_t byteCount = wordAt(description, 3);
    if (bits != kBitsPerPixel || width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return {};
    const uint64_t rowBytes = (uint64_t{width} * 2 + 3) & ~uint64_t{3};
    if (byteCount < rowBytes * height) return {};
    return {static_cast<int32_t>(width), static_cast<int32_t>(height), description + 16};
}

bool drawPicture(HDC dc, ObjectHandle picture, int x, int y) {
    const PictureDescription p = pictureDescription(picture);
    if (!p.pixels) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;  // 5 bits per colour
    return StretchDIBits(dc, x, y, p.width, p.height, 0, 0, p.width, p.height, p.pixels, &info, DIB_RGB_COLORS,
                         SRCCOPY) != 0;
}

}  // namespace runtime
