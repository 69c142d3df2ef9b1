#include "files/FileTypes.h"

#include <vector>

#include "files/PathRules.h"

namespace runtime {
namespace {

std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

bool endsWithIgnoringCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && equalsIgnoringCase(text.substr(text.size() - tail.size()), tail);
}

// A code text by its first four bytes, padded with spaces; empty is "????".
std::string fourCharacterCode(std::string_view code) {
    if (code.empty()) return "????";
    std::string four(code.substr(0, 4));
    four.resize(4, ' ');
    return four;
}

}  // namespace

std::string dottedExtension(std::string_view extension) {
    if (extension.empty() || extension.front() == '.') return std::string(extension);
    return "." + std::string(extension);
}

std::string fileTypeOfPath(std::span<const FileType> types, std::string_view path) {
    for (const FileType& type : types) {
        for (std::string_view extension : splitAt(type.extensions, ';')) {
            if (!extension.empty() && endsWithIgnoringCase(path, dottedExtension(extension))) return type.name;
        }
    }
    for (const FileType& type : types) {
        if (type.extensions.empty()) return type.name;
    }
    return {};
}

DialogFilter dialogFilterFor(std::span<const FileType> types, std::string_view typeNames) {
    DialogFilter result;
    for (std::string_view name : splitAt(typeNames, ';')) {
        if (name.empty()) continue;
        std::string patterns;
        for (const FileType& type : types) {
            if (!equalsIgnoringCase(type.name, name)) continue;
            for (std::string_view extension : splitAt(type.extensions, ';')) {
                if (extension.empty()) continue;
                const std::string dotted = dottedExtension(extension);
                patterns += (patterns.empty() ? "*" : ";*") + dotted;
                if (result.defaultExtension.empty()) result.defaultExtension = dotted.substr(1);
            }
            if (type.extensions.empty() && fourCharacterCode(type.type) == "????" && patterns.empty()) patterns = "*.*";
        }
        // A type that names no pattern still lets the user pick a file.
        if (patterns.empty()) patterns = "*.*";
        result.filter += std::string(name) + '\0' + patterns + '\0';
    }
    result.filter += std::string(2, '\0');
    return result;
}

}  // namespace runtime
