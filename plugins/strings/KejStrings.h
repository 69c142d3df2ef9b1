// Field counting, field extraction and substitution over Shift-JIS text with
// fixed byte classes (whatever the system code page): the logic of the string
// plug-in's kej_ methods, free of the runtime so that it is also tested natively.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kej {

// Error values read back by kej_StrError.
enum : int16_t {
    kNoError = 0,
    kEmptySource = 1,
    kEmptySeparator = 2,
    kFieldBelowOne = 4,
    kEmptyOldText = 8,
    kOutOfMemory = -108,
};

// Work memory: allocate, resize (keeping the contents) and free. The default
// is the C heap; tests put one in that refuses or records requests.
class WorkMemory {
public:
    virtual ~WorkMemory() = default;
    virtual char* allocate(size_t size) = 0;
    virtual char* resize(char* block, size_t size) = 0;  // null: failed, block kept
    virtual void release(char* block) = 0;
};
WorkMemory& heapMemory();

// A block of work memory, released when it goes out of scope.
class WorkBuffer {
public:
    WorkBuffer(WorkMemory& memory, char* block) : memory_(&memory), block_(block) {}
    WorkBuffer(WorkBuffer&& other) noexcept : memory_(other.memory_), block_(other.block_) { other.block_ = nullptr; }
    WorkBuffer(const WorkBuffer&) = delete;
    WorkBuffer& operator=(const WorkBuffer&) = delete;
    WorkBuffer& operator=(WorkBuffer&& other) noexcept {
        if (this != &other) {
            if (block_) memory_->release(block_);
            memory_ = other.memory_;
            block_ = other.block_;
            other.block_ = nullptr;
        }
        return *this;
    }
    ~WorkBuffer() {
        if (block_) memory_->release(block_);
    }
    char* get() const { return block_; }
    bool grow(size_t size) {
        char* grown = memory_->resize(block_, size);
        if (grown) block_ = grown;
        return grown != nullptr;
    }

private:
    WorkMemory* memory_;
    char* block_;
};

// How a pattern is matched (see classify()).
enum class MatchClass {
    ExactAnywhere,            // I
    ExactOnBoundaries,        // II
    FoldedOnBoundaries,       // III
    FoldedConfirmedByLetters  // IV
};

// The plug-in's state: mode, error, replace-first flag and the shift table of
// the current search. One per process in the plug-in.
struct KejState {
    int16_t mode = 0;
    int16_t error = 0;
    bool replaceFirst = false;
    std::array<uint32_t, 256> shift{};
    WorkMemory* memory = &heapMemory();
};

bool isLeadByte(uint8_t b);
bool isTrailByte(uint8_t b);
// The byte length of the character at `at` (2 for a lead byte followed by a trail byte).
size_t characterLength(std::string_view text, size_t at);

MatchClass classify(std::string_view pattern, int16_t mode);

// The result of a method that returns text: empty, the source unchanged, or
// `length` bytes of a work buffer.
struct TextResult {
    enum class Kind { Empty, Source, Buffer } kind = Kind::Empty;
    std::string_view text;   // what the result holds (points into the source or the buffer)
    WorkBuffer buffer{heapMemory(), nullptr};
};

// The methods; each first clears the error and at its end sets a mode of 1
// back to 0.
void setCheckType(KejState& state, int32_t type);
int32_t countFields(KejState& state, std::string_view source, std::string_view separator);
// Field `fieldNumber` (1-based) of `source`, as a view into it (empty when there is none).
std::string_view nthField(KejState& state, std::string_view source, std::string_view separator, int32_t fieldNumber);
TextResult replaceAll(KejState& state, std::string_view source, std::string_view oldText, std::string_view newText);
TextResult replaceFirst(KejState& state, std::string_view source, std::string_view oldText, std::string_view newText);

}  // namespace kej
