// The NotePlayer's short MIDI messages, seen through an output installed in
// place of the system's device, and its silence where no device exists.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "comm/MidiOutput.h"
#include "comm/NotePlayerEntries.h"
#include "objects/BuiltinClasses.h"
#include "objects/ObjectRef.h"

using runtime::ObjectRef;

namespace {

class RecordingOutput final : public runtime::MidiOutput {
public:
    bool open() override {
        ++opened;
        return true;
    }
    void send(uint32_t message) override { sent.push_back(message); }
    void close() override { ++closed; }

    int opened = 0, closed = 0;
    std::vector<uint32_t> sent;
};

class NotePlayers : public ::testing::Test {
protected:
    static void SetUpTestSuite() { runtime::defineBuiltinClasses(); }
    void SetUp() override { runtime::setMidiOutput(&output_); }
    void TearDown() override { runtime::setMidiOutput(nullptr); }

    static ObjectRef newPlayer() { return ObjectRef::adopt(runtime::newObject(runtime::builtinClass("NotePlayer"))); }
    static runtime::NotePlayerFields& fields(const ObjectRef& p) {
        return *p.field<runtime::NotePlayerFields>(runtime::kNotePlayerFieldsOffset);
    }

    RecordingOutput output_;
};

TEST_F(NotePlayers, NotesAndInstrumentsOnTheOwnChannel) {
    ObjectRef first = newPlayer();
    ObjectRef second = newPlayer();
    EXPECT_EQ(output_.opened, 1);  // one device for all players
    EXPECT_EQ(fields(first).channel, 0);
    EXPECT_EQ(fields(second).channel, 1);

    notePlayerInstrumentSetter(second.get(), 3);
    notePlayerInstrumentSetter(second.get(), 3);  // unchanged: nothing sent
    notePlayerPlayNote(second.get(), 60, 100);
    notePlayerPlayNote(second.get(), 60, 0);     // note-off, release velocity 64
    notePlayerPlayNote(first.get(), 0x7F, 1);
    EXPECT_EQ(output_.sent, (std::vector<uint32_t>{0x03C1, 0x643C91, 0x403C81, 0x017F90}));
    EXPECT_EQ(fields(second).instrument, 3);
}

TEST_F(NotePlayers, DataBytesKeepSevenBits) {
    ObjectRef player = newPlayer();
    notePlayerPlayNote(player.get(), 200, 300);   // 0xC8 and 0x12C
    notePlayerPlayNote(player.get(), -1, 0);
    notePlayerInstrumentSetter(player.get(), 130);
    EXPECT_EQ(output_.sent, (std::vector<uint32_t>{0x2C4890, 0x407F80, 0x02C0}));
    for (uint32_t message : output_.sent) {
        EXPECT_EQ((message >> 8) & 0x80, 0u);
        EXPECT_EQ((message >> 16) & 0x80, 0u);
    }
    EXPECT_EQ(fields(player).instrument, 130);  // the property keeps the value
}

TEST_F(NotePlayers, TheSeventeenthPlayerIsSilent) {
    std::vector<ObjectRef> players;
    for (int i = 0; i < 17; ++i) players.push_back(newPlayer());
    for (int i = 0; i < 16; ++i) EXPECT_EQ(fields(players[i]).channel, i);
    EXPECT_FALSE(fields(players[16]).hasChannel);
    notePlayerPlayNote(players[16].get(), 60, 100);
    notePlayerInstrumentSetter(players[16].get(), 5);
    EXPECT_TRUE(output_.sent.empty());
    EXPECT_EQ(fields(players[16]).instrument, 5);

    // A channel given back goes to the next new player.
    players[3] = {};
    ObjectRef again = newPlayer();
    EXPECT_EQ(fields(again).channel, 3);
    notePlayerPlayNote(again.get(), 64, 90);
    EXPECT_EQ(output_.sent, (std::vector<uint32_t>{0x5A4093}));
}

TEST_F(NotePlayers, TheLastPlayerClosesTheDeviceAndTheNextReopensIt) {
    {
        ObjectRef a = newPlayer();
        ObjectRef b = newPlayer();
        a = {};
        EXPECT_EQ(output_.closed, 0);
    }
    EXPECT_EQ(output_.closed, 1);
    ObjectRef c = newPlayer();
    EXPECT_EQ(output_.opened, 2);
    EXPECT_EQ(fields(c).channel, 0);
}

TEST(NotePlayerWithoutDevice, StaysSilentWithoutError) {
    runtime::defineBuiltinClasses();
    // The system's output: the test machines have no MIDI device.
    ObjectRef player = ObjectRef::adopt(runtime::newObject(runtime::builtinClass("NotePlayer")));
    auto& fields = *player.field<runtime::NotePlayerFields>(runtime::kNotePlayerFieldsOffset);
    EXPECT_FALSE(fields.hasChannel);
    notePlayerPlayNote(player.get(), 60, 100);
    notePlayerInstrumentSetter(player.get(), 7);
    EXPECT_EQ(fields.instrument, 7);
}

}  // namespace
