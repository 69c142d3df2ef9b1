// Start-up of the application: the built-in classes, the class table and
// project items of the image, the application object and its Open event.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "RuntimeCall.h"

namespace runtime {

// Steps of the start-up that other subsystems provide.
enum class StartupStep {
    kRegisterWindowClasses,
    kInstallPlugins,
    kBindDeferredImports,
    kCreateFrameWindow,
    kCount,
};
void setStartupStep(StartupStep step, void (*run)());

// The message shown when a class the image names by name does not exist.
std::string missingClassMessage(std::string_view className);

}  // namespace runtime

RUNTIME_ENTRY void RuntimeInit(const uint32_t* projectTable);
