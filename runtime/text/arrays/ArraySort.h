// The one sort behind every array sort routine. It works on indices only and
// calls back goes-before (j, k) and swap (j, k), so the element kind decides
// the comparison. Ranges above five elements are partitioned around their
// middle element; smaller ones are sorted by selection. Equal elements end
// where this exact sequence of swaps puts them: the sort is not stable.
#pragma once

#include <cstdint>

#include "text/SmallBlockPool.h"

namespace runtime::arrays {

// A range waiting on the explicit stack; one small block each, freed when popped.
struct PendingRange {
    int32_t lo;
    int32_t hi;
    PendingRange* next;
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
    PendingRange* pending = nullptr;
    int32_t lo = 0;
    int32_t hi = n - 1;
    for (;;) {
        while (hi - lo > 4) {
            const int32_t pivot = partition(lo, hi, goesBefore, swap);
            auto* range = static_cast<PendingRange*>(poolAllocate(sizeof(PendingRange)));
            *range = PendingRange{pivot + 1, hi, pending};
            pending = range;
            hi = pivot - 1;
        }
        selectionSort(lo, hi, goesBefore, swap);
        if (!pending) return;
        PendingRange* next = pending;
        lo = next->lo;
        hi = next->hi;
        pending = next->next;
        poolRelease(next, sizeof(PendingRange));
    }
}

}  // namespace runtime::arrays
