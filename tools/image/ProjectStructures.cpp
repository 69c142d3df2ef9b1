#include "ProjectStructures.h"

#include <map>
#include <string>

#include "objects/DataStreamWriter.h"
#include "objects/WindowLayout.h"
#include "text/StringRecord.h"

namespace imagetool {
namespace {

// A structure under construction: its words and which of them are addresses.
class Block {
public:
    void word(uint32_t value) { words_.push_back(value); }
    void dataAddress(uint32_t offset) { address(offset, AddressBase::Data); }
    void codeAddress(uint32_t offset) { address(offset, AddressBase::Code); }
    // Bytes after the words, padded to whole words.
    void bytes(const std::vector<uint8_t>& data) {
        for (size_t i = 0; i < data.size(); i += 4) {
            uint32_t value = 0;
            for (size_t k = 0; k < 4 && i + k < data.size(); ++k) value |= uint32_t{data[i + k]} << (8 * k);
            words_.push_back(value);
        }
    }

    const std::vector<uint32_t>& words() const { return words_; }
    const std::vector<std::pair<size_t, AddressBase>>& addresses() const { return addresses_; }

private:
    void address(uint32_t offset, AddressBase base) {
        addresses_.emplace_back(words_.size(), base);
        words_.push_back(offset);
    }
    std::vector<uint32_t> words_;
    std::vector<std::pair<size_t, AddressBase>> addresses_;
};

class Emitter {
public:
    Emitter(const ProjectDescription& project, StructureTarget& target) : project_(project), target_(target) {}

    uint32_t emit() {
        std::vector<uint32_t> descriptors;
        for (const ClassDescription& cls : project_.classes) descriptors.push_back(append(classDescriptor(cls)));
        std::vector<std::optional<uint32_t>> items;
        for (const ProjectItemDescription& item : project_.items) items.push_back(itemBlock(item));
        Block table;
        table.word(static_cast<uint32_t>(descriptors.size()));
        for (uint32_t d : descriptors) table.dataAddress(d);
        table.word(static_cast<uint32_t>(items.size()));
        for (const auto& item : items) {
            if (item) table.dataAddress(*item);
            else table.word(0);
        }
        const uint32_t tableOffset = append(table);
        for (const WindowDescription& window : project_.windows) {
            const uint32_t layout = append(layoutBlock(window));
            if (target_.defineLayout) target_.defineLayout(window.symbol, layout);
        }
        return tableOffset;
    }

private:
    uint32_t append(const Block& block) {
        std::vector<uint8_t>& data1 = target_.data1;
        const uint32_t offset = static_cast<uint32_t>((data1.size() + 3) / 4 * 4);
        data1.resize(offset + 4 * block.words().size(), 0);
        for (size_t i = 0; i < block.words().size(); ++i) writeWord(offset + 4 * static_cast<uint32_t>(i), block.words()[i]);
        for (const auto& [index, base] : block.addresses()) {
            target_.addressWords.push_back({offset + 4 * static_cast<uint32_t>(index), base});
        }
        return offset;
    }

    void writeWord(uint32_t at, uint32_t value) {
        for (int k = 0; k < 4; ++k) target_.data1[at + k] = static_cast<uint8_t>(value >> (8 * k));
    }

    // A string constant: {1, text, length, length}, the text being the length
    // byte, the characters and a zero. One record per distinct text.
    uint32_t constant(const std::string& text) {
        if (auto it = constants_.find(text); it != constants_.end()) return it->second;
        Block textBlock;
        std::vector<uint8_t> bytes{lengthByteFor(static_cast<int32_t>(text.size()))};
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        textBlock.bytes(bytes);
        const uint32_t textOffset = append(textBlock);
        Block record;
        record.word(1);
        record.dataAddress(textOffset);
        record.word(static_cast<uint32_t>(text.size()));
        record.word(static_cast<uint32_t>(text.size()));
        const uint32_t offset = append(record);
        constants_.emplace(text, offset);
        return offset;
    }

    uint32_t classIndex(const ClassReference& reference) const {
        return static_cast<uint32_t>(classIndexOf(project_, reference));
    }

    Block classDescriptor(const ClassDescription& cls) {
        Block d;
        if (cls.builtin) {
            d.word(1);
            d.dataAddress(constant(cls.name));
            return d;
        }
        // Constants first, so the descriptor stays one block.
        const uint32_t name = cls.name.empty() ? 0 : constant(cls.name);
        std::vector<uint32_t> methodNames, eventNames, menuNames;
        for (const ClassMethod& m : cls.methods) methodNames.push_back(constant(m.name));
        for (const ClassHandler& h : cls.eventHandlers) eventNames.push_back(constant(h.name));
        for (const ClassHandler& h : cls.menuHandlers) menuNames.push_back(constant(h.name));

        d.word(0);
        d.word(static_cast<uint32_t>(cls.size));
        if (name) d.dataAddress(name);
        else d.word(0);
        d.word(cls.superclass ? classIndex(*cls.superclass) : 0xFFFFFFFFu);
        const bool hooks = cls.initialiser || cls.finaliser;
        d.word(hooks ? 1 : 0);
        if (hooks) {
            optionalCode(d, cls.initialiser);
            optionalCode(d, cls.finaliser);
        }
        d.word(cls.isInterface ? 1 : 0);
        d.word(static_cast<uint32_t>(cls.interfaces.size()));
        for (const ClassReference& iface : cls.interfaces) d.word(classIndex(iface));
        d.word(static_cast<uint32_t>(cls.methods.size()));
        for (size_t i = 0; i < cls.methods.size(); ++i) {
            d.dataAddress(methodNames[i]);
            if (!cls.isInterface) d.codeAddress(target_.codeOffset(*cls.methods[i].code));
        }
        d.word(static_cast<uint32_t>(cls.eventHandlers.size()));
        for (size_t i = 0; i < cls.eventHandlers.size(); ++i) {
            d.dataAddress(eventNames[i]);
            d.codeAddress(target_.codeOffset(cls.eventHandlers[i].code));
            d.word(static_cast<uint32_t>(cls.eventHandlers[i].hookCode));
        }
        d.word(static_cast<uint32_t>(cls.menuHandlers.size()));
        for (size_t i = 0; i < cls.menuHandlers.size(); ++i) {
            d.dataAddress(menuNames[i]);
            d.codeAddress(target_.codeOffset(cls.menuHandlers[i].code));
        }
        d.word(static_cast<uint32_t>(cls.virtualTable.size()));
        for (const auto& entry : cls.virtualTable) optionalCode(d, entry);
        return d;
    }

    void optionalCode(Block& d, const std::optional<SymbolReference>& function) {
        if (function) d.codeAddress(target_.codeOffset(*function));
        else d.word(0);
    }

    // The layout: its byte count, then the stream.
    Block layoutBlock(const WindowDescription& window) const {
        runtime::WindowLayout layout;
        layout.windowClass = static_cast<int32_t>(classIndex(*window.windowClass));
        layout.properties = window.properties;
        for (const ControlDescription& control : window.controls) {
            const int32_t cls = control.subclassIndex ? *control.subclassIndex
                                                      : static_cast<int32_t>(classIndex(control.controlClass));
            layout.controls.push_back({cls, control.properties});
        }
        for (const BindingDescription& b : window.bindings) {
            layout.bindings.push_back({b.sourceControl, b.sourcePart, b.targetControl, b.targetPart,
                                       static_cast<int32_t>(classIndex(b.binderClass)), b.sourcePartText,
                                       b.targetPartText});
        }
        const std::vector<uint8_t> stream = runtime::encodeWindowLayout(layout);
        Block b;
        b.word(static_cast<uint32_t>(stream.size()));
        b.bytes(stream);
        return b;
    }

    std::vector<runtime::MenuEntry> menuEntries(const std::vector<MenuDescription>& menus) const {
        std::vector<runtime::MenuEntry> entries;
        for (const MenuDescription& menu : menus) {
            runtime::MenuEntry entry = menu.entry;
            entry.classIndex = menu.itemClass ? static_cast<int32_t>(classIndex(*menu.itemClass)) : -1;
            entry.items = menuEntries(menu.items);
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    std::optional<uint32_t> itemBlock(const ProjectItemDescription& item) {
        using Kind = ProjectItemDescription::Kind;
        Block b;
        switch (item.kind) {
            case Kind::Null: return std::nullopt;
            case Kind::MenuBar: {
                const std::vector<uint8_t> stream = runtime::encodeMenuBarStream({menuEntries(item.menus)});
                b.word(2);
                b.word(static_cast<uint32_t>(stream.size()));
                b.bytes(stream);
                break;
            }
            case Kind::Settings: {
                const std::vector<uint8_t> stream = runtime::encodeSettingsStream(item.settings);
                b.word(4);
                b.word(0);
                b.word(static_cast<uint32_t>(stream.size()));
                b.bytes(stream);
                break;
            }
            case Kind::Picture: {
                // 16 bits per pixel, rows padded to whole words.
                const uint32_t rowBytes = (item.width * 2 + 3) / 4 * 4;
                b.word(1);
                b.word(item.resourceWord);
                b.word(16);
                b.word(item.width);
                b.word(item.height);
                b.word(rowBytes * item.height);
                b.bytes(std::vector<uint8_t>(rowBytes * item.height, 0));
                break;
            }
            case Kind::GlobalInstance:
                b.word(5);
                b.word(classIndex(*item.instanceClass));
                b.dataAddress(target_.dataOffset(*item.variable));
                break;
            case Kind::Resource:
                for (uint32_t w : item.words) b.word(w);
                break;
        }
        return append(b);
    }

    const ProjectDescription& project_;
    StructureTarget& target_;
    std::map<std::string, uint32_t> constants_;
};

}  // namespace

uint32_t emitProjectStructures(const ProjectDescription& project, StructureTarget& target) {
    return Emitter(project, target).emit();
}

}  // namespace imagetool
