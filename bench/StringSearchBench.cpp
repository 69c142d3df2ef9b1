// Prints the cost of StringInStr, StringReplaceAll and StringNthField over a
// 1 MB text as ratios against plain std::string_view::find loops that do the
// same work, measured in one run. The text mixes ASCII and Shift-JIS, so under
// code page 932 the double-byte paths run and under 1252 the single-byte ones.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "text/StringEntries.h"
#include "text/StringFunctionEntries.h"

namespace {

constexpr size_t kTextBytes = 1 << 20;
constexpr std::string_view kEndWord = "\x8F\x49\x82\xED\x82\xE8";

// Address-book-like lines: name, number, a message with Japanese text.
std::string makeText() {
    static constexpr std::string_view kLine =
        "Yamada Taro,09012345678,\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD Meeting at 10:30 "
        "\x96\xBE\x93\xFA\x82\xCC\x89\xEF\x8B\x63,sent\r\n";
    std::string text;
    text.reserve(kTextBytes + kLine.size());
    for (int line = 0; text.size() < kTextBytes; ++line) {
        text += kLine;
        if (line % 64 == 63) text += "pattern;";  // one replacement every 4 KB or so
    }
    text.resize(kTextBytes);
    // Unique words near the end: one in ASCII, one in Shift-JIS ("end").
    text.replace(text.size() - 16, 6, "target");
    text.replace(text.size() - 40, 6, kEndWord);
    return text;
}

template <typename Work>
double bestSeconds(int rounds, Work work) {
    double best = 1e9;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

struct Owned {
    StringHandle s;
    explicit Owned(std::string_view bytes) : s(VELMBuildString(bytes.data(), static_cast<int32_t>(bytes.size()))) {}
    ~Owned() { RuntimeUnlockString(s); }
};

volatile size_t sink;  // keeps the baselines' results alive

void report(const char* name, double routine, double baseline) {
    std::printf("%-18s %8.3f ms   baseline %8.3f ms   ratio %6.2f\n", name, routine * 1e3, baseline * 1e3,
                routine / baseline);
}

}  // namespace

int main() {
    const std::string text = makeText();
    const std::string_view view = text;
    const Owned haystack(text);
    const Owned target("target");
    const Owned pattern("pattern;");
    const Owned replacement("replaced text;");
    const Owned comma(",");
    std::printf("code page %u, text %zu bytes\n", GetACP(), text.size());
    constexpr int kRounds = 15;

    // Search: one full scan to a match near the end.
    const double inStr = bestSeconds(kRounds, [&] { sink = StringInStr(1, haystack.s, target.s); });
    const double find = bestSeconds(kRounds, [&] { sink = view.find("target") + 1; });
    report("StringInStr", inStr, find);
    // A needle of double-byte characters: under 932 the text's characters are
    // compared through the code page's upper-case forms, on character starts.
    const Owned endWord(kEndWord);
    const double inStrWide = bestSeconds(kRounds, [&] { sink = StringInStr(1, haystack.s, endWord.s); });
    const double findWide = bestSeconds(kRounds, [&] { sink = view.find(kEndWord) + 1; });
    report("StringInStr (wide)", inStrWide, findWide);

    // Replace all: about 250 replacements, the result built once.
    const double replaceAll = bestSeconds(kRounds, [&] { RuntimeUnlockString(StringReplaceAll(haystack.s, pattern.s, replacement.s)); });
    const double replaceLoop = bestSeconds(kRounds, [&] {
        std::string out;
        size_t from = 0;
        for (size_t at; (at = view.find("pattern;", from)) != std::string_view::npos; from = at + 8) {
            out.append(view, from, at - from);
            out += "replaced text;";
        }
        out.append(view, from);
        sink = out.size();
    });
    report("StringReplaceAll", replaceAll, replaceLoop);

    // Nth field: the middle field of the comma-separated text.
    const int32_t fields = StringCountFields(haystack.s, comma.s);
    const int32_t middle = fields / 2;
    const double nthField = bestSeconds(kRounds, [&] { RuntimeUnlockString(StringNthField(haystack.s, comma.s, middle)); });
    const double fieldLoop = bestSeconds(kRounds, [&] {
        size_t start = 0;
        for (int32_t k = 1; k < middle; ++k) start = view.find(',', start) + 1;
        sink = std::string(view.substr(start, view.find(',', start) - start)).size();
    });
    report("StringNthField", nthField, fieldLoop);
    return 0;
}
