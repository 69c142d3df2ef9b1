// The project items of the image: pictures, the menu bar, the settings and the
// other resources, and the project-object table that compiled code indexes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objects/ObjectRef.h"
#include "objects/ProjectStreams.h"

namespace runtime {

// Instance data of the resource objects, after the data of `Object`.
struct ResourceFields {
    uint32_t resourceWord;
    const uint8_t* data;  // the picture description or sound data in data1
    uint32_t word1, word2;
};
constexpr int32_t kResourceFieldsOffset = 24;

enum class ProjectItemKind : uint32_t {
    kPicture = 1,
    kMenuBar = 2,
    kMovie = 3,
    kSettings = 4,
    kGlobalInstance = 5,
    kSound = 6,
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
