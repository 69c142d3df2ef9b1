#include "objects/EventLookup.h"

#include "text/CaseFold.h"
#include "text/StringValue.h"

namespace runtime {

HandlerFound findHandler(const ClassRecord* cls, const EventDescriptor* event) {
    if (!event) return {};
    const std::string_view eventName = viewOf(event->name);
    HandlerFound found;
    for (const ClassRecord* k = cls; k; k = k->superclass) {
        for (const DeclaredEventRecord* d = k->declaredEvents; d; d = d->next) {
            if (d->descriptor == event) return found;
            // Another event of the same name: the handlers seen so far answer
            // that one, not this.
            if (foldedEquals(viewOf(d->descriptor->name), eventName)) found = {};
        }
        for (const EventHandlerRecord* h = k->eventHandlers; h; h = h->next) {
            if (foldedEquals(viewOf(h->name), eventName)) found = {h->code, k == cls};
        }
    }
    return {};  // no class on the chain declares the event
}

CodeAddress findHookCode(const ClassRecord* cls, int32_t hookCode) {
    for (const ClassRecord* k = cls; k; k = k->superclass) {
        for (const EventHandlerRecord* h = k->eventHandlers; h; h = h->next) {
            if (h->hookCode == hookCode) return h->code;
        }
    }
    return nullptr;
}

CodeAddress findMenuHandler(const ClassRecord* cls, StringHandle name) {
    if (!cls) return nullptr;
    for (const MenuHandlerRecord* h = cls->menuHandlers; h; h = h->next) {
        if (foldedEquals(viewOf(h->menuItemName), viewOf(name))) return h->code;
    }
    return nullptr;
}

}  // namespace runtime
