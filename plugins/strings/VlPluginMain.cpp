// The string-utilities plug-in: six global methods over Shift-JIS text,
// registered through the host's resolver (interface version 3).
#include "glue/PluginGlue.h"
#include "strings/KejStrings.h"

namespace {

glue::GlueRoutine<void, int32_t> RegisterPluginVersion{"RegisterPluginVersion"};
glue::GlueRoutine<void, const PluginMethodDefinition*> PluginRegisterMethod{"PluginRegisterMethod"};
glue::GlueRoutine<StringHandle, const void*, int32_t> VELMBuildString{"VELMBuildString"};
glue::GlueRoutine<void, StringHandle> VELMLockString{"VELMLockString"};
glue::GlueRoutine<void, StringHandle> VELMUnlockString{"VELMUnlockString"};

constexpr int32_t kInterfaceVersion = 3;

// Mode, error and shift table: one per process, used on the host's GUI thread.
kej::KejState gState;

// A string argument held for the duration of a method: locked on entry and
// unlocked before the method returns.
class HeldString {
public:
    explicit HeldString(StringHandle s) : value_(s) { VELMLockString(value_); }
    ~HeldString() { VELMUnlockString(value_); }
    HeldString(const HeldString&) = delete;
    HeldString& operator=(const HeldString&) = delete;
    std::string_view view() const {
        return {glue::stringText(value_), static_cast<size_t>(glue::stringLength(value_))};
    }

private:
    StringHandle value_;
};

StringHandle buildString(std::string_view text) {
    if (text.empty()) return nullptr;
    StringHandle built = VELMBuildString(text.data(), static_cast<int32_t>(text.size()));
    if (!built) gState.error = kej::kOutOfMemory;
    return built;
}

StringHandle buildResult(const kej::TextResult& result) { return buildString(result.text); }

RUNTIME_CALL void kejStrCheckType(int32_t type) { kej::setCheckType(gState, type); }

RUNTIME_CALL int32_t kejStrError() { return gState.error; }

RUNTIME_CALL int32_t kejCountFields(StringHandle source, StringHandle separator) {
    const HeldString heldSource(source), heldSeparator(separator);
    return kej::countFields(gState, heldSource.view(), heldSeparator.view());
}

RUNTIME_CALL StringHandle kejNthField(StringHandle source, StringHandle separator, int32_t fieldNumber) {
    const HeldString heldSource(source), heldSeparator(separator);
    return buildString(kej::nthField(gState, heldSource.view(), heldSeparator.view(), fieldNumber));
}

RUNTIME_CALL StringHandle kejReplaceAll(StringHandle source, StringHandle oldText, StringHandle newText) {
    const HeldString heldSource(source), heldOld(oldText), heldNew(newText);
    return buildResult(kej::replaceAll(gState, heldSource.view(), heldOld.view(), heldNew.view()));
}

RUNTIME_CALL StringHandle kejReplace(StringHandle source, StringHandle oldText, StringHandle newText) {
    const HeldString heldSource(source), heldOld(oldText), heldNew(newText);
    return buildResult(kej::replaceFirst(gState, heldSource.view(), heldOld.view(), heldNew.view()));
}

template <typename Routine>
void* routineAddress(Routine* routine) {
    return reinterpret_cast<void*>(routine);
}

// Registered in this order; the host keeps pointing at these records.
PluginMethodDefinition gMethods[] = {
    {routineAddress(&kejStrCheckType), nullptr, "kej_StrCheckType( Type as Integer )"},
    {routineAddress(&kejStrError), nullptr, "kej_StrError as Integer"},
    {routineAddress(&kejCountFields), nullptr, "kej_CountFields(source as string, separator as string) as integer"},
    {routineAddress(&kejNthField), nullptr,
     "kej_NthField(source as String, separator as String, fieldNumber as Integer) as String"},
    {routineAddress(&kejReplaceAll), nullptr,
     "kej_ReplaceAll(sourceString as String, oldString as String, newString as String) as String"},
    {routineAddress(&kejReplace), nullptr,
     "kej_Replace(sourceString as String, oldString as String, newString as String) as String"},
};

}  // namespace

extern "C" __declspec(dllexport) RUNTIME_CALL void VELMPluginMain(PluginResolver resolver) {
    glue::setResolver(resolver);
    RegisterPluginVersion(kInterfaceVersion);
    for (const PluginMethodDefinition& method : gMethods) PluginRegisterMethod(&method);
}
