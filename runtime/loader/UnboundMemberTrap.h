// A plug-in member that nothing resolves is bound to a trap of its own: a small
// stub that, when compiled code calls it, shows which member is missing and
// ends the process with the load-failure exit code, instead of jumping to 0.
#pragma once

#include <cstdint>
#include <string_view>

namespace runtime {

// The address of a new trap for `member` (the import name, "!" first).
uint32_t unboundMemberTrap(std::string_view member);

}  // namespace runtime
