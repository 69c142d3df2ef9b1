#include "ui/controls/StaticTextPane.h"

#include <string_view>
#include <vector>

#include "objects/UnwindScope.h"
#include "ui/controls/ControlKind.h"
#include "ui/controls/FontFamilies.h"
#include "ui/controls/FontFamily.h"

namespace runtime::controls {
namespace {

struct StaticTextFields {
    StringHandle text;  // Text and Caption
    int32_t textAlign;  // 0 left, 1 centre, 2 right
    int32_t textColor;  // 0x00RRGGBB
    uint8_t multiLine;
};

StaticTextFields& fields(ObjectHandle c) { return kindFields<StaticTextFields>(c); }

COLORREF systemColour(int32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The lines of a single-line text: split at CR, LF or CR LF.
std::vector<std::wstring_view> linesOf(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r' && text[i] != L'\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

class StaticTextPane final : public Pane {
public:
    StaticTextPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        setFont(fontRequestOf(control));
        // The window keeps the caption as its text too, so that screen
        // readers and other programs can read what the label shows.
        if (HWND h = createPaneWindow()) {
            const std::wstring text = systemText(fields(control).text);
            callSystem([&] { return SetWindowTextW(h, text.c_str()); });
        }
    }

    bool takesFocus() const override { return false; }
    bool takesMouse() const override { return false; }

    void paintPane(HDC dc) override {
        const StaticTextFields& f = fields(control());
        const std::wstring text = systemText(f.text);
        const int32_t width = bounds().width();
        SetTextColor(dc, systemColour(f.textColor));
        SetBkMode(dc, TRANSPARENT);
        if (f.multiLine) {
            const UINT align = f.textAlign == 1 ? DT_CENTER : f.textAlign == 2 ? DT_RIGHT : DT_LEFT;
            RECT r{0, 0, width, 0x7FFF};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_NOPREFIX | align);
            return;
        }
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SetTextAlign(dc, TA_BASELINE | TA_LEFT);
        int32_t baseline = metrics.tmAscent;
        for (std::wstring_view line : linesOf(text)) {
            SIZE extent{};
            GetTextExtentPoint32W(dc, line.data(), static_cast<int>(line.size()), &extent);
            const int32_t x = f.textAlign == 1 ? (width - extent.cx) / 2 : f.textAlign == 2 ? width - extent.cx : 0;
            TextOutW(dc, x, baseline, line.data(), static_cast<int>(line.size()));
            baseline += metrics.tmHeight + metrics.tmExternalLeading;
        }
    }
};

void createPane(ObjectHandle c) { createPaneOf<StaticTextPane>(c); }

void repaint(ObjectHandle c) {
    if (Pane* pane = controlFields(c).pane) pane->invalidate();
}

StringHandle textGetter(ObjectHandle c) { return c ? copyString(fields(c).text) : nullptr; }
int32_t alignGetter(ObjectHandle c) { return c ? fields(c).textAlign : 0; }
int32_t colourGetter(ObjectHandle c) { return c ? fields(c).textColor : 0; }
bool multiLineGetter(ObjectHandle c) { return c && fields(c).multiLine; }
void multiLineSetter(ObjectHandle c, bool value) {
    if (!c) return;
    fields(c).multiLine = value;
    repaint(c);
}
template <int32_t Attribute>
void attributeSetter(ObjectHandle c, bool value) { staticAttributeSetter(c, Attribute, value); }
template <fontFamily::Attribute Which>
bool attributeGetter(ObjectHandle c) { return fontFamily::attribute(c, Which); }

}  // namespace

void defineStaticText() {
    ClassRecord* cls = builtinClass("StaticText");
    cls->finaliser = finaliseTextControl<StaticTextFields, &StaticTextFields::text>;
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Text", PropertyType::kString, textGetter, staticCaptionSetter);
    addProperty(cls, "Caption", PropertyType::kString, textGetter, staticCaptionSetter);
    addProperty(cls, "TextAlign", PropertyType::kInteger, alignGetter, staticTextAlignSetter);
    addProperty(cls, "TextColor", PropertyType::kColor, colourGetter, staticTextColorSetter);
    addProperty(cls, "MultiLine", PropertyType::kBoolean, multiLineGetter, multiLineSetter);
    addProperty(cls, "TextFont", PropertyType::kString, fontFamily::textFont, staticTextFontSetter);
    addProperty(cls, "TextSize", PropertyType::kInteger, fontFamily::textSize, staticTextSizeSetter);
    addProperty(cls, "Bold", PropertyType::kBoolean, attributeGetter<fontFamily::Attribute::kBold>, attributeSetter<0>);
    addProperty(cls, "Italic", PropertyType::kBoolean, attributeGetter<fontFamily::Attribute::kItalic>,
                attributeSetter<1>);
    addProperty(cls, "Underline", PropertyType::kBoolean, attributeGetter<fontFamily::Attribute::kUnderline>,
                attributeSetter<2>);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

void staticCaptionSetter(ObjectHandle c, StringHandle text) {
    if (!c) return;
    setCaption(c, fields(c).text, text);
    repaint(c);
}

void staticTextAlignSetter(ObjectHandle c, int32_t align) {
    if (!c) return;
    fields(c).textAlign = align;
    repaint(c);
}

void staticTextColorSetter(ObjectHandle c, int32_t colour) {
    if (!c || fields(c).textColor == colour) return;
    fields(c).textColor = colour;
    repaint(c);
}

void staticTextFontSetter(ObjectHandle c, StringHandle name) {
    if (c && viewOf(controlFont(c).textFont) != viewOf(name)) fontFamily::setTextFont(c, name);
}

void staticTextSizeSetter(ObjectHandle c, int32_t size) {
    if (c && controlFont(c).textSize != size) fontFamily::setTextSize(c, size);
}

void staticAttributeSetter(ObjectHandle c, int32_t attribute, bool value) {
    if (!c || attribute < 0 || attribute > 2) return;
    const auto which = static_cast<fontFamily::Attribute>(attribute);
    if (fontFamily::attribute(c, which) != value) fontFamily::setAttribute(c, which, value);
}
