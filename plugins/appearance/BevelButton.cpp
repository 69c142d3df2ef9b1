// BevelButton: a push, toggle or sticky button drawn by the plug-in, with an
// optional drop-down menu of text rows and separators.
#include "appearance/AppearanceControls.h"
#include "appearance/AppearanceGlue.h"
#include "appearance/BevelButtonData.h"

#include <memory>
#include <new>

namespace appearance {
namespace {

constexpr UINT kFirstMenuCommand = 1000;

PluginEventDefinition gEvents[] = {{"Action", nullptr}};

BevelButtonData& dataOf(ObjectHandle instance) {
    return *controlData<BevelButtonData>(instance, bevelButtonDefinition());
}

void releaseString(StringHandle& s) {
    VELMUnlockString(s);
    s = nullptr;
}

void storeString(StringHandle& field, StringHandle value) {
    VELMLockString(value);
    VELMUnlockString(field);
    field = value;
}

// Rows and receivers are allocated without exceptions: no C++ exception may
// reach the compiled code that called the method. Without memory the row or
// receiver is not added.
MenuRow* newRow(StringHandle text, bool separator) {
    auto* row = new (std::nothrow) MenuRow{nullptr, separator ? nullptr : text, separator ? 1 : 0};
    if (row) VELMLockString(row->text);
    return row;
}

void freeRow(MenuRow* row) {
    VELMUnlockString(row->text);
    delete row;
}

// The link that points at row `index`, or null past the end (or for a
// negative index).
MenuRow** rowLink(BevelButtonData& d, int32_t index) {
    if (index < 0) return nullptr;
    MenuRow** link = &d.rows;
    for (int32_t i = 0; i < index && *link; ++i) link = &(*link)->next;
    return *link ? link : nullptr;
}

void appendRow(BevelButtonData& d, MenuRow* row) {
    if (!row) return;
    MenuRow** link = &d.rows;
    while (*link) link = &(*link)->next;
    *link = row;
}

RUNTIME_CALL void deleteAllRows(ObjectHandle instance) {
    BevelButtonData& d = dataOf(instance);
    while (MenuRow* row = d.rows) {
        d.rows = row->next;
        freeRow(row);
    }
}

RUNTIME_CALL void addRow(ObjectHandle instance, StringHandle text) { appendRow(dataOf(instance), newRow(text, false)); }

RUNTIME_CALL void addSeparator(ObjectHandle instance) { appendRow(dataOf(instance), newRow(nullptr, true)); }

RUNTIME_CALL void removeRow(ObjectHandle instance, int32_t index) {
    if (MenuRow** link = rowLink(dataOf(instance), index)) {
        MenuRow* row = *link;
        *link = row->next;
        freeRow(row);
    }
}

RUNTIME_CALL void insertRow(ObjectHandle instance, int32_t index, StringHandle text) {
    BevelButtonData& d = dataOf(instance);
    MenuRow* row = newRow(text, false);
    if (!row) return;
    MenuRow** link = &d.rows;
    for (int32_t i = 0; i < index && *link; ++i) link = &(*link)->next;
    row->next = *link;
    *link = row;
}

RUNTIME_CALL StringHandle listGet(ObjectHandle instance, int32_t index) {
    MenuRow** link = rowLink(dataOf(instance), index);
    if (!link || (*link)->isSeparator) return nullptr;
    VELMLockString((*link)->text);
    return (*link)->text;
}

RUNTIME_CALL void listSet(ObjectHandle instance, int32_t index, StringHandle text) {
    MenuRow** link = rowLink(dataOf(instance), index);
    if (!link) return;
    storeString((*link)->text, text);
    (*link)->isSeparator = 0;
}

RUNTIME_CALL void addReceiver(ObjectHandle instance, ObjectHandle receiver) {
    BevelButtonData& d = dataOf(instance);
    auto* entry = new (std::nothrow) ReceiverEntry{d.receivers, receiver};
    if (!entry) return;
    VELMLockObject(receiver);
    d.receivers = entry;
}

RUNTIME_CALL void removeReceiver(ObjectHandle instance, ObjectHandle receiver) {
    for (ReceiverEntry** link = &dataOf(instance).receivers; *link; link = &(*link)->next) {
        if ((*link)->receiver == receiver) {
            ReceiverEntry* entry = *link;
            *link = entry->next;
            VELMUnlockObject(entry->receiver);
            delete entry;
            return;
        }
    }
}

RUNTIME_CALL StringHandle captionGet(ObjectHandle instance, int32_t) {
    StringHandle caption = dataOf(instance).caption;
    VELMLockString(caption);
    return caption;
}

RUNTIME_CALL void captionSet(ObjectHandle instance, int32_t, StringHandle value) {
    storeString(dataOf(instance).caption, value);
    VELMInvalidateControl(instance);
}

RUNTIME_CALL int32_t menuValueGet(ObjectHandle instance, int32_t) { return dataOf(instance).menuValue; }

RUNTIME_CALL void menuValueSet(ObjectHandle instance, int32_t, int32_t value) {
    dataOf(instance).menuValue = static_cast<int16_t>(value);
}

// Setters of directly read integers and Booleans that repaint: the parameter
// is the field's position in the data block.
RUNTIME_CALL void integerSet(ObjectHandle instance, int32_t position, int32_t value) {
    *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(&dataOf(instance)) + position) = value;
    VELMInvalidateControl(instance);
}

RUNTIME_CALL void booleanSet(ObjectHandle instance, int32_t position, bool value) {
    *(reinterpret_cast<uint8_t*>(&dataOf(instance)) + position) = value ? 1 : 0;
    VELMInvalidateControl(instance);
}

// The icon's description stays locked while the button shows it.
void dropIcon(BevelButtonData& d) {
    if (d.icon) unlockPictureDescription(d.icon);
    VELMUnlockObject(d.icon);
    d.icon = nullptr;
    d.iconDescription = PluginPictureDescription{};
}

RUNTIME_CALL void iconSet(ObjectHandle instance, int32_t, ObjectHandle picture) {
    BevelButtonData& d = dataOf(instance);
    VELMLockObject(picture);
    dropIcon(d);
    d.icon = picture;
    if (picture) lockPictureDescription(picture, &d.iconDescription);
    VELMInvalidateControl(instance);
}

RUNTIME_CALL void construct(ObjectHandle instance) {
    BevelButtonData& d = dataOf(instance);
    StringHandle defaultCaption = PluginDefaultControlCaption();
    d.caption = PluginInterpretConstantValue(defaultCaption);
    VELMUnlockString(defaultCaption);
    d.captionPlacement = 1;
    d.captionAlign = 3;
    d.textFont = PluginDefaultControlFont();
    d.textSize = PluginDefaultControlFontSize();
}

RUNTIME_CALL void destroy(ObjectHandle instance) {
    BevelButtonData& d = dataOf(instance);
    releaseString(d.caption);
    releaseString(d.textFont);
    deleteAllRows(instance);
    while (ReceiverEntry* entry = d.receivers) {
        d.receivers = entry->next;
        VELMUnlockObject(entry->receiver);
        delete entry;
    }
    dropIcon(d);
}

RUNTIME_CALL void fontReset(ObjectHandle instance) {
    BevelButtonData& d = dataOf(instance);
    VELMUnlockString(d.textFont);
    d.textFont = PluginDefaultControlFont();
    d.textSize = PluginDefaultControlFontSize();
}

// Every receiver gets PerformAction, most recently added first. A receiver
// may add or remove receivers (itself included) while it is told, so the list
// is copied first and each receiver is held until all have been told: no entry
// or object is used after the list has let go of it. An exception raised by a
// receiver unwinds past this frame: the receivers it holds then stay alive,
// which is the lesser fault than telling one that is gone.
void tellReceivers(const BevelButtonData& d) {
    using PerformAction = void(RUNTIME_CALL*)(ObjectHandle);
    size_t count = 0;
    for (const ReceiverEntry* entry = d.receivers; entry; entry = entry->next) ++count;
    if (count == 0) return;
    const std::unique_ptr<ObjectHandle[]> held(new (std::nothrow) ObjectHandle[count]);
    if (!held) return;
    size_t i = 0;
    for (const ReceiverEntry* entry = d.receivers; entry; entry = entry->next) {
        held[i++] = entry->receiver;
        VELMLockObject(entry->receiver);
    }
    for (i = 0; i < count; ++i) {
        void* routine = GetInterfaceRoutine(held[i], "actionNotificationReceiver", "PerformAction");
        if (routine) reinterpret_cast<PerformAction>(routine)(held[i]);
    }
    for (i = 0; i < count; ++i) VELMUnlockObject(held[i]);
}

// Opens the drop-down menu; true when a row was chosen.
bool runMenu(ObjectHandle instance, BevelButtonData& d) {
    HMENU menu = CreatePopupMenu();
    UINT index = 0;
    for (const MenuRow* row = d.rows; row; row = row->next, ++index) {
        if (row->isSeparator) {
            AppendMenuA(menu, MF_SEPARATOR, kFirstMenuCommand + index, nullptr);
        } else {
            const UINT checked = static_cast<int32_t>(index) == d.menuValue ? MF_CHECKED : MF_UNCHECKED;
            AppendMenuA(menu, MF_STRING | checked, kFirstMenuCommand + index, glue::stringText(row->text));
        }
    }
    const RECT bounds = controlBounds(instance);
    POINT corner = d.hasMenu == 2 ? POINT{bounds.right, bounds.top} : POINT{bounds.left, bounds.bottom};
    // The bounds are in the window's client coordinates; the control's own
    // handle may be its pane's.
    HWND window = GetAncestor(GetControlHWND(instance), GA_ROOT);
    ClientToScreen(window, &corner);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, corner.x, corner.y, 0, window, nullptr));
    DestroyMenu(menu);
    d.pressed = 0;
    VELMInvalidateControl(instance);
    if (chosen < kFirstMenuCommand) return false;
    d.menuValue = static_cast<int16_t>(chosen - kFirstMenuCommand);
    return true;
}

RUNTIME_CALL bool mouseDown(ObjectHandle instance, int32_t, int32_t, int32_t) {
    if (!controlEnabled(instance)) return true;  // consumed, nothing happens
    BevelButtonData& d = dataOf(instance);
    d.pressed = 1;
    VELMInvalidateControl(instance);
    if (d.hasMenu == 0) return true;  // track the mouse until it is released
    if (runMenu(instance, d)) raiseEvent(instance, gEvents[0]);
    return false;
}

RUNTIME_CALL void mouseDrag(ObjectHandle instance, int32_t x, int32_t y) {
    BevelButtonData& d = dataOf(instance);
    if (d.hasMenu != 0 || !controlEnabled(instance)) return;
    const RECT b = controlBounds(instance);
    const uint8_t inside = (x >= b.left && x < b.right && y >= b.top && y < b.bottom) ? 1 : 0;
    if (inside != d.pressed) {
        d.pressed = inside;
        VELMInvalidateControl(instance);
    }
}

RUNTIME_CALL void mouseUp(ObjectHandle instance, int32_t, int32_t) {
    BevelButtonData& d = dataOf(instance);
    if (d.hasMenu != 0 || !d.pressed) return;
    d.pressed = 0;
    if (d.buttonType == 1) d.value = d.value ? 0 : 1;
    if (d.buttonType == 2) d.value = 1;
    VELMInvalidateControl(instance);
    raiseEvent(instance, gEvents[0]);
    tellReceivers(d);
}

RUNTIME_CALL void paint(ObjectHandle instance, ObjectHandle graphics) {
    drawBevelButton(instance, dataOf(instance), graphics, controlBounds(instance));
}

RUNTIME_CALL void stateChanged(ObjectHandle instance) { VELMInvalidateControl(instance); }

template <typename Routine>
void* code(Routine* routine) {
    return reinterpret_cast<void*>(routine);
}

void* const kDirect = reinterpret_cast<void*>(kPropertyDirect);

const char* const kCaptionAlignLabels[] = {"=#484", "=#485", "=#486", "=#487"};
const char* const kPlacementLabels[] = {"=#488", "=#489", "=#490", "=#491", "=#492", "=#493"};
const char* const kIconAlignLabels[] = {"=#474", "=#475", "=#476", "=#477", "=#478",
                                        "=#479", "=#480", "=#481", "=#482", "=#483"};
const char* const kBevelLabels[] = {"=#468", "=#469", "=#470"};
const char* const kMenuLabels[] = {"=#494", "=#495", "=#496"};
const char* const kButtonTypeLabels[] = {"=#471", "=#472", "=#473"};

PluginPropertyDefinition gProperties[] = {
    {"Appearance", "Caption", "String", 0, code(captionGet), code(captionSet), 0, 0, 0, nullptr},
    {"Appearance", "CaptionAlign", "Integer", 0, kDirect, code(integerSet), 20, 0, 4, kCaptionAlignLabels},
    {"Appearance", "CaptionPlacement", "Integer", 0, kDirect, code(integerSet), 24, 0, 6, kPlacementLabels},
    {"Appearance", "CaptionDelta", "Integer", 0, kDirect, code(integerSet), 76, 0, 0, nullptr},
    {"Appearance", "Icon", "Picture", 0, kDirect, code(iconSet), 64, 0, 0, nullptr},
    {"Appearance", "IconAlign", "Integer", 0, kDirect, code(integerSet), 16, 0, 10, kIconAlignLabels},
    {"Appearance", "IconDX", "Integer", 0, kDirect, code(integerSet), 68, 0, 0, nullptr},
    {"Appearance", "IconDY", "Integer", 0, kDirect, code(integerSet), 72, 0, 0, nullptr},
    {"Appearance", "Bevel", "Integer", 0, kDirect, kDirect, 80, 0, 3, kBevelLabels},
    {"Appearance", "HasMenu", "Integer", 0, kDirect, kDirect, 8, 0, 3, kMenuLabels},
    {"Initial State", "Value", "Boolean", 0, kDirect, code(booleanSet), 30, 0, 0, nullptr},
    {"Initial State", "MenuValue", "Integer", 0, code(menuValueGet), code(menuValueSet), 28, 0, 0, nullptr},
    {"Behavior", "ButtonType", "integer", 0, kDirect, kDirect, 96, 0, 3, kButtonTypeLabels},
    {"Font", "TextFont", "string", 0, kDirect, kDirect, 36, 0, 0, nullptr},
    {"Font", "TextSize", "integer", 0, kDirect, kDirect, 40, 0, 0, nullptr},
    {"Font", "Bold", "boolean", 0, kDirect, kDirect, 44, 0, 0, nullptr},
    {"Font", "Italic", "boolean", 0, kDirect, kDirect, 45, 0, 0, nullptr},
    {"Font", "Underline", "boolean", 0, kDirect, kDirect, 46, 0, 0, nullptr},
};

PluginMethodDefinition gMethods[] = {
    {code(deleteAllRows), nullptr, "DeleteAllRows"},
    {code(addRow), nullptr, "AddRow(text As String)"},
    {code(addSeparator), nullptr, "AddSeparator"},
    {code(removeRow), nullptr, "RemoveRow(row As Integer)"},
    {code(insertRow), nullptr, "InsertRow(row As Integer, text As String)"},
    {code(listGet), code(listSet), "List(row As Integer) As String"},
    {code(addReceiver), nullptr, "addActionNotificationReceiver(receiver As actionNotificationReceiver)"},
    {code(removeReceiver), nullptr, "removeActionNotificationReceiver(receiver As actionNotificationReceiver)"},
};

void* const gBehaviour[kBehaviourSlotCount] = {
    code(construct), code(destroy),      code(paint),        code(mouseDown), code(mouseDrag),
    code(mouseUp),   code(stateChanged), code(stateChanged), nullptr,         nullptr,
    nullptr,         nullptr,            nullptr,            code(fontReset)};

const char* const gNotices[][3] = {{"ActionSource", "%1 pressed", ""}};

AppearanceControlDefinition gBevelButton{
    {4, "BevelButton", static_cast<int32_t>(sizeof(BevelButtonData)), 0x18, {172, 173}, 60, 22, gProperties, 18, gMethods, 8, gEvents, 1,
     gBehaviour, 0, nullptr, 0, "ActionSource"},
    gNotices,
    1};

}  // namespace

AppearanceControlDefinition& bevelButtonDefinition() { return gBevelButton; }

}  // namespace appearance
