// The Serial control: a COM device driven with plain synchronous file I/O on
// the GUI thread. Received bytes are collected by polling from the event loop
// (which raises DataAvailable after a poll that brought bytes), never by a
// thread or overlapped I/O.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "comm/SerialEntries.h"
#include "comm/SerialLayout.h"
#include "comm/SerialSettings.h"
#include "objects/BuiltinClasses.h"
#include "objects/EventDelivery.h"
#include "objects/EventLoop.h"
#include "text/EntryGuard.h"
#include "text/StringValue.h"
#include "text/SystemText.h"

using namespace runtime;

namespace {

constexpr int32_t kPortCount = 4;
constexpr int32_t kPortSpeed = 115200;
constexpr DWORD kReadChunk = 1024;
// A write may take this long plus a millisecond per byte; then it is short.
constexpr DWORD kWriteTimeoutConstant = 2000;
constexpr DWORD kWriteTimeoutPerByte = 1;
// How often the loop polls while a port is open and nothing else is due.
constexpr DWORD kPollInterval = 30;

SerialFields& fieldsOf(ObjectHandle serial) {
    return *reinterpret_cast<SerialFields*>(reinterpret_cast<char*>(serial) + kSerialFieldsOffset);
}

SerialPortFields& portFieldsOf(ObjectHandle port) {
    return *reinterpret_cast<SerialPortFields*>(reinterpret_cast<char*>(port) + kSerialFieldsOffset);
}

// The runtime-wide list of live Serial objects, newest first.
ObjectHandle gSerials = nullptr;

HANDLE deviceOf(const SerialFields& fields) { return static_cast<HANDLE>(fields.device); }

void setReceived(SerialFields& fields, StringValue bytes) {
    unlockString(fields.received);
    fields.received = bytes.release();
}

// "COMn" of the port; its system name "\\.\COMn" also reaches COM10 and above.
std::string deviceName(const SerialFields& fields) {
    if (fields.serialPort) return std::string(viewOf(portFieldsOf(fields.serialPort).inputDriverName));
    return "COM" + std::to_string(fields.port + 1);
}

std::wstring systemDeviceName(const std::string& name) {
    if (name.find('\\') != std::string::npos) return toSystemText(name);
    return L"\\\\.\\" + toSystemText(name);
}

void applySettings(ObjectHandle serial) {
    SerialFields& fields = fieldsOf(serial);
    if (!fields.open) return;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(deviceOf(fields), &dcb)) return;
    const LineSettings line = lineSettingsFor(fields.baud, fields.bits, fields.parity, fields.stop);
    dcb.BaudRate = line.baudRate;
    dcb.ByteSize = line.byteSize;
    dcb.Parity = line.parity;
    dcb.StopBits = line.stopBits;
    SetCommState(deviceOf(fields), &dcb);
}

// Whether another Serial object of this process has the device open. The
// system refuses a second open of a port itself; this answers the same where
// a system does not (a COM port emulated over a pseudo-terminal).
bool openElsewhere(ObjectHandle serial, const std::string& name) {
    for (ObjectHandle s = gSerials; s; s = fieldsOf(s).next) {
        if (s != serial && fieldsOf(s).open && lstrcmpiW(systemDeviceName(deviceName(fieldsOf(s))).c_str(),
                                                         systemDeviceName(name).c_str()) == 0) {
            return true;
        }
    }
    return false;
}

bool openPort(ObjectHandle serial) {
    SerialFields& fields = fieldsOf(serial);
    if (fields.open) return true;
    const std::string name = deviceName(fields);
    if (openElsewhere(serial, name)) {
        fields.device = INVALID_HANDLE_VALUE;
        return false;
    }
    // No sharing: a port in use elsewhere cannot be opened.
    HANDLE device = CreateFileW(systemDeviceName(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    fields.device = device;
    if (device == INVALID_HANDLE_VALUE) return false;
    fields.open = 1;
    applySettings(serial);
    // Reads return at once with what is there; writes give up after a while.
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, kWriteTimeoutPerByte, kWriteTimeoutConstant};
    SetCommTimeouts(device, &timeouts);
    return true;
}

void closePort(ObjectHandle serial) {
    SerialFields& fields = fieldsOf(serial);
    setReceived(fields, {});
    if (!fields.open) return;
    CloseHandle(deviceOf(fields));
    fields.device = INVALID_HANDLE_VALUE;
    fields.open = 0;
}

// Moves every byte the device has ready into the receive buffer.
void poll(ObjectHandle serial) {
    SerialFields& fields = fieldsOf(serial);
    if (!fields.open) return;
    std::string arrived;
    char chunk[kReadChunk];
    DWORD got = 0;
    while (ReadFile(deviceOf(fields), chunk, kReadChunk, &got, nullptr) && got > 0) arrived.append(chunk, got);
    if (arrived.empty()) return;
    setReceived(fields, StringValue::borrow(fields.received) + StringValue::fromBytes(arrived));
    fields.dataArrived = 1;
    fields.eventDue = 1;
}

StringValue takeFront(ObjectHandle serial, int32_t count) {
    SerialFields& fields = fieldsOf(serial);
    const StringValue buffer = StringValue::borrow(fields.received);
    if (count < 1) return {};
    if (count >= buffer.length()) {
        setReceived(fields, {});
        return buffer;
    }
    setReceived(fields, buffer.tail(count));
    return buffer.left(count);
}

bool anyPortOpen() {
    for (ObjectHandle s = gSerials; s; s = fieldsOf(s).next) {
        if (fieldsOf(s).open) return true;
    }
    return false;
}

// The next Serial whose DataAvailable is due, its flag cleared; null when none.
ObjectHandle takeDueEvent() {
    for (ObjectHandle s = gSerials; s; s = fieldsOf(s).next) {
        SerialFields& fields = fieldsOf(s);
        if (!fields.eventDue) continue;
        fields.eventDue = 0;
        if (fields.received) return s;  // bytes that are still unread
    }
    return nullptr;
}

// The loop's serial step: poll every port, then raise the due events. A
// handler may open, close or destroy Serial objects, so the list is searched
// afresh after each one and nothing is held across the call.
class SerialPoller final : public LoopParticipant {
public:
    void runStep() override {
        guardedEntry([] {
            for (ObjectHandle s = gSerials; s; s = fieldsOf(s).next) poll(s);
        });
        while (ObjectHandle due = takeDueEvent()) deliverEvent(due, builtinEvent("Serial", "DataAvailable"));
    }
    std::optional<DWORD> millisecondsUntilDue() const override {
        if (!anyPortOpen()) return std::nullopt;
        return kPollInterval;
    }
};

SerialPoller gPoller;

}  // namespace

namespace runtime {

void initialiseSerial(ObjectHandle serial, ClassRecord*) {
    SerialFields& fields = fieldsOf(serial);
    fields.device = INVALID_HANDLE_VALUE;
    fields.next = gSerials;
    gSerials = serial;
    setLoopParticipant(LoopStage::kSerialPorts, &gPoller);
}

void finaliseSerial(ObjectHandle serial, ClassRecord*) {
    closePort(serial);
    SerialFields& fields = fieldsOf(serial);
    unlockObject(fields.serialPort);
    fields.serialPort = nullptr;
    for (ObjectHandle* link = &gSerials; *link; link = &fieldsOf(*link).next) {
        if (*link == serial) {
            *link = fields.next;
            break;
        }
    }
    fields.next = nullptr;
}

void finaliseSerialPort(ObjectHandle port, ClassRecord*) {
    SerialPortFields& fields = portFieldsOf(port);
    for (StringHandle* text : {&fields.name, &fields.inputDriverName, &fields.outputDriverName}) {
        unlockString(*text);
        *text = nullptr;
    }
}

}  // namespace runtime

bool serialOpen(ObjectHandle serial) {
    return guardedEntry([&] { return serial && openPort(serial); });
}

void serialClose(ObjectHandle serial) {
    if (serial) closePort(serial);
}

bool serialWrite(ObjectHandle serial, StringHandle data) {
    return guardedEntry([&] {
        if (!serial || !openPort(serial)) return false;
        if (!data) return true;
        DWORD written = 0;
        const bool ok = WriteFile(deviceOf(fieldsOf(serial)), cStringOf(data), static_cast<DWORD>(data->length),
                                  &written, nullptr) != FALSE;
        return ok && written == static_cast<DWORD>(data->length);
    });
}

StringHandle serialRead(ObjectHandle serial, int32_t count) {
    return guardedEntry([&]() -> StringHandle {
        if (!serial) return nullptr;
        poll(serial);
        return takeFront(serial, count).release();
    });
}

StringHandle serialReadAll(ObjectHandle serial) {
    return guardedEntry([&]() -> StringHandle {
        if (!serial) return nullptr;
        poll(serial);
        SerialFields& fields = fieldsOf(serial);
        fields.dataArrived = 0;
        // The buffer itself goes to the caller.
        return std::exchange(fields.received, nullptr);
    });
}

void serialXmitWait(ObjectHandle) {}
void serialLeaveDTROnClose(ObjectHandle) {}

void serialFlush(ObjectHandle serial) {
    guardedEntry([&] {
        if (!serial) return;
        poll(serial);
        setReceived(fieldsOf(serial), {});
    });
}

void serialTick(ObjectHandle serial) {
    guardedEntry([&] {
        if (serial) poll(serial);
    });
}

void serialReset(ObjectHandle serial) {
    if (serial) applySettings(serial);
}

int32_t getSerialPortCount() { return kPortCount; }

ObjectHandle getSerialPort(int32_t index) {
    return guardedEntry([&]() -> ObjectHandle {
        if (index < 0 || index >= kPortCount) return nullptr;
        ObjectHandle port = newObject(builtinClass("SerialPort"));
        SerialPortFields& fields = portFieldsOf(port);
        const std::string name = "COM" + std::to_string(index + 1);
        for (StringHandle* text : {&fields.name, &fields.inputDriverName, &fields.outputDriverName}) {
            *text = StringValue::fromBytes(name).release();
        }
        fields.ratedSpeed = fields.maximumSpeed = kPortSpeed;
        return port;
    });
}
