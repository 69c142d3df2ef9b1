#include "loader/LoadResult.h"

#include <cstdio>

namespace runtime::loader {
namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text.append(part);
    return text;
}

constexpr std::string_view kCouldNotLoad = "The application could not be loaded because ";

}  // namespace

std::string missingLibraryMessage(std::string_view library) {
    return concat({kCouldNotLoad, "a necessary shared library ", library, " could not be found."});
}

std::string missingLibraryRoutineMessage(std::string_view routine, std::string_view library) {
    return concat({kCouldNotLoad, "the routine ", routine, " could not be found in the shared library ", library, "."});
}

std::string missingRuntimeRoutineMessage(std::string_view name) {
    return concat({kCouldNotLoad, "the runtime routine ", name, " could not be found."});
}

std::string damagedImageMessage(std::string_view detail) {
    return concat({kCouldNotLoad, "its image is damaged: ", detail, "."});
}

std::string unreadableFileMessage(std::string_view file) {
    return concat({kCouldNotLoad, "the file ", file, " could not be read."});
}

std::string unboundMemberMessage(std::string_view member) {
    return concat({"The application cannot continue because the plug-in member ", member, " could not be found."});
}

std::string hexOffset(uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace runtime::loader
