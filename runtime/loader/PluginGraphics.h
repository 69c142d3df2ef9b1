// Graphics objects that plug-ins draw with: each is tied to a device context
// for as long as the host keeps it registered, and pictures are handed to
// plug-ins as descriptions of their pixels.
#pragma once

#include <windows.h>

#include "glue/PluginRecords.h"
#include "objects/ObjectRef.h"

namespace runtime::plugins {

// A new Graphics object that draws into `dc` until forgetGraphics.
ObjectRef newGraphicsFor(HDC dc);
// Unties a Graphics object from its device context; it draws nowhere after.
void forgetGraphics(ObjectHandle graphics);
// The device context of a Graphics object, or null.
HDC graphicsDC(ObjectHandle graphics);

// Fills `description` from a Picture object's pixel description; false (and
// nothing filled) for nil, another class or a malformed description.
bool describePicture(ObjectHandle picture, PluginPictureDescription& description);
// Draws a 16-bit picture description with its top-left corner at (x, y).
void drawPictureDescription(HDC dc, const PluginPictureDescription& description, int32_t x, int32_t y);

}  // namespace runtime::plugins
