// The rules by which folder items name files: a Windows path split into root,
// directory and name, joined with relative texts, and cut to its parent. The
// paths are runtime text; in a double-byte code page a trail byte equal to
// "\" is part of its character and never a separator.
#pragma once

#include <string>
#include <string_view>

#include "text/CharacterTables.h"

namespace runtime {

struct PathParts {
    std::string_view root;       // "C:\", "\\server\", or the whole path ("C:")
    std::string_view directory;  // up to and including the last "\" after the root
    std::string_view name;       // what follows
};

class PathRules {
public:
    explicit PathRules(const CharacterTables& tables) : tables_(tables) {}

    PathParts split(std::string_view path) const;
    // A path that names its own root: a drive ("C:...") or a "\\" prefix.
    bool hasRoot(std::string_view path) const;

    // `relative` against the folder `base`: a bare name or relative path goes
    // below it, "\x" goes on its root, a rooted path is taken unchanged.
    std::string joinChild(std::string_view base, std::string_view relative) const;
    // As joinChild, but a bare name or relative path replaces base's name.
    std::string joinSibling(std::string_view base, std::string_view relative) const;

    // Root and directory without the final "\"; empty when that is the path
    // itself (compared ignoring ASCII case), i.e. there is no parent.
    std::string parent(std::string_view path) const;

    // "C:\App\tool.exe" -> "C:\App": the path without its last component.
    std::string withoutLastComponent(std::string_view path) const;

private:
    // Index of the first "\" at or after `from`, or npos.
    size_t findSeparator(std::string_view path, size_t from) const;
    // Index of the last "\" at or after `from`, or npos.
    size_t findLastSeparator(std::string_view path, size_t from) const;
    std::string join(std::string_view base, std::string_view relative, bool sibling) const;

    const CharacterTables& tables_;
};

// ASCII letters compared without case (paths, extensions, type names).
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace runtime
