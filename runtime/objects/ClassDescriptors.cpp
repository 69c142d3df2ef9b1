#include "objects/ClassDescriptors.h"

#include <windows.h>

#include <cstring>
#include <unordered_set>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "text/StringValue.h"

namespace runtime {
namespace {

enum DescriptorKind : uint32_t { kCompiledClass = 0, kNamedClass = 1 };

// The instance size of `Object`, the smallest class.
constexpr int32_t kSmallestInstanceSize = 24;

// Reads the words of a descriptor in data1 in order. Addresses in it are
// already relocated to absolute ones.
class DescriptorReader {
public:
    explicit DescriptorReader(uintptr_t address) : cursor_(reinterpret_cast<const uint8_t*>(address)) {}

    uint32_t word() {
        uint32_t value;
        std::memcpy(&value, cursor_, 4);
        cursor_ += 4;
        return value;
    }
    int32_t integer() { return static_cast<int32_t>(word()); }
    template <typename T>
    T* pointer() {
        return reinterpret_cast<T*>(static_cast<uintptr_t>(word()));
    }
    // A byte followed by three bytes of padding.
    uint8_t paddedByte() {
        const uint8_t value = *cursor_;
        cursor_ += 4;
        return value;
    }
    const uint8_t* position() const { return cursor_; }

private:
    const uint8_t* cursor_;
};

std::string_view textOf(const StringRecord* constant) { return viewOf(const_cast<StringRecord*>(constant)); }

ClassRecord* findNamedClass(std::string_view name) {
    if (ClassRecord* cls = findBuiltinClass(name)) return cls;
    if (ClassRecord* cls = findPluginControlClass(name)) return cls;
    return findPluginClass(name);
}

ClassRecord* readCompiledClass(DescriptorReader& in, int32_t& superIndex) {
    const int32_t size = in.integer();
    const auto* name = in.pointer<StringRecord>();
    ClassRecord* cls = createClass(name ? textOf(name) : std::string_view());
    cls->instanceSize = size;
    superIndex = in.integer();
    if (in.word() != 0) {
        cls->initialiser = reinterpret_cast<ObjectHook>(in.pointer<void>());
        cls->finaliser = reinterpret_cast<ObjectHook>(in.pointer<void>());
    }
    cls->isInterface = in.paddedByte();
    for (uint32_t n = in.word(); n > 0; --n) prependInterface(cls, classTableEntry(in.integer()));
    for (uint32_t n = in.word(); n > 0; --n) {
        const auto* methodName = in.pointer<StringRecord>();
        CodeAddress code = cls->isInterface ? nullptr : in.pointer<void>();
        appendMethod(cls, textOf(methodName), code);
    }
    for (uint32_t n = in.word(); n > 0; --n) {
        const auto* handlerName = in.pointer<StringRecord>();
        CodeAddress code = in.pointer<void>();
        prependEventHandler(cls, textOf(handlerName), code, in.integer());
    }
    for (uint32_t n = in.word(); n > 0; --n) {
        const auto* itemName = in.pointer<StringRecord>();
        prependMenuHandler(cls, textOf(itemName), in.pointer<void>());
    }
    cls->virtualTableCount = in.integer();
    cls->virtualTable = reinterpret_cast<CodeAddress*>(const_cast<uint8_t*>(in.position()));
    return cls;
}

void debugLine(const std::string& line) { OutputDebugStringA(line.c_str()); }

// A compiled class must hold its superclass's fields: a smaller size is
// reported and the class is allocated at the superclass's size.
void checkInstanceSize(ClassRecord* cls) {
    const ClassRecord* super = cls->superclass;
    if (cls->instanceSize >= super->instanceSize) return;
    debugLine("!!! RuntimeInit -- Bad class object size\n");
    debugLine("\tClass Name: " + std::string(viewOf(cls->name)) + "\n");
    debugLine("\tClass Size: " + std::to_string(cls->instanceSize) + "\n");
    debugLine("\tSuper Name: " + std::string(viewOf(super->name)) + "\n");
    debugLine("\tSuper Size: " + std::to_string(super->instanceSize) + "\n");
    cls->instanceSize = super->instanceSize;
}

// Checks the sizes of `cls`'s compiled superclasses before its own, so that a
// class listed before its superclass still grows to the final size.
void resolveInstanceSize(ClassRecord* cls, std::unordered_set<ClassRecord*>& pending) {
    if (!pending.erase(cls)) return;
    if (!cls->superclass) {
        // No class is smaller than Object: every block holds the header.
        if (cls->instanceSize < kSmallestInstanceSize) cls->instanceSize = kSmallestInstanceSize;
        return;
    }
    resolveInstanceSize(cls->superclass, pending);
    checkInstanceSize(cls);
}

}  // namespace

ClassTableResult readClassDescriptors(const uint32_t* descriptors, int32_t count) {
    resetClassTable(count);
    ClassTableResult result;
    std::vector<int32_t> superIndices(static_cast<size_t>(count), -1);
    for (int32_t i = 0; i < count; ++i) {
        DescriptorReader in(descriptors[i]);
        if (in.word() == kNamedClass) {
            const std::string_view name = textOf(in.pointer<StringRecord>());
            ClassRecord* cls = findNamedClass(name);
            if (!cls && result.missingClass.empty()) result.missingClass = name.empty() ? "(unnamed)" : name;
            setClassTableEntry(i, cls);
            continue;
        }
        setClassTableEntry(i, readCompiledClass(in, superIndices[static_cast<size_t>(i)]));
        result.compiledIndices.push_back(i);
    }
    std::unordered_set<ClassRecord*> sizesToCheck;
    for (int32_t i : result.compiledIndices) {
        ClassRecord* cls = classTableEntry(i);
        ClassRecord* super = classTableEntry(superIndices[static_cast<size_t>(i)]);
        // A superclass that descends from the class itself would make a cycle.
        if (super && !inheritsFrom(super, cls)) cls->superclass = super;
        sizesToCheck.insert(cls);
    }
    for (int32_t i : result.compiledIndices) resolveInstanceSize(classTableEntry(i), sizesToCheck);
    return result;
}

ClassRecord* chooseApplicationClass(const ClassTableResult& table) {
    ClassRecord* application = findBuiltinClass("Application");
    ClassRecord* chosen = application;
    for (int32_t i : table.compiledIndices) {
        ClassRecord* cls = classTableEntry(i);
        if (cls != application && inheritsFrom(cls, application)) chosen = cls;
    }
    return chosen;
}

}  // namespace runtime
