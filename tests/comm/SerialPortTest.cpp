// The Serial control against pseudo-terminals mapped to the test prefix's COM
// ports (scripts/serial-peer.py answers each line it receives): bytes reach
// the peer, its answers raise DataAvailable from the loop, the line settings
// reach the device, ports are not shared, COM10 opens.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "comm/SerialEntries.h"
#include "comm/SerialLayout.h"
#include "objects/BuiltinClasses.h"
#include "objects/EventLoop.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectRef.h"
#include "objects/ProjectData.h"
#include "objects/RuntimeStartup.h"
#include "support/EntryCallSupport.h"
#include "text/StringValue.h"

using runtime::ObjectRef;
using testing_support::Owned;
using testing_support::ProjectData;

namespace {

std::vector<std::string> gDataAvailable;

extern "C" void onDataAvailable(ObjectHandle serial) {
    const runtime::StringValue bytes = runtime::StringValue::adopt(serialReadAll(serial));
    gDataAvailable.push_back(std::string(bytes.view()));
}

int32_t gHandledClass = 0;

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static ProjectData project;
        project.addNamedClass("Application");
        const int32_t serial = project.addNamedClass("Serial");
        gHandledClass = project.addCompiledClass(
            {.name = "ModemPort", .size = 64, .superIndex = serial,
             .eventHandlers = {{"DataAvailable", reinterpret_cast<void*>(onDataAvailable)}}});
        RuntimeInit(project.table());
    }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

runtime::SerialFields& fields(const ObjectRef& serial) { return *serial.field<runtime::SerialFields>(24); }

ObjectRef newSerial(int16_t port) {
    ObjectRef serial = ObjectRef::adopt(runtime::newObject(runtime::builtinClass("Serial")));
    fields(serial).port = port;
    return serial;
}

std::string lookahead(const ObjectRef& serial) { return std::string(runtime::viewOf(fields(serial).received)); }

// Polls until the receive buffer holds `wanted` (or 10 s pass).
std::string receiveUntil(const ObjectRef& serial, const std::string& wanted) {
    for (int i = 0; i < 1000 && lookahead(serial).find(wanted) == std::string::npos; ++i) {
        serialTick(serial.get());
        Sleep(10);
    }
    return lookahead(serial);
}

std::string ask(const ObjectRef& serial, const std::string& line, const std::string& answerEnd = "\r\n") {
    serialFlush(serial.get());
    Owned text(line + "\r");
    EXPECT_TRUE(serialWrite(serial.get(), text));
    const std::string answer = receiveUntil(serial, answerEnd);
    serialFlush(serial.get());
    return answer;
}

TEST(SerialPort, BytesReachThePeerAndItsAnswerRaisesDataAvailable) {
    ObjectRef serial = ObjectRef::adopt(RuntimeNewObject(gHandledClass));
    EXPECT_EQ(fields(serial).device, INVALID_HANDLE_VALUE);
    Owned hello("hello\r");
    ASSERT_TRUE(serialWrite(serial.get(), hello));  // opens COM1 first
    EXPECT_TRUE(fields(serial).open);
    gDataAvailable.clear();
    std::string received;
    // The peer's pseudo-terminal may still hold answers to an earlier test's
    // lines: only the end of what arrives is this test's.
    const std::string answer = "COM1:hello\r\n";
    for (int pass = 0; pass < 1000 && !received.ends_with(answer); ++pass) {
        runtime::runLoopPass();
        for (const std::string& bytes : gDataAvailable) received += bytes;
        gDataAvailable.clear();
        Sleep(5);
    }
    EXPECT_TRUE(received.ends_with(answer)) << received;
    EXPECT_EQ(fields(serial).received, nullptr);
    // Nothing new: no further event.
    for (int pass = 0; pass < 5; ++pass) runtime::runLoopPass();
    EXPECT_TRUE(gDataAvailable.empty());
    EXPECT_TRUE(serialWrite(serial.get(), nullptr));
    serialClose(serial.get());
    EXPECT_FALSE(fields(serial).open);
    EXPECT_EQ(fields(serial).device, INVALID_HANDLE_VALUE);
}

// The rate and the stop bits as the device took them. A pseudo-terminal
// keeps only those: it forces 8 data bits without parity whatever is set (a
// platform gap; the full table of settings is checked natively).
std::string rateAndStopBits(const ObjectRef& serial) {
    const std::string answer = ask(serial, "?SETTINGS");  // "SETTINGS <rate> <bits> <parity> <stop>"
    const size_t rateEnd = answer.find(' ', 9);
    const size_t stop = answer.find_last_of(' ');
    if (rateEnd == std::string::npos || stop == std::string::npos) return answer;
    return answer.substr(9, rateEnd - 9) + " " + answer.substr(stop + 1, 1);
}

struct SettingsCase {
    int16_t baud, bits, parity, stop;
    const char* expected;
};

TEST(SerialPort, LineSettingsReachTheDevice) {
    const SettingsCase cases[] = {
        {13, 3, 0, 0, "57600 1"},  // the application's layout
        {99, 99, 99, 99, "57600 1"},
        {-1, -1, -1, -1, "57600 1"},
        {8, 2, 2, 2, "9600 2"},
        {0, 3, 1, 0, "300 1"},
        {12, 0, 0, 2, "38400 2"},
    };
    ObjectRef serial = newSerial(0);
    for (const SettingsCase& c : cases) {
        fields(serial).baud = c.baud;
        fields(serial).bits = c.bits;
        fields(serial).parity = c.parity;
        fields(serial).stop = c.stop;
        serialClose(serial.get());
        ASSERT_TRUE(serialOpen(serial.get()));
        EXPECT_EQ(rateAndStopBits(serial), c.expected) << "Baud " << c.baud << ", Stop " << c.stop;
    }
    // Changed settings reach an open device only through serialReset.
    fields(serial).baud = 10;
    fields(serial).stop = 0;
    EXPECT_EQ(rateAndStopBits(serial), "38400 2");
    const void* device = fields(serial).device;
    EXPECT_TRUE(serialOpen(serial.get()));  // already open: no reopen, no reset
    EXPECT_EQ(fields(serial).device, device);
    EXPECT_EQ(rateAndStopBits(serial), "38400 2");
    serialReset(serial.get());
    EXPECT_EQ(rateAndStopBits(serial), "19200 1");
    serialClose(serial.get());
    serialReset(serial.get());  // closed: nothing to apply
}

TEST(SerialPort, PortDescriptions) {
    EXPECT_EQ(getSerialPortCount(), 4);
    EXPECT_EQ(getSerialPort(4), nullptr);
    EXPECT_EQ(getSerialPort(-1), nullptr);
    ObjectRef port = ObjectRef::adopt(getSerialPort(2));
    ASSERT_TRUE(port);
    EXPECT_EQ(port.classRecord(), runtime::builtinClass("SerialPort"));
    const auto& description = *port.field<runtime::SerialPortFields>(24);
    EXPECT_EQ(runtime::viewOf(description.name), "COM3");
    EXPECT_EQ(runtime::viewOf(description.inputDriverName), "COM3");
    EXPECT_EQ(runtime::viewOf(description.outputDriverName), "COM3");
    EXPECT_EQ(description.ratedSpeed, 115200);
    EXPECT_EQ(description.maximumSpeed, 115200);

    // A SerialPort names the device whatever Port says.
    ObjectRef serial = newSerial(0);
    objSetter(serial.get(), 24 + offsetof(runtime::SerialFields, serialPort), port.get());
    EXPECT_EQ(port->refCount, 2);
    ASSERT_TRUE(serialOpen(serial.get()));
    EXPECT_EQ(ask(serial, "which"), "COM3:which\r\n");
    serial = {};
    EXPECT_EQ(port->refCount, 1);  // the Serial let it go
}

TEST(SerialPort, PortsAreNotSharedAndCom10Opens) {
    ObjectRef first = newSerial(1);
    ObjectRef second = newSerial(1);
    ASSERT_TRUE(serialOpen(first.get()));
    Owned text("busy\r");
    EXPECT_FALSE(serialOpen(second.get()));
    EXPECT_FALSE(serialWrite(second.get(), text));
    EXPECT_FALSE(fields(second).open);
    EXPECT_EQ(fields(second).device, INVALID_HANDLE_VALUE);
    // Destroying the first closes its port.
    first = {};
    EXPECT_TRUE(serialOpen(second.get()));
    EXPECT_EQ(ask(second, "free"), "COM2:free\r\n");  // "busy" never went out

    ObjectRef missing = newSerial(29);  // COM30 does not exist
    EXPECT_FALSE(serialOpen(missing.get()));
    EXPECT_FALSE(serialWrite(missing.get(), text));
    serialClose(missing.get());  // harmless
    EXPECT_EQ(fields(missing).device, INVALID_HANDLE_VALUE);

    ObjectRef ten = newSerial(9);
    ASSERT_TRUE(serialOpen(ten.get()));
    EXPECT_EQ(ask(ten, "ten"), "COM10:ten\r\n");
}

TEST(SerialPort, ReadingTheReceiveBuffer) {
    ObjectRef serial = newSerial(3);
    ASSERT_TRUE(serialOpen(serial.get()));
    Owned big("?BIG 3000\r");
    ASSERT_TRUE(serialWrite(serial.get(), big));
    // Polling drains the device in chunks of 1024 bytes.
    std::string all;
    for (int i = 0; i < 1000 && lookahead(serial).size() < 3000; ++i) {
        serialTick(serial.get());
        Sleep(10);
    }
    ASSERT_EQ(lookahead(serial).size(), 3000u);
    EXPECT_TRUE(fields(serial).dataArrived);
    for (int i = 0; i < 300; ++i) all += "0123456789";

    EXPECT_EQ(testing_support::Owned(serialRead(serial.get(), 0)).bytes(), "");
    EXPECT_EQ(testing_support::Owned(serialRead(serial.get(), -5)).bytes(), "");
    EXPECT_EQ(lookahead(serial).size(), 3000u);
    EXPECT_EQ(testing_support::Owned(serialRead(serial.get(), 10)).bytes(), all.substr(0, 10));
    EXPECT_EQ(lookahead(serial), all.substr(10));
    EXPECT_EQ(testing_support::Owned(serialRead(serial.get(), 5000)).bytes(), all.substr(10));
    EXPECT_EQ(fields(serial).received, nullptr);

    Owned echo("x\r");
    serialWrite(serial.get(), echo);
    receiveUntil(serial, "\r\n");
    EXPECT_TRUE(fields(serial).dataArrived);
    EXPECT_EQ(testing_support::Owned(serialReadAll(serial.get())).bytes(), "COM4:x\r\n");
    EXPECT_FALSE(fields(serial).dataArrived);
    serialWrite(serial.get(), echo);
    receiveUntil(serial, "\r\n");
    serialFlush(serial.get());
    EXPECT_EQ(fields(serial).received, nullptr);
    EXPECT_TRUE(fields(serial).dataArrived);  // only ReadAll clears it
    serialXmitWait(serial.get());
    serialLeaveDTROnClose(serial.get());
    EXPECT_TRUE(fields(serial).open);
}

}  // namespace
