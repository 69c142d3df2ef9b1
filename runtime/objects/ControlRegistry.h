// The control registry of a window: key text -> control, in 256 buckets, with
// the insertion order kept as the window's control order. Keys compare with
// the runtime's case-insensitive comparison; inserting an existing key
// replaces its value in place (same position in the order). The registry
// stores the pointers only; the window owns the references.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// The bucket of a key: over its bytes as signed 8-bit values, lower-case ASCII
// made upper case, hash = byte XOR (hash << 2); the low 8 bits.
uint8_t registryBucket(std::string_view key);

// The key of a control: its name, or name + "$" + index when it has one.
constexpr int32_t kNoIndex = INT32_MIN;
std::string registryKey(std::string_view name, int32_t index);

template <typename Value>
class ControlRegistry {
public:
    struct Entry {
        std::string key;
        Value value;
    };

    // Returns the value replaced (or a default Value when the key is new).
    Value insert(std::string_view key, Value value) {
        if (Entry* e = findEntry(key)) {
            Value old = e->value;
            e->value = value;
            return old;
        }
        order_.push_back({std::string(key), value});
        auto& bucket = buckets_[registryBucket(key)];
        bucket.insert(bucket.begin(), order_.size() - 1);  // new keys go to the front
        return Value{};
    }

    Value find(std::string_view key) const {
        const Entry* e = const_cast<ControlRegistry*>(this)->findEntry(key);
        return e ? e->value : Value{};
    }
    bool contains(std::string_view key) const { return const_cast<ControlRegistry*>(this)->findEntry(key) != nullptr; }

    // Registration order.
    const std::vector<Entry>& entries() const { return order_; }
    size_t size() const { return order_.size(); }

private:
    Entry* findEntry(std::string_view key);

    std::vector<Entry> order_;
    std::array<std::vector<size_t>, 256> buckets_;
};

bool registryKeysEqual(std::string_view a, std::string_view b);

template <typename Value>
typename ControlRegistry<Value>::Entry* ControlRegistry<Value>::findEntry(std::string_view key) {
    for (size_t i : buckets_[registryBucket(key)]) {
        if (registryKeysEqual(order_[i].key, key)) return &order_[i];
    }
    return nullptr;
}

}  // namespace runtime
