// The outcome of a step of loading the application image: success, or the
// message that the loader shows before it gives up. The texts of the messages
// live here so that every failure reads alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime::loader {

class [[nodiscard]] LoadResult {
public:
    static LoadResult success() { return LoadResult(); }
    static LoadResult failure(std::string message) { return LoadResult(std::move(message)); }

    bool ok() const { return message_.empty(); }
    const std::string& message() const { return message_; }

private:
    LoadResult() = default;
    explicit LoadResult(std::string message) : message_(std::move(message)) {}

    std::string message_;  // empty on success
};

// "The application could not be loaded because a necessary shared library <library> could not be found."
std::string missingLibraryMessage(std::string_view library);
// "The application could not be loaded because the routine <routine> could not
// be found in the shared library <library>."
std::string missingLibraryRoutineMessage(std::string_view routine, std::string_view library);
// An import of a runtime routine that the runtime entry table lacks.
std::string missingRuntimeRoutineMessage(std::string_view name);
// A block, record or stream that does not fit the image; `detail` says where.
std::string damagedImageMessage(std::string_view detail);
// A file of the image that could not be opened or read.
std::string unreadableFileMessage(std::string_view file);
// A plug-in member that was still unbound when compiled code called it.
std::string unboundMemberMessage(std::string_view member);

// "0x1A2B": offsets in messages.
std::string hexOffset(uint64_t value);

}  // namespace runtime::loader
