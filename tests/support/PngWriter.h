// Writes 24-bit RGB pixels as a PNG file (stored, uncompressed deflate
// blocks): enough for screenshots that tests leave as artifacts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// `rgb` holds width * height * 3 bytes, rows top to bottom.
bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

// Captures a rectangle of the screen (screen coordinates); `allBlack`, when
// given, tells whether nothing was drawn there yet.
bool writeScreenRect(const std::string& path, const RECT& area, bool* allBlack = nullptr);

// Captures the whole screen through the screen's device context.
bool writeScreenshot(const std::string& path);

}  // namespace testing_support
