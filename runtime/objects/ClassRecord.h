// The class record: one per class, built-in, plug-in or compiled, never freed.
// The fields keep the order and width below; the lists hang off it as chains of
// runtime-owned records.
#pragma once

#include <cstddef>
#include <cstdint>

#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

struct ClassRecord;

// Code addresses of compiled code, the runtime or plug-ins.
using CodeAddress = void*;
// Initialisers and finalisers receive the object and the class whose routine runs.
using ObjectHook = void (*)(ObjectHandle object, ClassRecord* owner);

// The name, parameter text and result text of an event a class declares.
struct EventDescriptor {
    StringHandle name;
    StringHandle parameters;
    StringHandle result;
};

struct DeclaredEventRecord {
    DeclaredEventRecord* next;
    EventDescriptor* descriptor;
};

// How a property's value text is converted when a layout sets it by name.
enum class PropertyType : int32_t {
    kString,
    kInteger,
    kBoolean,
    kColor,
    kSingle,
    kDouble,
    kProjectObject,  // an object reference given as a project-object index
};

// A property is read by calling getter(object) and set by calling
// setter(object, value), both cdecl; either may be null. A property whose
// routine takes a further word (a selector, a field offset) gets a routine
// that supplies it.
struct PropertyRecord {
    PropertyRecord* next;
    StringHandle name;
    PropertyType valueType;
    CodeAddress getter;
    CodeAddress setter;
};

struct MethodRecord {
    MethodRecord* next;
    StringHandle name;
    StringHandle declaration;  // the full declaration text (plug-in methods)
    CodeAddress firstRoutine;
    CodeAddress secondRoutine;
    StringHandle parameters;   // parameter list text; empty for compiled methods
    int32_t interfaceOrdinal;  // 1, 2, ... for methods of an interface, else 0
    int32_t flags;
};

struct EventHandlerRecord {
    EventHandlerRecord* next;
    StringHandle name;
    int32_t hookCode;
    CodeAddress code;
};

struct MenuHandlerRecord {
    MenuHandlerRecord* next;
    StringHandle menuItemName;
    CodeAddress code;
};

struct InterfaceRecord {
    InterfaceRecord* next;
    ClassRecord* interfaceClass;
    CodeAddress* dispatchTable;  // slot 0 unused; slots 1..tableSize-1
    int32_t tableSize;
};

constexpr int32_t kClassRecordKind = 3;

struct ClassRecord {
    int32_t kind;  // kClassRecordKind
    ClassRecord* superclass;
    CodeAddress* virtualTable;
    int32_t generation;  // interface-table generation last built
    int32_t virtualTableCount;
    StringHandle name;
    StringHandle alternateName;
    uint8_t flags[2];
    int32_t instanceSize;  // bytes, including the object header
    int32_t perClassSlot;
    PropertyRecord* properties;
    MethodRecord* methods;
    DeclaredEventRecord* declaredEvents;
    EventHandlerRecord* eventHandlers;
    MenuHandlerRecord* menuHandlers;
    InterfaceRecord* interfaces;
    uint8_t isInterface;
    ObjectHook initialiser;
    ObjectHook finaliser;
    ClassRecord* nextClass;  // the process-wide list of classes, newest first
};

#if defined(__i386__)
static_assert(offsetof(ClassRecord, kind) == 0);
static_assert(offsetof(ClassRecord, superclass) == 4);
static_assert(offsetof(ClassRecord, virtualTable) == 8);
static_assert(offsetof(ClassRecord, generation) == 12);
static_assert(offsetof(ClassRecord, virtualTableCount) == 16);
static_assert(offsetof(ClassRecord, name) == 20);
static_assert(offsetof(ClassRecord, alternateName) == 24);
static_assert(offsetof(ClassRecord, flags) == 28);
static_assert(offsetof(ClassRecord, instanceSize) == 32);
static_assert(offsetof(ClassRecord, perClassSlot) == 36);
static_assert(offsetof(ClassRecord, properties) == 40);
static_assert(offsetof(ClassRecord, methods) == 44);
static_assert(offsetof(ClassRecord, declaredEvents) == 48);
static_assert(offsetof(ClassRecord, eventHandlers) == 52);
static_assert(offsetof(ClassRecord, menuHandlers) == 56);
static_assert(offsetof(ClassRecord, interfaces) == 60);
static_assert(offsetof(ClassRecord, isInterface) == 64);
static_assert(offsetof(ClassRecord, initialiser) == 68);
static_assert(offsetof(ClassRecord, finaliser) == 72);
static_assert(offsetof(ClassRecord, nextClass) == 76);
static_assert(sizeof(ClassRecord) == 80);
static_assert(sizeof(EventDescriptor) == 12);
#endif
