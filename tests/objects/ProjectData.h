// Builds class descriptors and project tables in memory, laid out as they are
// in a relocated image (absolute addresses), so that the object model can be
// tested from C++ functions that stand in for compiled code.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "objects/ClassRecord.h"
#include "text/StringRecord.h"

namespace testing_support {

class ProjectData {
public:
    using Words = std::vector<uint32_t>;

    // A string constant record as the image holds it {1, text, length, length}.
    uint32_t constant(const std::string& text);
    template <typename F>
    static uint32_t code(F* function) {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(function));
    }

    struct Method {
        std::string name;
        void* code;
    };
    struct Handler {
        std::string name;
        void* code;
        int32_t hookCode = 0;
    };
    struct CompiledClass {
        std::string name;  // empty: anonymous
        int32_t size = 24;
        int32_t superIndex = -1;
        ObjectHook initialiser = nullptr;
        ObjectHook finaliser = nullptr;
        bool isInterface = false;
        std::vector<int32_t> interfaces;
        std::vector<Method> methods;
        std::vector<Handler> eventHandlers;
        std::vector<Handler> menuHandlers;
        std::vector<void*> virtualTable;
    };

    // Each returns the class-table index of the new descriptor.
    int32_t addNamedClass(const std::string& name);
    int32_t addCompiledClass(const CompiledClass& cls);
    // A project item: its words (kind first).
    void addItem(Words words);
    // The words of an item that carries a byte stream: kind, byte count, the
    // bytes padded to whole words.
    static Words streamItem(uint32_t kind, const std::vector<uint8_t>& bytes);
    void addNullItem();

    // The project table: n, descriptors, m, items.
    const uint32_t* table();

private:
    uint32_t addressOf(const Words& words) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(words.data())); }
    Words& keep(Words words);

    std::deque<Words> blocks_;        // stable addresses
    std::deque<std::string> texts_;   // length byte, text, zero
    std::deque<StringRecord> strings_;
    std::vector<uint32_t> classes_;
    std::vector<uint32_t> items_;
    Words table_;
};

}  // namespace testing_support
