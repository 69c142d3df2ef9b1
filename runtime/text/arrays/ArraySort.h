// The one sort behind every array sort routine. It works on indices only and
// calls back goes-before (j, k) and swap (j, k), so the element kind decides
// the comparison. Ranges above five elements are partitioned around their
// middle element; smaller ones are sorted by selection. Equal elements end
// where this exact sequence of swaps puts them: the sort is not stable.
#pragma once

#include <cstdint>
#include <utility>

#include "text/SmallBlockPool.h"

namespace runtime::arrays {

// A range waiting on the explicit stack: one small block each from the pool.
struct PendingRange {
    int32_t lo;
    int32_t hi;
    PendingRange* next;
};

// The stack of pending ranges. A popped record is kept for the next push
// instead of going back to the pool at once (the pool takes the global lock
// on every call); all of them go back when the sort ends.
class PendingRanges {
public:
    PendingRanges() = default;
    PendingRanges(const PendingRanges&) = delete;
    PendingRanges& operator=(const PendingRanges&) = delete;
    ~PendingRanges() {
        releaseAll(top_);
        releaseAll(spare_);
    }

    void push(int32_t lo, int32_t hi) {
        PendingRange* range = spare_;
        if (range) spare_ = range->next;
        else range = static_cast<PendingRange*>(poolAllocate(sizeof(PendingRange)));
        *range = PendingRange{lo, hi, top_};
        top_ = range;
    }

    // Takes the newest range; false when there is none.
    bool pop(int32_t& lo, int32_t& hi) {
        PendingRange* range = top_;
        if (!range) return false;
        lo = range->lo;
        hi = range->hi;
        top_ = range->next;
        range->next = spare_;
        spare_ = range;
        return true;
    }

private:
    static void releaseAll(PendingRange* range) {
        while (range) poolRelease(std::exchange(range, range->next), sizeof(PendingRange));
    }

    PendingRange* top_ = nullptr;
    PendingRange* spare_ = nullptr;
};

// Sorts lo..hi (inclusive, at most 5 elements) by moving the element that
// sorts last to the end, repeatedly. Among candidates that compare equal,
// goes-before decides: a later element replaces the candidate when the
// candidate goes before it.
template <typename GoesBefore, typename Swap>
void selectionSort(int32_t lo, int32_t hi, GoesBefore& goesBefore, Swap& swap) {
    for (int32_t end = hi; end > lo; --end) {
        int32_t last = lo;
        for (int32_t j = lo + 1; j <= end; ++j) {
            if (goesBefore(last, j)) last = j;
        }
        swap(last, end);
    }
}

// Moves the middle element of lo..hi to lo as the pivot and partitions around
// it; returns the pivot's final place.
template <typename GoesBefore, typename Swap>
int32_t partition(int32_t lo, int32_t hi, GoesBefore& goesBefore, Swap& swap) {
    swap(lo + (hi - lo) / 2, lo);
    int32_t i = lo + 1;
    for (int32_t j = lo + 1; j <= hi; ++j) {
        if (goesBefore(j, lo)) {
            if (j > i) swap(j, i);
            ++i;
        }
    }
    if (i != lo + 1) swap(lo, i - 1);
    return i - 1;
}

// Sorts the indices 0 to n - 1.
template <typename GoesBefore, typename Swap>
void sortIndices(int32_t n, GoesBefore goesBefore, Swap swap) {
    PendingRanges pending;
    int32_t lo = 0;
    int32_t hi = n - 1;
    do {
        while (hi - lo > 4) {
            const int32_t pivot = partition(lo, hi, goesBefore, swap);
            pending.push(pivot + 1, hi);
            hi = pivot - 1;
        }
        selectionSort(lo, hi, goesBefore, swap);
    } while (pending.pop(lo, hi));
}

}  // namespace runtime::arrays
