// Drawing the pictures of the image (a window's backdrop): 16-bit pixels with
// 5 bits per colour, rows from the top, each row padded to 4 bytes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "objects/ObjectHeader.h"

namespace runtime {

struct PictureDescription {
    int32_t width = 0, height = 0;
    const uint8_t* pixels = nullptr;
};

// The description a Picture object holds, or none (pixels null) when the
// object is no picture or its description is not one this runtime can draw:
// another pixel depth, an empty size, or fewer pixel bytes than the size needs.
PictureDescription pictureDescription(ObjectHandle picture);

// Draws the picture with its top-left corner at (x, y); false when there is
// nothing to draw.
bool drawPicture(HDC dc, ObjectHandle picture, int x, int y);

}  // namespace runtime
