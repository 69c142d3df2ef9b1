#include "ui/FontCache.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "objects/ProjectItems.h"
#include "text/CaseFold.h"
#include "text/SystemText.h"

namespace runtime {
namespace {

struct CachedFont {
    FontRequest request;
    int32_t references;
    HFONT font;
};

// Process-wide, on the GUI thread.
std::vector<CachedFont> gFonts;
std::optional<int32_t> gScript;  // set only by setApplicationScript

bool sameRequest(const FontRequest& a, const FontRequest& b) {
    return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
           a.underline == b.underline;
}

}  // namespace

std::string_view fontFace(std::string_view name) {
    struct Mapping {
        std::string_view requested, face;
    };
    static constexpr Mapping kFaces[] = {
        {"System", "MS Sans Serif"}, {"Application", "MS Sans Serif"}, {"Geneva", "MS Sans Serif"},
        {"Courier", "Courier New"},  {"Times", "Times New Roman"},     {"Helvetica", "Arial"},
        {"Osaka", "MS UI Gothic"},
    };
    for (const Mapping& m : kFaces) {
        if (foldedEquals(m.requested, name)) return m.face;
    }
    return name;
}

BYTE scriptCharacterSet(int32_t script) {
    switch (script) {
        case 13: return SHIFTJIS_CHARSET;
        case 21: return CHINESEBIG5_CHARSET;
        case 12: return HEBREW_CHARSET;
        case 14: return ARABIC_CHARSET;
        case 16: return GREEK_CHARSET;
        case 19: return TURKISH_CHARSET;
        case 24: return THAI_CHARSET;
        case 34: return RUSSIAN_CHARSET;
        default: return DEFAULT_CHARSET;
    }
}

void setApplicationScript(int32_t script) { gScript = script; }

// The image's settings carry the script number in their first byte.
int32_t applicationScript() { return gScript.value_or(applicationSettings().firstByte); }

HFONT acquireFont(const FontRequest& request) {
    for (CachedFont& cached : gFonts) {
        if (sameRequest(cached.request, request)) {
            ++cached.references;
            return cached.font;
        }
    }
    const std::wstring face = toSystemText(fontFace(request.name));
    HFONT font = CreateFontW(-request.size, 0, 0, 0, request.bold ? FW_BOLD : FW_NORMAL, request.italic,
                             request.underline, FALSE, scriptCharacterSet(applicationScript()), OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
    if (font) gFonts.push_back({request, 1, font});
    return font;
}

void releaseFont(HFONT font) {
    auto it = std::find_if(gFonts.begin(), gFonts.end(), [&](const CachedFont& c) { return c.font == font; });
    if (it == gFonts.end() || --it->references > 0) return;
    DeleteObject(it->font);
    gFonts.erase(it);
}

size_t cachedFontCount() { return gFonts.size(); }

}  // namespace runtime
