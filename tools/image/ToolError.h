// The one error of the image tool: a message that says which input is wrong and
// where ("fixture.o: .text+0x1C: ...", "app.project:3:7: ..."). The tool stops
// at the first one.
#pragma once

#include <stdexcept>
#include <string>

namespace imagetool {

class ToolError : public std::runtime_error {
public:
    explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace imagetool
