// ObjectRef: the runtime's owning handle for an object reference (nullable).
// It holds exactly one reference, so C++ code inside the runtime cannot leak or
// double-drop one. The cdecl entry routines convert with borrow(), adopt() and
// release() at the boundary.
#pragma once

#include <utility>

#include "objects/ObjectLifetime.h"

namespace runtime {

class ObjectRef {
public:
    ObjectRef() = default;
    ObjectRef(const ObjectRef& other) : object_(other.object_) { lockObject(object_); }
    ObjectRef(ObjectRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~ObjectRef() { unlockObject(object_); }

    ObjectRef& operator=(const ObjectRef& other) {
        // The new reference first: `other` may be kept alive only by this one.
        lockObject(other.object_);
        unlockObject(std::exchange(object_, other.object_));
        return *this;
    }
    ObjectRef& operator=(ObjectRef&& other) noexcept {
        if (this != &other) unlockObject(std::exchange(object_, std::exchange(other.object_, nullptr)));
        return *this;
    }

    // Takes over a reference the caller owns (a new object, a routine's result).
    static ObjectRef adopt(ObjectHandle object) { return ObjectRef(object); }
    // Takes a reference of its own to a borrowed object (a routine's argument).
    static ObjectRef borrow(ObjectHandle object) {
        lockObject(object);
        return ObjectRef(object);
    }
    [[nodiscard]] ObjectHandle release() { return std::exchange(object_, nullptr); }

    ObjectHandle get() const { return object_; }
    ObjectHandle operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    ClassRecord* classRecord() const { return object_ ? object_->classRecord : nullptr; }

    // The instance data at byte `offset` of the block, as a T.
    template <typename T>
    T* field(int32_t offset) const {
        return reinterpret_cast<T*>(reinterpret_cast<char*>(object_) + offset);
    }

private:
    explicit ObjectRef(ObjectHandle object) : object_(object) {}
    ObjectHandle object_ = nullptr;
};

}  // namespace runtime
