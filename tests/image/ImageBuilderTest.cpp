// The image tool on compiled fixtures: what it makes of C++ and assembler
// objects, and everything it refuses, each with the object, section, offset
// and symbol in its message.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "FixtureFiles.h"
#include "ImageBuilder.h"
#include "ToolError.h"
#include "loader/ImageFormat.h"
#include "loader/LinkRecords.h"

using namespace imagetool;
using namespace image_test;

namespace {

struct Imports {
    std::map<std::string, std::vector<uint32_t>> sites;  // name -> call sites, in chain order
    std::vector<uint32_t> dataReferences;
};

// Reads code2 back, following every chain through code1.
Imports readLinkRecords(const BuiltImage& image) {
    Imports imports;
    runtime::loader::LinkRecordReader reader(image.code2);
    runtime::loader::LinkRecord record{};
    while (reader.next(record) == runtime::loader::LinkRecordReader::Status::Record) {
        if (record.kind == runtime::loader::LinkRecord::Kind::DataReference) {
            imports.dataReferences.push_back(record.offset);
            continue;
        }
        std::vector<uint32_t>& sites = imports.sites[std::string(record.name)];
        for (uint32_t field = record.offset; field != 0; field = image::readU32(image.code1.data() + field)) {
            EXPECT_EQ(image.code1.at(field - 1), image::kCallOpcode) << record.name;
            sites.push_back(field);
            if (sites.size() > image.code1.size()) break;
        }
    }
    return imports;
}

size_t countOf(const std::vector<uint8_t>& haystack, std::string_view text) {
    const std::vector<uint8_t> needle(text.begin(), text.end());
    size_t count = 0;
    for (auto it = haystack.begin(); (it = std::search(it, haystack.end(), needle.begin(), needle.end())) != haystack.end(); ++it) {
        ++count;
    }
    return count;
}

TEST(ImageBuilder, LinksTheCppFixture) {
    const BuiltImage image = buildImage(loadObjects({fixtureObject("strings_image", "Strings.cpp"),
                                                     fixtureObject("strings_image", "StringsHelper.cpp")}),
                                        entryProject());
    const Imports imports = readLinkRecords(image);
    for (const char* name : {"RuntimeAddString", "runtimeaddstring", "RuntimeStringCompare", "StringStrCompare",
                             "RuntimeLockString", "RuntimeUnlockString", "!Xkernel32.dll!CreateFileA",
                             "!Xkernel32.dll!WriteFile", "!Xkernel32.dll!CloseHandle"}) {
        EXPECT_TRUE(imports.sites.contains(name)) << name;
    }
    EXPECT_GE(imports.sites.at("RuntimeUnlockString").size(), 3u) << "several call sites make one chain";
    EXPECT_EQ(imports.sites.size(), image.imports.size());
    EXPECT_FALSE(imports.dataReferences.empty());
    // The constant "Hello, " is used by both objects and stands once: length
    // byte, text, zero.
    EXPECT_EQ(countOf(image.data1, std::string_view("\x07Hello, \0", 9)), 1u);
    // "送信" in the code page of the application (CP932).
    EXPECT_EQ(countOf(image.data1, std::string_view("\x04\x91\x97\x90\x4D\x00", 6)), 1u);
    // data1 words 0 and 1: the entry routine in code1 and the empty project table.
    EXPECT_LT(image::readU32(image.data1.data()), image.code1.size());
    const uint32_t table = image::readU32(image.data1.data() + 4);
    ASSERT_EQ(table + 8, image.data1.size());
    EXPECT_EQ(image::readU32(image.data1.data() + table), 0u);
    EXPECT_EQ(image::readU32(image.data1.data() + table + 4), 0u);
}

TEST(ImageBuilder, EncodesTheAssemblerFixturesRelocations) {
    const BuiltImage image = buildImage(loadObjects({fixtureObject("relocations_image", "Relocations.S")}), entryProject());
    std::vector<uint16_t> words;
    for (size_t i = 0; i + 1 < image.data2.size(); i += 2) words.push_back(image::readU16(image.data2.data() + i));
    // Entry word, project table word, the single code word, a skip of 4096, 512
    // data words, the last code word.
    EXPECT_EQ(words, (std::vector<uint16_t>{0x4000, 0x4200, 0x4000, 0x8FFF, 0x43FF, 0x4000}));
    const Imports imports = readLinkRecords(image);
    EXPECT_EQ(imports.sites.at("!Xkernel32.dll!ExitProcess").size(), 2u);
    EXPECT_EQ(imports.dataReferences.size(), 5u);  // _single, after, targets, many, gap
}

TEST(ImageBuilder, RefusesWhatTheImageCannotExpress) {
    struct Case {
        std::vector<std::string> sources;  // in the refused fixtures
        std::string message;               // after the first object's path
    };
    const Case cases[] = {
        {{"NotACall.S"}, ": .text+0x1: the call of import \"StringLen\" is not a 5-byte E8 call"},
        {{"CodeAddressInCode.S"},
         ": .text+0x4: the address of code symbol \"_Entry\" is taken inside code, which the image cannot express; "
         "keep code addresses in data"},
        {{"UnknownRelocation.S"}, ": .data+0x4: relocation type 0xB against \"_Entry\" is not supported"},
        {{"UnplaceableSection.S"},
         ": section .ctors cannot be placed in the image (global objects with constructors or destructors: use "
         "constexpr or constinit)"},
        {{"UndefinedFunction.S"},
         ": .text+0x4: \"__Z6helperv\" is undefined and is not an import (a C++ function that no object defines)"},
        {{"ImportAddressInData.S"},
         ": .data+0x8: the address of import \"StringLen\" is taken; imports can only be called"},
        {{"CallIntoData.S"},
         ": .text+0x1: a relative reference to \"table\" cannot be expressed; only code and imports can be called"},
        {{"NoEntry.S"}, "entry.project:2:7: the entry routine Entry is not defined by the objects"},
        {{"EntryInData.S"}, "entry.project:2:7: the entry routine Entry is not code"},
        {{"DefinesProjectTable.S"}, ": symbol _ProjectTable is reserved for a structure the image tool makes"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> paths;
        for (const std::string& source : c.sources) paths.push_back(fixtureObject("refused", source));
        try {
            buildImage(loadObjects(paths), entryProject());
            ADD_FAILURE() << c.sources[0] << " was not refused";
        } catch (const ToolError& error) {
            const std::string message = error.what();
            EXPECT_TRUE(message.ends_with(c.message)) << c.sources[0] << ": " << message;
            if (!c.message.starts_with("entry.project")) EXPECT_TRUE(message.starts_with(paths[0])) << message;
        }
    }
}

TEST(ImageBuilder, CodeReachesTheProjectTableByName) {
    const BuiltImage image = buildImage(loadObjects({fixtureObject("runtime_startup_image", "RuntimeStartup.cpp")}),
                                        entryProject());
    const uint32_t table = image::readU32(image.data1.data() + 4);
    const Imports imports = readLinkRecords(image);
    ASSERT_EQ(imports.dataReferences.size(), 1u);
    EXPECT_EQ(image::readU32(image.code1.data() + imports.dataReferences[0]), table);
    EXPECT_TRUE(imports.sites.contains("RuntimeInit"));
    EXPECT_TRUE(imports.sites.contains("!GBevelButton!MenuValue"));
}

TEST(ImageBuilder, RefusesASymbolDefinedTwice) {
    const std::string first = fixtureObject("refused", "SecondEntry.S");
    const std::string second = fixtureObject("relocations_image", "Relocations.S");
    try {
        buildImage(loadObjects({first, second}), entryProject());
        ADD_FAILURE() << "not refused";
    } catch (const ToolError& error) {
        EXPECT_EQ(std::string(error.what()), "symbol _Entry is defined in " + first + " and again in " + second);
    }
}

TEST(ImageBuilder, RefusesFilesThatAreNoObjects) {
    const std::string project = fixtureSource("entry.project");
    try {
        loadCoffObject(project);
        ADD_FAILURE() << "not refused";
    } catch (const ToolError& error) {
        EXPECT_EQ(std::string(error.what()), project + ": not an i386 COFF object file");
    }
    // An object cut short: its section data and symbols lie past the end.
    std::vector<uint8_t> bytes = readWholeFile(fixtureObject("strings_image", "Strings.cpp"));
    bytes.resize(bytes.size() / 2);
    EXPECT_THROW(parseCoffObject("cut.o", bytes), ToolError);
}

}  // namespace
