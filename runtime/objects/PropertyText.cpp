#include "objects/PropertyText.h"

#include "objects/ClassRegistry.h"
#include "objects/ObjectRef.h"
#include "objects/ProjectItems.h"
#include "objects/UnwindScope.h"
#include "text/CaseFold.h"
#include "text/NumberText.h"
#include "text/StringValue.h"

namespace runtime {
namespace {

template <typename Value>
void callSetter(const PropertyRecord* p, ObjectHandle object, Value value) {
    using Setter = void (*)(ObjectHandle, Value);
    reinterpret_cast<Setter>(p->setter)(object, value);
}

}  // namespace

bool booleanFromText(std::string_view text) { return foldedEquals(text, "True"); }

int32_t integerFromText(std::string_view text) { return truncatedInteger(numberValue(text)); }

void applyPropertyText(ObjectHandle object, std::string_view name, std::string_view text) {
    if (!object) return;
    const PropertyRecord* p = findProperty(object->classRecord, name);
    if (!p || !p->setter) return;
    switch (p->valueType) {
        case PropertyType::kString: {
            // The temporary is released after the setter, even when it raises.
            const Unwindable<StringValue> value(StringValue::fromBytes(text));
            callSetter(p, object, value->get());
            break;
        }
        case PropertyType::kInteger:
        case PropertyType::kColor: callSetter(p, object, integerFromText(text)); break;
        case PropertyType::kBoolean: callSetter(p, object, booleanFromText(text)); break;
        case PropertyType::kSingle: callSetter(p, object, static_cast<float>(numberValue(text))); break;
        case PropertyType::kDouble: callSetter(p, object, numberValue(text)); break;
        case PropertyType::kProjectObject: {
            const Unwindable<ObjectRef> value(projectObject(integerFromText(text)));
            callSetter(p, object, value->get());
            break;
        }
    }
}

}  // namespace runtime
