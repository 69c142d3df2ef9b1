#include "objects/ProjectData.h"

#include <cstring>

namespace testing_support {

uint32_t ProjectData::constant(const std::string& text) {
    std::string& buffer = texts_.emplace_back();
    buffer.push_back(static_cast<char>(lengthByteFor(static_cast<int32_t>(text.size()))));
    buffer += text;
    const auto length = static_cast<int32_t>(text.size());
    StringRecord& record = strings_.emplace_back(StringRecord{1, reinterpret_cast<uint8_t*>(buffer.data()), length, length});
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&record));
}

ProjectData::Words& ProjectData::keep(Words words) { return blocks_.emplace_back(std::move(words)); }

int32_t ProjectData::addNamedClass(const std::string& name) {
    classes_.push_back(addressOf(keep({1, constant(name)})));
    return static_cast<int32_t>(classes_.size() - 1);
}

int32_t ProjectData::addCompiledClass(const CompiledClass& cls) {
    Words w{0, static_cast<uint32_t>(cls.size), cls.name.empty() ? 0 : constant(cls.name),
            static_cast<uint32_t>(cls.superIndex)};
    const bool hooks = cls.initialiser || cls.finaliser;
    w.push_back(hooks ? 1 : 0);
    if (hooks) {
        w.push_back(code(cls.initialiser));
        w.push_back(code(cls.finaliser));
    }
    w.push_back(cls.isInterface ? 1 : 0);
    w.push_back(static_cast<uint32_t>(cls.interfaces.size()));
    for (int32_t i : cls.interfaces) w.push_back(static_cast<uint32_t>(i));
    w.push_back(static_cast<uint32_t>(cls.methods.size()));
    for (const Method& m : cls.methods) {
        w.push_back(constant(m.name));
        if (!cls.isInterface) w.push_back(code(m.code));
    }
    w.push_back(static_cast<uint32_t>(cls.eventHandlers.size()));
    for (const Handler& h : cls.eventHandlers) {
        w.push_back(constant(h.name));
        w.push_back(code(h.code));
        w.push_back(static_cast<uint32_t>(h.hookCode));
    }
    w.push_back(static_cast<uint32_t>(cls.menuHandlers.size()));
    for (const Handler& h : cls.menuHandlers) {
        w.push_back(constant(h.name));
        w.push_back(code(h.code));
    }
    w.push_back(static_cast<uint32_t>(cls.virtualTable.size()));
    for (void* entry : cls.virtualTable) w.push_back(code(entry));
    classes_.push_back(addressOf(keep(std::move(w))));
    return static_cast<int32_t>(classes_.size() - 1);
}

void ProjectData::addItem(Words words) { items_.push_back(addressOf(keep(std::move(words)))); }
void ProjectData::addNullItem() { items_.push_back(0); }

ProjectData::Words ProjectData::streamItem(uint32_t kind, const std::vector<uint8_t>& bytes) {
    Words words{kind, static_cast<uint32_t>(bytes.size())};
    words.resize(2 + (bytes.size() + 3) / 4);
    std::memcpy(&words[2], bytes.data(), bytes.size());
    return words;
}

const uint32_t* ProjectData::table() {
    table_.clear();
    table_.push_back(static_cast<uint32_t>(classes_.size()));
    table_.insert(table_.end(), classes_.begin(), classes_.end());
    table_.push_back(static_cast<uint32_t>(items_.size()));
    table_.insert(table_.end(), items_.begin(), items_.end());
    return table_.data();
}

}  // namespace testing_support
