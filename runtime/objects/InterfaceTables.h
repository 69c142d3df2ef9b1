// Dispatch tables of implemented interfaces: slot k of a class's table for an
// interface holds the routine of the class (or a superclass) that implements
// the interface's k-th method.
#pragma once

#include <cstdint>

#include "objects/ClassRecord.h"

namespace runtime {

// Numbers the methods of every interface, then builds the table of every
// implemented interface of every class in the list of classes. A class that
// lacks a method (or has it with other parameter types) gets no table for that
// interface; the others are still built.
void buildInterfaceTables();

// The routine in `slot` of the table of the first class in the object's class
// chain that implements the interface `interfaceClass`, or null.
CodeAddress interfaceRoutine(const ClassRecord* cls, const ClassRecord* interfaceClass, int32_t slot);

// Parameter types of a parameter list such as "a As Integer, b As String":
// the types in order, compared ignoring case.
bool sameParameterTypes(StringHandle a, StringHandle b);

}  // namespace runtime
