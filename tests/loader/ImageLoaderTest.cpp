// sutakiba.exe loading images made by the image tool, under Wine: through the
// appended image and through development files, with the fixtures reporting
// what they saw; and every way an image can be refused, each with its message
// box, exit code 1 and nothing started.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "loader/ImageFormat.h"
#include "support/MessageBoxWatcher.h"

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

// What the C++ fixture writes: its greeting ("送信" in CP932), the lower-case
// import, comparisons, calls through a code table, strings through a data
// table, the shared constant and its reference count after all was released.
const std::string kStringsResult =
    "Hello, \x91\x97\x90\x4D!|AB|cmp=-1,0,1|steps=10|alpha beta|shared=yes|count=1\r\n";
constexpr DWORD kRelocationsPassed = 100;
constexpr std::string_view kCouldNotLoad = "The application could not be loaded because ";

fs::path testFolder() { return fs::path(testProgramFolder()); }
fs::path fixtures() { return testFolder() / "fixtures"; }

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void appendU16(Bytes& bytes, uint16_t word) {
    bytes.push_back(static_cast<uint8_t>(word));
    bytes.push_back(static_cast<uint8_t>(word >> 8));
}

// A fresh folder of its own for one run.
fs::path scratch(const std::string& name) {
    const fs::path folder = testFolder() / "scratch" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void copyDevelopmentFiles(const std::string& fixture, const fs::path& into) {
    for (const char* file : {"code1.dat", "code2.dat", "data1.dat", "data2.dat"}) {
        fs::copy_file(fixtures() / fixture / file, into / file, fs::copy_options::overwrite_existing);
    }
}

struct Outcome {
    DWORD exitCode = STILL_ACTIVE;
    std::optional<MessageBoxSeen> box;
};

// Runs `program` (a path) in `folder`. With `expectBox`, waits for a message
// box and dismisses it first.
Outcome runIn(const fs::path& program, const fs::path& folder, bool expectBox) {
    const std::string relative = fs::relative(program, testFolder()).string();
    ChildProcess child;
    Outcome run;
    if (!startSiblingProgram(relative, "", child, folder.string())) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    if (expectBox) run.box = dismissMessageBox(child.info.dwProcessId, 30000);
    run.exitCode = child.wait(30000);
    return run;
}

Outcome runDevelopment(const fs::path& folder, bool expectBox = false) {
    return runIn(fixtures() / "sutakiba.exe", folder, expectBox);
}

std::string resultOf(const fs::path& folder) {
    const Bytes bytes = readFile(folder / "result.txt");
    return std::string(bytes.begin(), bytes.end());
}

// A refused start: the message box, then exit code 1, and the fixture never ran.
void expectRefused(const Outcome& run, std::string_view detail, const fs::path& folder, const std::string& what) {
    ASSERT_TRUE(run.box.has_value()) << what << ": no message box";
    EXPECT_EQ(run.box->caption, "Message") << what;
    EXPECT_TRUE(run.box->text.starts_with(kCouldNotLoad)) << what << ": " << run.box->text;
    EXPECT_NE(run.box->text.find(detail), std::string::npos) << what << ": " << run.box->text;
    EXPECT_EQ(run.exitCode, 1u) << what;
    EXPECT_FALSE(fs::exists(folder / "result.txt")) << what;
}

TEST(ImageLoader, RunsTheCppFixtureFromDevelopmentFiles) {
    const fs::path folder = scratch("strings-dev");
    copyDevelopmentFiles("strings", folder);
    const Outcome run = runDevelopment(folder);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(resultOf(folder), kStringsResult);
}

TEST(ImageLoader, RunsTheCppFixtureAppendedToTheProgram) {
    const fs::path folder = scratch("strings-exe");
    fs::copy_file(fixtures() / "strings.exe", folder / "strings.exe");
    copyDevelopmentFiles("relocations", folder);  // present, but not what an appended image reads
    const Outcome run = runIn(folder / "strings.exe", folder, false);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(resultOf(folder), kStringsResult);
}

TEST(ImageLoader, ThePlaceholderReadsDevelopmentFilesDespiteAnOverlay) {
    const fs::path folder = scratch("placeholder");
    // The runtime with the placeholder, followed by the strings image that its
    // locator does not point at.
    Bytes program = readFile(fixtures() / "sutakiba.exe");
    const Bytes withImage = readFile(fixtures() / "strings.exe");
    program.insert(program.end(), withImage.begin() + static_cast<ptrdiff_t>(program.size()), withImage.end());
    writeFile(folder / "sutakiba.exe", program);
    copyDevelopmentFiles("relocations", folder);
    EXPECT_EQ(runIn(folder / "sutakiba.exe", folder, false).exitCode, kRelocationsPassed);
}

TEST(ImageLoader, RelocatesRunsOfOneAnd512WordsAcrossASkipOf4096Bytes) {
    const Bytes data2 = readFile(fixtures() / "relocations" / "data2.dat");
    std::vector<uint16_t> words;
    for (size_t i = 0; i + 1 < data2.size(); i += 2) words.push_back(static_cast<uint16_t>(data2[i] | data2[i + 1] << 8));
    EXPECT_EQ(words, (std::vector<uint16_t>{0x4000, 0x4200, 0x4000, 0x8FFF, 0x43FF, 0x4000}));

    const fs::path folder = scratch("relocations-exe");
    fs::copy_file(fixtures() / "relocations.exe", folder / "relocations.exe");
    EXPECT_EQ(runIn(folder / "relocations.exe", folder, false).exitCode, kRelocationsPassed);

    // Words of no known pattern are ignored and do not move the cursor.
    const fs::path ignored = scratch("relocations-ignored-words");
    copyDevelopmentFiles("relocations", ignored);
    Bytes withIgnored;
    for (uint16_t word : {0x4400, 0x0000, 0xF123}) appendU16(withIgnored, word);
    withIgnored.insert(withIgnored.end(), data2.begin(), data2.end());
    appendU16(withIgnored, 0x4400);
    writeFile(ignored / "data2.dat", withIgnored);
    EXPECT_EQ(runDevelopment(ignored).exitCode, kRelocationsPassed);
}

TEST(ImageLoader, LinksAnImportWithChainHeadZeroAndSkipsStrayBytes) {
    const fs::path folder = scratch("chain-head-zero");
    copyDevelopmentFiles("strings", folder);
    Bytes code2 = readFile(folder / "code2.dat");
    const std::string name = "runtimelockstring";
    code2.push_back(0x7F);  // starts no record
    code2.insert(code2.end(), {0x01, 0, 0, 0, 0, static_cast<uint8_t>(name.size())});
    code2.insert(code2.end(), name.begin(), name.end());
    writeFile(folder / "code2.dat", code2);
    const Outcome run = runDevelopment(folder);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(resultOf(folder), kStringsResult);
}

TEST(ImageLoader, RefusesImportsThatCannotBeBoundWithTheirExactMessages) {
    struct Case {
        const char* fixture;
        std::string message;
    };
    const Case cases[] = {
        {"missing_library",
         "The application could not be loaded because a necessary shared library nosuchlib.dll could not be found."},
        {"missing_library_routine",
         "The application could not be loaded because the routine NoSuchRoutine could not be found in the shared "
         "library kernel32.dll."},
        {"unknown_runtime_routine",
         "The application could not be loaded because the runtime routine NoSuchRuntimeRoutine could not be found."},
    };
    for (const Case& c : cases) {
        const fs::path folder = scratch(c.fixture);
        const std::string program = std::string(c.fixture) + ".exe";
        fs::copy_file(fixtures() / program, folder / program);
        const Outcome run = runIn(folder / program, folder, true);
        ASSERT_TRUE(run.box.has_value()) << c.fixture;
        EXPECT_EQ(run.box->text, c.message);
        EXPECT_EQ(run.box->caption, "Message");
        EXPECT_EQ(run.exitCode, 1u) << c.fixture << " (55 would mean it started)";
    }
    // The same through development files.
    const fs::path folder = scratch("missing_library-dev");
    copyDevelopmentFiles("missing_library", folder);
    const Outcome run = runDevelopment(folder, true);
    ASSERT_TRUE(run.box.has_value());
    EXPECT_EQ(run.box->text, cases[0].message);
    EXPECT_EQ(run.exitCode, 1u);
}

TEST(ImageLoader, RefusesDamagedAppendedImages) {
    const Bytes runtime = readFile(fixtures() / "sutakiba.exe");
    const Bytes program = readFile(fixtures() / "strings.exe");
    const size_t overlay = runtime.size();
    // The locator is where the two programs first differ.
    size_t locator = 0;
    while (locator < overlay && runtime[locator] == program[locator]) ++locator;
    ASSERT_EQ(image::readU32(program.data() + locator), overlay);

    struct Case {
        const char* name;
        Bytes bytes;
        std::string_view detail;
    };
    Bytes cutShort(program.begin(), program.end() - 10);
    Bytes cutInLength(program.begin(), program.begin() + static_cast<ptrdiff_t>(overlay) + 2);
    Bytes longBlock = program;
    const size_t code2Length = overlay + 4 + image::readU32(program.data() + overlay);
    image::writeU32(longBlock.data() + code2Length, 0x7FFFFFFF);
    Bytes farOffset = program;
    image::writeU32(farOffset.data() + locator, static_cast<uint32_t>(program.size() + 100));
    const Case cases[] = {
        {"short", cutShort, "block data2 claims"},
        {"cut-in-length", cutInLength, "the length of block code1 is missing at image offset 0x0"},
        {"long-block", longBlock, "block code2 claims 0x7FFFFFFF bytes"},
        {"far-offset", farOffset, "lies beyond the end of the program file"},
    };
    for (const Case& c : cases) {
        const fs::path folder = scratch(std::string("damaged-") + c.name);
        writeFile(folder / "damaged.exe", c.bytes);
        expectRefused(runIn(folder / "damaged.exe", folder, true), c.detail, folder, c.name);
    }
}

TEST(ImageLoader, RefusesDamagedDevelopmentFiles) {
    struct Case {
        const char* name;
        void (*damage)(const fs::path& folder);
        std::string_view detail;
    };
    const Case cases[] = {
        {"missing-file", [](const fs::path& folder) { fs::remove(folder / "data2.dat"); },
         "the file data2.dat could not be read"},
        {"chain-leaves-code1",
         [](const fs::path& folder) {
             // The first call site of the first import points far outside code1.
             const Bytes code2 = readFile(folder / "code2.dat");
             Bytes code1 = readFile(folder / "code1.dat");
             image::writeU32(code1.data() + image::readU32(code2.data() + 1), 0x7FFFFF00);
             writeFile(folder / "code1.dat", code1);
         },
         "leaves code1 at offset 0x7FFFFF00"},
        {"record-cut-off",
         [](const fs::path& folder) {
             Bytes code2 = readFile(folder / "code2.dat");
             code2.insert(code2.end(), {0x01, 0x10, 0x00});
             writeFile(folder / "code2.dat", code2);
         },
         "is cut off by the end of the block"},
        {"relocation-past-data1",
         [](const fs::path& folder) {
             Bytes data2 = readFile(folder / "data2.dat");
             const size_t data1 = fs::file_size(folder / "data1.dat");
             for (size_t skipped = 0; skipped <= data1; skipped += 4096) appendU16(data2, 0x8FFF);
             appendU16(data2, 0x4000);
             writeFile(folder / "data2.dat", data2);
         },
         "runs past the end of data1"},
        {"entry-not-relocated", [](const fs::path& folder) { writeFile(folder / "data2.dat", {}); },
         "lies outside code1"},
        {"data1-too-short", [](const fs::path& folder) { writeFile(folder / "data1.dat", {0, 0, 0, 0}); },
         "data1 is too short for its two fixed words"},
    };
    for (const Case& c : cases) {
        const fs::path folder = scratch(std::string("damaged-dev-") + c.name);
        copyDevelopmentFiles("strings", folder);
        c.damage(folder);
        expectRefused(runDevelopment(folder, true), c.detail, folder, c.name);
    }
}

TEST(ImageLoader, BindsPluginMembersLastInFirstOutAndTrapsAnUnboundOne) {
    const fs::path folder = scratch("plugin-members");
    copyDevelopmentFiles("plugin_members", folder);
    const Outcome run = runIn(testFolder() / "plugin_member_probe.exe", folder, true);
    ASSERT_TRUE(run.box.has_value());
    EXPECT_EQ(run.box->text,
              "The application cannot continue because the plug-in member !GBevelButton!MenuValue could not be found.");
    EXPECT_EQ(run.box->caption, "Message");
    EXPECT_EQ(run.exitCode, 1u);
    const Bytes log = readFile(folder / "probe.log");
    EXPECT_EQ(std::string(log.begin(), log.end()),
              "deferred 3\n"
              "resolve GBevelButton!MenuValue\n"
              "resolve Mkej_ReplaceAll(sourceString as String, oldString as String, newString as String) as String\n"
              "resolve MBevelButton!AddRow(text As String)\n"
              "deferred 0\n"
              "AddRow first\n"
              "AddRow second\n"
              "AddRow a+b\n");
}

TEST(ImageLoader, StartUpBindsPluginMembersThatNothingResolvesToTraps) {
    const fs::path folder = scratch("runtime-startup");
    copyDevelopmentFiles("runtime_startup", folder);
    const Outcome run = runDevelopment(folder, true);
    ASSERT_TRUE(run.box.has_value());
    EXPECT_EQ(run.box->text,
              "The application cannot continue because the plug-in member !GBevelButton!MenuValue could not be found.");
    EXPECT_EQ(run.exitCode, 1u) << "200 and more would mean the member was called";
}

}  // namespace
