#include "ui/controls/PasswordMask.h"

#include <algorithm>

namespace runtime {
namespace {

constexpr wchar_t kBackspace = 8;
constexpr wchar_t kDelete = 127;

TextRange clamped(TextRange r, size_t length) {
    r.end = std::min(r.end, length);
    r.start = std::min(r.start, r.end);
    return r;
}

bool isSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::wstring maskOf(std::wstring_view text) {
    std::wstring shown(text);
    for (wchar_t& c : shown) {
        if (c > 31) c = kMaskCharacter;
    }
    return shown;
}

MaskedKey typeIntoMasked(std::wstring& hidden, TextRange selection, wchar_t typed) {
    const TextRange r = clamped(selection, hidden.size());
    if (typed == kDelete) {
        // The control would delete a word of asterisks: only a selection goes,
        // as Backspace removes it.
        if (r.empty()) return MaskedKey::kSwallow;
        hidden.erase(r.start, r.end - r.start);
        return MaskedKey::kPassBackspace;
    }
    if ((typed < 32 && typed != kBackspace) || isSurrogate(typed)) return MaskedKey::kSwallow;
    if (!r.empty()) {
        hidden.erase(r.start, r.end - r.start);
        if (typed == kBackspace) return MaskedKey::kPassBackspace;
    } else if (typed == kBackspace) {
        if (r.start > 0) hidden.erase(r.start - 1, 1);
        return MaskedKey::kPassBackspace;
    }
    hidden.insert(r.start, 1, typed);
    return MaskedKey::kPassMask;
}

void deleteForwardInMasked(std::wstring& hidden, TextRange selection) {
    const TextRange r = clamped(selection, hidden.size());
    if (!r.empty()) hidden.erase(r.start, r.end - r.start);
    else if (r.start < hidden.size()) hidden.erase(r.start, 1);
}

void replaceInMasked(std::wstring& hidden, TextRange selection, std::wstring_view with) {
    const TextRange r = clamped(selection, hidden.size());
    hidden.replace(r.start, r.end - r.start, with);
}

}  // namespace runtime
