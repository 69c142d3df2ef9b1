#include "text/StringFields.h"

#include <cstring>
#include <vector>

#include "text/FatalError.h"
#include "text/StringSearch.h"

namespace runtime {

StringValue replaceFirst(const CharacterTables& tables, const StringValue& s, const StringValue& t,
                         const StringValue& u) {
    if (s.empty() || t.empty()) return s;
    const int32_t at = TextSearch(tables, s.view(), t.view()).find(0);
    if (at < 0) return s;
    return s.left(at) + u + s.tail(at + t.length());
}

namespace {

// Whether text, read character by character, ends with a lead byte whose
// second byte is missing.
bool endsInsideCharacter(const CharacterTables& tables, std::string_view text) {
    size_t b = 0;
    while (b < text.size() && b + tables.width(static_cast<uint8_t>(text[b])) <= text.size()) {
        b += tables.width(static_cast<uint8_t>(text[b]));
    }
    return b < text.size();
}

// Replacement over the rewritten text: after each replacement the search
// reads the new text from the start of its characters, as a text that
// joins half a character with what follows it must be read.
StringValue replaceAllRereading(const CharacterTables& tables, const StringValue& s, const StringValue& t,
                                const StringValue& u) {
    StringValue rewritten = s;
    int32_t resume = 0;
    for (;;) {
        const int32_t at = TextSearch(tables, rewritten.view(), t.view()).find(resume);
        if (at < 0) return rewritten;
        rewritten = rewritten.left(at) + u + rewritten.tail(at + t.length());
        resume = at + u.length();
    }
}

}  // namespace

StringValue replaceAll(const CharacterTables& tables, const StringValue& s, const StringValue& t,
                       const StringValue& u) {
    if (s.empty() || t.empty()) return s;
    if (tables.doubleByte() && (endsInsideCharacter(tables, t.view()) || endsInsideCharacter(tables, u.view()))) {
        return replaceAllRereading(tables, s, t, u);
    }
    // Each search resumes right after the previous match in s, which is where
    // it resumes in the partly rewritten text: after the inserted copy of u.
    // With t and u made of whole characters, the rewritten text reads the
    // same from there on as s does.
    TextSearch search(tables, s.view(), t.view());
    std::vector<int32_t> matches;
    for (int32_t at = search.find(0); at >= 0; at = search.find(at + t.length())) matches.push_back(at);
    if (matches.empty()) return s;

    const int64_t total = s.length() + static_cast<int64_t>(matches.size()) * (int64_t{u.length()} - t.length());
    // A text that a record cannot count cannot be held either.
    if (total > INT32_MAX - 2) runOutOfMemory();
    StringValue result = StringValue::fromBytes(nullptr, static_cast<int32_t>(total));
    if (result.empty()) return result;
    uint8_t* out = result.writableByte(0);
    int32_t copied = 0;  // bytes of s already handled
    for (int32_t at : matches) {
        std::memcpy(out, s.bytes() + copied, static_cast<size_t>(at - copied));
        out += at - copied;
        std::memcpy(out, u.bytes(), static_cast<size_t>(u.length()));
        out += u.length();
        copied = at + t.length();
    }
    std::memcpy(out, s.bytes() + copied, static_cast<size_t>(s.length() - copied));
    return result;
}

int32_t countFields(const CharacterTables& tables, const StringValue& s, const StringValue& t) {
    if (s.empty()) return 0;
    if (t.empty()) return 1;
    TextSearch search(tables, s.view(), t.view());
    int32_t fields = 1;
    for (int32_t at = search.find(0); at >= 0; at = search.find(at + t.length())) ++fields;
    return fields;
}

StringValue nthField(const CharacterTables& tables, const StringValue& s, const StringValue& t, int32_t n) {
    if (s.empty() || t.empty() || n <= 0) return {};
    TextSearch search(tables, s.view(), t.view());
    int32_t fieldStart = 0;
    for (int32_t field = 1;; ++field) {
        const int32_t separator = search.find(fieldStart);
        if (field == n) {
            const int32_t fieldEnd = separator >= 0 ? separator : s.length();
            return s.slice(fieldStart, fieldEnd - fieldStart);
        }
        if (separator < 0) return {};
        fieldStart = separator + t.length();
    }
}

}  // namespace runtime
