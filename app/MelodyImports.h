// The runtime's routines and plug-in methods the melody parts call beyond the
// common control routines: timers, the note player, progress bars, button
// captions, control bounds, and the string plug-in's field functions.
#pragma once

#include <cstdint>

#include "support/AppImports.h"

extern "C" {

void timerModeSetter(ObjectHandle timer, int32_t mode);
void timerPeriodSetter(ObjectHandle timer, int32_t period);
void notePlayerPlayNote(ObjectHandle player, int32_t note, int32_t velocity);
void progressValueSetter(ObjectHandle bar, int32_t value);
void progressMaximumSetter(ObjectHandle bar, int32_t maximum);
void pushButtonTitleSetter(ObjectHandle button, StringHandle caption);
// Selector 0 left, 1 top, 2 width, 3 height.
void ctlPosSetter(ObjectHandle control, int32_t selector, int32_t value);
void ControlVisibleSetter(ObjectHandle control, bool visible);

int32_t kejCountFields(StringHandle source, StringHandle separator)
    APP_PLUGIN_MEMBER("M", "kej_CountFields(source as string, separator as string) as integer");
StringHandle kejNthField(StringHandle source, StringHandle separator, int32_t field)
    APP_PLUGIN_MEMBER("M", "kej_NthField(source as String, separator as String, fieldNumber as Integer) as String");

}  // extern "C"
