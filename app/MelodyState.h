// The main window's melody: its digits, its play list, and the state of its
// preview while it plays. Kept in the window's instance (see Window1State.h).
#pragma once

#include "Window1State.h"

namespace app {

struct MelodyState {
    // "*6*6" + tempo digit + three digits per note (null: no melody).
    StringHandle melodyText;
    // Beats and notes separated by "#", ended by "FF": what Timer3 plays.
    StringHandle playList;
    // Beats per minute of the tempo digit.
    int32_t bpm;
    // Fields of the play list, and the field Timer3 reads next (from 1).
    int32_t fieldCount;
    int32_t position;
    // The note sounding last, switched off when the preview stops.
    int32_t lastNote;
    uint8_t playing;
    uint8_t unused[3];
};
static_assert(sizeof(MelodyState) <= kMelodyStateSize);

inline MelodyState& melodyState(ObjectHandle window) {
    return *reinterpret_cast<MelodyState*>(window1State(window).melody);
}

// The melody digits with their "*6*6" prefix; empty when there is none.
String melodyText(ObjectHandle window);

// Replaces the melody digits and with them the melody's share of the length
// display.
void setMelodyText(ObjectHandle window, const String& text);
// Replaces the play list that Timer3 plays.
void setPlayList(ObjectHandle window, const String& list);
// Enables the two preview buttons and the attachment check box.
void offerMelody(ObjectHandle window);

}  // namespace app

// The window's melody methods (each takes the window).
extern "C" {
void Window1_Make_Tempo(ObjectHandle window, StringHandle digit);
void Window1_Tempo_Set(ObjectHandle window);
void Window1_Make_Melo(ObjectHandle window);
void Window1_Melo_Onsu(ObjectHandle window);
void Window1_Melo_Data(ObjectHandle window);
void Window1_Play_Music(ObjectHandle window);
void Window1_ALS_Load(ObjectHandle window);
StringHandle Window1_Change_Melo(ObjectHandle window, StringHandle hex);
StringHandle Window1_Change_Onkai(ObjectHandle window, StringHandle hexByte);
}
