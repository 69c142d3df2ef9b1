// The project description: what the image tool needs to know beyond the
// compiled objects. Each top-level section of the file has a parser of its own;
// today there is one, "entry", naming the application's entry routine.
#pragma once

#include <string>
#include <string_view>

#include "DescriptionSyntax.h"

namespace imagetool {

// A function or variable of the compiled code, by its C name.
struct SymbolReference {
    std::string name;
    SourceLocation where;
};

struct ProjectDescription {
    std::string path;
    SymbolReference entry;  // the entry routine, called through data1 word 0
};

// Throws ToolError "file:line:column: message" for anything it cannot use.
ProjectDescription parseProjectDescription(const std::string& path, std::string_view text);
ProjectDescription loadProjectDescription(const std::string& path);

}  // namespace imagetool
