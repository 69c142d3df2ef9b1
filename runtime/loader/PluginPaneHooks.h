// What the plug-in host needs from the panes of plug-in controls: by default
// the plug-in panes of PluginPane.h; tests put their own in place.
#pragma once

#include "glue/PluginRecords.h"
#include "objects/ObjectHeader.h"

namespace runtime::plugins {

struct PluginControlClass;

struct PluginPaneHooks {
    // Creates the pane of a plug-in control instance (its CreatePane event).
    void (*createPane)(ObjectHandle instance, const PluginControlClass* controlClass) = nullptr;
    // Destroys the instance's pane when it still has one (before slot 1 runs).
    void (*destroyPane)(ObjectHandle instance) = nullptr;
    // Asks the instance's pane to redraw (after a direct store with the redraw flag).
    void (*requestRedraw)(ObjectHandle instance) = nullptr;
};

void setPluginPaneHooks(const PluginPaneHooks& hooks);
const PluginPaneHooks& pluginPaneHooks();

}  // namespace runtime::plugins
