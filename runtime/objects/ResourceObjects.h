// The objects made for the resource items of the image (pictures, movies,
// sounds, cursors, databases and two further kinds) and the layout of their
// instance data, which follows the data of `Object`.
#pragma once

#include <cstddef>
#include <cstdint>

namespace runtime {

struct ResourceFields {
    uint32_t resourceWord;  // every resource object
    const uint8_t* data;    // pictures and sounds: their description in data1;
                            // databases: the text
    uint32_t word1, word2;  // databases only
};
constexpr int32_t kResourceFieldsOffset = 24;

// How much of ResourceFields a resource class holds.
enum class ResourceShape {
    kWordOnly,     // resourceWord
    kWordAndData,  // resourceWord, data
    kAllFields,    // resourceWord, data, word1, word2
};

constexpr int32_t resourceInstanceSize(ResourceShape shape) {
    switch (shape) {
        case ResourceShape::kWordOnly: return kResourceFieldsOffset + int32_t{offsetof(ResourceFields, data)};
        case ResourceShape::kWordAndData: return kResourceFieldsOffset + int32_t{offsetof(ResourceFields, word1)};
        case ResourceShape::kAllFields: return kResourceFieldsOffset + int32_t{sizeof(ResourceFields)};
    }
    return 0;
}

// The built-in resource classes and their instance sizes.
struct ResourceClass {
    const char* name;
    int32_t instanceSize;
    ResourceShape shape;
};
constexpr ResourceClass kPictureClass{"Picture", 40, ResourceShape::kWordAndData};
constexpr ResourceClass kMovieClass{"Movie", 40, ResourceShape::kWordOnly};
constexpr ResourceClass kSoundClass{"Sound", 40, ResourceShape::kWordAndData};
constexpr ResourceClass kResource7Class{"ProjectResource7", 28, ResourceShape::kWordOnly};
constexpr ResourceClass kResource8Class{"ProjectResource8", 28, ResourceShape::kWordOnly};
constexpr ResourceClass kCursorClass{"MouseCursor", 28, ResourceShape::kWordOnly};
constexpr ResourceClass kDatabaseClass{"Database", 52, ResourceShape::kAllFields};

constexpr bool holdsItsFields(const ResourceClass& cls) {
    return cls.instanceSize >= resourceInstanceSize(cls.shape);
}
static_assert(holdsItsFields(kPictureClass) && holdsItsFields(kMovieClass) && holdsItsFields(kSoundClass) &&
              holdsItsFields(kResource7Class) && holdsItsFields(kResource8Class) && holdsItsFields(kCursorClass) &&
              holdsItsFields(kDatabaseClass));

#if defined(__i386__)
static_assert(sizeof(ResourceFields) == 16);
static_assert(offsetof(ResourceFields, data) == 4);
static_assert(offsetof(ResourceFields, word1) == 8);
#endif

}  // namespace runtime
