// The runtime entry table: every slot names a routine, names are unique
// ignoring case (apart from deliberate duplicates of one routine), and lookups
// ignore case.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "loader/RuntimeEntryTable.h"
#include "text/StringEntries.h"

namespace {

std::string upper(const char* name) {
    std::string s(name);
    for (char& c : s) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST(RuntimeEntryTable, EverySlotIsComplete) {
    std::map<std::string, void*> seen;
    for (const RuntimeEntry& slot : runtime::runtimeEntryTable()) {
        ASSERT_NE(slot.name, nullptr);
        EXPECT_NE(slot.routine, nullptr) << slot.name;
        EXPECT_EQ(slot.reserved[0], 0u) << slot.name;
        EXPECT_EQ(slot.reserved[1], 0u) << slot.name;
        auto [it, inserted] = seen.emplace(upper(slot.name), slot.routine);
        if (!inserted) {
            EXPECT_EQ(it->second, slot.routine) << "duplicate name with another routine: " << slot.name;
        }
        EXPECT_EQ(runtime::findRuntimeRoutine(slot.name), it->second) << slot.name;
    }
    EXPECT_GE(seen.size(), 15u);
}

TEST(RuntimeEntryTable, LookupIgnoresCase) {
    EXPECT_EQ(runtime::findRuntimeRoutine("velmbuildstring"), reinterpret_cast<void*>(&VELMBuildString));
    EXPECT_EQ(runtime::findRuntimeRoutine("STRINGSETTER"), reinterpret_cast<void*>(&stringSetter));
    EXPECT_EQ(runtime::findRuntimeRoutine("NoSuchRoutine"), nullptr);
    EXPECT_EQ(runtime::findRuntimeRoutine(""), nullptr);
}

}  // namespace
