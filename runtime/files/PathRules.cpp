#include "files/PathRules.h"

namespace runtime {
namespace {

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

size_t PathRules::findSeparator(std::string_view path, size_t from) const {
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<uint8_t>(path[i]);
        if (i >= from && byte == '\\') return i;
        if (tables_.isLeadByte(byte) && i + 1 < path.size()) ++i;  // skip the trail byte
    }
    return std::string_view::npos;
}

size_t PathRules::findLastSeparator(std::string_view path, size_t from) const {
    size_t last = std::string_view::npos;
    for (size_t i = from; (i = findSeparator(path, i)) != std::string_view::npos; ++i) last = i;
    return last;
}

bool PathRules::hasRoot(std::string_view path) const {
    return path.size() > 1 && (path.substr(0, 2) == "\\\\" || path[1] == ':');
}

PathParts PathRules::split(std::string_view path) const {
    PathParts parts;
    std::string_view rest = path;
    if (hasRoot(path)) {
        const size_t end = findSeparator(path, 2);
        if (end == std::string_view::npos) return {path, {}, {}};
        parts.root = path.substr(0, end + 1);
        rest = path.substr(end + 1);
    }
    const size_t last = findLastSeparator(rest, 0);
    if (last == std::string_view::npos) {
        parts.name = rest;
    } else {
        parts.directory = rest.substr(0, last + 1);
        parts.name = rest.substr(last + 1);
    }
    return parts;
}

std::string PathRules::join(std::string_view base, std::string_view relative, bool sibling) const {
    if (hasRoot(relative)) return std::string(relative);
    const PathParts r = split(relative);
    const PathParts b = split(base);
    const std::string baseFolder = std::string(b.root) + std::string(b.directory);
    if (r.directory.empty()) {
        return sibling ? baseFolder + std::string(relative) : std::string(base) + "\\" + std::string(relative);
    }
    if (r.directory.front() == '\\') return std::string(b.root) + std::string(r.directory.substr(1)) + std::string(r.name);
    return sibling ? baseFolder + std::string(relative) : std::string(base) + "\\" + std::string(relative);
}

std::string PathRules::joinChild(std::string_view base, std::string_view relative) const {
    return join(base, relative, false);
}

std::string PathRules::joinSibling(std::string_view base, std::string_view relative) const {
    return join(base, relative, true);
}

std::string PathRules::parent(std::string_view path) const {
    const PathParts parts = split(path);
    std::string folder = std::string(parts.root) + std::string(parts.directory);
    // Only a real separator is dropped, never the trail byte of a character.
    if (!folder.empty() && findLastSeparator(folder, 0) == folder.size() - 1) folder.pop_back();
    if (equalsIgnoringCase(folder, path)) return {};
    return folder;
}

std::string PathRules::withoutLastComponent(std::string_view path) const {
    const size_t last = findLastSeparator(path, 0);
    return std::string(last == std::string_view::npos ? path : path.substr(0, last));
}

}  // namespace runtime
