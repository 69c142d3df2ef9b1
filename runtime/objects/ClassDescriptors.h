// The class descriptors of the project table: kind 1 names a built-in or
// plug-in class, kind 0 describes a class compiled into the image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "objects/ClassRecord.h"

namespace runtime {

struct ClassTableResult {
    std::string missingClass;             // a kind-1 name that matched no class
    std::vector<int32_t> compiledIndices;  // table indices of compiled classes, in order
    bool ok() const { return missingClass.empty(); }
};

// Fills the class table from `count` descriptor addresses (both passes: create
// the classes with their lists, then link the superclasses).
ClassTableResult readClassDescriptors(const uint32_t* descriptors, int32_t count);

// The last compiled class in table order that inherits from the built-in
// `Application`, or the built-in class itself.
ClassRecord* chooseApplicationClass(const ClassTableResult& table);

}  // namespace runtime
