// The binary format of the application image, shared by the runtime's loader
// and the host-side image tool: the four blocks, the link records of code2 and
// the data relocation stream of data2. All words are little-endian.
#pragma once

#include <cstdint>
#include <string_view>

namespace image {

// The blocks, in their order in the appended image.
enum class Block : uint8_t { Code1, Code2, Data1, Data2 };
inline constexpr Block kBlocksInImageOrder[] = {Block::Code1, Block::Code2, Block::Data1, Block::Data2};

constexpr std::string_view blockName(Block block) {
    switch (block) {
    case Block::Code1: return "code1";
    case Block::Code2: return "code2";
    case Block::Data1: return "data1";
    case Block::Data2: return "data2";
    }
    return "?";
}

// Development mode reads each block from a file of the current directory, in
// this order.
inline constexpr Block kBlocksInDevelopmentOrder[] = {Block::Code1, Block::Data1, Block::Code2, Block::Data2};
constexpr const char* developmentFileName(Block block) {
    switch (block) {
    case Block::Code1: return "code1.dat";
    case Block::Code2: return "code2.dat";
    case Block::Data1: return "data1.dat";
    case Block::Data2: return "data2.dat";
    }
    return "";
}

// The image locator: resource 101 of type "PICKLE", 8 bytes: the file offset of
// the image, then a reserved word. "PICK" in the first four bytes is the
// placeholder of a runtime without an image (development mode).
inline constexpr char kLocatorType[] = "PICKLE";
inline constexpr uint16_t kLocatorId = 101;
inline constexpr uint32_t kLocatorSize = 8;
inline constexpr char kLocatorPlaceholder[4] = {'P', 'I', 'C', 'K'};

// data1 begins with two fixed words.
inline constexpr uint32_t kEntryWordOffset = 0;         // the entry routine (a code address)
inline constexpr uint32_t kProjectTableWordOffset = 4;  // the project table (a data address)
inline constexpr uint32_t kFixedDataWords = 2;

// Link records (code2): a kind byte, then the record's fields. Any other kind
// byte is skipped on its own.
enum class LinkRecordKind : uint8_t { Import = 0x01, DataReference = 0x02 };
inline constexpr uint32_t kImportRecordFixedSize = 6;  // kind, u32 chain head, u8 name length
inline constexpr uint32_t kDataReferenceRecordSize = 5;  // kind, u32 code1 offset
inline constexpr uint32_t kMaxImportNameLength = 255;

// Every call site of an import is a 5-byte relative call whose displacement
// field holds, before linking, the code1 offset of the next site's field (0 ends
// the chain).
inline constexpr uint8_t kCallOpcode = 0xE8;
inline constexpr uint32_t kCallSize = 5;

// Data relocation words (data2). A cursor starts at data1 offset 0.
inline constexpr uint16_t kSkipMask = 0xF000;
inline constexpr uint16_t kSkipWord = 0x8000;  // advance (w & 0x0FFF) + 1 bytes
inline constexpr uint16_t kSkipCountMask = 0x0FFF;
inline constexpr uint32_t kMaxSkipBytes = 4096;
inline constexpr uint16_t kRunMask = 0xFE00;
inline constexpr uint16_t kRunCodeWord = 0x4000;         // add the code base to (w & 0x1FF) + 1 words
inline constexpr uint16_t kRunDataWord = 0x4200;         // the same with the data base
inline constexpr uint16_t kRunHandlerCodeWord = 0x4600;  // the same as kRunCodeWord
inline constexpr uint16_t kRunCountMask = 0x01FF;
inline constexpr uint32_t kMaxRunWords = 512;

inline uint32_t readU32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

inline uint16_t readU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

inline void writeU32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

}  // namespace image
