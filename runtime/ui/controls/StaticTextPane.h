// Static texts: "VL_Pane" windows the runtime draws, single-line (split at
// CR, LF or CR LF) or word-wrapped, aligned left, centred or right.
#pragma once

#include "RuntimeCall.h"
#include "objects/ObjectHeader.h"
#include "text/StringRecord.h"

RUNTIME_ENTRY void staticCaptionSetter(ObjectHandle c, StringHandle text);
RUNTIME_ENTRY void staticTextAlignSetter(ObjectHandle c, int32_t align);
RUNTIME_ENTRY void staticTextColorSetter(ObjectHandle c, int32_t colour);
RUNTIME_ENTRY void staticTextFontSetter(ObjectHandle c, StringHandle name);
RUNTIME_ENTRY void staticTextSizeSetter(ObjectHandle c, int32_t size);
// attribute: 0 Bold, 1 Italic, 2 Underline.
RUNTIME_ENTRY void staticAttributeSetter(ObjectHandle c, int32_t attribute, bool value);
