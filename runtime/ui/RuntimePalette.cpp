#include "ui/RuntimePalette.h"

#include <vector>

namespace runtime {

HPALETTE runtimePalette() {
    // Process-wide, made once on the GUI thread and never deleted.
    static HPALETTE palette = [] {
        constexpr int kLevels = 6, kEntries = kLevels * kLevels * kLevels;
        std::vector<BYTE> block(sizeof(LOGPALETTE) + (kEntries - 1) * sizeof(PALETTEENTRY));
        auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = kEntries;
        int i = 0;
        for (int r = 0; r < kLevels; ++r) {
            for (int g = 0; g < kLevels; ++g) {
                for (int b = 0; b < kLevels; ++b) {
                    logical->palPalEntry[i++] = {static_cast<BYTE>(r * 51), static_cast<BYTE>(g * 51),
                                                 static_cast<BYTE>(b * 51), 0};
                }
            }
        }
        return CreatePalette(logical);
    }();
    return palette;
}

void selectRuntimePalette(HDC dc) {
    if (HPALETTE palette = runtimePalette()) {
        SelectPalette(dc, palette, TRUE);
        RealizePalette(dc);
    }
}

void realizeRuntimePalette(HWND window) {
    HPALETTE palette = runtimePalette();
    if (!palette) return;
    HDC dc = GetDC(window);
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    RealizePalette(dc);
    SelectPalette(dc, old, FALSE);
    ReleaseDC(window, dc);
}

}  // namespace runtime
