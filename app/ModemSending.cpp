// Sending by modem: the modem dials the message centre, then keys in the
// recipient's number and the message digits as touch tones, block by block,
// with fixed pauses; Timer1 sends each command after its pause and Timer2
// (every 100 ms) moves the progress bar, reads the modem's answers and runs
// the step the last command led to. A failure answer ends the call.
#include "MelodyState.h"
#include "SendingState.h"
#include "logic/MailMessage.h"
#include "logic/MessageEncoding.h"
#include "logic/ModemDialing.h"
#include "support/HeapBuffer.h"

using namespace app::literals;

namespace app {
namespace {

constexpr int32_t kDialPause = 25000;
constexpr int32_t kStepPause = 10000;
constexpr int32_t kHangUpPause = 3000;
constexpr int32_t kTickPeriod = 100;
constexpr int32_t kDialCommandCapacity = 256;

Object serialPort(ObjectHandle window) { return control(window, "Serial1"_s); }

// The message as digits: kanji codes, or "*2*2" and two-digit codes; then
// the melody, cut to the note limit, when it is to go along.
String messageDigits(ObjectHandle window) {
    const String message = fieldText(window, "Edit_Msg"_s);
    const applogic::Bytes text = bytesOf(message);
    const bool kanji = isChecked(window, "Check_Kanji"_s);
    HeapBuffer digits(kanji ? applogic::kanjiCodeCapacity(text.size) : 4 + applogic::bellCodeCapacity(text.size));
    if (!digits.data() && text.size > 0) return String();
    int32_t length = 0;
    if (kanji) {
        length = applogic::kanjiCode(text, digits.data(), digits.size());
    } else {
        applogic::ByteWriter prefix(digits.data(), digits.size());
        prefix.put(applogic::Bytes("*2*2"));
        const int32_t coded = applogic::bellCode(text, digits.data() + 4, digits.size() - 4);
        length = coded < 0 ? -1 : 4 + coded;
    }
    String result = length > 0 ? stringOf(applogic::Bytes(digits.data(), length)) : String();
    if (!isChecked(window, "Check_Melo"_s)) return result;
    const String melody = melodyText(window);
    if (melody.length() == 0) return result;
    const String limitText = fieldText(window, "Edit_Onsu"_s);
    const int32_t limit = static_cast<int32_t>(StringVal(limitText.get()));
    HeapBuffer cut(melody.length());
    const int32_t cutLength = applogic::trimmedMelody(bytesOf(melody), limit, cut.data(), cut.size());
    if (cutLength <= 0) return result;
    return result + stringOf(applogic::Bytes(cut.data(), cutLength));
}

// The first command of a call with its "AT"; empty when the centre or the
// outside-line prefix holds anything but dialling characters.
String centreCommand(ObjectHandle window) {
    const String centre = fieldText(window, "Edit_Center"_s);
    const String head = fieldText(window, "Edit_Head"_s);
    uint8_t command[kDialCommandCapacity];
    const int32_t length = applogic::centreDialCommand(isChecked(window, "Radio_Tone"_s),
                                                       isChecked(window, "Check_DialTone"_s), bytesOf(head),
                                                       bytesOf(centre), command, kDialCommandCapacity);
    return length > 0 ? stringOf(applogic::Bytes(command, length)) : String();
}

// "DT" + recipient + "#;" + CR; empty when the number is refused.
String recipientCommand(ObjectHandle window) {
    const String phone = fieldText(window, "Edit_Phone"_s);
    uint8_t command[kDialCommandCapacity];
    const int32_t length = applogic::recipientDialCommand(bytesOf(phone), command, kDialCommandCapacity);
    return length > 0 ? stringOf(applogic::Bytes(command, length)) : String();
}

// Reads the message, its digits and both numbers into the state; false
// (with a message) when a number cannot be dialled.
bool prepareMessage(ObjectHandle window, String& centre) {
    SendingState& state = sendingState(window);
    centre = centreCommand(window);
    const String recipient = recipientCommand(window);
    if (centre.length() == 0 || recipient.length() == 0) {
        RuntimeMsgBox("電話番号にダイヤルできない文字があります。"_s);
        return false;
    }
    const String digits = messageDigits(window);
    holdString(state.digits, digits.get());
    holdString(state.recipientCommand, recipient.get());
    holdString(state.nextCommand, recipient.get());
    state.blockCount = applogic::modemBlockCount(digits.length());
    state.blocksSent = 0;
    return true;
}

void writeToModem(ObjectHandle window, StringHandle command) {
    const Object serial = serialPort(window);
    if (serial) serialWrite(serial.get(), command);
}

// Timer1 sends the pending command after `period` ms and leads to `next`.
void afterPause(ObjectHandle window, int32_t period, ModemStep next) {
    SendingState& state = sendingState(window);
    state.nextStep = next;
    state.currentStep = ModemStep::Wait;
    setTimer(window, "Timer1"_s, period, 1);
}

void setNextCommand(ObjectHandle window, const String& command) {
    holdString(sendingState(window).nextCommand, command.get());
}

String blockStatus(int32_t sent, int32_t count) {
    return String::borrow("メッセージを送信中 "_s) + numberText(sent) + String::borrow("/"_s) + numberText(count);
}

// The dial command of message block `index` (from 0).
String blockCommand(ObjectHandle window, int32_t index) {
    const String digits = String::borrow(sendingState(window).digits);
    uint8_t command[applogic::kDigitsPerBlock + 8];
    const int32_t length = applogic::modemBlockCommand(bytesOf(digits), index, command, sizeof command);
    return length > 0 ? stringOf(applogic::Bytes(command, length)) : String();
}

void stepRecipient(ObjectHandle window) {
    SendingState& state = sendingState(window);
    setStatus(window, "相手の電話番号を送信中"_s);
    setNextCommand(window, blockCommand(window, 0));
    state.blocksSent = 1;
    if (isChecked(window, "Check_Manual"_s)) {
        setButtonEnabled(window, 2, false);
        setButtonEnabled(window, 3, true);
    }
    afterPause(window, kStepPause, state.blockCount > 1 ? ModemStep::Blocks : ModemStep::End);
}

void stepBlocks(ObjectHandle window) {
    SendingState& state = sendingState(window);
    setStatus(window, blockStatus(state.blocksSent, state.blockCount).get());
    setNextCommand(window, blockCommand(window, state.blocksSent));
    state.blocksSent += 1;
    afterPause(window, kStepPause, state.blocksSent >= state.blockCount ? ModemStep::End : ModemStep::Blocks);
}

void stepEnd(ObjectHandle window) {
    SendingState& state = sendingState(window);
    setNextCommand(window, String::borrow("DT##\r"_s));
    setStatus(window, blockStatus(state.blockCount, state.blockCount).get());
    if (isChecked(window, "Check_Manual"_s)) {
        setButtonEnabled(window, 3, false);
        setButtonEnabled(window, 4, true);
        setButtonEnabled(window, 5, true);
    }
    afterPause(window, kStepPause, ModemStep::HangUp);
}

void stepHangUp(ObjectHandle window) {
    setNextCommand(window, String::borrow("H\r"_s));
    setStatus(window, "送信完了しました"_s);
    setButtonEnabled(window, 1, true);
    setButtonEnabled(window, 4, false);
    setButtonEnabled(window, 5, false);
    afterPause(window, kHangUpPause, ModemStep::Close);
}

void finishCall(ObjectHandle window) {
    SendingState& state = sendingState(window);
    state.modemActive = 0;
    state.currentStep = ModemStep::Wait;
    setStatus(window, "待機中"_s);
    setTimerMode(window, "Timer1"_s, 0);
    setTimerMode(window, "Timer2"_s, 0);
    const Object serial = serialPort(window);
    if (serial) serialClose(serial.get());
    setProgressValue(window, 0);
}

void runStep(ObjectHandle window, ModemStep step) {
    switch (step) {
        case ModemStep::Recipient: stepRecipient(window); break;
        case ModemStep::Blocks: stepBlocks(window); break;
        case ModemStep::End: stepEnd(window); break;
        case ModemStep::HangUp: stepHangUp(window); break;
        case ModemStep::Close: finishCall(window); break;
        case ModemStep::Wait: break;
    }
}

// Reads what the modem answered; a failure answer ends the call as "中止"
// does, with a status that names the answer. True when the call goes on.
bool modemStillOnCall(ObjectHandle window) {
    SendingState& state = sendingState(window);
    const Object serial = serialPort(window);
    if (!serial) return true;
    const String received = String::adopt(serialReadAll(serial.get()));
    if (received.length() == 0) return true;
    const String answers = String::borrow(state.modemAnswers) + received;
    const applogic::ModemAnswer failure = applogic::findModemFailure(bytesOf(answers));
    if (failure == applogic::ModemAnswer::None) {
        // Only the unfinished last line is kept for the next reading.
        const applogic::Bytes all = bytesOf(answers);
        int32_t lineStart = 0;
        for (int32_t i = 0; i < all.size; ++i) {
            if (all[i] == 13 || all[i] == 10) lineStart = i + 1;
        }
        holdString(state.modemAnswers, stringOf(all.from(lineStart)).get());
        return true;
    }
    holdString(state.modemAnswers, nullptr);
    abortSending(window);
    const String status =
        String::borrow("送信できませんでした: "_s) + stringOf(applogic::modemAnswerText(failure));
    setStatus(window, status.get());
    return false;
}

}  // namespace

// "送信": dials the centre at once and keys in the recipient after 25 s.
void startModemCall(ObjectHandle window) {
    SendingState& state = sendingState(window);
    if (state.modemActive) return;
    String centre;
    if (!prepareMessage(window, centre)) return;
    setProgressMaximum(window, 0);
    const Object serial = serialPort(window);
    bool opened = false;
    if (serial) {
        serialClose(serial.get());
        applySerialChoice(window, serial.get());
        opened = serialOpen(serial.get());
    }
    setStatus(window, "センターにダイヤル中"_s);
    setProgressMaximum(window, applogic::modemProgressMaximum(state.blockCount));
    if (!opened) {
        RuntimeMsgBox("シリアルポートが使えません。\rシステムを再起動して下さい。"_s);
        setStatus(window, "待機中"_s);
        setProgress(window, 100, 0);
        return;
    }
    // Answers still waiting from before (the speaker set-up at start, an
    // earlier call) are not about this call.
    serialFlush(serial.get());
    holdString(state.modemAnswers, nullptr);
    serialWrite(serial.get(), centre.get());
    state.modemActive = 1;
    setButtonEnabled(window, 1, false);
    if (isChecked(window, "Check_Manual"_s)) setButtonEnabled(window, 2, true);
    setTimer(window, "Timer2"_s, kTickPeriod, 2);
    state.startTicks = RuntimeTicks();
    afterPause(window, kDialPause, ModemStep::Recipient);
}

// "番号送信": the pending command goes now.
void sendNumberNow(ObjectHandle window) {
    if (sendingState(window).modemActive) setTimer(window, "Timer1"_s, 0, 1);
}

// "メッセージ送信" by modem: the pending block goes now.
void sendBlockNow(ObjectHandle window) {
    if (!sendingState(window).modemActive) return;
    const Object timer = control(window, "Timer1"_s);
    if (timer) timerPeriodSetter(timer.get(), 0);
}

// "送信継続": instead of ending the message, keys in another recipient and
// message on the same call when "番号送信" is pressed.
void continueOnSameCall(ObjectHandle window) {
    SendingState& state = sendingState(window);
    if (!state.modemActive) return;
    setTimerMode(window, "Timer1"_s, 0);
    String centre;
    if (!prepareMessage(window, centre)) return;
    setProgressMaximum(window, applogic::modemProgressMaximum(state.blockCount));
    state.nextStep = ModemStep::Recipient;
    state.currentStep = ModemStep::Wait;
    state.startTicks = RuntimeTicks();
    setButtonEnabled(window, 4, false);
    setButtonEnabled(window, 5, false);
    setButtonEnabled(window, 2, true);
}

// "送信終了"
void endModemCall(ObjectHandle window) {
    SendingState& state = sendingState(window);
    state.modemActive = 0;
    state.currentStep = ModemStep::Wait;
    const Object serial = serialPort(window);
    if (serial) serialClose(serial.get());
    setProgressValue(window, 0);
    setTimerMode(window, "Timer1"_s, 0);
    setTimerMode(window, "Timer2"_s, 0);
    setStatus(window, "待機中"_s);
    setButtonEnabled(window, 1, true);
    for (int32_t index = 2; index <= 5; ++index) setButtonEnabled(window, index, false);
}

}  // namespace app

extern "C" {

// Sends the pending command and makes the step it leads to current.
void Timer1_Action(ObjectHandle) {
    const ObjectHandle window = app::mainWindow();
    app::SendingState& state = app::sendingState(window);
    const app::String command = app::String::borrow("AT"_s) + app::String::borrow(state.nextCommand);
    app::writeToModem(window, command.get());
    state.currentStep = state.nextStep;
    app::setTimerMode(window, "Timer1"_s, 0);
}

void Timer2_Action(ObjectHandle) {
    const ObjectHandle window = app::mainWindow();
    app::SendingState& state = app::sendingState(window);
    app::setProgressValue(window, RuntimeTicks() - state.startTicks);
    if (!app::modemStillOnCall(window)) return;
    app::runStep(window, state.currentStep);
}

}  // extern "C"
