#include "objects/InterfaceTables.h"

#include <algorithm>
#include <string>
#include <vector>

#include "objects/ClassRegistry.h"
#include "text/CaseFold.h"
#include "text/StringValue.h"

namespace runtime {
namespace {

// Advanced once per build so that each class is built once per build.
int32_t gGeneration = 0;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The type of one parameter: the text after its last " As ".
std::string parameterType(std::string_view parameter) {
    std::string folded;
    for (char c : parameter) folded += static_cast<char>(foldCase(static_cast<uint8_t>(c)));
    const size_t as = folded.rfind(" AS ");
    return std::string(trimmed(as == std::string::npos ? std::string_view(folded) : std::string_view(folded).substr(as + 4)));
}

std::vector<std::string> parameterTypes(StringHandle list) {
    std::vector<std::string> types;
    std::string_view rest = trimmed(viewOf(list));
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        types.push_back(parameterType(rest.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        rest = trimmed(rest.substr(comma + 1));
    }
    return types;
}

void numberInterfaceMethods() {
    for (ClassRecord* cls = firstClass(); cls; cls = cls->nextClass) {
        int32_t ordinal = 0;
        for (MethodRecord* m = cls->methods; m; m = m->next) m->interfaceOrdinal = cls->isInterface ? ++ordinal : 0;
    }
}

int32_t methodCount(const ClassRecord* cls) {
    int32_t count = 0;
    for (const MethodRecord* m = cls->methods; m; m = m->next) ++count;
    return count;
}

const MethodRecord* findImplementation(const ClassRecord* cls, const MethodRecord* wanted) {
    for (const ClassRecord* k = cls; k; k = k->superclass) {
        for (const MethodRecord* m = k->methods; m; m = m->next) {
            if (foldedEquals(viewOf(m->name), viewOf(wanted->name))) {
                return sameParameterTypes(m->parameters, wanted->parameters) ? m : nullptr;
            }
        }
    }
    return nullptr;
}

void buildTable(const ClassRecord* cls, InterfaceRecord* record) {
    const ClassRecord* iface = record->interfaceClass;
    if (!iface) return;
    const int32_t size = methodCount(iface) + 1;
    std::vector<CodeAddress> table(static_cast<size_t>(size), nullptr);
    for (const MethodRecord* m = iface->methods; m; m = m->next) {
        const MethodRecord* implementation = findImplementation(cls, m);
        if (!implementation) return;  // this table stays empty
        table[static_cast<size_t>(m->interfaceOrdinal)] = implementation->firstRoutine;
    }
    record->dispatchTable = new CodeAddress[static_cast<size_t>(size)];
    std::copy(table.begin(), table.end(), record->dispatchTable);
    record->tableSize = size;
}

void buildClass(ClassRecord* cls) {
    if (!cls || cls->generation == gGeneration) return;
    cls->generation = gGeneration;
    buildClass(cls->superclass);
    for (InterfaceRecord* record = cls->interfaces; record; record = record->next) buildTable(cls, record);
}

}  // namespace

bool sameParameterTypes(StringHandle a, StringHandle b) { return parameterTypes(a) == parameterTypes(b); }

void buildInterfaceTables() {
    numberInterfaceMethods();
    ++gGeneration;
    for (ClassRecord* cls = firstClass(); cls; cls = cls->nextClass) buildClass(cls);
}

CodeAddress interfaceRoutine(const ClassRecord* cls, const ClassRecord* interfaceClass, int32_t slot) {
    for (const ClassRecord* k = cls; k; k = k->superclass) {
        for (const InterfaceRecord* record = k->interfaces; record; record = record->next) {
            if (record->interfaceClass != interfaceClass) continue;
            if (!record->dispatchTable || slot < 0 || slot >= record->tableSize) return nullptr;
            return record->dispatchTable[slot];
        }
    }
    return nullptr;
}

}  // namespace runtime
