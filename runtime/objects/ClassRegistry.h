// The process-wide class list (newest first), the class table that compiled
// code indexes, and the creation of class records and their list records.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "objects/ClassRecord.h"

namespace runtime {

// A new class record with the defaults (instance size 24, per-class slot -1,
// empty lists), put at the front of the list of classes.
ClassRecord* createClass(std::string_view name, ClassRecord* superclass = nullptr);

ClassRecord* firstClass();

// The built-in class of that name (case-insensitive), or null.
ClassRecord* findBuiltinClass(std::string_view name);
void registerBuiltinClass(ClassRecord* cls);

// Plug-in classes are searched by a provider the plug-in host installs; until
// then there are none.
using ClassFinder = ClassRecord* (*)(std::string_view name);
void setPluginClassFinders(ClassFinder controlClasses, ClassFinder pluginClasses);
ClassRecord* findPluginControlClass(std::string_view name);
ClassRecord* findPluginClass(std::string_view name);

// True when `cls` is `ancestor` or inherits from it.
bool inheritsFrom(const ClassRecord* cls, const ClassRecord* ancestor);

// The class table: index used by compiled code -> class record.
void resetClassTable(int32_t count);
void setClassTableEntry(int32_t index, ClassRecord* cls);
// The record at `index`, or null for an index outside the table.
ClassRecord* classTableEntry(int32_t index);
std::span<ClassRecord* const> classTable();

// List records, owned by the runtime for the life of the process.
void appendMethod(ClassRecord* cls, std::string_view name, CodeAddress firstRoutine);
void prependEventHandler(ClassRecord* cls, std::string_view name, CodeAddress code, int32_t hookCode);
void prependMenuHandler(ClassRecord* cls, std::string_view menuItemName, CodeAddress code);
void prependInterface(ClassRecord* cls, ClassRecord* interfaceClass);
// Puts a property record at the front of the class's property list.
void prependProperty(ClassRecord* cls, std::string_view name, PropertyType type, CodeAddress getter,
                     CodeAddress setter);
// The property `name` of the first class in the chain from `cls` that declares
// it (case-insensitive), or null.
const PropertyRecord* findProperty(const ClassRecord* cls, std::string_view name);
void declareEvent(ClassRecord* cls, EventDescriptor* descriptor);
EventDescriptor* newEventDescriptor(std::string_view name, std::string_view parameters, std::string_view result);

// The event `name` declared by `cls` itself, or null.
EventDescriptor* declaredEvent(const ClassRecord* cls, std::string_view name);

}  // namespace runtime
