#include "objects/ProjectItems.h"

#include <span>

#include "UnalignedAccess.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/MenuBarModel.h"
#include "objects/UnwindScope.h"

namespace runtime {
namespace {

// Process-wide: project objects are held for the life of the process.
std::vector<ObjectRef> gProjectObjects;
SettingsStream gSettings;

uint32_t wordAt(const uint8_t* p, int index) { return loadUnaligned<uint32_t>(p, 4 * index); }

// A resource object of `cls` holding the fields its shape names: nothing is
// written past its instance data.
ObjectRef resourceObject(const ResourceClass& cls, uint32_t word, const uint8_t* data = nullptr,
                         uint32_t word1 = 0, uint32_t word2 = 0) {
    ObjectRef object = ObjectRef::adopt(newObject(builtinClass(cls.name)));
    ResourceFields* fields = object.field<ResourceFields>(kResourceFieldsOffset);
    fields->resourceWord = word;
    if (cls.shape == ResourceShape::kWordOnly) return object;
    fields->data = data;
    if (cls.shape == ResourceShape::kWordAndData) return object;
    fields->word1 = word1;
    fields->word2 = word2;
    return object;
}

// A counted byte block that follows the kind word at `p`.
std::span<const uint8_t> countedBytes(const uint8_t* p) { return {p + 4, wordAt(p, 0)}; }

ObjectRef readItem(const uint8_t* item) {
    const uint8_t* body = item + 4;
    switch (static_cast<ProjectItemKind>(wordAt(item, 0))) {
        case ProjectItemKind::kPicture: return resourceObject(kPictureClass, wordAt(body, 0), body + 4);
        case ProjectItemKind::kMenuBar:
            // Menu items may be of compiled classes with initialisers.
            if (const Unwindable<std::optional<MenuBarStream>> bar(parseMenuBarStream(countedBytes(body))); *bar) {
                buildMenuBar(**bar);
            }
            return {};
        case ProjectItemKind::kMovie: return resourceObject(kMovieClass, wordAt(body, 0));
        case ProjectItemKind::kSettings:
            if (auto settings = parseSettingsStream(countedBytes(body + 4))) gSettings = std::move(*settings);
            return {};
        case ProjectItemKind::kGlobalInstance: {
            ClassRecord* cls = classTableEntry(static_cast<int32_t>(wordAt(body, 0)));
            auto* global = reinterpret_cast<ObjectHandle*>(static_cast<uintptr_t>(wordAt(body, 1)));
            if (cls && global) *global = newObject(cls);  // the global owns it
            return {};
        }
        case ProjectItemKind::kSound: return resourceObject(kSoundClass, wordAt(body, 0), body + 4);
        case ProjectItemKind::kResource7: return resourceObject(kResource7Class, wordAt(body, 0));
        case ProjectItemKind::kResource8: return resourceObject(kResource8Class, wordAt(body, 0));
        case ProjectItemKind::kCursor: return resourceObject(kCursorClass, wordAt(body, 0));
        case ProjectItemKind::kDatabase:
            // The text stays in data1: the object keeps its length and address.
            return resourceObject(kDatabaseClass, wordAt(body, 0),
                                  reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(wordAt(body, 1))),
                                  wordAt(body, 2), wordAt(body, 3));
        default: return {};
    }
}

}  // namespace

void readProjectItems(const uint32_t* items, int32_t count) {
    gProjectObjects.assign(static_cast<size_t>(count > 0 ? count : 0) + 1, ObjectRef());
    for (int32_t i = 0; i < count; ++i) {
        if (items[i] == 0) continue;
        gProjectObjects[static_cast<size_t>(i) + 1] = readItem(reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(items[i])));
    }
}

ObjectRef projectObject(int32_t index) {
    if (index <= 0 || static_cast<size_t>(index) >= gProjectObjects.size()) return {};
    return gProjectObjects[static_cast<size_t>(index)];
}

const SettingsStream& applicationSettings() { return gSettings; }

std::string messageTableEntry(size_t i) { return i < gSettings.messages.size() ? gSettings.messages[i] : std::string(); }

}  // namespace runtime
