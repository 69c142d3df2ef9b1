// The array operations over one element kind E (ElementKinds.h), shared by
// the entry routines of every kind. Each returns false when an index or the
// array's shape does not allow the call, having changed nothing; the entry
// routine then raises OutOfBoundsException. Results of string and object
// kinds are locked for the caller.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/arrays/ArrayLevels.h"
#include "text/arrays/ArraySort.h"

namespace runtime::arrays {

inline int32_t upperBound(const ArrayObject& a) { return a.upperBounds[0]; }

// One-dimensional routines refuse arrays of several dimensions: their first
// level holds vectors, not elements.
inline bool oneDimensional(const ArrayObject& a) { return a.dimensions <= 1; }

template <typename E>
void prepareLevel(ElementVector& v) {
    if (v.elementSize != E::kSize) useElementSize(v, E::kSize);
}

// The element at i when present, else the zero value; locked for the caller.
template <typename E>
typename E::Value readElement(ElementVector& v, int32_t i) {
    prepareLevel<E>(v);
    const auto value = get<typename E::Value>(v, i);
    E::retain(value);
    return value;
}

// Stores `value` at i (0 <= i < count): the new reference first, then the old
// one goes, so storing the value a place already holds keeps it alive.
template <typename E>
void storeElement(ElementVector& v, int32_t i, typename E::Value value) {
    E::retain(value);
    const auto old = get<typename E::Value>(v, i);
    put(v, i, value);
    E::drop(old);
}

template <typename E>
bool directRead(ArrayObject& a, int32_t i, typename E::Value& result) {
    if (!oneDimensional(a) || !inBounds(a, 0, i)) return false;
    result = readElement<E>(a.first, i);
    return true;
}

template <typename E>
bool directWrite(ArrayObject& a, int32_t i, typename E::Value value) {
    if (!oneDimensional(a) || !inBounds(a, 0, i)) return false;
    prepareLevel<E>(a.first);
    // Writing past the end grows the vector by up to 16 elements at once.
    if (i >= a.first.count) setCount(a.first, static_cast<int32_t>(std::min<int64_t>(int64_t{upperBound(a)} + 1, int64_t{i} + 16)));
    storeElement<E>(a.first, i, value);
    return true;
}

template <typename E>
bool append(ArrayObject& a, typename E::Value value) {
    if (!oneDimensional(a) || upperBound(a) >= INT32_MAX - 1) return false;
    ElementVector& v = a.first;
    const int32_t count = upperBound(a) + 2;
    // The common case: every place up to UBound is present and the storage
    // has room for one more.
    if (v.count == count - 1 && v.elementSize == E::kSize &&
        static_cast<size_t>(count) * static_cast<size_t>(E::kSize) <= storageBytes(v)) {
        E::retain(value);
        std::memcpy(placeOf(v, count - 1), &value, sizeof value);
        v.count = v.capacity = count;
        a.upperBounds[0] = count - 1;
        return true;
    }
    prepareLevel<E>(a.first);
    const int32_t last = ++a.upperBounds[0];
    resizeLevel(a, a.first, 0, last + 1, E::kRelease);
    storeElement<E>(a.first, last, value);
    return true;
}

template <typename E>
bool insert(ArrayObject& a, int32_t i, typename E::Value value) {
    if (!oneDimensional(a) || !inBounds(a, 0, i) || !isUpperBound(int64_t{upperBound(a)} + 1)) return false;
    prepareLevel<E>(a.first);
    ++a.upperBounds[0];
    if (i >= a.first.count) setCount(a.first, i + 1);
    insertPlace(a.first, i);
    storeElement<E>(a.first, i, value);
    return true;
}

template <typename E>
bool remove(ArrayObject& a, int32_t i) {
    if (!oneDimensional(a) || !inBounds(a, 0, i)) return false;
    --a.upperBounds[0];
    if (i < a.first.count) {
        // Out of the array first, released last.
        const auto old = get<typename E::Value>(a.first, i);
        removePlace(a.first, i);
        E::drop(old);
    }
    return true;
}

// Sets the vector to UBound + 1 elements and sorts them ascending; `goesBefore`
// compares two element values.
template <typename E, typename GoesBefore>
bool sort(ArrayObject& a, GoesBefore goesBefore) {
    if (!oneDimensional(a)) return false;
    prepareLevel<E>(a.first);
    resizeLevel(a, a.first, 0, upperBound(a) + 1, E::kRelease);
    using Value = typename E::Value;
    auto* values = reinterpret_cast<Value*>(a.first.buffer);
    sortIndices(
        a.first.count, [values, &goesBefore](int32_t j, int32_t k) { return goesBefore(values[j], values[k]); },
        [values](int32_t j, int32_t k) { std::swap(values[j], values[k]); });
    return true;
}

// Numbers: element j goes before k when it is less than or equal to it.
template <typename E>
bool sortNumbers(ArrayObject& a) {
    return sort<E>(a, [](typename E::Value x, typename E::Value y) { return x <= y; });
}

// Multi-dimensional access: a start call with the first index, one add call
// per further index but the last, then one read or write with the last. Each
// index is checked against its own dimension's bound, whether or not the
// place was ever written.

inline ElementVector* subVectorAt(const ElementVector* v, int32_t i) { return v ? get<ElementVector*>(*v, i) : nullptr; }

inline bool startReadAccess(ArrayObject& a, int32_t i) {
    if (a.dimensions < 2 || !inBounds(a, 0, i)) return false;
    a.accessLevel = 1;
    a.accessVector = subVectorAt(&a.first, i);
    return true;
}

inline bool addReadIndex(ArrayObject& a, int32_t i) {
    if (a.accessLevel < 1 || !holdsVectors(a, a.accessLevel) || !inBounds(a, a.accessLevel, i)) return false;
    a.accessVector = subVectorAt(a.accessVector, i);
    ++a.accessLevel;
    return true;
}

// The level vector at i of `v`, made (empty) when missing; `v` grows to i + 1.
inline ElementVector* makeSubVector(ElementVector& v, int32_t i) {
    if (i >= v.count) setCount(v, i + 1);
    auto* sub = get<ElementVector*>(v, i);
    if (!sub) {
        sub = newVector(kReferenceSize);
        put(v, i, sub);
    }
    return sub;
}

inline bool startWriteAccess(ArrayObject& a, int32_t i) {
    if (a.dimensions < 2 || !inBounds(a, 0, i)) return false;
    a.accessLevel = 1;
    a.accessVector = makeSubVector(a.first, i);
    return true;
}

inline bool addWriteIndex(ArrayObject& a, int32_t i) {
    if (a.accessLevel < 1 || !a.accessVector || !holdsVectors(a, a.accessLevel) || !inBounds(a, a.accessLevel, i)) {
        return false;
    }
    a.accessVector = makeSubVector(*a.accessVector, i);
    ++a.accessLevel;
    return true;
}

// The last index of an access: it applies to the last dimension.
inline bool atLastLevel(const ArrayObject& a, int32_t i) {
    return a.accessLevel >= 1 && a.accessLevel == a.dimensions - 1 && inBounds(a, a.accessLevel, i);
}

template <typename E>
bool readAt(ArrayObject& a, int32_t i, typename E::Value& result) {
    if (!atLastLevel(a, i)) return false;
    ElementVector* v = a.accessVector;
    endAccess(a);
    result = v ? readElement<E>(*v, i) : typename E::Value{};
    return true;
}

template <typename E>
bool writeAt(ArrayObject& a, int32_t i, typename E::Value value) {
    if (!atLastLevel(a, i) || !a.accessVector) return false;
    ElementVector& v = *a.accessVector;
    endAccess(a);
    prepareLevel<E>(v);
    if (i >= v.count) setCount(v, i + 1);
    storeElement<E>(v, i, value);
    return true;
}

}  // namespace runtime::arrays
