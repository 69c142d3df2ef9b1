// Sending by mail: the application speaks SMTP itself over Socket1 to the
// server the user named, addressed to the mail gateway of the message
// centre's region, with a keyword body in ISO-2022-JP. Each complete reply
// of the server runs one step of the dialogue; a reply above 400 at any step
// ends it with a message.
#include "MelodyState.h"
#include "SendingState.h"
#include "logic/MailMessage.h"
#include "logic/MessageCentres.h"
#include "logic/SmtpReplyReader.h"
#include "support/HeapBuffer.h"

using namespace app::literals;

namespace app {
namespace {

// Fields of a Socket after the object header: its driver, Address, Port.
constexpr int32_t kSocketAddressOffset = 28;
constexpr int32_t kSocketPortOffset = 32;
constexpr int32_t kCommandCapacity = 600;

Object mailSocket(ObjectHandle window) { return control(window, "Socket1"_s); }

String socketAddress(ObjectHandle socket) { return String::adopt(stringGetter(socket, kSocketAddressOffset)); }

void setSocketPort(ObjectHandle socket, int32_t port) {
    *reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(socket) + kSocketPortOffset) =
        static_cast<uint16_t>(port);
}

// The port typed in Edit_Port: decimal digits only, 1 to 65535; 0 otherwise.
int32_t typedPort(ObjectHandle window) {
    const String text = fieldText(window, "Edit_Port"_s);
    const applogic::Bytes digits = bytesOf(text);
    if (digits.size == 0 || digits.size > 5) return 0;
    int32_t port = 0;
    for (int32_t i = 0; i < digits.size; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return 0;
        port = port * 10 + (digits[i] - '0');
    }
    return port <= 65535 ? port : 0;
}

String gatewayOf(ObjectHandle window) {
    const String centre = fieldText(window, "Edit_Center"_s);
    uint8_t address[applogic::kGatewayAddressCapacity];
    const int32_t length = applogic::gatewayAddress(bytesOf(centre), address, sizeof address);
    return length > 0 ? stringOf(applogic::Bytes(address, length)) : String();
}

// The keyword body in ISO-2022-JP, CRLF line ends, dot-stuffed.
String buildMailText(ObjectHandle window) {
    const String phone = fieldText(window, "Edit_Phone"_s);
    const String reply = fieldText(window, "Edit_RESNO"_s);
    const String message = fieldText(window, "Edit_Msg"_s);
    const String melody = melodyText(window);
    const String limit = fieldText(window, "Edit_Onsu"_s);
    applogic::MailBody body;
    body.phone = bytesOf(phone);
    body.replyNumber = bytesOf(reply);
    body.message = bytesOf(message);
    body.attachMelody = isChecked(window, "Check_Melo"_s);
    body.melody = bytesOf(melody);
    body.noteLimit = static_cast<int32_t>(StringVal(limit.get()));
    const int32_t capacity = applogic::mailTextCapacity(body);
    HeapBuffer scratch(capacity);
    HeapBuffer text(capacity);
    const int32_t length = applogic::buildMailText(body, scratch.data(), scratch.size(), text.data(), text.size());
    return length > 0 ? stringOf(applogic::Bytes(text.data(), length)) : String();
}

// prefix + value (without line breaks) + suffix + CRLF.
String command(applogic::Bytes prefix, const String& value, applogic::Bytes suffix) {
    uint8_t line[kCommandCapacity];
    const int32_t length = applogic::smtpCommand(prefix, bytesOf(value), suffix, line, sizeof line);
    return length > 0 ? stringOf(applogic::Bytes(line, length)) : String();
}

void write(ObjectHandle window, const String& data) {
    const Object socket = mailSocket(window);
    if (socket) SocketWrite(socket.get(), data.get());
}

void advance(ObjectHandle window, StringHandle status, int32_t progress, MailStep next) {
    setStatus(window, status);
    setProgressValue(window, progress);
    sendingState(window).mailStep = next;
}

// Back to idle after a failure, with the message the user sees.
void failMail(ObjectHandle window) {
    SendingState& state = sendingState(window);
    const Object socket = mailSocket(window);
    if (socket) socketClose(socket.get());
    state.mailStep = MailStep::Idle;
    state.extraReplies = 0;
    holdString(state.replyBuffer, nullptr);
    setProgress(window, 100, 0);
    setStatus(window, "待機中"_s);
    RuntimeMsgBox("エラーが起きました。"_s);
}

void stepHelo(ObjectHandle window) {
    const Object socket = mailSocket(window);
    const String address = socket ? socketAddress(socket.get()) : String();
    const String helo = command(applogic::Bytes("HELO "), address, applogic::Bytes());
    write(window, helo);
    setProgressMaximum(window, 100);
    advance(window, (String::borrow("HELO "_s) + address).get(), 20, MailStep::Rset);
}

void stepMailFrom(ObjectHandle window) {
    const String from = fieldText(window, "Edit_MailAdd"_s);
    write(window, command(applogic::Bytes("MAIL FROM:<"), from, applogic::Bytes(">")));
    const String shown = command(applogic::Bytes("MAIL FROM:"), from, applogic::Bytes());
    advance(window, stringOf(bytesOf(shown).first(shown.length() - 2)).get(), 40, MailStep::RcptTo);
}

void stepRcptTo(ObjectHandle window) {
    const String gateway = gatewayOf(window);
    String recipients = command(applogic::Bytes("RCPT TO:<"), gateway, applogic::Bytes(">"));
    const bool copyToSelf = isChecked(window, "Check_MeToo"_s);
    if (copyToSelf) {
        const String self = fieldText(window, "Edit_MailAdd"_s);
        recipients = recipients + command(applogic::Bytes("RCPT TO:<"), self, applogic::Bytes(">"));
    }
    write(window, recipients);
    sendingState(window).extraReplies = copyToSelf ? 1 : 0;
    advance(window, (String::borrow("RCPT TO:"_s) + gateway).get(), 50, MailStep::Data);
}

void stepBody(ObjectHandle window) {
    const String from = fieldText(window, "Edit_MailAdd"_s);
    const String to = gatewayOf(window);
    const String text = String::borrow(sendingState(window).mailText);
    HeapBuffer data(applogic::mailDataCapacity(from.length(), to.length(), text.length()));
    const int32_t length =
        applogic::buildMailData(bytesOf(from), bytesOf(to), bytesOf(text), data.data(), data.size());
    if (length <= 0) {
        failMail(window);
        return;
    }
    write(window, stringOf(applogic::Bytes(data.data(), length)));
    advance(window, "BODY"_s, 80, MailStep::Quit);
}

void finishMail(ObjectHandle window) {
    const Object socket = mailSocket(window);
    if (socket) socketClose(socket.get());
    holdString(sendingState(window).replyBuffer, nullptr);
    advance(window, "待機中"_s, 0, MailStep::Idle);
}

void runMailStep(ObjectHandle window) {
    switch (sendingState(window).mailStep) {
        case MailStep::Helo: stepHelo(window); break;
        case MailStep::Rset:
            write(window, String::borrow("RSET\r\n"_s));
            advance(window, "RSET"_s, 30, MailStep::MailFrom);
            break;
        case MailStep::MailFrom: stepMailFrom(window); break;
        case MailStep::RcptTo: stepRcptTo(window); break;
        case MailStep::Data:
            write(window, String::borrow("DATA\r\n"_s));
            advance(window, "DATA"_s, 60, MailStep::Body);
            break;
        case MailStep::Body: stepBody(window); break;
        case MailStep::Quit:
            write(window, String::borrow("QUIT\r\n"_s));
            advance(window, "QUIT"_s, 100, MailStep::Close);
            break;
        case MailStep::Close: finishMail(window); break;
        case MailStep::Idle:
        case MailStep::Connecting: break;
    }
}

// Takes the complete lines of the reply buffer and keeps the unfinished
// rest; true with the code of the first complete reply, in order.
bool takeReplies(ObjectHandle window, applogic::SmtpReplyReader& reader) {
    SendingState& state = sendingState(window);
    const String buffer = String::borrow(state.replyBuffer);
    const applogic::Bytes all = bytesOf(buffer);
    int32_t complete = 0;
    for (int32_t i = 0; i < all.size; ++i) {
        if (all[i] == 10) complete = i + 1;
    }
    reader.feed(all.first(complete));
    holdString(state.replyBuffer, stringOf(all.from(complete)).get());
    return complete > 0;
}

}  // namespace

// "メッセージ送信" by mail.
void startMail(ObjectHandle window) { Window1_Send_Mail(window); }

}  // namespace app

extern "C" {

void Window1_Send_Mail(ObjectHandle window) {
    app::SendingState& state = app::sendingState(window);
    const app::Object socket = app::mailSocket(window);
    if (!socket) return;
    socketClose(socket.get());
    state.mailStep = app::MailStep::Idle;
    state.extraReplies = 0;
    app::holdString(state.replyBuffer, nullptr);
    const app::String server = app::fieldText(window, "Edit_SMTP"_s);
    const int32_t port = app::typedPort(window);
    const app::String message = app::fieldText(window, "Edit_Msg"_s);
    if (message.length() == 0) {
        RuntimeMsgBox("メッセージが入力されていません。"_s);
        return;
    }
    if (server.length() == 0) {
        RuntimeMsgBox("SMTPサーバーが設定されていません。"_s);
        return;
    }
    if (port == 0) {
        RuntimeMsgBox("ポート番号が正しくありません。"_s);
        return;
    }
    app::setProgressMaximum(window, 0);
    app::setStatus(window, "接続中"_s);
    app::setSocketPort(socket.get(), port);
    stringSetter(socket.get(), app::kSocketAddressOffset, server.get());
    state.mailStep = app::MailStep::Connecting;
    SocketConnect(socket.get());
}

StringHandle Window1_CMCenter(ObjectHandle window) { return app::gatewayOf(window).release(); }

void Socket1_Connected(ObjectHandle) {
    const ObjectHandle window = app::mainWindow();
    app::SendingState& state = app::sendingState(window);
    if (state.mailStep != app::MailStep::Connecting) return;
    app::setStatus(window, "送信中"_s);
    app::setProgress(window, 0, 0);
    app::holdString(state.mailText, app::buildMailText(window).get());
    state.mailStep = app::MailStep::Helo;
}

void Socket1_DataAvailable(ObjectHandle socket) {
    const ObjectHandle window = app::mainWindow();
    app::SendingState& state = app::sendingState(window);
    const app::String received = app::String::adopt(SocketReadAll(socket));
    app::holdString(state.replyBuffer, (app::String::borrow(state.replyBuffer) + received).get());
    applogic::SmtpReplyReader reader;
    app::takeReplies(window, reader);
    int32_t code = 0;
    while (state.mailStep != app::MailStep::Idle && reader.takeReply(code)) {
        if (applogic::isSmtpFailure(code)) {
            app::failMail(window);
            return;
        }
        if (state.extraReplies > 0) {
            state.extraReplies -= 1;
            continue;
        }
        app::runMailStep(window);
    }
}

void Socket1_Error(ObjectHandle) {
    const ObjectHandle window = app::mainWindow();
    if (app::sendingState(window).mailStep == app::MailStep::Idle) return;
    app::failMail(window);
}

}  // extern "C"
