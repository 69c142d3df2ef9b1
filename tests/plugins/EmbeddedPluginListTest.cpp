// The embedded plug-in list in data1: a sound chain gives every library with
// its name; a chain that leaves data1, whose lengths do not fit, that returns
// to a record, or that names anything but a plain library file is damaged as
// a whole, so nothing of it is installed.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "loader/EmbeddedPluginList.h"

namespace {

using runtime::plugins::EmbeddedPluginList;
using runtime::plugins::isPlainLibraryName;
using runtime::plugins::readEmbeddedPluginList;

constexpr uint32_t kBase = 0x00400000;

void putWord(std::vector<uint8_t>& data, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) data[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// data1 with records laid out one after another from offset 16; each record's
// next word points at the following record (0 after the last).
struct Data1 {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(16, 0xEE);
    std::vector<size_t> records;

    size_t add(const std::string& name, const std::string& library) {
        const size_t at = bytes.size();
        bytes.resize(at + 13 + name.size() + library.size());
        putWord(bytes, at, 0);
        putWord(bytes, at + 4, static_cast<uint32_t>(4 + 1 + name.size() + library.size()));
        putWord(bytes, at + 8, 0);
        bytes[at + 12] = static_cast<uint8_t>(name.size());
        std::copy(name.begin(), name.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 13));
        std::copy(library.begin(), library.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at + 13 + name.size()));
        if (!records.empty()) putWord(bytes, records.back(), address(at));
        records.push_back(at);
        return at;
    }
    static uint32_t address(size_t offset) { return kBase + static_cast<uint32_t>(offset); }
    uint32_t first() const { return address(records.front()); }
    EmbeddedPluginList read() const { return readEmbeddedPluginList(bytes, kBase, first()); }
};

std::string text(std::span<const uint8_t> bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(EmbeddedPluginList, ASoundChainGivesEveryLibraryInChainOrder) {
    Data1 data;
    data.add("velmap1.dll", "MZ appearance");
    data.add("VlPlugin.dll", "MZ strings!");
    const EmbeddedPluginList list = data.read();
    EXPECT_EQ(list.problem, "");
    ASSERT_EQ(list.plugins.size(), 2u);
    EXPECT_EQ(list.plugins[0].fileName, "velmap1.dll");
    EXPECT_EQ(text(list.plugins[0].library), "MZ appearance");
    EXPECT_EQ(list.plugins[1].fileName, "VlPlugin.dll");
    EXPECT_EQ(text(list.plugins[1].library), "MZ strings!");
    EXPECT_TRUE(readEmbeddedPluginList(data.bytes, kBase, 0).plugins.empty()) << "address 0: no plug-ins";
}

// Each case damages the second record of a sound two-record chain; the first
// record must not be installed alone either.
TEST(EmbeddedPluginList, ADamagedRecordRefusesTheWholeList) {
    struct Case {
        const char* what;
        void (*damage)(Data1&);
        const char* problem;
    };
    const Case cases[] = {
        {"next before data1", [](Data1& d) { putWord(d.bytes, d.records[1], kBase - 4); }, "lies outside data1"},
        {"next past data1",
         [](Data1& d) { putWord(d.bytes, d.records[1], Data1::address(d.bytes.size() - 5)); }, "lies outside data1"},
        {"size past data1", [](Data1& d) { putWord(d.bytes, d.records[1] + 4, 0x7FFFFFF0); }, "does not fit data1"},
        {"size wraps", [](Data1& d) { putWord(d.bytes, d.records[1] + 4, 0xFFFFFFFF); }, "does not fit data1"},
        {"size shorter than the name", [](Data1& d) { putWord(d.bytes, d.records[1] + 4, 6); }, "does not fit data1"},
        {"no library bytes",
         [](Data1& d) { putWord(d.bytes, d.records[1] + 4, 4 + 1 + 12); }, "does not fit data1"},
        {"empty name", [](Data1& d) { d.bytes[d.records[1] + 12] = 0; }, "does not fit data1"},
        {"returns to itself",
         [](Data1& d) { putWord(d.bytes, d.records[1], Data1::address(d.records[1])); }, "returns to the record"},
        {"returns to the first",
         [](Data1& d) { putWord(d.bytes, d.records[1], Data1::address(d.records[0])); }, "returns to the record"},
        {"a path in the name", [](Data1& d) { d.bytes[d.records[1] + 13 + 2] = '\\'; }, "not a plain library name"},
    };
    for (const Case& c : cases) {
        Data1 data;
        data.add("velmap1.dll", "MZ appearance");
        data.add("VlPlugin.dll", "MZ strings!");
        c.damage(data);
        const EmbeddedPluginList list = data.read();
        EXPECT_TRUE(list.plugins.empty()) << c.what;
        EXPECT_NE(list.problem.find(c.problem), std::string::npos) << c.what << ": " << list.problem;
    }
}

TEST(EmbeddedPluginList, AChainOfMoreThanSixtyFourRecordsIsDamaged) {
    Data1 data;
    for (int i = 0; i < 65; ++i) data.add("p" + std::to_string(i) + ".dll", "MZ");
    EXPECT_NE(data.read().problem.find("more than 64"), std::string::npos);
}

TEST(EmbeddedPluginList, OnlyPlainLibraryNamesAreAccepted) {
    for (const char* plain : {"velmap1.dll", "VlPlugin.dll", "a.DLL", "my_plug-in.v2.dll", "comx.dll", "com10.dll"}) {
        EXPECT_TRUE(isPlainLibraryName(plain)) << plain;
    }
    for (const char* bad : {"", ".dll", "..dll", "x..y.dll", ".hidden.dll", "..\\kernel32.dll", "sub/x.dll",
                            "C:x.dll", "\\\\server\\share\\x.dll", "x.exe", "x.dll.exe", "x.dl", "dll",
                            "kernel32", "a b.dll", "x*.dll", "x?.dll", "con.dll", "NUL.dll", "com1.dll",
                            "LPT9.dll", "aux.x.dll", "x.dll ", "x.dll:stream"}) {
        EXPECT_FALSE(isPlainLibraryName(bad)) << bad;
    }
}

}  // namespace
