// The main window's state while it sends a message, by modem or by mail: kept
// in the window's instance (see Window1State.h). The string values here are
// owned references, stored and released through holdString.
#pragma once

#include "Window1State.h"

namespace app {

// Steps of a call: each runs on the next Timer2 tick after Timer1 sent the
// command that leads to it; Wait while a Timer1 shot is pending.
enum class ModemStep : uint8_t { Wait = 0, Recipient = 1, Blocks = 2, End = 4, HangUp = 5, Close = 6 };

// Steps of the mail dialogue; each server reply runs the current one.
enum class MailStep : uint8_t { Idle = 0, Connecting, Helo, Rset, MailFrom, RcptTo, Data, Body, Quit, Close };

struct SendingState {
    // Modem: the command Timer1 sends next (without its "AT"), the digits of
    // the message (melody included), the modem's answers not yet read as
    // whole lines, and the recipient command kept for "送信継続".
    StringHandle nextCommand;
    StringHandle digits;
    StringHandle modemAnswers;
    StringHandle recipientCommand;
    int32_t startTicks;
    int32_t blockCount;
    int32_t blocksSent;
    ModemStep nextStep;
    ModemStep currentStep;
    uint8_t modemActive;
    // Mail: what went after the step's command still needing a reply (the
    // second "RCPT TO"), the step, the encoded mail text and the replies
    // received but not yet complete.
    uint8_t extraReplies;
    MailStep mailStep;
    uint8_t unused[3];
    StringHandle mailText;
    StringHandle replyBuffer;
};
static_assert(sizeof(SendingState) <= kSendingStateSize);

inline SendingState& sendingState(ObjectHandle window) {
    return *reinterpret_cast<SendingState*>(window1State(window).sending);
}

// Stores `value` in `slot`, taking a reference of its own and giving the old
// one back.
inline void holdString(StringHandle& slot, StringHandle value) {
    RuntimeLockString(value);
    RuntimeUnlockString(slot);
    slot = value;
}

// Things both ways of sending share (SendingCommon.cpp).
void setStatus(ObjectHandle window, StringHandle text);
void setProgress(ObjectHandle window, int32_t maximum, int32_t value);
void setProgressValue(ObjectHandle window, int32_t value);
void setProgressMaximum(ObjectHandle window, int32_t maximum);
void setTimer(ObjectHandle window, StringHandle name, int32_t period, int32_t mode);
void setTimerMode(ObjectHandle window, StringHandle name, int32_t mode);
// Buttons 1 to 5 of the PushButton array as idle: by mail only "メッセージ
// 送信", by modem only "送信".
void enableIdleButtons(ObjectHandle window);

// The modem and the mail dialogue.
void startModemCall(ObjectHandle window);
void sendNumberNow(ObjectHandle window);
void sendBlockNow(ObjectHandle window);
void continueOnSameCall(ObjectHandle window);
void endModemCall(ObjectHandle window);
void abortSending(ObjectHandle window);
void startMail(ObjectHandle window);

}  // namespace app

extern "C" {
void Window1_Send_Mail(ObjectHandle window);
StringHandle Window1_CMCenter(ObjectHandle window);
}
