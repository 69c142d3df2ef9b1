// Linking code1 with the link records of code2, with the lookups faked: import
// chains, data references, plug-in members kept for later, and every way a
// damaged record is refused.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ImageBytes.h"
#include "loader/ImageLinker.h"

using namespace runtime::loader;
using namespace loader_test;

namespace {

constexpr uint32_t kCodeBase = 0x00400000;
constexpr uint32_t kDataBase = 0x00A00000;
constexpr std::string_view kDamaged = "The application could not be loaded because its image is damaged: ";

class FakeBinder final : public ImportBinder {
public:
    std::map<std::string, uint32_t> runtime{{"StringLen", 0x00501000}, {"RuntimeLockString", 0x00502000}};
    std::map<std::pair<std::string, std::string>, uint32_t> libraries{{{"kernel32.dll", "ExitProcess"}, 0x7B001000}};
    std::vector<std::pair<std::string, std::string>> libraryLookups;

    uint32_t runtimeRoutine(std::string_view name) override {
        auto it = runtime.find(std::string(name));
        return it == runtime.end() ? 0 : it->second;
    }

    LibraryRoutine libraryRoutine(std::string_view library, std::string_view routine) override {
        libraryLookups.emplace_back(library, routine);
        bool libraryKnown = false;
        for (const auto& [key, address] : libraries) {
            if (key.first != library) continue;
            libraryKnown = true;
            if (key.second == routine) return {LibraryRoutine::Status::Found, address};
        }
        return {libraryKnown ? LibraryRoutine::Status::RoutineMissing : LibraryRoutine::Status::LibraryMissing, 0};
    }
};

struct Linked {
    LoadResult result;
    DeferredImportList deferred;
};

Linked link(TestCode& code, const Bytes& records, FakeBinder& binder) {
    Linked linked{LoadResult::success(), {}};
    linked.result = linkCode({code.bytes, kCodeBase}, records, kDataBase, binder, linked.deferred);
    return linked;
}

// The displacement of a call at `field` that reaches `target`.
uint32_t callTo(uint32_t target, uint32_t field) { return target - (kCodeBase + field + 4); }

TEST(ImageLinker, PatchesEveryCallSiteOfAnImportChain) {
    TestCode code(64);
    const uint32_t head = code.chain({1, 20, 41});
    FakeBinder binder;
    Linked linked = link(code, importRecord(head, "StringLen"), binder);
    ASSERT_TRUE(linked.result.ok()) << linked.result.message();
    for (uint32_t field : {1u, 20u, 41u}) {
        EXPECT_EQ(code.word(field), callTo(0x00501000, field)) << field;
        EXPECT_EQ(code.bytes[field - 1], 0xE8);
    }
}

TEST(ImageLinker, ChainHeadZeroPatchesNothingAndSucceeds) {
    TestCode code(16);
    const Bytes before = code.bytes;
    FakeBinder binder;
    EXPECT_TRUE(link(code, importRecord(0, "RuntimeLockString"), binder).result.ok());
    EXPECT_EQ(code.bytes, before);
}

TEST(ImageLinker, EmptyRecordBlockLinks) {
    TestCode code(8);
    FakeBinder binder;
    EXPECT_TRUE(link(code, {}, binder).result.ok());
}

TEST(ImageLinker, DataReferencesAddTheDataBase) {
    TestCode code(16);
    image::writeU32(code.bytes.data() + 2, 0x10);
    image::writeU32(code.bytes.data() + 9, 0xFFFFFFFC);  // an address just before data1: a negative addend
    FakeBinder binder;
    ASSERT_TRUE(link(code, concat({dataReference(2), dataReference(9)}), binder).result.ok());
    EXPECT_EQ(code.word(2), kDataBase + 0x10);
    EXPECT_EQ(code.word(9), kDataBase - 4);
}

TEST(ImageLinker, BytesThatStartNoRecordAreSkipped) {
    TestCode code(16);
    const uint32_t head = code.chain({5});
    FakeBinder binder;
    const Bytes records = concat({{0x00, 0x7F, 0xFF}, importRecord(head, "StringLen"), {0x03}, dataReference(10)});
    ASSERT_TRUE(link(code, records, binder).result.ok());
    EXPECT_EQ(code.word(5), callTo(0x00501000, 5));
    EXPECT_EQ(code.word(10), kDataBase + 0x90909090);
}

TEST(ImageLinker, LibraryImportsSplitAtTheFirstBangAndLoadEachTime) {
    TestCode code(32);
    const uint32_t first = code.chain({1});
    const uint32_t second = code.chain({10});
    FakeBinder binder;
    binder.libraries[{"user32.dll", "Odd!Name"}] = 0x7C002000;
    const Bytes records = concat({importRecord(first, "!Xkernel32.dll!ExitProcess"),
                                  importRecord(second, "!Xuser32.dll!Odd!Name"), importRecord(0, "!Xkernel32.dll!ExitProcess")});
    ASSERT_TRUE(link(code, records, binder).result.ok());
    EXPECT_EQ(code.word(1), callTo(0x7B001000, 1));
    EXPECT_EQ(code.word(10), callTo(0x7C002000, 10));
    using Lookup = std::pair<std::string, std::string>;
    EXPECT_EQ(binder.libraryLookups, (std::vector<Lookup>{{"kernel32.dll", "ExitProcess"},
                                                          {"user32.dll", "Odd!Name"},
                                                          {"kernel32.dll", "ExitProcess"}}));
}

TEST(ImageLinker, RefusesImportsThatCannotBeBoundWithTheirMessages) {
    struct Case {
        std::string_view name;
        std::string message;
    };
    const Case cases[] = {
        {"!Xnosuchlib.dll!Anything",
         "The application could not be loaded because a necessary shared library nosuchlib.dll could not be found."},
        {"!Xkernel32.dll!NoSuchRoutine",
         "The application could not be loaded because the routine NoSuchRoutine could not be found in the shared "
         "library kernel32.dll."},
        {"!Xkernel32.dll",
         "The application could not be loaded because the routine  could not be found in the shared library "
         "kernel32.dll."},
        {"NoSuchRoutine", "The application could not be loaded because the runtime routine NoSuchRoutine could not be found."},
    };
    for (const Case& c : cases) {
        TestCode code(16);
        const uint32_t head = code.chain({3});
        const Bytes before = code.bytes;
        FakeBinder binder;
        Linked linked = link(code, importRecord(head, c.name), binder);
        EXPECT_FALSE(linked.result.ok()) << c.name;
        EXPECT_EQ(linked.result.message(), c.message);
        EXPECT_EQ(code.bytes, before) << "nothing of a refused import is patched: " << c.name;
    }
}

TEST(ImageLinker, RecordsBeforeAFailingOneStayAppliedAndLaterOnesAreNotRun) {
    TestCode code(32);
    const uint32_t good = code.chain({1});
    const uint32_t later = code.chain({20});
    FakeBinder binder;
    const Bytes records =
        concat({importRecord(good, "StringLen"), importRecord(0, "Missing"), importRecord(later, "StringLen")});
    EXPECT_FALSE(link(code, records, binder).result.ok());
    EXPECT_EQ(code.word(1), callTo(0x00501000, 1));
    EXPECT_EQ(code.word(20), 0u);
}

TEST(ImageLinker, RefusesDamagedRecordsAndChains) {
    struct Case {
        const char* what;
        std::function<Bytes(TestCode&)> records;  // builds the records, may alter the code
        std::string_view detail;
    };
    const Case cases[] = {
        {"chain head past the end", [](TestCode&) { return importRecord(62, "StringLen"); }, "leaves code1 at offset 0x3E"},
        {"chain head beyond the block", [](TestCode&) { return importRecord(0x7FFFFFFF, "StringLen"); },
         "leaves code1 at offset 0x7FFFFFFF"},
        {"chain step out of the block",
         [](TestCode& code) {
             const uint32_t head = code.chain({1, 10});
             image::writeU32(code.bytes.data() + 10, 0xFFFFFFF0);
             return importRecord(head, "StringLen");
         },
         "leaves code1 at offset 0xFFFFFFF0"},
        {"field without a call opcode", [](TestCode&) { return importRecord(8, "StringLen"); },
         "reaches offset 0x8, which is not a call"},
        {"chain that loops",
         [](TestCode& code) {
             const uint32_t head = code.chain({1, 10, 20});
             image::writeU32(code.bytes.data() + 20, 1);
             return importRecord(head, "StringLen");
         },
         "reaches the call site at offset 0x1, which is linked already"},
        {"two chains sharing a site",
         [](TestCode& code) {
             const uint32_t head = code.chain({1, 10});
             return concat({importRecord(head, "StringLen"), importRecord(10, "RuntimeLockString")});
         },
         "the call chain of RuntimeLockString reaches the call site at offset 0xA, which is linked already"},
        {"data reference inside a call site",
         [](TestCode& code) { return concat({importRecord(code.chain({10}), "StringLen"), dataReference(11)}); },
         "points at offset 0xB, which is linked already"},
        {"data reference past the end", [](TestCode&) { return dataReference(61); }, "points outside code1 (0x3D)"},
        {"import record cut off", [](TestCode&) { return Bytes{0x01, 0x00, 0x00, 0x00, 0x00, 0x05, 'S', 't'}; },
         "the link record at code2 offset 0x0 is cut off by the end of the block"},
        {"import record without its length byte", [](TestCode&) { return Bytes{0x90, 0x01, 0x00, 0x00, 0x00, 0x00}; },
         "the link record at code2 offset 0x1 is cut off"},
        {"data reference cut off", [](TestCode&) { return Bytes{0x02, 0x10, 0x00, 0x00}; },
         "the link record at code2 offset 0x0 is cut off"},
    };
    for (const Case& c : cases) {
        TestCode code(64);
        FakeBinder binder;
        const Bytes records = c.records(code);
        Linked linked = link(code, records, binder);
        ASSERT_FALSE(linked.result.ok()) << c.what;
        EXPECT_TRUE(linked.result.message().starts_with(kDamaged)) << linked.result.message();
        EXPECT_NE(linked.result.message().find(c.detail), std::string::npos) << c.what << ": " << linked.result.message();
    }
}

TEST(ImageLinker, PluginMembersAreDeferredAndBoundLastInFirstOut) {
    TestCode code(64);
    const uint32_t addRow = code.chain({1, 30});
    const uint32_t menuValue = code.chain({10});
    const uint32_t replaceAll = code.chain({20});
    FakeBinder binder;
    const Bytes records = concat({importRecord(addRow, "!MBevelButton!AddRow(text As String)"),
                                  importRecord(menuValue, "!GBevelButton!MenuValue"), importRecord(0, "!SNoCalls"),
                                  importRecord(replaceAll, "!Mkej_ReplaceAll(a as String) as String")});
    Linked linked = link(code, records, binder);
    ASSERT_TRUE(linked.result.ok()) << linked.result.message();
    EXPECT_EQ(linked.deferred.size(), 4u);
    EXPECT_EQ(code.word(1), 30u) << "deferred chains stay untouched until bound";

    std::vector<std::string> asked;
    const std::map<std::string, uint32_t> members{{"MBevelButton!AddRow(text As String)", 0x00601000},
                                                  {"GBevelButton!MenuValue", 0x00602000},
                                                  {"Mkej_ReplaceAll(a as String) as String", 0x00603000}};
    bindDeferredImports(linked.deferred, {code.bytes, kCodeBase}, [&](const runtime::StringValue& text) -> uint32_t {
        asked.emplace_back(text.view());
        auto it = members.find(std::string(text.view()));
        return it == members.end() ? 0 : it->second;
    });
    EXPECT_TRUE(linked.deferred.empty());
    EXPECT_EQ(asked, (std::vector<std::string>{"Mkej_ReplaceAll(a as String) as String", "SNoCalls",
                                               "GBevelButton!MenuValue", "MBevelButton!AddRow(text As String)"}));
    EXPECT_EQ(code.word(1), callTo(0x00601000, 1));
    EXPECT_EQ(code.word(30), callTo(0x00601000, 30));
    EXPECT_EQ(code.word(10), callTo(0x00602000, 10));
    EXPECT_EQ(code.word(20), callTo(0x00603000, 20));
}

TEST(ImageLinker, DeferredChainsAreCheckedWhenLinking) {
    TestCode code(16);
    FakeBinder binder;
    Linked linked = link(code, importRecord(40, "!MBevelButton!DeleteAllRows"), binder);
    EXPECT_FALSE(linked.result.ok());
    EXPECT_TRUE(linked.deferred.empty());
}

}  // namespace
