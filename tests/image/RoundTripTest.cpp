// The image tool against GNU ld: the same objects, linked conventionally at the
// same places, and loaded through the image by the runtime's own linker and
// relocator, must give the same bytes everywhere, and so the same value at
// every relocated site.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "CoffObject.h"
#include "FixtureFiles.h"
#include "ImageBuilder.h"
#include "loader/DataRelocation.h"
#include "loader/ImageFormat.h"
#include "loader/ImageLinker.h"

using namespace imagetool;
using namespace image_test;

namespace {

constexpr uint32_t kImageBase = 0x10000000;
constexpr uint32_t kCodeBase = 0x10001000;
constexpr uint32_t kDataBase = 0x10200000;
constexpr uint32_t kFirstImport = 0x70000000;

struct LinkedSection {
    uint32_t address;
    std::vector<uint8_t> bytes;  // contents, zero-extended to the section's size in memory
};

// The sections of a PE program, by name.
std::map<std::string, LinkedSection> readPeSections(const std::string& path) {
    const std::vector<uint8_t> pe = readWholeFile(path);
    const uint32_t header = image::readU32(pe.data() + 0x3C);
    const uint16_t count = image::readU16(pe.data() + header + 6);
    const uint16_t optionalSize = image::readU16(pe.data() + header + 20);
    const uint32_t imageBase = image::readU32(pe.data() + header + 24 + 28);
    std::map<std::string, LinkedSection> sections;
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* s = pe.data() + header + 24 + optionalSize + 40 * i;
        const std::string name(reinterpret_cast<const char*>(s), strnlen(reinterpret_cast<const char*>(s), 8));
        const uint32_t virtualSize = image::readU32(s + 8);
        const uint32_t rawSize = image::readU32(s + 16);
        const uint32_t rawPointer = image::readU32(s + 20);
        LinkedSection section{imageBase + image::readU32(s + 12), {}};
        section.bytes.assign(pe.begin() + rawPointer, pe.begin() + rawPointer + std::min(rawSize, virtualSize));
        section.bytes.resize(virtualSize, 0);
        sections[name] = std::move(section);
    }
    return sections;
}

// Every import gets an address of its own, the same for ld and for the loader.
std::map<std::string, uint32_t> importAddresses(const BuiltImage& image) {
    std::map<std::string, uint32_t> addresses;
    for (const std::string& name : image.imports) {
        addresses[name] = kFirstImport + 0x10 * static_cast<uint32_t>(addresses.size());
    }
    return addresses;
}

// A linker script that puts every input section where the tool put it.
std::string linkerScript(const std::vector<CoffObject>& objects, const BuiltImage& image,
                         const std::map<std::string, uint32_t>& imports) {
    std::string code, data;
    for (const PlacedSection& placed : image.placements) {
        const std::string statement = "    . = " + std::to_string(placed.offset) + "; \"" + objects[placed.object].path +
                                      "\"(" + objects[placed.object].sections[placed.section].name + ")\n";
        (placed.block == BlockKind::Code ? code : data) += statement;
    }
    std::string script = "SECTIONS {\n  .text " + std::to_string(kCodeBase) + " : {\n" + code + "  } =0xCCCCCCCC\n" +
                         "  .data " + std::to_string(kDataBase) + " : {\n" + data + "  }\n  /DISCARD/ : { *(*) }\n}\n";
    for (const auto& [name, address] : imports) {
        const std::string symbol = name.starts_with('!') ? name : "_" + name;
        script += "\"" + symbol + "\" = " + std::to_string(address) + ";\n";
    }
    for (const auto& [symbol, offset] : image.generatedSymbols) {
        script += "\"" + symbol + "\" = " + std::to_string(kDataBase + offset) + ";\n";
    }
    return script;
}

class AddressBinder final : public runtime::loader::ImportBinder {
public:
    explicit AddressBinder(const std::map<std::string, uint32_t>& addresses) : addresses_(addresses) {}
    uint32_t runtimeRoutine(std::string_view name) override { return addresses_.at(std::string(name)); }
    runtime::loader::LibraryRoutine libraryRoutine(std::string_view library, std::string_view routine) override {
        const uint32_t address = addresses_.at("!X" + std::string(library) + "!" + std::string(routine));
        return {runtime::loader::LibraryRoutine::Status::Found, address};
    }

private:
    const std::map<std::string, uint32_t>& addresses_;
};

void expectSameAsLd(const std::string& name, const std::vector<std::string>& objectPaths) {
    const std::vector<CoffObject> objects = loadObjects(objectPaths);
    BuiltImage image = buildImage(objects, entryProject());
    const std::map<std::string, uint32_t> imports = importAddresses(image);

    const std::filesystem::path folder = std::filesystem::path(FIXTURE_OBJECTS) / ("roundtrip-" + name);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "layout.ld") << linkerScript(objects, image, imports);
    std::string command = std::string(MINGW_LD) + " -T " + (folder / "layout.ld").string() + " --image-base " +
                          std::to_string(kImageBase) + " -e _Entry -o " + (folder / "linked.exe").string();
    for (const std::string& path : objectPaths) command += " " + path;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const auto linked = readPeSections((folder / "linked.exe").string());
    const LinkedSection& text = linked.at(".text");
    const LinkedSection& data = linked.at(".data");
    ASSERT_EQ(text.address, kCodeBase);
    ASSERT_EQ(data.address, kDataBase);

    // Load the image as the runtime does, at the same addresses.
    AddressBinder binder(imports);
    runtime::loader::DeferredImportList deferred;
    const runtime::loader::PlacedBlock code{image.code1, kCodeBase};
    const auto linkedCode = runtime::loader::linkCode(code, image.code2, kDataBase, binder, deferred);
    ASSERT_TRUE(linkedCode.ok()) << linkedCode.message();
    runtime::loader::bindDeferredImports(deferred, code, [&](const runtime::StringValue& member) {
        return imports.at("!" + std::string(member.view()));
    });
    ASSERT_TRUE(runtime::loader::relocateData(image.data1, image.data2, kCodeBase, kDataBase).ok());

    ASSERT_EQ(text.bytes.size(), image.code1.size());
    for (size_t i = 0; i < image.code1.size(); ++i) {
        ASSERT_EQ(image.code1[i], text.bytes[i]) << name << ": code1 offset " << i;
    }
    // ld's data ends with the application's last section; the image goes on
    // with the structures of the project description. Words 0 and 1 are the
    // image's own.
    ASSERT_LE(data.bytes.size(), image.data1.size());
    for (size_t i = 8; i < data.bytes.size(); ++i) {
        ASSERT_EQ(image.data1[i], data.bytes[i]) << name << ": data1 offset " << i;
    }
}

TEST(RoundTrip, TheCppFixtureMatchesGnuLd) {
    expectSameAsLd("strings", {fixtureObject("strings_image", "Strings.cpp"), fixtureObject("strings_image", "StringsHelper.cpp")});
}

TEST(RoundTrip, TheAssemblerFixtureMatchesGnuLd) {
    expectSameAsLd("relocations", {fixtureObject("relocations_image", "Relocations.S")});
}

TEST(RoundTrip, TheRuntimeStartupFixtureMatchesGnuLd) {
    expectSameAsLd("runtime-startup", {fixtureObject("runtime_startup_image", "RuntimeStartup.cpp")});
}

TEST(RoundTrip, ThePluginMemberFixtureMatchesGnuLd) {
    expectSameAsLd("plugin-members", {fixtureObject("plugin_members_image", "PluginMembers.cpp")});
}

}  // namespace
