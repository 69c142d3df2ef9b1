// The two plug-in libraries as built, loaded into this process by their full
// paths and registered with the host through the real resolver: the files'
// export and import tables, the kej_ methods of the string plug-in called
// through the members they registered, and the bevel button's menu rows and
// action-notification receivers called through its registered methods and
// behaviour routines.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "glue/PluginGlue.h"
#include "loader/PluginEntries.h"
#include "loader/PluginHost.h"
#include "loader/PluginInstaller.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/InterfaceTables.h"
#include "objects/ObjectEntries.h"
#include "objects/ObjectLifetime.h"
#include "support/MessageBoxWatcher.h"
#include "text/StringEntries.h"
#include "text/StringValue.h"

namespace {

using namespace runtime;
using namespace runtime::plugins;
namespace fs = std::filesystem;

fs::path pluginFile(const char* name) { return fs::path(testing_support::testProgramFolder()) / ".." / ".." / "plugins" / name; }

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// --- A small reader of a PE file's export names and imported libraries.

struct PeTables {
    std::vector<std::string> exportNames;
    uint32_t exportedRoutines = 0;  // every exported address, named or by ordinal only
    std::vector<std::string> importedLibraries;
};

class PeReader {
public:
    explicit PeReader(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::optional<PeTables> read() {
        if (u16(0) != 0x5A4D) return std::nullopt;  // "MZ"
        const uint32_t pe = u32(0x3C);
        if (u32(pe) != 0x00004550) return std::nullopt;  // "PE\0\0"
        const uint32_t sectionCount = u16(pe + 6);
        const uint32_t optionalSize = u16(pe + 20);
        const uint32_t optional = pe + 24;
        if (u16(optional) != 0x10B) return std::nullopt;  // a 32-bit image
        sections_ = optional + optionalSize;
        sectionCount_ = sectionCount;
        PeTables tables;
        if (const uint32_t exports = rvaToOffset(u32(optional + 96))) {
            tables.exportedRoutines = u32(exports + 20);
            const uint32_t nameCount = u32(exports + 24);
            const uint32_t names = rvaToOffset(u32(exports + 32));
            for (uint32_t i = 0; i < nameCount; ++i) tables.exportNames.push_back(text(rvaToOffset(u32(names + 4 * i))));
        }
        if (uint32_t import = rvaToOffset(u32(optional + 104))) {
            for (; u32(import + 12) != 0; import += 20) tables.importedLibraries.push_back(text(rvaToOffset(u32(import + 12))));
        }
        return tables;
    }

private:
    uint32_t u16(uint32_t at) const { return at + 2 <= bytes_.size() ? bytes_[at] | bytes_[at + 1] << 8 : 0; }
    uint32_t u32(uint32_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::string text(uint32_t at) const {
        std::string s;
        while (at > 0 && at < bytes_.size() && bytes_[at]) s += static_cast<char>(bytes_[at++]);
        return s;
    }
    uint32_t rvaToOffset(uint32_t rva) const {
        if (rva == 0) return 0;
        for (uint32_t i = 0; i < sectionCount_; ++i) {
            const uint32_t header = sections_ + 40 * i;
            const uint32_t virtualAddress = u32(header + 12);
            const uint32_t size = std::max(u32(header + 8), u32(header + 16));
            if (rva >= virtualAddress && rva < virtualAddress + size) return rva - virtualAddress + u32(header + 20);
        }
        return 0;
    }

    std::vector<uint8_t> bytes_;
    uint32_t sections_ = 0;
    uint32_t sectionCount_ = 0;
};

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(PluginFiles, EachLibraryExportsOnlyItsEntryAndImportsOnlySystemLibraries) {
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll",
                                          "advapi32.dll", "ntdll.dll"};
    for (const char* name : {"velmap1.dll", "VlPlugin.dll"}) {
        const std::optional<PeTables> tables = PeReader(readFile(pluginFile(name))).read();
        ASSERT_TRUE(tables.has_value()) << name << " is a 32-bit PE file";
        EXPECT_EQ(tables->exportNames, std::vector<std::string>{"VELMPluginMain"}) << name;
        EXPECT_EQ(tables->exportedRoutines, 1u) << name << " exports nothing by ordinal alone";
        EXPECT_FALSE(tables->importedLibraries.empty()) << name;
        for (const std::string& library : tables->importedLibraries) {
            EXPECT_TRUE(system.count(lower(library))) << name << " imports " << library;
            EXPECT_EQ(lower(library).find("sutakiba"), std::string::npos) << name << " imports from the runtime";
        }
    }
}

// --- A receiver class of this test's own plug-in: it implements
// actionNotificationReceiver, records what happens to its instances and can
// remove receivers from the button that tells it.

std::vector<std::string> gEvents;
ObjectHandle gButton = nullptr;
std::vector<ObjectHandle> gRemoveWhenTold;  // what PerformAction removes from gButton
constexpr int32_t kReceiverName = 24;       // private data: a one-letter name

char receiverName(ObjectHandle receiver) { return *(reinterpret_cast<char*>(receiver) + kReceiverName); }

RUNTIME_CALL void performAction(ObjectHandle self);
RUNTIME_CALL void finaliseReceiver(ObjectHandle self) { gEvents.push_back(std::string("finalised ") + receiverName(self)); }

PluginMethodDefinition gReceiverMethods[] = {{reinterpret_cast<void*>(&performAction), nullptr, "PerformAction"}};
PluginClassDefinition gReceiverClass{0, "TestReceiver", nullptr, 4, 0, nullptr,
                                     reinterpret_cast<void*>(&finaliseReceiver), nullptr, 0, gReceiverMethods, 1,
                                     nullptr, 0, nullptr, 0, "actionNotificationReceiver"};
// A class without PerformAction: skipped when told.
PluginClassDefinition gDeafClass{0, "TestDeaf", nullptr, 4};

glue::GlueRoutine<void, int32_t> RegisterPluginVersionGlue{"RegisterPluginVersion"};
glue::GlueRoutine<void, void*> PluginRegisterClassGlue{"PluginRegisterClass"};

RUNTIME_CALL void receiverPluginMain(PluginResolver resolver) {
    glue::setResolver(resolver);
    RegisterPluginVersionGlue(4);
    PluginRegisterClassGlue(&gReceiverClass);
    PluginRegisterClassGlue(&gDeafClass);
}

void* member(const std::string& text) {
    void* routine = resolvePluginMember(text);
    EXPECT_NE(routine, nullptr) << text;
    return routine;
}

template <typename R, typename... A>
R call(void* routine, A... args) {
    return reinterpret_cast<R(RUNTIME_CALL*)(A...)>(routine)(args...);
}

RUNTIME_CALL void performAction(ObjectHandle self) {
    gEvents.push_back(std::string("told ") + receiverName(self));
    void* remove = member("MBevelButton!removeActionNotificationReceiver(receiver As actionNotificationReceiver)");
    for (ObjectHandle r : gRemoveWhenTold) call<void>(remove, gButton, r);
    gRemoveWhenTold.clear();
}

// Each library gets its own resolver, which counts the names it is asked for;
// the appearance plug-in's hides PluginInterpretConstantValue, as a host
// without that routine would.
std::map<std::string, int> gAskedByVelmap, gAskedByStrings;
RUNTIME_CALL void* velmapResolver(const char* name) {
    ++gAskedByVelmap[name];
    return std::string_view(name) == "PluginInterpretConstantValue" ? nullptr : resolveRuntimeName(name);
}
RUNTIME_CALL void* stringsResolver(const char* name) {
    ++gAskedByStrings[name];
    return resolveRuntimeName(name);
}

class PluginDlls : public ::testing::Test {
protected:
    // Once per process: the suites of this file share the registered libraries.
    static void SetUpTestSuite() {
        static bool installed = false;
        if (installed) return;
        installed = true;
        defineBuiltinClasses();
        definePluginInterfaces();
        setPluginClassFinders(findControlClass, findPlainClass);
        runPluginMain(&receiverPluginMain, &resolveRuntimeName);
        for (const auto& [name, resolver] : {std::pair{"velmap1.dll", &velmapResolver}, std::pair{"VlPlugin.dll", &stringsResolver}}) {
            const fs::path path = fs::absolute(pluginFile(name));
            HMODULE library = LoadLibraryW(path.wstring().c_str());
            ASSERT_NE(library, nullptr) << path;
            auto main = reinterpret_cast<PluginMainRoutine>(reinterpret_cast<void*>(GetProcAddress(library, "VELMPluginMain")));
            ASSERT_NE(main, nullptr) << name;
            runPluginMain(main, resolver);
        }
        completePluginClasses();
        buildInterfaceTables();
    }
};

// --- kej_ methods of VlPlugin.dll, called as compiled code calls them.

StringHandle str(const std::string& s) { return StringValue::fromBytes(s).release(); }
std::string take(StringHandle s) {
    const StringValue owned = StringValue::adopt(s);
    return std::string(owned.view());
}

constexpr const char* kCheckType = "Mkej_StrCheckType( Type as Integer )";
constexpr const char* kError = "Mkej_StrError as Integer";
constexpr const char* kCount = "Mkej_CountFields(source as string, separator as string) as integer";
constexpr const char* kNth = "Mkej_NthField(source as String, separator as String, fieldNumber as Integer) as String";
constexpr const char* kReplaceAll =
    "Mkej_ReplaceAll(sourceString as String, oldString as String, newString as String) as String";
constexpr const char* kReplace = "Mkej_Replace(sourceString as String, oldString as String, newString as String) as String";

int32_t countFields(const std::string& source, const std::string& separator) {
    StringHandle a = str(source), b = str(separator);
    const int32_t n = call<int32_t>(member(kCount), a, b);
    EXPECT_TRUE(!a || a->refCount == 1) << "the argument's reference is given back";
    RuntimeUnlockString(a);
    RuntimeUnlockString(b);
    return n;
}
std::string nthField(const std::string& source, const std::string& separator, int32_t n) {
    StringHandle a = str(source), b = str(separator);
    const std::string field = take(call<StringHandle>(member(kNth), a, b, n));
    RuntimeUnlockString(a);
    RuntimeUnlockString(b);
    return field;
}
std::string replace(const char* which, const std::string& source, const std::string& oldText, const std::string& newText) {
    StringHandle a = str(source), b = str(oldText), c = str(newText);
    const std::string result = take(call<StringHandle>(member(which), a, b, c));
    RuntimeUnlockString(a);
    RuntimeUnlockString(b);
    RuntimeUnlockString(c);
    return result;
}
int32_t lastError() { return call<int32_t>(member(kError)); }
void checkType(int32_t type) { call<void>(member(kCheckType), type); }

TEST_F(PluginDlls, KejFieldCountsAndErrorsThroughThePlugin) {
    struct Case {
        std::string source, separator;
        int32_t count, error;
    };
    const Case cases[] = {
        {"a,b,,c", ",", 4, 0},
        {"", ",", 0, 1},
        {"abc", "", 1, 2},
        {"\x95\x5C\x5C", "\x5C", 2, 0},  // only the second backslash starts a character
        {"x\x83\x61y\x83\x61", "\x83\x61", 3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(countFields(c.source, c.separator), c.count) << c.source;
        EXPECT_EQ(lastError(), c.error) << c.source;
    }
}

TEST_F(PluginDlls, KejNthFieldThroughThePlugin) {
    EXPECT_EQ(nthField("ONE and two AND three", "and", 3), " three");
    EXPECT_EQ(lastError(), 0);
    EXPECT_EQ(nthField("a,b", ",", 0), "");
    EXPECT_EQ(lastError(), 4);
    EXPECT_EQ(nthField("a,b", ",", 5), "");
    EXPECT_EQ(lastError(), 0);
    // The last field: a backslash inside "表" (0x95 0x5C) is no separator.
    EXPECT_EQ(nthField("a\\\x95\x5C" "b", "\\", 2), "\x95\x5C" "b");
}

TEST_F(PluginDlls, KejReplaceModesAndGrowthThroughThePlugin) {
    EXPECT_EQ(replace(kReplaceAll, "aXbxc", "x", "--"), "a--b--c");
    checkType(2);
    EXPECT_EQ(replace(kReplaceAll, "aXbxc", "x", "--"), "aXb--c");
    EXPECT_EQ(replace(kReplaceAll, "aXbxc", "x", "--"), "aXb--c") << "mode 2 stays";
    checkType(1);
    EXPECT_EQ(replace(kReplaceAll, "aXbxc", "x", "--"), "aXb--c");
    EXPECT_EQ(replace(kReplaceAll, "aXbxc", "x", "--"), "a--b--c") << "mode 1 lasts one call";
    EXPECT_EQ(replace(kReplace, "x.x.x", ".", ""), "xx.x");
    EXPECT_EQ(replace(kReplaceAll, "", "x", "y"), "");
    EXPECT_EQ(lastError(), 1);
    EXPECT_EQ(replace(kReplaceAll, "abc", "", "y"), "abc");
    EXPECT_EQ(lastError(), 8);
    const std::string longer(2001, 'L');
    EXPECT_EQ(replace(kReplaceAll, "-.-.-.-", ".", longer), "-" + longer + "-" + longer + "-" + longer + "-");
    EXPECT_EQ(lastError(), 0);
}

// --- BevelButton rows and receivers, through velmap1.dll's registered members.

constexpr const char* kAddRow = "MBevelButton!AddRow(text As String)";
constexpr const char* kAddSeparator = "MBevelButton!AddSeparator";
constexpr const char* kRemoveRow = "MBevelButton!RemoveRow(row As Integer)";
constexpr const char* kInsertRow = "MBevelButton!InsertRow(row As Integer, text As String)";
constexpr const char* kDeleteAllRows = "MBevelButton!DeleteAllRows";
constexpr const char* kList = "MBevelButton!List(row As Integer) As String";
constexpr const char* kSetList = "WBevelButton!List(row As Integer) As String";
constexpr const char* kAddReceiver = "MBevelButton!addActionNotificationReceiver(receiver As actionNotificationReceiver)";

class BevelButtonMembers : public PluginDlls {
public:
    void SetUp() override {
        button_ = PluginNewInstance("BevelButton");
        ASSERT_NE(button_, nullptr);
    }
    void TearDown() override { RuntimeUnlockObject(button_); }

    // Every row as text, "-" for a separator (List gives nil).
    std::string rows() {
        std::string all;
        for (int32_t i = 0;; ++i) {
            StringHandle row = call<StringHandle>(member(kList), button_, i);
            if (!row && i >= rowCount()) break;
            all += row ? take(row) : "-";
            all += '|';
        }
        return all;
    }
    int32_t rowCount() {
        int32_t n = 0;
        const auto* data = reinterpret_cast<const char*>(button_) + kControlDataOffset;
        for (auto* row = *reinterpret_cast<void* const*>(data + 32); row; row = *static_cast<void* const*>(row)) ++n;
        return n;
    }
    void add(const char* text) {
        StringHandle s = str(text);
        call<void>(member(kAddRow), button_, s);
        RuntimeUnlockString(s);
    }
    void insert(int32_t at, const char* text) {
        StringHandle s = str(text);
        call<void>(member(kInsertRow), button_, at, s);
        RuntimeUnlockString(s);
    }
    void remove(int32_t at) { call<void>(member(kRemoveRow), button_, at); }

    ObjectHandle button_ = nullptr;
};

TEST_F(BevelButtonMembers, RowsAreAddedInsertedRemovedAndReplacedByPosition) {
    add("A");
    call<void>(member(kAddSeparator), button_);
    add("B");
    EXPECT_EQ(rows(), "A|-|B|");
    EXPECT_EQ(call<StringHandle>(member(kList), button_, 1), nullptr) << "a separator has no text";
    EXPECT_EQ(call<StringHandle>(member(kList), button_, 3), nullptr);
    EXPECT_EQ(call<StringHandle>(member(kList), button_, -1), nullptr);

    struct Step {
        const char* what;
        void (*run)(BevelButtonMembers&);
        const char* rows;
    };
    const Step steps[] = {
        {"insert at 1", [](BevelButtonMembers& t) { t.insert(1, "x"); }, "A|x|-|B|"},
        {"insert at 0", [](BevelButtonMembers& t) { t.insert(0, "first"); }, "first|A|x|-|B|"},
        {"insert past the end appends", [](BevelButtonMembers& t) { t.insert(99, "last"); }, "first|A|x|-|B|last|"},
        {"insert at a negative index is at 0", [](BevelButtonMembers& t) { t.insert(-3, "neg"); },
         "neg|first|A|x|-|B|last|"},
        {"remove past the end does nothing", [](BevelButtonMembers& t) { t.remove(7); }, "neg|first|A|x|-|B|last|"},
        {"remove a negative index does nothing", [](BevelButtonMembers& t) { t.remove(-1); },
         "neg|first|A|x|-|B|last|"},
        {"remove the first", [](BevelButtonMembers& t) { t.remove(0); }, "first|A|x|-|B|last|"},
        {"remove the separator", [](BevelButtonMembers& t) { t.remove(3); }, "first|A|x|B|last|"},
        {"remove the last", [](BevelButtonMembers& t) { t.remove(4); }, "first|A|x|B|"},
    };
    for (const Step& step : steps) {
        step.run(*this);
        EXPECT_EQ(rows(), step.rows) << step.what;
    }
    StringHandle replaced = str("y");
    call<void>(member(kSetList), button_, 2, replaced);
    call<void>(member(kSetList), button_, 9, replaced);  // past the end: nothing
    EXPECT_EQ(rows(), "first|A|y|B|");
    EXPECT_EQ(replaced->refCount, 2) << "the row holds one reference";
    call<void>(member(kDeleteAllRows), button_);
    EXPECT_EQ(rows(), "");
    EXPECT_EQ(replaced->refCount, 1) << "deleting the rows gives the reference back";
    RuntimeUnlockString(replaced);
}

TEST_F(BevelButtonMembers, RowsHoldTheirTextsUntilTheButtonIsDestroyed) {
    StringHandle text = str("kept");
    call<void>(member(kAddRow), button_, text);
    call<void>(member(kAddRow), button_, text);
    EXPECT_EQ(text->refCount, 3);
    remove(0);
    EXPECT_EQ(text->refCount, 2);
    RuntimeUnlockObject(button_);
    button_ = PluginNewInstance("BevelButton");
    EXPECT_EQ(text->refCount, 1) << "destroying the button released its rows";
    RuntimeUnlockString(text);
}

TEST_F(BevelButtonMembers, WithoutTheHostsConstantRoutineTheDefaultCaptionIsKeptWithItsOwnReference) {
    StringHandle caption = call<StringHandle>(member("GBevelButton!Caption"), button_);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(std::string(StringValue::borrow(caption).view()), "Untitled");
    EXPECT_EQ(caption->refCount, 2) << "the button's reference and the one just returned";
    RuntimeUnlockString(caption);
}

TEST_F(BevelButtonMembers, EachGlueNameIsAskedForOnceAndAMissingOneAgainAtEachCall) {
    ObjectHandle another = PluginNewInstance("BevelButton");
    add("A");
    add("B");
    RuntimeUnlockObject(another);
    EXPECT_GE(gAskedByVelmap["PluginInterpretConstantValue"], 2) << "a name that resolved to 0 is asked for again";
    for (const auto& [name, count] : gAskedByVelmap) {
        if (name != "PluginInterpretConstantValue") {
            EXPECT_EQ(count, 1) << name;
        }
    }
    EXPECT_EQ(gAskedByVelmap.count("VELMBuildString"), 0u) << "the appearance plug-in never calls it";
    EXPECT_EQ(gAskedByVelmap.count("PluginRegisterMethod"), 0u);
    EXPECT_EQ(gAskedByStrings.count("PluginRegisterControl"), 0u);
    for (const auto& [name, count] : gAskedByStrings) EXPECT_EQ(count, 1) << name;
}

// A receiver of this test's class, named by one letter; the caller owns it.
ObjectHandle newReceiver(char name, const char* cls = "TestReceiver") {
    ObjectHandle r = PluginNewInstance(cls);
    EXPECT_NE(r, nullptr);
    if (r) *(reinterpret_cast<char*>(r) + kReceiverName) = name;
    return r;
}

// A completed click: pressed, then released over the button.
void click(ObjectHandle button) {
    const PluginControlClass* c = pluginControlClassOf(button);
    ASSERT_NE(c, nullptr);
    *(reinterpret_cast<uint8_t*>(button) + kControlDataOffset + 104) = 1;  // the pressed flag
    call<void>(c->behaviour[kBehaviourMouseUp], button, 1, 1);
}

TEST_F(BevelButtonMembers, ReceiversAreToldNewestFirstAndOnlyWhileRegistered) {
    gButton = button_;
    gEvents.clear();
    ObjectHandle a = newReceiver('a'), b = newReceiver('b'), deaf = newReceiver('d', "TestDeaf");
    call<void>(member(kAddReceiver), button_, a);
    call<void>(member(kAddReceiver), button_, deaf);
    call<void>(member(kAddReceiver), button_, b);
    EXPECT_EQ(a->refCount, 2) << "the button holds a reference";
    click(button_);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"told b", "told a"})) << "a receiver without PerformAction is skipped";

    gEvents.clear();
    gRemoveWhenTold = {b};
    click(button_);  // b removes itself while it is told
    click(button_);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"told b", "told a", "told a"}));
    EXPECT_EQ(b->refCount, 1) << "removing gives the reference back";
    EXPECT_EQ(a->refCount, 2);

    gEvents.clear();
    RuntimeUnlockObject(b);
    RuntimeUnlockObject(deaf);
    RuntimeUnlockObject(a);
    EXPECT_EQ(gEvents, std::vector<std::string>{"finalised b"}) << "a receiver still held by the button lives on";
    gEvents.clear();
    RuntimeUnlockObject(button_);
    button_ = PluginNewInstance("BevelButton");
    EXPECT_EQ(gEvents, (std::vector<std::string>{"finalised a"})) << "destroying the button released its receivers";
}

// A receiver whose only reference is the button's list, removing itself and
// the others while it is told: every receiver of the list at the click is told
// once, and none is destroyed before the telling ends.
TEST_F(BevelButtonMembers, AReceiverRemovingItselfAndOthersWhileToldIsNotUsedAfterItIsGone) {
    gButton = button_;
    gEvents.clear();
    ObjectHandle a = newReceiver('a'), b = newReceiver('b'), c = newReceiver('c');
    for (ObjectHandle r : {a, b, c}) {
        call<void>(member(kAddReceiver), button_, r);
        RuntimeUnlockObject(r);  // the list holds the only reference now
    }
    gRemoveWhenTold = {c, b, a};  // c, told first, removes everyone
    click(button_);
    EXPECT_EQ(gEvents, (std::vector<std::string>{"told c", "told b", "told a", "finalised c", "finalised b",
                                                 "finalised a"}));
    gEvents.clear();
    click(button_);
    EXPECT_TRUE(gEvents.empty()) << "no receiver is left";
}

}  // namespace
