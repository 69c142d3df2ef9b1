// The records a plug-in passes to the host's registration routines, and the
// embedded plug-in list of the application image. Plug-in and host share this
// header, so the two sides cannot disagree on a word. Every field is a 32-bit
// word; text fields point to zero-terminated byte text in the plug-in's data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "RuntimeCall.h"

// The routine a plug-in calls to turn a runtime routine's name into its address.
using PluginResolver = void*(RUNTIME_CALL*)(const char* name);
// The single export of a plug-in library.
using PluginMainRoutine = void(RUNTIME_CALL*)(PluginResolver resolver);

// A global method, or one method of a class (versions 3 and 4).
struct PluginMethodDefinition {
    void* routine;        // called when the method is invoked (or its value read)
    void* assignRoutine;  // the assignment form, or null
    const char* declaration;
};

// A global method of a version 1 plug-in: the routine is an index into the
// table of routines the plug-in exported with RegisterPluginExports.
struct PluginMethodDefinitionV1 {
    int32_t exportIndex;
    const char* declaration;
};

// Getter and setter words: a routine, or one of these.
constexpr intptr_t kPropertyDirect = -1;
constexpr int32_t kPropertyRedrawFlag = 1;

struct PluginPropertyDefinition {
    const char* group;  // for a design environment
    const char* name;
    const char* type;   // "Integer", "String", ..., or a class name
    int32_t flags;      // kPropertyRedrawFlag: redraw the control after a direct store
    void* getter;       // a routine (instance, parameter), kPropertyDirect, or null
    void* setter;       // a routine (instance, parameter, value), kPropertyDirect, or null
    int32_t offset;     // in the private data (direct access), else the routines' parameter
    int32_t reserved;
    int32_t labelCount;  // value labels for a design environment
    const char* const* labels;
};

struct PluginEventDefinition {
    const char* declaration;
    void* handle;  // written by the host: what the plug-in passes to GetEventInstance
};

// A routine of the plug-in that answers an event of a superclass by name.
struct PluginExtraRoutine {
    const char* name;
    int32_t exportIndex;
};

// Slots of a control's behaviour table; an empty slot is null.
enum PluginBehaviourSlot : int32_t {
    kBehaviourConstruct = 0,
    kBehaviourDestroy = 1,
    kBehaviourPaint = 2,
    kBehaviourMouseDown = 3,
    kBehaviourMouseDrag = 4,
    kBehaviourMouseUp = 5,
    kBehaviourGotFocus = 6,
    kBehaviourLostFocus = 7,
    kBehaviourKeyDown = 8,
    kBehaviourPaneCreated = 9,
    kBehaviourPaneClosing = 10,
    kBehaviourIdle = 11,
    kBehaviourDrawInto = 12,
    kBehaviourThirteenth = 13,
    kBehaviourSlotCount = 14,
};

// Control definition flags.
constexpr int32_t kControlAcceptsFocus = 1;
constexpr int32_t kControlOwnWindow = 4;
constexpr int32_t kControlReportsCoordinates = 8;

// Control definition, layouts 3 and 4 (the extra routines and the interface
// list are read for layout 4 only).
struct PluginControlDefinition {
    int32_t layout;
    const char* className;
    int32_t dataSize;
    int32_t flags;
    int32_t designNumbers[2];  // not read by the host
    int32_t defaultWidth;
    int32_t defaultHeight;
    PluginPropertyDefinition* properties;
    int32_t propertyCount;
    PluginMethodDefinition* methods;
    int32_t methodCount;
    PluginEventDefinition* events;
    int32_t eventCount;
    void* const* behaviour;
    int32_t dataOffset;  // written by the host: where the private data starts in an instance
    PluginExtraRoutine* extraRoutines;
    int32_t extraRoutineCount;
    const char* interfaces;  // comma-separated
};

// The older layout 1: five-word property entries, export-index methods.
struct PluginPropertyEntryV1 {
    const char* group;
    const char* name;
    const char* type;
    int32_t flags;
    int32_t offset;
};

struct PluginControlDefinitionV1 {
    int32_t layout;  // 1
    const char* className;
    int32_t dataSize;
    int32_t flags;
    int32_t designNumbers[2];
    PluginPropertyEntryV1* properties;
    int32_t propertyCount;
    PluginMethodDefinitionV1* methods;
    int32_t methodCount;
    PluginEventDefinition* events;
    int32_t eventCount;
    void* const* behaviour;
    int32_t dataOffset;  // the host copies the private-data offset back here
};

// Plain classes (PluginRegisterClass) and class extensions
// (PluginRegisterClassExtension, which reads words 1 and 7 to 12).
struct PluginClassDefinition {
    int32_t reserved;
    const char* className;
    const char* superclassName;  // or null
    int32_t dataSize;
    int32_t dataOffset;  // written by the host
    void* initialiser;   // routine (instance) or null
    void* finaliser;     // routine (instance) or null
    PluginPropertyDefinition* properties;
    int32_t propertyCount;
    PluginMethodDefinition* methods;
    int32_t methodCount;
    PluginEventDefinition* events;
    int32_t eventCount;
    PluginExtraRoutine* extraRoutines;
    int32_t extraRoutineCount;
    const char* interfaces;  // comma-separated
};

// A picture as lockPictureDescription describes it to a plug-in: its pixels
// (kept valid until unlockPictureDescription) and its size.
struct PluginPictureDescription {
    int32_t bitsPerPixel;  // 16: five bits per colour
    const uint8_t* pixels;  // rows top to bottom, each padded to 4 bytes
    int32_t width;
    int32_t height;
};

// A colour for VELMSetSpecialBackground: 0x00RRGGBB.
using PluginColour = uint32_t;

// What RegisterPluginExports receives: word 0 is the exported-routine table.
struct PluginExports {
    void* const* routines;
};

// One record of the embedded plug-in list (data1, relocated): the header, the
// file name and the complete library file. `size` counts the bytes from
// offset 4 to the end of the library, less the reserved word.
struct EmbeddedPluginHeader {
    uint32_t next;  // address of the next record, 0 for the last
    uint32_t size;  // 4 + 1 + name length + library length
    uint32_t reserved;
    uint8_t nameLength;
};
constexpr size_t kEmbeddedPluginNameOffset = 13;

#if defined(__i386__)
static_assert(sizeof(PluginMethodDefinition) == 12);
static_assert(offsetof(PluginMethodDefinition, routine) == 0);
static_assert(offsetof(PluginMethodDefinition, assignRoutine) == 4);
static_assert(offsetof(PluginMethodDefinition, declaration) == 8);
static_assert(sizeof(PluginMethodDefinitionV1) == 8);
static_assert(offsetof(PluginMethodDefinitionV1, declaration) == 4);
static_assert(sizeof(PluginPropertyDefinition) == 40);
static_assert(offsetof(PluginPropertyDefinition, group) == 0);
static_assert(offsetof(PluginPropertyDefinition, name) == 4);
static_assert(offsetof(PluginPropertyDefinition, type) == 8);
static_assert(offsetof(PluginPropertyDefinition, flags) == 12);
static_assert(offsetof(PluginPropertyDefinition, getter) == 16);
static_assert(offsetof(PluginPropertyDefinition, setter) == 20);
static_assert(offsetof(PluginPropertyDefinition, offset) == 24);
static_assert(offsetof(PluginPropertyDefinition, reserved) == 28);
static_assert(offsetof(PluginPropertyDefinition, labelCount) == 32);
static_assert(offsetof(PluginPropertyDefinition, labels) == 36);
static_assert(sizeof(PluginEventDefinition) == 8);
static_assert(offsetof(PluginEventDefinition, handle) == 4);
static_assert(sizeof(PluginExtraRoutine) == 8);
static_assert(sizeof(PluginControlDefinition) == 76);
static_assert(offsetof(PluginControlDefinition, className) == 4);
static_assert(offsetof(PluginControlDefinition, dataSize) == 8);
static_assert(offsetof(PluginControlDefinition, flags) == 12);
static_assert(offsetof(PluginControlDefinition, designNumbers) == 16);
static_assert(offsetof(PluginControlDefinition, defaultWidth) == 24);
static_assert(offsetof(PluginControlDefinition, defaultHeight) == 28);
static_assert(offsetof(PluginControlDefinition, properties) == 32);
static_assert(offsetof(PluginControlDefinition, propertyCount) == 36);
static_assert(offsetof(PluginControlDefinition, methods) == 40);
static_assert(offsetof(PluginControlDefinition, methodCount) == 44);
static_assert(offsetof(PluginControlDefinition, events) == 48);
static_assert(offsetof(PluginControlDefinition, eventCount) == 52);
static_assert(offsetof(PluginControlDefinition, behaviour) == 56);
static_assert(offsetof(PluginControlDefinition, dataOffset) == 60);
static_assert(offsetof(PluginControlDefinition, extraRoutines) == 64);
static_assert(offsetof(PluginControlDefinition, extraRoutineCount) == 68);
static_assert(offsetof(PluginControlDefinition, interfaces) == 72);
static_assert(sizeof(PluginPropertyEntryV1) == 20);
static_assert(offsetof(PluginPropertyEntryV1, offset) == 16);
static_assert(sizeof(PluginControlDefinitionV1) == 56);
static_assert(offsetof(PluginControlDefinitionV1, properties) == 24);
static_assert(offsetof(PluginControlDefinitionV1, propertyCount) == 28);
static_assert(offsetof(PluginControlDefinitionV1, methods) == 32);
static_assert(offsetof(PluginControlDefinitionV1, methodCount) == 36);
static_assert(offsetof(PluginControlDefinitionV1, events) == 40);
static_assert(offsetof(PluginControlDefinitionV1, eventCount) == 44);
static_assert(offsetof(PluginControlDefinitionV1, behaviour) == 48);
static_assert(offsetof(PluginControlDefinitionV1, dataOffset) == 52);
static_assert(sizeof(PluginClassDefinition) == 64);
static_assert(offsetof(PluginClassDefinition, className) == 4);
static_assert(offsetof(PluginClassDefinition, superclassName) == 8);
static_assert(offsetof(PluginClassDefinition, dataSize) == 12);
static_assert(offsetof(PluginClassDefinition, dataOffset) == 16);
static_assert(offsetof(PluginClassDefinition, initialiser) == 20);
static_assert(offsetof(PluginClassDefinition, finaliser) == 24);
static_assert(offsetof(PluginClassDefinition, properties) == 28);
static_assert(offsetof(PluginClassDefinition, propertyCount) == 32);
static_assert(offsetof(PluginClassDefinition, methods) == 36);
static_assert(offsetof(PluginClassDefinition, methodCount) == 40);
static_assert(offsetof(PluginClassDefinition, events) == 44);
static_assert(offsetof(PluginClassDefinition, eventCount) == 48);
static_assert(offsetof(PluginClassDefinition, extraRoutines) == 52);
static_assert(offsetof(PluginClassDefinition, extraRoutineCount) == 56);
static_assert(offsetof(PluginClassDefinition, interfaces) == 60);
static_assert(sizeof(PluginPictureDescription) == 16);
static_assert(offsetof(PluginPictureDescription, pixels) == 4);
static_assert(offsetof(PluginPictureDescription, width) == 8);
static_assert(offsetof(PluginPictureDescription, height) == 12);
static_assert(offsetof(EmbeddedPluginHeader, size) == 4);
static_assert(offsetof(EmbeddedPluginHeader, reserved) == 8);
static_assert(offsetof(EmbeddedPluginHeader, nameLength) == kEmbeddedPluginNameOffset - 1);
#endif
