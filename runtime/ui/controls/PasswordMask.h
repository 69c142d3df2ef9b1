// The text a password field hides and the text it shows instead. The system
// control only ever holds the mask; the runtime keeps the real text and edits
// it in step with every change the control makes, so both stay the same
// length and a position means the same character in either.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace runtime {

inline constexpr wchar_t kMaskCharacter = L'*';

// Every character above 31 replaced by the mask; control characters are
// shown as they are.
std::wstring maskOf(std::wstring_view text);

// A selection of the control, in characters, start <= end.
struct TextRange {
    size_t start = 0;
    size_t end = 0;
    bool empty() const { return start == end; }
};

// What the control is to receive for a typed character.
enum class MaskedKey {
    kSwallow,        // nothing reaches the control
    kPassBackspace,  // Backspace: the control removes what the hidden text lost
    kPassMask,       // the mask character instead of the typed one
};

// Applies a typed character to the hidden text at the control's selection.
// A non-empty selection goes first; Backspace then removes the character
// before the caret when nothing was selected. Control characters other than
// Backspace, Delete (127) and characters the runtime's code page cannot hold
// in one unit (surrogates) change nothing and are swallowed, so the hidden
// text and the mask never disagree.
MaskedKey typeIntoMasked(std::wstring& hidden, TextRange selection, wchar_t typed);

// The Delete key: the selection, or else the character after the caret.
void deleteForwardInMasked(std::wstring& hidden, TextRange selection);

// Replaces the selection of the hidden text (SelText, paste, clear).
void replaceInMasked(std::wstring& hidden, TextRange selection, std::wstring_view with);

}  // namespace runtime
