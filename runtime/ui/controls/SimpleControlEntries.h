// The entry routines of the pane base and the simple controls: plain
// declarations that application code compiled into an image shares.
#pragma once

#include "ui/ControlEntries.h"
#include "ui/controls/CheckBoxPane.h"
#include "ui/controls/FontFamilies.h"
#include "ui/controls/LinePane.h"
#include "ui/controls/PushButtonPane.h"
#include "ui/controls/StaticTextPane.h"

RUNTIME_ENTRY StringHandle groupCaptionGetter(ObjectHandle c);
RUNTIME_ENTRY void groupCaptionSetter(ObjectHandle c, StringHandle caption);
RUNTIME_ENTRY int32_t progressValueGetter(ObjectHandle c);
RUNTIME_ENTRY void progressValueSetter(ObjectHandle c, int32_t value);
RUNTIME_ENTRY int32_t progressMaximumGetter(ObjectHandle c);
RUNTIME_ENTRY void progressMaximumSetter(ObjectHandle c, int32_t maximum);
RUNTIME_ENTRY int32_t tabPanelValueGetter(ObjectHandle c);
RUNTIME_ENTRY void tabPanelValueSetter(ObjectHandle c, int32_t value);
