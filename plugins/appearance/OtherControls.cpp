// The smaller appearance controls: disclosure triangle, little arrows, chasing
// arrows, image well, popup arrow, placard and separator.
#include "appearance/AppearanceControls.h"
#include "appearance/AppearanceGlue.h"

namespace appearance {
namespace {

template <typename Routine>
void* code(Routine* routine) {
    return reinterpret_cast<void*>(routine);
}
void* const kDirect = reinterpret_cast<void*>(kPropertyDirect);

constexpr const char* kMouseDown = "MouseDown(X As Integer, Y As Integer) As Boolean";
constexpr const char* kMouseDrag = "MouseDrag(X As Integer, Y As Integer)";
constexpr const char* kMouseUp = "MouseUp(X As Integer, Y As Integer)";

void fillPolygon(HDC dc, const POINT* points, int count, int sysColor) {
    if (!dc) return;
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(sysColor));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, points, count);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

HDC dcOf(ObjectHandle graphics) { return VELMGraphicsDC(graphics); }

// Mouse events passed on to the control's own handlers.
bool passMouseDown(ObjectHandle instance, const PluginEventDefinition& event, int32_t x, int32_t y) {
    using Handler = bool(RUNTIME_CALL*)(ObjectHandle, int32_t, int32_t);
    void* handler = GetEventInstance(instance, event);
    return handler && reinterpret_cast<Handler>(handler)(instance, x, y);
}
void passMouse(ObjectHandle instance, const PluginEventDefinition& event, int32_t x, int32_t y) {
    using Handler = void(RUNTIME_CALL*)(ObjectHandle, int32_t, int32_t);
    if (void* handler = GetEventInstance(instance, event)) reinterpret_cast<Handler>(handler)(instance, x, y);
}

// --- DisclosureTriangle: Value and Facing; a click inverts Value.
struct TriangleData {
    uint8_t value;
    uint8_t unused[3];
    int32_t facing;
    int32_t unused8;
};
PluginEventDefinition gTriangleEvents[] = {{"Action", nullptr}};
TriangleData& triangle(ObjectHandle i) { return *controlData<TriangleData>(i, disclosureTriangleDefinition()); }

RUNTIME_CALL void triangleValueSet(ObjectHandle instance, int32_t, bool value) {
    triangle(instance).value = value ? 1 : 0;
    VELMInvalidateControl(instance);
}
RUNTIME_CALL void trianglePaint(ObjectHandle instance, ObjectHandle graphics) {
    const RECT b = controlBounds(instance);
    const TriangleData& d = triangle(instance);
    const bool right = d.facing == 0;
    // Pointing along Facing while closed, downward while open.
    const POINT closedRight[] = {{b.left + 1, b.top}, {b.left + 6, b.top + 5}, {b.left + 1, b.top + 10}};
    const POINT closedLeft[] = {{b.left + 6, b.top}, {b.left + 1, b.top + 5}, {b.left + 6, b.top + 10}};
    const POINT open[] = {{b.left, b.top + 2}, {b.left + 10, b.top + 2}, {b.left + 5, b.top + 7}};
    fillPolygon(dcOf(graphics), d.value ? open : right ? closedRight : closedLeft, 3, COLOR_BTNHIGHLIGHT);
}
RUNTIME_CALL bool triangleMouseDown(ObjectHandle instance, int32_t, int32_t, int32_t) {
    TriangleData& d = triangle(instance);
    d.value = d.value ? 0 : 1;
    VELMInvalidateControl(instance);
    raiseEvent(instance, gTriangleEvents[0]);
    return false;
}
const char* const kFacingTwo[] = {"=#497", "=#498"};
PluginPropertyDefinition gTriangleProperties[] = {
    {"Initial State", "Value", "Boolean", 0, kDirect, code(triangleValueSet), 0, 0, 0, nullptr},
    {"Appearance", "Facing", "Integer", 0, kDirect, kDirect, 4, 0, 2, kFacingTwo},
};
void* const gTriangleBehaviour[kBehaviourSlotCount] = {nullptr, nullptr, code(trianglePaint), code(triangleMouseDown)};
AppearanceControlDefinition gTriangle{{4, "DisclosureTriangle", 12, 0, {174, 175}, 12, 12, gTriangleProperties, 2,
                                       nullptr, 0, gTriangleEvents, 1, gTriangleBehaviour, 0, nullptr, 0, ""},
                                      nullptr,
                                      0};

// --- LittleArrows: Up in the upper 12 pixels, Down below; repeats while held.
struct ArrowsData {
    int32_t half;  // the half pressed: 0 none, 1 up, 2 down
    int32_t pressTick;
    int32_t showing;  // the pressed half is drawn pressed (the mouse is on it)
};
PluginEventDefinition gArrowsEvents[] = {{"Up", nullptr}, {"Down", nullptr}};
ArrowsData& arrows(ObjectHandle i) { return *controlData<ArrowsData>(i, littleArrowsDefinition()); }
int32_t ticks() { return static_cast<int32_t>(GetTickCount() / 16); }
int32_t halfAt(ObjectHandle instance, int32_t x, int32_t y) {
    const RECT b = controlBounds(instance);
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return 0;
    return y < b.top + 12 ? 1 : 2;
}
RUNTIME_CALL void arrowsPaint(ObjectHandle instance, ObjectHandle graphics) {
    const RECT b = controlBounds(instance);
    const ArrowsData& d = arrows(instance);
    const POINT up[] = {{b.left + 2, b.top + 9}, {b.left + 10, b.top + 9}, {b.left + 6, b.top + 3}};
    const POINT downArrow[] = {{b.left + 2, b.top + 14}, {b.left + 10, b.top + 14}, {b.left + 6, b.top + 20}};
    const int32_t shown = d.showing ? d.half : 0;
    fillPolygon(dcOf(graphics), up, 3, shown == 1 ? COLOR_BTNSHADOW : COLOR_BTNTEXT);
    fillPolygon(dcOf(graphics), downArrow, 3, shown == 2 ? COLOR_BTNSHADOW : COLOR_BTNTEXT);
}
RUNTIME_CALL bool arrowsMouseDown(ObjectHandle instance, int32_t x, int32_t y, int32_t) {
    ArrowsData& d = arrows(instance);
    d.half = halfAt(instance, x, y);
    d.pressTick = ticks();
    d.showing = d.half != 0;
    if (d.half) raiseEvent(instance, gArrowsEvents[d.half - 1]);
    VELMInvalidateControl(instance);
    return true;
}
RUNTIME_CALL void arrowsMouseDrag(ObjectHandle instance, int32_t x, int32_t y) {
    ArrowsData& d = arrows(instance);
    if (!d.half) return;
    const int32_t showing = halfAt(instance, x, y) == d.half;
    if (showing != d.showing) {
        d.showing = showing;
        VELMInvalidateControl(instance);
    }
    if (showing && ticks() - d.pressTick >= 15) raiseEvent(instance, gArrowsEvents[d.half - 1]);
}
RUNTIME_CALL void arrowsMouseUp(ObjectHandle instance, int32_t, int32_t) {
    arrows(instance).half = 0;
    arrows(instance).showing = 0;
    VELMInvalidateControl(instance);
}
void* const gArrowsBehaviour[kBehaviourSlotCount] = {nullptr, nullptr, code(arrowsPaint), code(arrowsMouseDown),
                                                     code(arrowsMouseDrag), code(arrowsMouseUp)};
AppearanceControlDefinition gArrows{{4, "LittleArrows", 12, 0x10, {176, 177}, 13, 23, nullptr, 0, nullptr, 0,
                                     gArrowsEvents, 2, gArrowsBehaviour, 0, nullptr, 0, ""},
                                    nullptr,
                                    0};

// --- ChasingArrows: eight frames, advanced on each idle call while visible.
struct ChasingData {
    int32_t frame;
};
ChasingData& chasing(ObjectHandle i) { return *controlData<ChasingData>(i, chasingArrowsDefinition()); }
RUNTIME_CALL void chasingPaint(ObjectHandle instance, ObjectHandle graphics) {
    HDC dc = dcOf(graphics);
    if (!dc) return;
    const RECT b = controlBounds(instance);
    // Eight segments round the centre; the current frame's one is dark.
    static constexpr POINT kSpokes[8] = {{0, -6}, {4, -4}, {6, 0}, {4, 4}, {0, 6}, {-4, 4}, {-6, 0}, {-4, -4}};
    const int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
    for (int i = 0; i < 8; ++i) {
        const RECT dot{cx + kSpokes[i].x - 1, cy + kSpokes[i].y - 1, cx + kSpokes[i].x + 2, cy + kSpokes[i].y + 2};
        FillRect(dc, &dot, GetSysColorBrush(i == chasing(instance).frame ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    }
}
RUNTIME_CALL void chasingIdle(ObjectHandle instance) {
    if (!GetControlVisible(instance)) return;
    ChasingData& d = chasing(instance);
    d.frame = (d.frame + 1) % 8;
    VELMInvalidateControl(instance);
}
void* const gChasingBehaviour[kBehaviourSlotCount] = {nullptr, nullptr, code(chasingPaint), nullptr, nullptr,
                                                      nullptr, nullptr, nullptr, nullptr, nullptr,
                                                      nullptr, code(chasingIdle)};
AppearanceControlDefinition gChasing{{4, "ChasingArrows", 4, 0, {178, 179}, 16, 16, nullptr, 0, nullptr, 0, nullptr,
                                      0, gChasingBehaviour, 0, nullptr, 0, ""},
                                     nullptr,
                                     0};

// --- ImageWell, PopupArrow, Placard: mouse events passed on.
struct ImageWellData {
    ObjectHandle image;
    PluginPictureDescription description;  // locked while the well shows the image
};
#if defined(__i386__)
static_assert(sizeof(ImageWellData) == 20);
#endif
PluginEventDefinition gWellEvents[] = {{kMouseDown, nullptr}, {kMouseDrag, nullptr}, {kMouseUp, nullptr}};
ImageWellData& well(ObjectHandle i) { return *controlData<ImageWellData>(i, imageWellDefinition()); }
void dropImage(ImageWellData& d) {
    if (d.image) unlockPictureDescription(d.image);
    VELMUnlockObject(d.image);
    d.image = nullptr;
    d.description = PluginPictureDescription{};
}
RUNTIME_CALL void wellImageSet(ObjectHandle instance, int32_t, ObjectHandle picture) {
    ImageWellData& d = well(instance);
    VELMLockObject(picture);
    dropImage(d);
    d.image = picture;
    if (picture) lockPictureDescription(picture, &d.description);
    VELMInvalidateControl(instance);
}
RUNTIME_CALL void wellDestroy(ObjectHandle instance) { dropImage(well(instance)); }
// A sunken well with the image centred in it.
RUNTIME_CALL void wellPaint(ObjectHandle instance, ObjectHandle graphics) {
    HDC dc = dcOf(graphics);
    if (!dc) return;
    RECT b = controlBounds(instance);
    DrawEdge(dc, &b, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillRect(dc, &b, GetSysColorBrush(COLOR_WINDOW));
    const ImageWellData& d = well(instance);
    if (!d.image || d.description.width <= 0) return;
    const int x = b.left + (b.right - b.left - d.description.width) / 2;
    const int y = b.top + (b.bottom - b.top - d.description.height) / 2;
    HRGN previousClip = CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = GetClipRgn(dc, previousClip) == 1;
    IntersectClipRect(dc, b.left, b.top, b.right, b.bottom);
    drawPicturePrimitive(graphics, &d.description, x, y);
    SelectClipRgn(dc, hadClip ? previousClip : nullptr);
    DeleteObject(previousClip);
}
RUNTIME_CALL bool wellMouseDown(ObjectHandle i, int32_t x, int32_t y, int32_t) { return passMouseDown(i, gWellEvents[0], x, y); }
RUNTIME_CALL void wellMouseDrag(ObjectHandle i, int32_t x, int32_t y) { passMouse(i, gWellEvents[1], x, y); }
RUNTIME_CALL void wellMouseUp(ObjectHandle i, int32_t x, int32_t y) { passMouse(i, gWellEvents[2], x, y); }
PluginPropertyDefinition gWellProperties[] = {
    {"Appearance", "Image", "Picture", 0, kDirect, code(wellImageSet), 0, 0, 0, nullptr}};
void* const gWellBehaviour[kBehaviourSlotCount] = {nullptr, code(wellDestroy), code(wellPaint), code(wellMouseDown),
                                                   code(wellMouseDrag), code(wellMouseUp)};
AppearanceControlDefinition gWell{{4, "ImageWell", 20, 0x08, {182, 183}, 32, 32, gWellProperties, 1, nullptr, 0,
                                   gWellEvents, 3, gWellBehaviour, 0, nullptr, 0, ""},
                                  nullptr,
                                  0};

struct PopupArrowData {
    int32_t facing;
    int32_t unused;
};
PluginEventDefinition gPopupEvents[] = {{kMouseDown, nullptr}, {kMouseDrag, nullptr}, {kMouseUp, nullptr}};
RUNTIME_CALL void popupPaint(ObjectHandle instance, ObjectHandle graphics) {
    const RECT b = controlBounds(instance);
    const int32_t facing = controlData<PopupArrowData>(instance, popupArrowDefinition())->facing;
    const int side = facing >= 4 ? 4 : 8;
    const int half = side / 2;
    const int x = b.left, y = b.top;
    POINT p[3];
    switch (facing % 4) {
        case 0: p[0] = {x, y}; p[1] = {x + half, y + half}; p[2] = {x, y + side}; break;
        case 1: p[0] = {x + half, y}; p[1] = {x, y + half}; p[2] = {x + half, y + side}; break;
        case 2: p[0] = {x, y + half}; p[1] = {x + half, y}; p[2] = {x + side, y + half}; break;
        default: p[0] = {x, y}; p[1] = {x + side, y}; p[2] = {x + half, y + half}; break;
    }
    fillPolygon(dcOf(graphics), p, 3, COLOR_BTNTEXT);
}
RUNTIME_CALL bool popupMouseDown(ObjectHandle i, int32_t x, int32_t y, int32_t) { return passMouseDown(i, gPopupEvents[0], x, y); }
RUNTIME_CALL void popupMouseDrag(ObjectHandle i, int32_t x, int32_t y) { passMouse(i, gPopupEvents[1], x, y); }
RUNTIME_CALL void popupMouseUp(ObjectHandle i, int32_t x, int32_t y) { passMouse(i, gPopupEvents[2], x, y); }
const char* const kFacingEight[] = {"=#499", "=#500", "=#501", "=#502", "=#503", "=#504", "=#505", "=#506"};
PluginPropertyDefinition gPopupProperties[] = {
    {"Appearance", "Facing", "Integer", kPropertyRedrawFlag, kDirect, kDirect, 0, 0, 8, kFacingEight}};
void* const gPopupBehaviour[kBehaviourSlotCount] = {nullptr, nullptr, code(popupPaint), code(popupMouseDown),
                                                    code(popupMouseDrag), code(popupMouseUp)};
AppearanceControlDefinition gPopup{{4, "PopupArrow", 8, 0, {184, 185}, 10, 10, gPopupProperties, 1, nullptr, 0,
                                    gPopupEvents, 3, gPopupBehaviour, 0, nullptr, 0, ""},
                                   nullptr,
                                   0};

PluginEventDefinition gPlacardEvents[] = {{kMouseDown, nullptr}, {kMouseDrag, nullptr}, {kMouseUp, nullptr}};
uint8_t& placardValue(ObjectHandle i) { return *controlData<uint8_t>(i, placardDefinition()); }
RUNTIME_CALL bool placardGet(ObjectHandle instance, int32_t) { return placardValue(instance) != 0; }
RUNTIME_CALL void placardSet(ObjectHandle instance, int32_t, bool value) {
    OutputDebugStringA("placardSetBoolean\r\n");
    placardValue(instance) = value ? 1 : 0;
    VELMInvalidateControl(instance);
}
RUNTIME_CALL void placardPaint(ObjectHandle instance, ObjectHandle graphics) {
    OutputDebugStringA("placardRedraw\r\n");
    HDC dc = dcOf(graphics);
    if (!dc) return;
    RECT b = controlBounds(instance);
    const bool enabled = controlEnabled(instance);
    OutputDebugStringA(enabled ? "drawNonAppearancePlacard\r\n" : "drawNonAppearancePlacard disabled\r\n");
    DrawEdge(dc, &b, placardValue(instance) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    FillRect(dc, &b, GetSysColorBrush(enabled ? COLOR_BTNFACE : COLOR_3DLIGHT));
}
RUNTIME_CALL bool placardMouseDown(ObjectHandle i, int32_t x, int32_t y, int32_t) { return passMouseDown(i, gPlacardEvents[0], x, y); }
RUNTIME_CALL void placardMouseDrag(ObjectHandle i, int32_t x, int32_t y) { passMouse(i, gPlacardEvents[1], x, y); }
RUNTIME_CALL void placardMouseUp(ObjectHandle i, int32_t x, int32_t y) { passMouse(i, gPlacardEvents[2], x, y); }
PluginPropertyDefinition gPlacardProperties[] = {
    {"Appearance", "Value", "boolean", 0, code(placardGet), code(placardSet), 0, 0, 0, nullptr}};
void* const gPlacardBehaviour[kBehaviourSlotCount] = {nullptr, nullptr, code(placardPaint), code(placardMouseDown),
                                                      code(placardMouseDrag), code(placardMouseUp)};
AppearanceControlDefinition gPlacard{{4, "Placard", 1, 0x18, {186, 187}, 64, 64, gPlacardProperties, 1, nullptr, 0,
                                      gPlacardEvents, 3, gPlacardBehaviour, 0, nullptr, 0, ""},
                                     nullptr,
                                     0};

RUNTIME_CALL void separatorPaint(ObjectHandle instance, ObjectHandle graphics) {
    HDC dc = dcOf(graphics);
    if (!dc) return;
    RECT b = controlBounds(instance);
    const bool vertical = (b.bottom - b.top) > (b.right - b.left);
    RECT line = vertical ? RECT{(b.left + b.right) / 2 - 1, b.top, (b.left + b.right) / 2 + 1, b.bottom}
                         : RECT{b.left, (b.top + b.bottom) / 2 - 1, b.right, (b.top + b.bottom) / 2 + 1};
    DrawEdge(dc, &line, EDGE_ETCHED, vertical ? BF_LEFT : BF_TOP);
}
void* const gSeparatorBehaviour[kBehaviourSlotCount] = {nullptr, nullptr, code(separatorPaint)};
AppearanceControlDefinition gSeparator{{4, "Separator", 1, 0, {180, 181}, 64, 4, nullptr, 0, nullptr, 0, nullptr, 0,
                                        gSeparatorBehaviour, 0, nullptr, 0, ""},
                                       nullptr,
                                       0};

}  // namespace

AppearanceControlDefinition& disclosureTriangleDefinition() { return gTriangle; }
AppearanceControlDefinition& littleArrowsDefinition() { return gArrows; }
AppearanceControlDefinition& chasingArrowsDefinition() { return gChasing; }
AppearanceControlDefinition& imageWellDefinition() { return gWell; }
AppearanceControlDefinition& popupArrowDefinition() { return gPopup; }
AppearanceControlDefinition& placardDefinition() { return gPlacard; }
AppearanceControlDefinition& separatorDefinition() { return gSeparator; }

}  // namespace appearance
