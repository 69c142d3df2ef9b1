// The file types the application declares (name, creator, type, extensions):
// the type name of a path, and the filter of the open and save dialogs.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "objects/ProjectStreams.h"

namespace runtime {

// The name of the declared type one of whose extensions the path ends with;
// else the first type without extensions; else empty.
std::string fileTypeOfPath(std::span<const FileType> types, std::string_view path);

struct DialogFilter {
    // Pairs of texts, each ending in a zero byte, then two more zero bytes
    // (the form of the system dialogs' filter).
    std::string filter;
    std::string defaultExtension;  // without the "."; empty when none
};

// The filter for the ";"-separated list of type names `typeNames`: per name,
// the name and the patterns "*.ext;*.ext" of every declared type of that name.
DialogFilter dialogFilterFor(std::span<const FileType> types, std::string_view typeNames);

// An extension as written in the declaration, with the leading "." it is
// meant to have.
std::string dottedExtension(std::string_view extension);

}  // namespace runtime
