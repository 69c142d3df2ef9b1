// Object references in application code: an owning handle that gives its
// reference back with RuntimeUnlockObject, and the lookups of a window's
// controls by name.
#pragma once

#include <cstdint>

#include "AppImports.h"

namespace app {

class Object {
public:
    Object() = default;
    Object(const Object& other) : value_(other.value_) { RuntimeLockObject(value_); }
    Object(Object&& other) : value_(other.value_) { other.value_ = nullptr; }
    ~Object() { RuntimeUnlockObject(value_); }
    Object& operator=(const Object& other) {
        RuntimeLockObject(other.value_);  // before the unlock: `other` may be this
        RuntimeUnlockObject(value_);
        value_ = other.value_;
        return *this;
    }
    Object& operator=(Object&& other) {
        if (this != &other) {
            RuntimeUnlockObject(value_);
            value_ = other.value_;
            other.value_ = nullptr;
        }
        return *this;
    }

    // Takes over a reference the caller owns (a routine's result).
    static Object adopt(ObjectHandle value) { return Object(value); }
    // Takes a reference of its own (a borrowed argument).
    static Object borrow(ObjectHandle value) {
        RuntimeLockObject(value);
        return Object(value);
    }

    ObjectHandle get() const { return value_; }
    explicit operator bool() const { return value_ != nullptr; }

private:
    explicit Object(ObjectHandle value) : value_(value) {}

    ObjectHandle value_ = nullptr;
};

// The control of `window` registered under `name` (nil when there is none).
inline Object control(ObjectHandle window, StringHandle name) {
    return Object::adopt(RuntimeControlReference(window, name));
}

// Member `index` of the control array `name`.
inline Object controlAt(ObjectHandle window, StringHandle name, int32_t index) {
    return Object::adopt(RuntimeControlArrayItemReference(window, name, index));
}

// Fields that every control keeps after the object header: its name, then
// its index in a control array.
inline int32_t controlIndex(ObjectHandle control) {
    return *reinterpret_cast<const int32_t*>(reinterpret_cast<const uint8_t*>(control) + 28);
}

}  // namespace app
