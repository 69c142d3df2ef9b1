// Prints the cost of the string plug-in's kej_ReplaceAll, kej_NthField and
// kej_CountFields over a 1 MB text of mixed ASCII and Shift-JIS as ratios
// against plain std::string_view loops that do the same work, measured in one
// run. The methods are called through the real plug-in: VlPlugin.dll (copied
// beside this program by the build) is loaded, registers itself with the
// runtime's resolver, and each method is found by its declaration text as the
// linker's deferred binding finds it. Every row first checks that both sides
// give the same result, so the ratio compares equal work.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "loader/PluginHost.h"
#include "loader/PluginInstaller.h"
#include "text/StringEntries.h"
#include "text/StringRecord.h"

namespace {

using runtime::plugins::resolvePluginMember;

constexpr size_t kTextBytes = 1 << 20;

// Address-book-like lines: name, number, a message with Japanese text
// ("こんにちは", "明日の会議"), and now and then a marker to replace.
std::string makeText() {
    static constexpr std::string_view kLine =
        "Yamada Taro,09012345678,\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD Meeting at 10:30 "
        "\x96\xBE\x93\xFA\x82\xCC\x89\xEF\x8B\x63,sent\r\n";
    std::string text;
    text.reserve(kTextBytes + kLine.size());
    for (int line = 0; text.size() < kTextBytes; ++line) {
        text += kLine;
        if (line % 64 == 63) text += "pattern;";  // one marker every 4 KB or so
    }
    text.resize(kTextBytes);
    return text;
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Runs the routine and its baseline in alternation, so that both see the same
// load of the machine; the medians of their times.
template <typename Routine, typename Baseline>
std::pair<double, double> medianSeconds(int rounds, Routine routine, Baseline baseline) {
    std::vector<double> routineTimes, baselineTimes;
    const auto timed = [](auto& work) {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    for (int round = 0; round < rounds; ++round) {
        routineTimes.push_back(timed(routine));
        baselineTimes.push_back(timed(baseline));
    }
    return {median(routineTimes), median(baselineTimes)};
}

struct Owned {
    StringHandle s;
    explicit Owned(std::string_view bytes) : s(VELMBuildString(bytes.data(), static_cast<int32_t>(bytes.size()))) {}
    explicit Owned(StringHandle built) : s(built) {}
    ~Owned() { RuntimeUnlockString(s); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    std::string_view view() const {
        if (!s) return {};
        return {reinterpret_cast<const char*>(s->text + 1), static_cast<size_t>(s->length)};
    }
};

volatile size_t sink;  // keeps the baselines' results alive

using CountFields = RUNTIME_CALL int32_t (*)(StringHandle, StringHandle);
using NthField = RUNTIME_CALL StringHandle (*)(StringHandle, StringHandle, int32_t);
using ReplaceAll = RUNTIME_CALL StringHandle (*)(StringHandle, StringHandle, StringHandle);

struct KejMethods {
    CountFields countFields = nullptr;
    NthField nthField = nullptr;
    ReplaceAll replaceAll = nullptr;
};

// Loads the plug-in that lies beside this program and binds its methods.
bool loadPlugin(KejMethods& methods) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return false;
    std::wstring dll(path, length);
    dll.erase(dll.find_last_of(L"\\/") + 1);
    dll += L"VlPlugin.dll";
    HMODULE library = LoadLibraryW(dll.c_str());
    if (!library) return false;
    auto main = reinterpret_cast<PluginMainRoutine>(reinterpret_cast<void*>(GetProcAddress(library, "VELMPluginMain")));
    if (!main) return false;
    runtime::plugins::runPluginMain(main, &runtime::plugins::resolveRuntimeName);
    methods.countFields = reinterpret_cast<CountFields>(
        resolvePluginMember("Mkej_CountFields(source as string, separator as string) as integer"));
    methods.nthField = reinterpret_cast<NthField>(resolvePluginMember(
        "Mkej_NthField(source as String, separator as String, fieldNumber as Integer) as String"));
    methods.replaceAll = reinterpret_cast<ReplaceAll>(resolvePluginMember(
        "Mkej_ReplaceAll(sourceString as String, oldString as String, newString as String) as String"));
    return methods.countFields && methods.nthField && methods.replaceAll;
}

std::string replacedByFind(std::string_view text, std::string_view oldText, std::string_view newText) {
    std::string out;
    size_t from = 0;
    for (size_t at; (at = text.find(oldText, from)) != std::string_view::npos; from = at + oldText.size()) {
        out.append(text, from, at - from);
        out += newText;
    }
    out.append(text, from);
    return out;
}

int32_t fieldsByFind(std::string_view text, std::string_view separator) {
    int32_t fields = 1;
    for (size_t at = 0; (at = text.find(separator, at)) != std::string_view::npos; at += separator.size()) ++fields;
    return fields;
}

std::string_view fieldByFind(std::string_view text, std::string_view separator, int32_t n) {
    size_t start = 0;
    for (int32_t k = 1; k < n; ++k) start = text.find(separator, start) + separator.size();
    return text.substr(start, text.find(separator, start) - start);
}

int gFailures = 0;

void report(const char* name, bool same, std::pair<double, double> times) {
    const auto [routine, baseline] = times;
    std::printf("%-30s %8.3f ms   baseline %8.3f ms   ratio %6.2f%s\n", name, routine * 1e3, baseline * 1e3,
                routine / baseline, same ? "" : "   RESULTS DIFFER");
    if (!same) ++gFailures;
}

constexpr int kRounds = 15;

// One kej_ReplaceAll row: the method through the plug-in against the find loop.
void benchReplaceAll(const KejMethods& kej, const char* name, const Owned& text, std::string_view oldText,
                     std::string_view newText) {
    const Owned oldValue(oldText), newValue(newText);
    const std::string expected = replacedByFind(text.view(), oldText, newText);
    const bool same = Owned(kej.replaceAll(text.s, oldValue.s, newValue.s)).view() == expected;
    report(name, same,
           medianSeconds(
               kRounds, [&] { RuntimeUnlockString(kej.replaceAll(text.s, oldValue.s, newValue.s)); },
               [&] { sink = replacedByFind(text.view(), oldText, newText).size(); }));
}

void benchCountFields(const KejMethods& kej, const char* name, const Owned& text, std::string_view separator) {
    const Owned separatorValue(separator);
    const bool same = kej.countFields(text.s, separatorValue.s) == fieldsByFind(text.view(), separator);
    report(name, same,
           medianSeconds(
               kRounds, [&] { sink = kej.countFields(text.s, separatorValue.s); },
               [&] { sink = fieldsByFind(text.view(), separator); }));
}

// The middle field: the walk covers half the text.
void benchNthField(const KejMethods& kej, const char* name, const Owned& text, std::string_view separator) {
    const Owned separatorValue(separator);
    const int32_t middle = fieldsByFind(text.view(), separator) / 2;
    const bool same = Owned(kej.nthField(text.s, separatorValue.s, middle)).view() ==
                      fieldByFind(text.view(), separator, middle);
    report(name, same,
           medianSeconds(
               kRounds, [&] { RuntimeUnlockString(kej.nthField(text.s, separatorValue.s, middle)); },
               [&] { sink = std::string(fieldByFind(text.view(), separator, middle)).size(); }));
}

}  // namespace

int main() {
    KejMethods kej;
    if (!loadPlugin(kej)) {
        std::printf("VlPlugin.dll could not be loaded beside this program\n");
        return 1;
    }
    const Owned text(makeText());
    std::printf("kej_ methods through VlPlugin.dll, text %zu bytes, median of %d runs\n", text.view().size(), kRounds);

    // "明日" (a double-byte word, matched on character boundaries) by "今日".
    benchReplaceAll(kej, "kej_ReplaceAll (double-byte)", text, "\x96\xBE\x93\xFA", "\x8D\xA1\x93\xFA");
    // An ASCII word, case-insensitive on boundaries, replaced by a longer text:
    // the output buffer grows.
    benchReplaceAll(kej, "kej_ReplaceAll (letters)", text, "pattern;", "replaced text;");
    // Punctuation matched anywhere, by a shorter text.
    benchReplaceAll(kej, "kej_ReplaceAll (punctuation)", text, "\r\n", "\n");

    benchNthField(kej, "kej_NthField (comma)", text, ",");
    benchNthField(kej, "kej_NthField (double-byte)", text, "\x82\xCC");  // "の"

    benchCountFields(kej, "kej_CountFields (comma)", text, ",");
    benchCountFields(kej, "kej_CountFields (double-byte)", text, "\x82\xCC");
    return gFailures == 0 ? 0 : 1;
}
