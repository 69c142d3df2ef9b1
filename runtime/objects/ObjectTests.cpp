#include "objects/ObjectTests.h"

namespace runtime {

bool objectIsa(ObjectHandle object, const ClassRecord* target) {
    if (!object || !target) return false;
    for (const ClassRecord* k = object->classRecord; k; k = k->superclass) {
        if (k == target) return true;
        if (!target->isInterface) continue;
        for (const InterfaceRecord* i = k->interfaces; i; i = i->next) {
            if (i->interfaceClass == target) return true;
        }
    }
    return false;
}

}  // namespace runtime
