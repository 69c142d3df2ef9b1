// The portable core of arrays, natively: the index sort (where equal elements
// end, every input shape, its pending-range records), element vectors, the
// level tree with string elements through the owning handle, and compact
// boolean blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "text/SmallBlockPool.h"
#include "text/StringValue.h"
#include "text/arrays/ArrayRef.h"
#include "text/arrays/FastBooleanArray.h"

using namespace runtime;
using namespace runtime::arrays;

namespace {

struct Tagged {
    int key;
    char tag;
};

// Sorts with goes-before "key <= key" (numbers) or "key < key" (strings).
std::string sortedTags(std::vector<Tagged> items, bool orEqual) {
    sortIndices(
        static_cast<int32_t>(items.size()),
        [&](int32_t j, int32_t k) { return orEqual ? items[j].key <= items[k].key : items[j].key < items[k].key; },
        [&](int32_t j, int32_t k) { std::swap(items[j], items[k]); });
    std::string tags;
    for (const Tagged& t : items) tags += t.tag;
    return tags;
}

TEST(IndexSort, EqualElementsEndWhereTheAlgorithmPutsThem) {
    struct Case {
        std::vector<Tagged> items;
        bool orEqual;
        const char* tags;  // worked by hand
    };
    const Case cases[] = {
        // Selection, numbers: the last equal found sorts last: nothing moves.
        {{{1, 'a'}, {1, 'b'}, {1, 'c'}}, true, "abc"},
        // Selection, strings: the first equal found sorts last.
        {{{1, 'a'}, {1, 'b'}, {1, 'c'}}, false, "bca"},
        {{{0, 'a'}, {0, 'b'}, {1, 'c'}, {0, 'd'}}, true, "abdc"},
        // Numbers: the pivot 'c' (from the middle) goes to the front; a, e, f
        // go before it and are swapped down: c a e f b d; the pivot changes
        // place with f: f a e c b d; the selections move nothing.
        {{{0, 'a'}, {1, 'b'}, {0, 'c'}, {2, 'd'}, {0, 'e'}, {0, 'f'}}, true, "faecbd"},
        // Strings: nothing goes before the pivot c, which stays first; the
        // five others are sorted by selection: b a d e f -> b a f e d ->
        // e a f b d -> f a e b d -> a f e b d.
        {{{0, 'a'}, {1, 'b'}, {0, 'c'}, {2, 'd'}, {0, 'e'}, {0, 'f'}}, false, "cafebd"},
    };
    for (const Case& c : cases) EXPECT_EQ(sortedTags(c.items, c.orEqual), c.tags);
}

TEST(IndexSort, EveryShapeOfInputEndsSorted) {
    std::mt19937 random(11);
    for (int32_t n = 0; n <= 70; ++n) {
        std::vector<std::vector<int>> inputs(5, std::vector<int>(n));
        std::iota(inputs[0].begin(), inputs[0].end(), 0);          // ascending
        std::iota(inputs[1].rbegin(), inputs[1].rend(), 0);        // descending
        std::fill(inputs[2].begin(), inputs[2].end(), 4);          // all equal
        for (int& v : inputs[3]) v = static_cast<int>(random() % 3);  // few values
        for (int& v : inputs[4]) v = static_cast<int>(random());      // random
        for (std::vector<int> values : inputs) {
            std::vector<int> expected = values;
            std::sort(expected.begin(), expected.end());
            for (bool orEqual : {true, false}) {
                std::vector<int> sorted = values;
                sortIndices(
                    n, [&](int32_t j, int32_t k) { return orEqual ? sorted[j] <= sorted[k] : sorted[j] < sorted[k]; },
                    [&](int32_t j, int32_t k) { std::swap(sorted[j], sorted[k]); });
                ASSERT_EQ(sorted, expected) << "n " << n;
            }
        }
    }
}

TEST(IndexSort, PendingRangesGoBackToThePool) {
    const int64_t before = SmallBlockPool::instance().bytesInUse();
    std::vector<int> values(10000);
    std::mt19937 random(3);
    for (int& v : values) v = static_cast<int>(random());
    sortIndices(
        10000, [&](int32_t j, int32_t k) { return values[j] <= values[k]; },
        [&](int32_t j, int32_t k) { std::swap(values[j], values[k]); });
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(SmallBlockPool::instance().bytesInUse(), before);
}

TEST(ElementVectors, CountCapacityAndZeroFill) {
    ElementVector v = emptyVector(4);
    setCount(v, 10);
    EXPECT_EQ(v.count, 10);
    EXPECT_EQ(v.capacity, 10);
    for (int32_t i = 0; i < 10; ++i) put<int32_t>(v, i, 7);
    setCount(v, 2);
    setCount(v, 10);  // the places given up and taken again are zero
    EXPECT_EQ(get<int32_t>(v, 1), 7);
    for (int32_t i = 2; i < 10; ++i) EXPECT_EQ(get<int32_t>(v, i), 0) << i;
    EXPECT_EQ(get<int32_t>(v, 10), 0);  // outside: zero, nothing read
    put<int32_t>(v, 10, 5);             // outside: nothing written
    EXPECT_EQ(v.count, 10);

    insertPlace(v, 0);  // count equals capacity: capacity + 16
    EXPECT_EQ(v.capacity, 26);
    EXPECT_EQ(v.count, 11);
    EXPECT_EQ(get<int32_t>(v, 0), 0);
    EXPECT_EQ(get<int32_t>(v, 2), 7);
    removePlace(v, 0);
    EXPECT_EQ(v.capacity, 26);
    EXPECT_EQ(get<int32_t>(v, 1), 7);

    useElementSize(v, 8);  // another element size: same shape, zero values
    EXPECT_EQ(v.count, 10);
    for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(get<double>(v, i), 0.0);
    put<double>(v, 9, 2.5);
    EXPECT_EQ(get<double>(v, 9), 2.5);
    setCount(v, 0);
    EXPECT_EQ(v.buffer, nullptr);
    freeStorage(v);
}

TEST(ArrayLevels, StringElementsThroughTheOwningHandle) {
    const StringValue s = StringValue::fromCString("element");
    {
        ArrayRef<StringElement> array = ArrayRef<StringElement>::oneDimensional(-1);
        for (int32_t i = 0; i < 100; ++i) array.append(s.get());
        EXPECT_EQ(array.upperBound(), 99);
        EXPECT_EQ(s.get()->refCount, 101);
        EXPECT_TRUE(remove<StringElement>(*array.get(), 0));
        EXPECT_FALSE(remove<StringElement>(*array.get(), 99));
        EXPECT_EQ(s.get()->refCount, 100);
        redimension(*array.get(), 0, 9, StringElement::kRelease);
        EXPECT_EQ(s.get()->refCount, 11);
    }
    EXPECT_EQ(s.get()->refCount, 1);  // the handle disposed the rest

    // Two dimensions: a dropped row takes its strings with it.
    ArrayRef<StringElement> grid = ArrayRef<StringElement>::adopt(createArray());
    int32_t number = 0;
    ASSERT_TRUE(addDimension(*grid.get(), 0, 4, number));
    ASSERT_TRUE(addDimension(*grid.get(), 0, 4, number));
    for (int32_t row = 0; row <= 4; ++row) {
        ASSERT_TRUE(startWriteAccess(*grid.get(), row));
        ASSERT_TRUE(writeAt<StringElement>(*grid.get(), row, s.get()));
    }
    EXPECT_EQ(s.get()->refCount, 6);
    redimension(*grid.get(), 0, 1, StringElement::kRelease);
    EXPECT_EQ(s.get()->refCount, 3);
    grid = ArrayRef<StringElement>();
    EXPECT_EQ(s.get()->refCount, 1);
}

TEST(FastBooleans, ResizeInsertRemove) {
    FastBooleanHandle b = createFastBooleans(2);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(createFastBooleans(-2), nullptr);
    EXPECT_TRUE(writeFastBoolean(*b, 2, true));
    EXPECT_FALSE(writeFastBoolean(*b, 3, true));
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(appendFastBoolean(*b, i % 2 == 0));
    EXPECT_EQ(fastUpperBound(*b), 12);
    EXPECT_TRUE(insertFastBoolean(*b, 13, true));
    EXPECT_FALSE(insertFastBoolean(*b, 15, true));
    EXPECT_TRUE(removeFastBoolean(*b, 0));
    bool value = false;
    EXPECT_TRUE(readFastBoolean(*b, 1, value));
    EXPECT_TRUE(value);
    EXPECT_TRUE(readFastBoolean(*b, 12, value));
    EXPECT_TRUE(value);
    EXPECT_FALSE(readFastBoolean(*b, 13, value));
    EXPECT_TRUE(redimFastBooleans(*b, 0));
    EXPECT_TRUE(redimFastBooleans(*b, 5));
    for (int32_t i = 0; i <= 5; ++i) {
        EXPECT_TRUE(readFastBoolean(*b, i, value));
        EXPECT_FALSE(value) << i;
    }
    disposeFastBooleans(b);
}

}  // namespace
