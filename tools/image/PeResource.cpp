#include "PeResource.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "ToolError.h"
#include "loader/ImageFormat.h"

namespace imagetool {
namespace {

constexpr uint16_t kOptionalHeader32 = 0x010B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint32_t kSubdirectoryFlag = 0x80000000;
constexpr uint32_t kNameFlag = 0x80000000;

struct Section {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawSize;
    uint32_t rawPointer;
};

class PeReader {
public:
    PeReader(const std::string& path, std::span<const uint8_t> bytes) : path_(path), bytes_(bytes) {}

    [[noreturn]] void fail(const std::string& what) const { throw ToolError(path_ + ": " + what); }

    uint32_t u32(uint64_t offset) const {
        check(offset, 4);
        return image::readU32(bytes_.data() + offset);
    }
    uint16_t u16(uint64_t offset) const {
        check(offset, 2);
        return image::readU16(bytes_.data() + offset);
    }
    void check(uint64_t offset, uint64_t size) const {
        if (offset > bytes_.size() || bytes_.size() - offset < size) fail("not a valid PE executable (truncated)");
    }

private:
    const std::string& path_;
    std::span<const uint8_t> bytes_;
};

// The resource directory: entries, names and data entries are addressed from
// its start; data entries give RVAs, mapped to the file through the sections.
class ResourceDirectory {
public:
    ResourceDirectory(const PeReader& pe, std::vector<Section> sections, uint32_t rva)
        : pe_(pe), sections_(std::move(sections)), base_(fileOffset(rva, "the resource directory")) {}

    uint64_t fileOffset(uint32_t rva, const char* what) const {
        for (const Section& s : sections_) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize) {
                return uint64_t{s.rawPointer} + (rva - s.virtualAddress);
            }
        }
        pe_.fail(std::string(what) + " lies outside the sections of the file");
    }

    // The entry of the directory at `directory` (an offset from the start of the
    // resource directory) that matches, or nothing.
    std::optional<uint32_t> find(uint32_t directory, std::string_view name, uint32_t id, bool anyId) const {
        const uint64_t at = base_ + directory;
        const uint32_t count = uint32_t{pe_.u16(at + 12)} + pe_.u16(at + 14);
        for (uint32_t i = 0; i < count; ++i) {
            const uint64_t entry = at + 16 + 8 * uint64_t{i};
            const uint32_t key = pe_.u32(entry);
            const uint32_t target = pe_.u32(entry + 4);
            const bool named = (key & kNameFlag) != 0;
            const bool matches = named ? !name.empty() && nameEquals(key & ~kNameFlag, name)
                                       : name.empty() && (anyId || key == id);
            if (matches) return target;
        }
        return std::nullopt;
    }

    uint32_t subdirectory(uint32_t target, const char* what) const {
        if ((target & kSubdirectoryFlag) == 0) pe_.fail(std::string(what) + " is not a resource directory");
        return target & ~kSubdirectoryFlag;
    }

    // The data entry {RVA, size} at `target`.
    std::pair<uint32_t, uint32_t> data(uint32_t target) const {
        if (target & kSubdirectoryFlag) pe_.fail("the locator resource has no data entry");
        return {pe_.u32(base_ + target), pe_.u32(base_ + target + 4)};
    }

private:
    // Resource names are counted UTF-16 strings; type names compare ignoring case.
    bool nameEquals(uint32_t offset, std::string_view name) const {
        const uint64_t at = base_ + offset;
        const uint16_t length = pe_.u16(at);
        if (length != name.size()) return false;
        for (uint16_t i = 0; i < length; ++i) {
            const uint16_t c = pe_.u16(at + 2 + 2 * uint64_t{i});
            if (c > 0x7F || std::toupper(c) != std::toupper(static_cast<unsigned char>(name[i]))) return false;
        }
        return true;
    }

    const PeReader& pe_;
    std::vector<Section> sections_;
    uint64_t base_;
};

}  // namespace

ImageLocator findImageLocator(const std::string& path, std::span<const uint8_t> bytes) {
    const PeReader pe(path, bytes);
    if (bytes.size() < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') pe.fail("not a PE executable");
    const uint32_t header = pe.u32(0x3C);
    if (pe.u32(header) != 0x00004550) pe.fail("not a PE executable");
    const uint16_t sectionCount = pe.u16(header + 6);
    const uint16_t optionalSize = pe.u16(header + 20);
    const uint64_t optional = header + 24;
    if (pe.u16(optional) != kOptionalHeader32) pe.fail("not a 32-bit PE executable");
    const uint32_t directoryCount = pe.u32(optional + 92);
    if (directoryCount <= kResourceDirectoryIndex) pe.fail("has no resource directory");
    const uint32_t resourceRva = pe.u32(optional + 96 + 8 * kResourceDirectoryIndex);
    if (resourceRva == 0) pe.fail("has no resources (the runtime's image locator is missing)");

    std::vector<Section> sections;
    uint64_t endOfSectionData = optional + optionalSize + 40 * uint64_t{sectionCount};
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint64_t s = optional + optionalSize + 40 * uint64_t{i};
        sections.push_back({pe.u32(s + 12), pe.u32(s + 8), pe.u32(s + 16), pe.u32(s + 20)});
        if (sections.back().rawPointer != 0) {
            endOfSectionData = std::max(endOfSectionData, uint64_t{sections.back().rawPointer} + sections.back().rawSize);
        }
    }

    const ResourceDirectory resources(pe, sections, resourceRva);
    const auto type = resources.find(0, image::kLocatorType, 0, false);
    if (!type) pe.fail("has no resource of type PICKLE (the runtime's image locator is missing)");
    const auto id = resources.find(resources.subdirectory(*type, "the PICKLE type entry"), {}, image::kLocatorId, false);
    if (!id) pe.fail("has no PICKLE resource 101 (the runtime's image locator is missing)");
    const auto language = resources.find(resources.subdirectory(*id, "the PICKLE resource entry"), {}, 0, true);
    if (!language) pe.fail("the PICKLE resource 101 has no data");
    const auto [dataRva, size] = resources.data(*language);
    if (size < image::kLocatorSize) pe.fail("the PICKLE resource 101 is shorter than 8 bytes");
    const uint64_t offset = resources.fileOffset(dataRva, "the PICKLE resource's data");
    pe.check(offset, image::kLocatorSize);
    return {static_cast<uint32_t>(offset), size, endOfSectionData};
}

}  // namespace imagetool
