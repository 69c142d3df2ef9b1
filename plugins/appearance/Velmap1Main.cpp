// The appearance-controls plug-in: eight controls drawn by the plug-in,
// registered through the host's resolver (interface version 4).
#include <initializer_list>

#include "appearance/AppearanceControls.h"
#include "appearance/AppearanceGlue.h"

namespace {
constexpr int32_t kInterfaceVersion = 4;
}

extern "C" __declspec(dllexport) RUNTIME_CALL void VELMPluginMain(PluginResolver resolver) {
    using namespace appearance;
    glue::setResolver(resolver);
    RegisterPluginVersion(kInterfaceVersion);
    for (AppearanceControlDefinition* definition :
         {&bevelButtonDefinition(), &disclosureTriangleDefinition(), &littleArrowsDefinition(),
          &chasingArrowsDefinition(), &imageWellDefinition(), &popupArrowDefinition(), &placardDefinition(),
          &separatorDefinition()}) {
        PluginRegisterControl(&definition->control);
    }
}
