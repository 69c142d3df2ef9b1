// Property records of plug-in classes. Compiled code calls a property's getter
// with (instance) and its setter with (instance, value); the plug-in's own
// routines take (instance, parameter[, value]) and direct access reads or
// writes the instance at the private-data offset plus the definition's offset.
// Each record therefore points at a small generated routine that adds the
// parameter (or the offset) and calls the plug-in's routine or the host's
// reader or writer for the property's type.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "RuntimeCall.h"
#include "glue/PluginRecords.h"
#include "objects/ClassRecord.h"

namespace runtime::plugins {

enum class PropertyType { Integer, Boolean, Single, Double, String, Object };

// The type a property's type text names, or none (the property is dropped).
std::optional<PropertyType> propertyTypeNamed(std::string_view typeName);

// Builds the record of `definition` and puts it at the front of the class's
// property list; a type that names nothing drops it. `dataOffset` is where the
// private data starts in an instance; `redrawing` selects the redraw forms of
// direct stores for flagged properties.
void addPluginProperty(ClassRecord* cls, const PluginPropertyDefinition& definition, int32_t dataOffset,
                       bool redrawing);

}  // namespace runtime::plugins

// Direct stores followed by a redraw request to the instance's pane:
// (instance, byte offset in the instance, value).
RUNTIME_ENTRY void intInvalidateSetter(ObjectHandle instance, int32_t offset, int32_t value);
RUNTIME_ENTRY void boolInvalidateSetter(ObjectHandle instance, int32_t offset, bool value);
RUNTIME_ENTRY void stringInvalidateSetter(ObjectHandle instance, int32_t offset, StringHandle value);
RUNTIME_ENTRY void objInvalidateSetter(ObjectHandle instance, int32_t offset, ObjectHandle value);
