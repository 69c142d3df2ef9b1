#include "loader/PluginProperties.h"

#include "UnalignedAccess.h"
#include "loader/CodeThunks.h"
#include "loader/PluginPaneHooks.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectLifetime.h"
#include "text/CaseFold.h"
#include "text/StringValue.h"

namespace runtime::plugins {
namespace {

char* at(ObjectHandle instance, int32_t offset) { return reinterpret_cast<char*>(instance) + offset; }

void requestRedraw(ObjectHandle instance) {
    if (auto redraw = pluginPaneHooks().requestRedraw) redraw(instance);
}

// Direct readers and writers: (instance, byte offset in the instance[, value]).
// A nil instance reads as 0 and ignores stores.
RUNTIME_CALL int32_t readInteger(ObjectHandle o, int32_t offset) { return o ? loadUnaligned<int32_t>(at(o, offset)) : 0; }
RUNTIME_CALL bool readBoolean(ObjectHandle o, int32_t offset) { return o && *at(o, offset) != 0; }
RUNTIME_CALL float readSingle(ObjectHandle o, int32_t offset) { return o ? loadUnaligned<float>(at(o, offset)) : 0.0f; }
RUNTIME_CALL double readDouble(ObjectHandle o, int32_t offset) { return o ? loadUnaligned<double>(at(o, offset)) : 0.0; }
RUNTIME_CALL StringHandle readString(ObjectHandle o, int32_t offset) {
    return o ? StringValue::borrow(loadUnaligned<StringHandle>(at(o, offset))).release() : nullptr;
}
RUNTIME_CALL ObjectHandle readObject(ObjectHandle o, int32_t offset) {
    if (!o) return nullptr;
    ObjectHandle value = loadUnaligned<ObjectHandle>(at(o, offset));
    lockObject(value);
    return value;
}

RUNTIME_CALL void writeInteger(ObjectHandle o, int32_t offset, int32_t value) {
    if (o) storeUnaligned(o, offset, value);
}
RUNTIME_CALL void writeBoolean(ObjectHandle o, int32_t offset, bool value) {
    if (o) *at(o, offset) = value ? 1 : 0;
}
RUNTIME_CALL void writeSingle(ObjectHandle o, int32_t offset, double value) {
    if (o) storeUnaligned(o, offset, static_cast<float>(value));
}
RUNTIME_CALL void writeDouble(ObjectHandle o, int32_t offset, double value) {
    if (o) storeUnaligned(o, offset, value);
}
// The new reference is added before the old one is dropped: the new value may
// be kept alive only by this very field.
RUNTIME_CALL void writeString(ObjectHandle o, int32_t offset, StringHandle value) {
    if (!o) return;
    StringHandle added = StringValue::borrow(value).release();
    const StringValue old = StringValue::adopt(loadUnaligned<StringHandle>(at(o, offset)));
    storeUnaligned(o, offset, added);
}
RUNTIME_CALL void writeObject(ObjectHandle o, int32_t offset, ObjectHandle value) {
    if (!o) return;
    lockObject(value);
    ObjectHandle old = loadUnaligned<ObjectHandle>(at(o, offset));
    storeUnaligned(o, offset, value);
    unlockObject(old);
}

RUNTIME_CALL void writeSingleRedrawing(ObjectHandle o, int32_t offset, double value) {
    writeSingle(o, offset, value);
    if (o) requestRedraw(o);
}
RUNTIME_CALL void writeDoubleRedrawing(ObjectHandle o, int32_t offset, double value) {
    writeDouble(o, offset, value);
    if (o) requestRedraw(o);
}

struct TypeAccess {
    void* reader;
    void* writer;
    void* redrawingWriter;
    int valueWords;
};

template <typename Routine>
void* code(Routine* routine) {
    return reinterpret_cast<void*>(routine);
}

TypeAccess accessFor(PropertyType type) {
    switch (type) {
        case PropertyType::Integer: return {code(readInteger), code(writeInteger), code(intInvalidateSetter), 1};
        case PropertyType::Boolean: return {code(readBoolean), code(writeBoolean), code(boolInvalidateSetter), 1};
        case PropertyType::Single: return {code(readSingle), code(writeSingle), code(writeSingleRedrawing), 2};
        case PropertyType::Double: return {code(readDouble), code(writeDouble), code(writeDoubleRedrawing), 2};
        case PropertyType::String: return {code(readString), code(writeString), code(stringInvalidateSetter), 1};
        case PropertyType::Object: return {code(readObject), code(writeObject), code(objInvalidateSetter), 1};
    }
    return {};
}

StringHandle keptString(std::string_view text) { return StringValue::fromBytes(text).release(); }

bool isDirect(void* word) { return reinterpret_cast<intptr_t>(word) == kPropertyDirect; }

}  // namespace

// How a layout's value text is converted for a property of this type.
static ::PropertyType layoutValueType(PropertyType type) {
    switch (type) {
        case PropertyType::Integer: return ::PropertyType::kInteger;
        case PropertyType::Boolean: return ::PropertyType::kBoolean;
        case PropertyType::Single: return ::PropertyType::kSingle;
        case PropertyType::Double: return ::PropertyType::kDouble;
        case PropertyType::String: return ::PropertyType::kString;
        case PropertyType::Object: return ::PropertyType::kProjectObject;
    }
    return ::PropertyType::kString;
}

std::optional<PropertyType> propertyTypeNamed(std::string_view typeName) {
    struct Named {
        std::string_view name;
        PropertyType type;
    };
    static constexpr Named kBasic[] = {{"Color", PropertyType::Integer},   {"Integer", PropertyType::Integer},
                                       {"Boolean", PropertyType::Boolean}, {"Single", PropertyType::Single},
                                       {"Double", PropertyType::Double},   {"String", PropertyType::String}};
    for (const Named& basic : kBasic) {
        if (foldedEquals(typeName, basic.name)) return basic.type;
    }
    if (findBuiltinClass(typeName) || findPluginControlClass(typeName) || findPluginClass(typeName)) {
        return PropertyType::Object;
    }
    return std::nullopt;
}

void addPluginProperty(ClassRecord* cls, const PluginPropertyDefinition& definition, int32_t dataOffset,
                       bool redrawing) {
    if (!definition.name || !definition.type) return;
    const std::optional<PropertyType> type = propertyTypeNamed(definition.type);
    if (!type) return;
    const TypeAccess access = accessFor(*type);
    const auto field = static_cast<uint32_t>(dataOffset + definition.offset);
    const auto parameter = static_cast<uint32_t>(definition.offset);

    auto* record = new PropertyRecord{};
    record->name = keptString(definition.name);
    record->valueType = layoutValueType(*type);
    if (isDirect(definition.getter)) {
        record->getter = makeParameterThunk(access.reader, field, 0);
    } else if (definition.getter) {
        record->getter = makeParameterThunk(definition.getter, parameter, 0);
    }
    if (isDirect(definition.setter)) {
        const bool redraw = redrawing && (definition.flags & kPropertyRedrawFlag);
        record->setter = makeParameterThunk(redraw ? access.redrawingWriter : access.writer, field, access.valueWords);
    } else if (definition.setter) {
        record->setter = makeParameterThunk(definition.setter, parameter, access.valueWords);
    }
    record->next = cls->properties;
    cls->properties = record;
}

}  // namespace runtime::plugins

using namespace runtime::plugins;

void intInvalidateSetter(ObjectHandle instance, int32_t offset, int32_t value) {
    writeInteger(instance, offset, value);
    if (instance) requestRedraw(instance);
}

void boolInvalidateSetter(ObjectHandle instance, int32_t offset, bool value) {
    writeBoolean(instance, offset, value);
    if (instance) requestRedraw(instance);
}

void stringInvalidateSetter(ObjectHandle instance, int32_t offset, StringHandle value) {
    writeString(instance, offset, value);
    if (instance) requestRedraw(instance);
}

void objInvalidateSetter(ObjectHandle instance, int32_t offset, ObjectHandle value) {
    writeObject(instance, offset, value);
    if (instance) requestRedraw(instance);
}
