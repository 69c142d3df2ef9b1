// Drawing a bevel button: frame, bevel rings, face, icon, caption, menu mark.
#include "appearance/AppearanceControls.h"
#include "appearance/AppearanceGlue.h"

namespace appearance {
namespace {

void fillWith(HDC dc, const RECT& r, int sysColor) { FillRect(dc, &r, GetSysColorBrush(sysColor)); }

// One ring: left and top edges in one colour, bottom and right in another.
void drawRing(HDC dc, const RECT& r, int topLeft, int bottomRight) {
    fillWith(dc, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
    fillWith(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
    fillWith(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    fillWith(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

POINT iconPosition(const BevelButtonData& d, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    POINT p{r.left + (w - d.iconDescription.width) / 2, r.top + (h - d.iconDescription.height) / 2};
    const int left = r.left + d.iconDX, right = r.right - d.iconDescription.width - d.iconDX;
    const int top = r.top + d.iconDY, bottom = r.bottom - d.iconDescription.height - d.iconDY;
    switch (d.iconAlign) {
        case 0: case 2: p.x = left; break;
        case 3: p.x = right; break;
        case 4: p.y = top; break;
        case 5: p.y = bottom; break;
        case 6: p = {left, top}; break;
        case 7: p = {left, bottom}; break;
        case 8: p = {right, top}; break;
        case 9: p = {right, bottom}; break;
        default: break;  // 1 centres
    }
    return p;
}

POINT captionPosition(const BevelButtonData& d, const RECT& r, int textWidth, const TEXTMETRICA& m,
                      const POINT& icon) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    POINT p{r.left + (w - textWidth) / 2,
            r.top + m.tmAscent + (h - m.tmAscent - m.tmDescent - m.tmExternalLeading) / 2};
    const bool hasIcon = d.icon != nullptr;
    if (hasIcon) {
        switch (d.captionPlacement) {
            case 2: p.x = icon.x + d.iconDescription.width + d.captionDelta; break;
            case 3: p.x = icon.x - textWidth - d.captionDelta; break;
            case 4: p.y = icon.y + d.iconDescription.height + m.tmAscent; break;
            case 5: p.y = icon.y - m.tmDescent - m.tmExternalLeading; break;
            default: break;
        }
    }
    if (!(hasIcon && (d.captionPlacement == 2 || d.captionPlacement == 3))) {
        if (d.captionAlign == 0 || d.captionAlign == 2) p.x = r.left + d.captionDelta;
        if (d.captionAlign == 1) p.x = r.right - textWidth - d.captionDelta;
    }
    return p;
}

void drawMenuMark(HDC dc, const BevelButtonData& d, const RECT& r) {
    if (d.hasMenu != 1 && d.hasMenu != 2) return;
    const POINT down[] = {{r.right - 10, r.bottom - 6}, {r.right - 2, r.bottom - 6}, {r.right - 6, r.bottom - 2}};
    const POINT right[] = {{r.right - 6, r.bottom - 10}, {r.right - 2, r.bottom - 6}, {r.right - 6, r.bottom - 2}};
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, d.hasMenu == 1 ? down : right, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

}  // namespace

void drawBevelButton(ObjectHandle instance, const BevelButtonData& d, ObjectHandle graphics, RECT r) {
    HDC dc = VELMGraphicsDC(graphics);
    if (!dc) return;
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
    const bool enabled = controlEnabled(instance);
    const bool down = d.value != 0;
    if (enabled) {
        for (int32_t ring = 0; ring <= d.bevel && r.right > r.left && r.bottom > r.top; ++ring) {
            const int topLeft = (d.pressed || down) ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT;
            const int bottomRight = down ? COLOR_BTNSHADOW : d.pressed ? COLOR_BTNFACE : COLOR_BTNSHADOW;
            drawRing(dc, r, topLeft, bottomRight);
            InflateRect(&r, -1, -1);
        }
    }
    fillWith(dc, r, down ? COLOR_BTNSHADOW : COLOR_BTNFACE);

    HRGN previousClip = CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = GetClipRgn(dc, previousClip) == 1;
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);

    HFONT font = CreateFontA(-d.textSize, 0, 0, 0, d.bold ? 700 : 400, d.italic, d.underline, 0,
                             static_cast<DWORD>(VELMGetWin32Charset()), 0, 0, 0, 0, glue::stringText(d.textFont));
    HGDIOBJ oldFont = SelectObject(dc, font);
    const POINT icon = iconPosition(d, r);
    if (d.icon) drawPicturePrimitive(graphics, &d.iconDescription, icon.x, icon.y);
    const char* text = glue::stringText(d.caption);
    const int length = glue::stringLength(d.caption);
    SIZE extent{};
    GetTextExtentPointA(dc, text, length, &extent);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const POINT at = captionPosition(d, r, extent.cx, metrics, icon);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE);
    if (enabled) {
        SetTextColor(dc, d.pressed ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNTEXT));
        TextOutA(dc, at.x, at.y, text, length);
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        TextOutA(dc, at.x + 1, at.y + 1, text, length);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        TextOutA(dc, at.x, at.y, text, length);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    drawMenuMark(dc, d, r);

    SelectClipRgn(dc, hadClip ? previousClip : nullptr);
    DeleteObject(previousClip);
}

}  // namespace appearance
