#include "loader/DeferredImports.h"

#include <utility>

namespace runtime::loader {

void DeferredImportList::add(StringValue memberText, uint32_t chainHead) {
    records_.push_front(DeferredImport{std::move(memberText), chainHead});
    ++size_;
}

DeferredImport DeferredImportList::takeFront() {
    DeferredImport front = std::move(records_.front());
    records_.pop_front();
    --size_;
    return front;
}

void bindDeferredImports(DeferredImportList& list, PlacedBlock code, const MemberResolver& resolve) {
    while (!list.empty()) {
        const DeferredImport record = list.takeFront();
        patchImportChain(code, record.chainHead, resolve(record.memberText));
    }
}

}  // namespace runtime::loader
