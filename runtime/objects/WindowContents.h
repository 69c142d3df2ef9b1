// What a window made from a layout holds besides its properties: the control
// registry (which owns one reference to each control) and the control
// descriptors that clones are made from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objects/ControlRegistry.h"
#include "objects/ObjectHeader.h"
#include "objects/WindowLayout.h"

struct ClassRecord;

namespace runtime {

struct ControlDescriptor {
    std::string name;
    int32_t index;
    ClassRecord* controlClass;
    std::vector<PropertyText> properties;
};

struct WindowContents {
    ControlRegistry<ObjectHeader*> registry;  // each entry holds one reference
    std::vector<ControlDescriptor> descriptors;  // newest first

    ~WindowContents();
    // Drops the controls' references (the window is closing).
    void releaseControls();
};

}  // namespace runtime
