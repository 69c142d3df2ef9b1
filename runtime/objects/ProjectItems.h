// The project items of the image: pictures, the menu bar, the settings and the
// other resources, and the project-object table that compiled code indexes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objects/ObjectRef.h"
#include "objects/ProjectStreams.h"
#include "objects/ResourceObjects.h"

namespace runtime {


enum class ProjectItemKind : uint32_t {
    kPicture = 1,
    kMenuBar = 2,
    kMovie = 3,
    kSettings = 4,
    kGlobalInstance = 5,
    kSound = 6,
    kResource7 = 7,
    kResource8 = 8,
    kCursor = 9,
    kDatabase = 10,
};

// Processes `count` item addresses in order; null addresses and unknown kinds
// are skipped. Fills the project-object table (index i + 1 for item i).
void readProjectItems(const uint32_t* items, int32_t count);

// The object made for a project item, locked for the caller; nil for index 0
// or an index outside the table.
ObjectRef projectObject(int32_t index);

// The settings of the image (defaults when it has no settings item).
const SettingsStream& applicationSettings();
// Entry i of the message table, or empty.
std::string messageTableEntry(size_t i);

}  // namespace runtime
