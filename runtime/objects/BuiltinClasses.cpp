#include "objects/BuiltinClasses.h"

#include <initializer_list>

#include "comm/NotePlayerEntries.h"
#include "comm/SerialEntries.h"
#include "comm/SocketEntries.h"
#include "files/StreamEntries.h"
#include "objects/ClassRegistry.h"
#include "objects/MenuBarModel.h"
#include "objects/ResourceObjects.h"
#include "objects/SystemObjects.h"
#include "ui/Timer.h"
#include "text/StringValue.h"
#include "text/arrays/Collection.h"

namespace runtime {
namespace {

struct EventRow {
    const char* name;
    const char* parameters;
    const char* result;
};

struct ClassRow {
    const char* name;
    const char* superclass;  // null for a root class
    int32_t instanceSize;
    const char* alternateName;
    std::initializer_list<EventRow> events;
};

constexpr const char* kMouseXY = "X As Integer, Y As Integer";

const std::initializer_list<EventRow> kActionEvent = {{"Action", "", ""}};

// In definition order: the non-visual family, then windows and controls.
const ClassRow kBuiltinClasses[] = {
    {"Object", nullptr, 24, "", {}},
    {"Application", "Object", 28, "VLApplication",
     {{"Open", "", ""},
      {"Close", "", ""},
      {"EnableMenuItems", "", ""},
      {"NewDocument", "", ""},
      {"OpenDocument", "item As FolderItem", ""},
      {"HandleAppleEvent", "event As AppleEvent, eventClass As String, eventID As String", "Boolean"},
      {"Activate", "", ""},
      {"Deactivate", "", ""}}},
    {"MenuItem", "Object", 72, "", {{"EnableMenu", "", ""}, {"Action", "", ""}}},
    {"QuitMenuItem", "MenuItem", 72, "", {}},
    {"RuntimeException", "Object", 24, "", {}},
    {"NilObjectException", "RuntimeException", 24, "java/lang/NullPointerException", {}},
    {"OutOfBoundsException", "RuntimeException", 24, "", {}},
    {"IllegalCastException", "RuntimeException", 24, "", {}},
    {"typeMismatchException", "RuntimeException", 24, "", {}},
    {"stackOverflowException", "RuntimeException", 24, "", {}},
    {"EndException", "RuntimeException", 24, "", {}},
    {"Timer", "Object", kTimerInstanceSize, "", kActionEvent},
    {"Serial", "Object", 64, "", {{"DataAvailable", "", ""}}},
    {"SerialPort", "Object", 44, "", {}},
    {"Socket", "Object", 36, "",
     {{"Connected", "", ""}, {"DataAvailable", "", ""}, {"Error", "", ""}, {"SendComplete", "", ""}}},
    {"FolderItem", "Object", 32, "", {}},
    {"TextInputStream", "Object", 1060, "", {}},
    {"TextOutputStream", "Object", 32, "", {}},
    {"BinaryStream", "Object", 32, "", {}},
    {kPictureClass.name, "Object", kPictureClass.instanceSize, "", {}},
    {kSoundClass.name, "Object", kSoundClass.instanceSize, "", {}},
    {kMovieClass.name, "Object", kMovieClass.instanceSize, "", {}},
    {kResource7Class.name, "Object", kResource7Class.instanceSize, "", {}},
    {kResource8Class.name, "Object", kResource8Class.instanceSize, "", {}},
    {kCursorClass.name, "Object", kCursorClass.instanceSize, "", {}},
    {"Graphics", "Object", 40, "", {}},
    {"Date", "Object", 36, "", {}},
    {"Collection", "Object", 28, "", {}},
    {"MemoryBlock", "Object", 36, "", {}},
    {"Thread", "Object", 32, "", {{"Run", "", ""}}},
    {"Semaphore", "Object", 28, "", {}},
    {"CriticalSection", "Object", 48, "", {}},
    {"Clipboard", "Object", 32, "", {}},
    {"DragItem", "Object", 72, "", {}},
    {kDatabaseClass.name, "Object", kDatabaseClass.instanceSize, "", {}},
    // The process-wide system and keyboard objects.
    {"System", "Object", kSystemObjectSize, "", {}},
    {"Keyboard", "Object", 24, "", {}},
    {"Window", "Object", 112, "",
     {{"Open", "", ""},
      {"Close", "", ""},
      {"CancelClose", "", "Boolean"},
      {"KeyDown", "Key As String", "Boolean"},
      {"MouseMove", kMouseXY, ""},
      {"MouseEnter", "", ""},
      {"MouseExit", "", ""},
      {"Paint", "g As Graphics", ""},
      {"MouseDown", kMouseXY, "Boolean"},
      {"MouseDrag", kMouseXY, ""},
      {"MouseUp", kMouseXY, ""},
      {"EnableMenuItems", "", ""},
      {"Resized", "", ""},
      {"Moved", "", ""},
      {"DropObject", "obj As DragItem", ""},
      {"Activate", "", ""},
      {"Deactivate", "", ""}}},
    {"Dialog", "Window", 112, "", {}},
    {"Applet", "Window", 112, "", {}},
    {"Control", "Object", 88, "",
     {{"CreatePane", "", ""}, {"Open", "", ""}, {"Close", "", ""}, {"DropObject", "obj As DragItem", ""}}},
    {"RectControl", "Control", 88, "", {{"MouseMove", kMouseXY, ""}, {"MouseEnter", "", ""}, {"MouseExit", "", ""}}},
    {"PushButton", "RectControl", 116, "", kActionEvent},
    {"CheckBox", "RectControl", 128, "", kActionEvent},
    {"RadioButton", "RectControl", 120, "", kActionEvent},
    {"StaticText", "RectControl", 116, "", {}},
    {"EditField", "RectControl", 136, "",
     {{"KeyDown", "Key As String", "Boolean"},
      {"GotFocus", "", ""},
      {"LostFocus", "", ""},
      {"SelChange", "", ""},
      {"TextChange", "", ""},
      {"EnableMenuItems", "", ""}}},
    {"Listbox", "RectControl", 524, "",
     {{"Change", "", ""},
      {"DoubleClick", "", ""},
      {"KeyDown", "Key As String", "Boolean"},
      {"EnableMenuItems", "", ""},
      {"ExpandRow", "Row As Integer", ""},
      {"CollapseRow", "Row As Integer", ""},
      {"DragRow", "drag As DragItem, row As Integer", "Boolean"},
      {"SortColumn", "column As Integer", "Boolean"},
      {"CellAction", "Row As Integer, Column As Integer", ""},
      {"GotFocus", "", ""},
      {"LostFocus", "", ""}}},
    {"PopupMenu", "RectControl", 116, "", {{"Change", "", ""}}},
    {"ProgressBar", "RectControl", 96, "", {}},
    {"TabPanel", "RectControl", 120, "", {{"Change", "", ""}}},
    {"GroupBox", "RectControl", 104, "", {}},
    {"Canvas", "RectControl", 100, "",
     {{"Paint", "g As Graphics", ""},
      {"MouseDown", kMouseXY, "Boolean"},
      {"MouseDrag", kMouseXY, ""},
      {"MouseUp", kMouseXY, ""}}},
    {"Slider", "RectControl", 116, "", {{"ValueChanged", "", ""}}},
    {"ScrollBar", "RectControl", 116, "", {{"ValueChanged", "", ""}}},
    {"Rectangle", "RectControl", 104, "", {}},
    {"Oval", "RectControl", 100, "", {}},
    {"RoundRectangle", "RectControl", 104, "", {}},
    {"MoviePlayer", "RectControl", 108, "", {{"Play", "", ""}, {"Stop", "", ""}, {"ControllerSizeChanged", "", ""}}},
    {"NotePlayer", "Control", 100, "", {}},
    {"SpriteSurface", "Control", 1244, "",
     {{"NextFrame", "", ""},
      {"Collision", "s1 As Sprite, s2 As Sprite", ""},
      {"PaintTile", "g As Graphics, xpos As Integer, ypos As Integer", ""}}},
    {"Line", "Control", 112, "", {}},
    {"ContextualMenu", "Control", 96, "", {{"Action", "item As String", ""}}},
};

// Built-in state that needs setting up or releasing with the object.
struct ClassHooks {
    const char* name;
    ObjectHook initialiser;
    ObjectHook finaliser;
};

const ClassHooks kBuiltinHooks[] = {
    {"MenuItem", nullptr, finaliseMenuItem},
    {"Collection", nullptr, arrays::finaliseCollection},
    {"Timer", initialiseTimer, finaliseTimer},
    // Files and streams: the path and the open file go with the object.
    {"FolderItem", nullptr, finaliseFolderItem},
    {"TextInputStream", nullptr, finaliseTextInputStream},
    {"TextOutputStream", nullptr, finaliseTextOutputStream},
    {"BinaryStream", nullptr, finaliseBinaryStream},
    // Communication: ports and connections are closed with their object.
    {"Serial", initialiseSerial, finaliseSerial},
    {"SerialPort", nullptr, finaliseSerialPort},
    {"Socket", initialiseSocket, finaliseSocket},
    {"NotePlayer", initialiseNotePlayer, finaliseNotePlayer},
};

ClassRecord* defineClass(const ClassRow& row) {
    ClassRecord* super = row.superclass ? findBuiltinClass(row.superclass) : nullptr;
    ClassRecord* cls = createClass(row.name, super);
    cls->instanceSize = row.instanceSize;
    cls->alternateName = StringValue::fromCString(row.alternateName).release();
    for (const EventRow& event : row.events) {
        declareEvent(cls, newEventDescriptor(event.name, event.parameters, event.result));
    }
    registerBuiltinClass(cls);
    return cls;
}

}  // namespace

void defineBuiltinClasses() {
    if (findBuiltinClass("Object")) return;
    for (const ClassRow& row : kBuiltinClasses) defineClass(row);
    for (const ClassHooks& hooks : kBuiltinHooks) {
        ClassRecord* cls = findBuiltinClass(hooks.name);
        cls->initialiser = hooks.initialiser;
        cls->finaliser = hooks.finaliser;
    }
}

ClassRecord* builtinClass(std::string_view name) { return findBuiltinClass(name); }

EventDescriptor* builtinEvent(std::string_view className, std::string_view eventName) {
    ClassRecord* cls = findBuiltinClass(className);
    return cls ? declaredEvent(cls, eventName) : nullptr;
}

}  // namespace runtime
