// Prints the cost of appending to and sorting runtime arrays as ratios against
// std::vector and std::sort on the same data: 10^6 integers and 10^5 strings
// (strings compared by the same user-locale collation on both sides).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "text/StringEntries.h"
#include "text/StringValue.h"
#include "text/arrays/ArrayEntries.h"

namespace {

constexpr int32_t kIntegers = 1000000;
constexpr int32_t kStrings = 100000;

template <typename Body>
double secondsFor(Body body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fastest of a few runs of each side, so a stray pause does not decide.
template <typename Body>
double bestOf(int runs, Body body) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) best = std::min(best, secondsFor(body));
    return best;
}

void report(const char* what, double runtimeSeconds, double standardSeconds) {
    std::printf("%-28s runtime %8.2f ms, standard %8.2f ms, ratio %.2f\n", what, runtimeSeconds * 1e3,
                standardSeconds * 1e3, runtimeSeconds / standardSeconds);
}

ArrayHandle emptyArray() {
    ArrayHandle a = RuntimeCreateArray();
    RuntimeArrayCreateAddIndex(a, 0, -1);
    return a;
}

bool collatesBefore(StringHandle x, StringHandle y) { return StringStrCompare(x, y, 1) < 0; }

}  // namespace

int main() {
    std::mt19937 random(2024);
    std::vector<int32_t> integers(kIntegers);
    for (int32_t& v : integers) v = static_cast<int32_t>(random());
    std::vector<runtime::StringValue> strings;
    for (int32_t i = 0; i < kStrings; ++i) {
        std::string text(8, ' ');
        for (char& c : text) c = static_cast<char>("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"[random() % 52]);
        strings.push_back(runtime::StringValue::fromBytes(text));
    }

    report("append 10^6 integers",
           bestOf(5, [&] {
               ArrayHandle a = emptyArray();
               for (int32_t v : integers) RuntimeIntArrayAppend(a, v);
               RuntimeDisposeIntArray(a);
           }),
           bestOf(5, [&] {
               std::vector<int32_t> v;
               for (int32_t x : integers) v.push_back(x);
               if (v.size() != integers.size()) std::puts("?");
           }));

    report("append 10^5 strings",
           bestOf(5, [&] {
               ArrayHandle a = emptyArray();
               for (const runtime::StringValue& s : strings) RuntimeStringArrayAppend(a, s.get());
               RuntimeDisposeStringArray(a);
           }),
           bestOf(5, [&] {
               std::vector<runtime::StringValue> v;
               for (const runtime::StringValue& s : strings) v.push_back(s);
           }));

    ArrayHandle sortedIntegers = emptyArray();
    for (int32_t v : integers) RuntimeIntArrayAppend(sortedIntegers, v);
    double runtimeSort = 1e30;
    for (int run = 0; run < 3; ++run) {
        for (int32_t i = 0; i < kIntegers; ++i) RuntimeDirectWriteIntArray(sortedIntegers, i, integers[i]);
        runtimeSort = std::min(runtimeSort, secondsFor([&] { RuntimeIntArraySort(sortedIntegers); }));
    }
    double standardSort = 1e30;
    for (int run = 0; run < 3; ++run) {
        std::vector<int32_t> copy = integers;
        standardSort = std::min(standardSort, secondsFor([&] { std::sort(copy.begin(), copy.end()); }));
    }
    RuntimeDisposeIntArray(sortedIntegers);
    report("sort 10^6 integers", runtimeSort, standardSort);

    ArrayHandle sortedStrings = emptyArray();
    for (const runtime::StringValue& s : strings) RuntimeStringArrayAppend(sortedStrings, s.get());
    runtimeSort = secondsFor([&] { RuntimeStringArraySort(sortedStrings); });
    RuntimeDisposeStringArray(sortedStrings);
    std::vector<StringHandle> handles;
    for (const runtime::StringValue& s : strings) handles.push_back(s.get());
    standardSort = secondsFor([&] { std::sort(handles.begin(), handles.end(), collatesBefore); });
    report("sort 10^5 strings", runtimeSort, standardSort);
    return 0;
}
