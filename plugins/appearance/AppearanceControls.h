// The eight controls of the appearance plug-in: their definitions (the host's
// control definition followed by two words the host does not read: a table of
// three-text notices and its count) and the drawing of the bevel button.
#pragma once

#include <windows.h>

#include "appearance/BevelButtonData.h"
#include "glue/PluginRecords.h"

namespace appearance {

struct AppearanceControlDefinition {
    PluginControlDefinition control;
    const char* const (*notices)[3];
    int32_t noticeCount;
};

#if defined(__i386__)
static_assert(offsetof(AppearanceControlDefinition, notices) == 76);
static_assert(sizeof(AppearanceControlDefinition) == 84);
#endif

// The private data of an instance, at the offset the host wrote into word 15.
template <typename Data>
Data* controlData(ObjectHandle instance, const AppearanceControlDefinition& definition) {
    return reinterpret_cast<Data*>(reinterpret_cast<char*>(instance) + definition.control.dataOffset);
}

AppearanceControlDefinition& bevelButtonDefinition();
AppearanceControlDefinition& disclosureTriangleDefinition();
AppearanceControlDefinition& littleArrowsDefinition();
AppearanceControlDefinition& chasingArrowsDefinition();
AppearanceControlDefinition& imageWellDefinition();
AppearanceControlDefinition& popupArrowDefinition();
AppearanceControlDefinition& placardDefinition();
AppearanceControlDefinition& separatorDefinition();

// Draws a bevel button with `graphics` within `bounds` (left, top, right, bottom).
void drawBevelButton(ObjectHandle instance, const BevelButtonData& d, ObjectHandle graphics, RECT bounds);

}  // namespace appearance
