// The status line, the progress bar, the timers and the send buttons, as both
// ways of sending use them.
#include "SendingState.h"

using namespace app::literals;

namespace app {

void setStatus(ObjectHandle window, StringHandle text) {
    const Object status = control(window, "Static_Status"_s);
    if (!status) return;
    RuntimeControlRefresh(status.get());
    staticCaptionSetter(status.get(), text);
}

void setProgressValue(ObjectHandle window, int32_t value) {
    const Object bar = control(window, "Prog_Status"_s);
    if (bar) progressValueSetter(bar.get(), value);
}

void setProgressMaximum(ObjectHandle window, int32_t maximum) {
    const Object bar = control(window, "Prog_Status"_s);
    if (bar) progressMaximumSetter(bar.get(), maximum);
}

void setProgress(ObjectHandle window, int32_t maximum, int32_t value) {
    setProgressMaximum(window, maximum);
    setProgressValue(window, value);
}

void setTimer(ObjectHandle window, StringHandle name, int32_t period, int32_t mode) {
    const Object timer = control(window, name);
    if (!timer) return;
    timerPeriodSetter(timer.get(), period);
    timerModeSetter(timer.get(), mode);
}

void setTimerMode(ObjectHandle window, StringHandle name, int32_t mode) {
    const Object timer = control(window, name);
    if (timer) timerModeSetter(timer.get(), mode);
}

void enableIdleButtons(ObjectHandle window) {
    const bool byMail = isChecked(window, "Check_Email"_s);
    for (int32_t index = 1; index <= 5; ++index) setButtonEnabled(window, index, byMail ? index == 3 : index == 1);
}

// "中止": ends a call or a mail dialogue at once, whichever runs.
void abortSending(ObjectHandle window) {
    SendingState& state = sendingState(window);
    const Object serial = control(window, "Serial1"_s);
    if (serial) serialClose(serial.get());
    const Object socket = control(window, "Socket1"_s);
    if (socket) socketClose(socket.get());
    state.modemActive = 0;
    state.currentStep = ModemStep::Wait;
    setProgress(window, 100, 0);
    setTimerMode(window, "Timer1"_s, 0);
    setTimerMode(window, "Timer2"_s, 0);
    setStatus(window, "待機中"_s);
    enableIdleButtons(window);
}

}  // namespace app
