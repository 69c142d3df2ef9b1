#include "appearance/AppearanceGlue.h"

namespace appearance {
namespace {
glue::GlueRoutine<StringHandle, StringHandle> InterpretConstantValue{"PluginInterpretConstantValue"};
}

StringHandle PluginInterpretConstantValue(StringHandle value) {
    if (InterpretConstantValue.bound()) return InterpretConstantValue(value);
    VELMLockString(value);
    return value;
}

void raiseEvent(ObjectHandle instance, const PluginEventDefinition& event) {
    using Handler = void(RUNTIME_CALL*)(ObjectHandle);
    if (void* handler = GetEventInstance(instance, event)) reinterpret_cast<Handler>(handler)(instance);
}

RECT controlBounds(ObjectHandle instance) {
    // top and left, then bottom and right, as 16-bit pairs
    int16_t words[4] = {0, 0, 0, 0};
    GetControlBounds(instance, words);
    return RECT{words[1], words[0], words[3], words[2]};
}

}  // namespace appearance
