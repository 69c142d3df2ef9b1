// Path rules and file types of folder items: splitting, joining relative
// texts, parents, the type of a path and the dialog filters. Runs natively
// over the fixed code-page tables (932 and 1252).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/FileTypes.h"
#include "files/PathRules.h"
#include "support/EntryCallSupport.h"

using namespace runtime;

namespace {

const PathRules& rules() {
    static const PathRules r(CharacterTables::system());
    return r;
}

struct SplitCase {
    const char* path;
    const char* root;
    const char* directory;
    const char* name;
};

TEST(PathRules, SplitsRootDirectoryAndName) {
    const SplitCase cases[] = {
        {"C:\\App\\x.txt", "C:\\", "App\\", "x.txt"},
        {"C:\\App", "C:\\", "", "App"},
        {"C:\\", "C:\\", "", ""},
        {"C:", "C:", "", ""},
        {"\\\\server\\share\\a\\b.txt", "\\\\server\\", "share\\a\\", "b.txt"},
        {"\\\\server", "\\\\server", "", ""},
        {"\\Temp\\x.txt", "", "\\Temp\\", "x.txt"},
        {"sub\\x.txt", "", "sub\\", "x.txt"},
        {"x.txt", "", "", "x.txt"},
        {"", "", "", ""},
    };
    for (const SplitCase& c : cases) {
        const PathParts parts = rules().split(c.path);
        EXPECT_EQ(parts.root, c.root) << c.path;
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
    }
}

struct JoinCase {
    const char* base;
    const char* relative;
    const char* child;
    const char* sibling;
};

TEST(PathRules, JoinsRelativeTexts) {
    const JoinCase cases[] = {
        {"C:\\App", "Prefs.txt", "C:\\App\\Prefs.txt", "C:\\Prefs.txt"},
        {"C:\\App\\a.txt", "b.txt", "C:\\App\\a.txt\\b.txt", "C:\\App\\b.txt"},
        {"C:\\App", "D:\\Data\\x.txt", "D:\\Data\\x.txt", "D:\\Data\\x.txt"},
        {"C:\\App", "\\\\srv\\share\\x", "\\\\srv\\share\\x", "\\\\srv\\share\\x"},
        {"C:\\App", "\\Temp\\x.txt", "C:\\Temp\\x.txt", "C:\\Temp\\x.txt"},
        {"C:\\App\\a.txt", "sub\\b.txt", "C:\\App\\a.txt\\sub\\b.txt", "C:\\App\\sub\\b.txt"},
    };
    for (const JoinCase& c : cases) {
        EXPECT_EQ(rules().joinChild(c.base, c.relative), c.child) << c.base << " + " << c.relative;
        EXPECT_EQ(rules().joinSibling(c.base, c.relative), c.sibling) << c.base << " + " << c.relative;
    }
}

TEST(PathRules, Parents) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\App\\x.txt", "C:\\App"},
        {"C:\\App", "C:"},
        {"C:\\", "C:"},
        {"C:", ""},
        {"c:\\", "c:"},
        {"\\\\server\\share\\x", "\\\\server\\share"},
        {"x.txt", ""},
    };
    for (const auto& [path, parent] : cases) EXPECT_EQ(rules().parent(path), parent) << path;
    EXPECT_EQ(rules().withoutLastComponent("C:\\App\\tool.exe"), "C:\\App");
}

// In Shift-JIS the second byte of a character may equal "\" (0x5C): it never
// separates. "C:\ソフト\表.txt": ソ is 83 5C, 表 is 95 5C.
TEST(PathRules, DoubleByteTrailBytesAreNotSeparators) {
    if (testing_support::codePageUnderTest() != 932) GTEST_SKIP() << "double-byte code page only";
    const std::string folder = "C:\\\x83\x5C\x83\x74\x83\x67";
    const std::string file = folder + "\\\x95\x5C.txt";
    EXPECT_EQ(rules().parent(file), folder);
    EXPECT_EQ(rules().split(file).name, "\x95\x5C.txt");
    EXPECT_EQ(rules().parent(folder), "C:");
    EXPECT_EQ(rules().joinSibling(file, "b.txt"), folder + "\\b.txt");
    // A name that ends in such a character keeps its last byte.
    const std::string endsInTrail = "C:\\\x95\x5C";
    EXPECT_EQ(rules().split(endsInTrail).name, "\x95\x5C");
    EXPECT_EQ(rules().parent(endsInTrail), "C:");
}

const std::vector<FileType> kTypes = {
    {"Audio/X-Alpha5", "", "", "als"},
    {"Melody", "MELO", "????", ".als;.txt"},
    {"text/tab-separated-values", "XCEL", "TEXT", ""},
    {"Anything", "", "", ""},
};

TEST(FileTypes, TypeOfAPath) {
    EXPECT_EQ(fileTypeOfPath(kTypes, "C:\\x\\song.ALS"), "Audio/X-Alpha5");
    EXPECT_EQ(fileTypeOfPath(kTypes, "C:\\x\\notes.txt"), "Melody");
    // No extension matches: the first type without extensions.
    EXPECT_EQ(fileTypeOfPath(kTypes, "C:\\x\\book.dat"), "text/tab-separated-values");
    EXPECT_EQ(fileTypeOfPath({}, "C:\\x\\book.dat"), "");
}

TEST(FileTypes, DialogFilters) {
    using namespace std::string_literals;
    DialogFilter f = dialogFilterFor(kTypes, "Melody");
    EXPECT_EQ(f.filter, "Melody\0*.als;*.txt\0\0\0"s);
    EXPECT_EQ(f.defaultExtension, "als");
    // An extension declared without its "." still gives "*.als".
    f = dialogFilterFor(kTypes, "audio/x-alpha5;Melody");
    EXPECT_EQ(f.filter, "audio/x-alpha5\0*.als\0Melody\0*.als;*.txt\0\0\0"s);
    EXPECT_EQ(f.defaultExtension, "als");
    // Types without extensions let the user pick any file.
    f = dialogFilterFor(kTypes, "text/tab-separated-values");
    EXPECT_EQ(f.filter, "text/tab-separated-values\0*.*\0\0\0"s);
    EXPECT_EQ(f.defaultExtension, "");
    f = dialogFilterFor(kTypes, "Unknown");
    EXPECT_EQ(f.filter, "Unknown\0*.*\0\0\0"s);
}

}  // namespace
