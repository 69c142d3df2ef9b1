// Imports of plug-in members ("!MBevelButton!AddRow(text As String)" and the
// like) cannot be bound while the image is linked: the plug-ins register their
// members later. The linker keeps them here, newest first, and the deferred
// binding takes them from the front, so they are bound last-in first-out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <forward_list>
#include <functional>

#include "loader/ImportChain.h"
#include "text/StringValue.h"

namespace runtime::loader {

struct DeferredImport {
    StringValue memberText;  // the import name without its leading "!", kind letter first
    uint32_t chainHead;
};

class DeferredImportList {
public:
    // Puts a record at the front.
    void add(StringValue memberText, uint32_t chainHead);
    bool empty() const { return records_.empty(); }
    size_t size() const { return size_; }
    // Removes and returns the front record (the most recently added).
    DeferredImport takeFront();

private:
    std::forward_list<DeferredImport> records_;
    size_t size_ = 0;
};

// The address of a plug-in member's routine for a member text, or 0 when
// nothing matches.
using MemberResolver = std::function<uint32_t(const StringValue& memberText)>;

// Takes the records from the front one at a time, resolves each member and
// points every call site of its chain at the result. The list is empty after.
void bindDeferredImports(DeferredImportList& list, PlacedBlock code, const MemberResolver& resolve);

}  // namespace runtime::loader
