#include "glue/PluginGlue.h"

namespace glue {
namespace {

// One per plug-in library: the host calls VELMPluginMain once, on its GUI thread.
PluginResolver gResolver = nullptr;

}  // namespace

void setResolver(PluginResolver resolver) { gResolver = resolver; }

void* resolveRuntimeRoutine(const char* name) { return gResolver ? gResolver(name) : nullptr; }

}  // namespace glue
