// The window's encoding methods: thin wrappers of the encoders in
// logic/MessageEncoding, each taking and returning string values (the
// result belongs to the caller).
#include "Window1State.h"
#include "logic/MessageEncoding.h"
#include "support/HeapBuffer.h"

namespace {

using Encoder = int32_t (*)(applogic::Bytes, uint8_t*, int32_t);

// The encoder is a template argument, so each wrapper calls it directly (a
// code address cannot be kept in code of the image).
template <Encoder encode>
StringHandle encoded(StringHandle text, int32_t capacity) {
    const app::String held = app::String::borrow(text);
    app::HeapBuffer out(capacity);
    const int32_t length = encode(app::bytesOf(held), out.data(), out.size());
    return length > 0 ? app::stringOf(applogic::Bytes(out.data(), length)).release() : nullptr;
}

int32_t textSize(StringHandle text) { return text ? text->length : 0; }

}  // namespace

extern "C" {

StringHandle Window1_Bell_Code(ObjectHandle, StringHandle text) {
    return encoded<applogic::bellCode>(text, applogic::bellCodeCapacity(textSize(text)));
}

StringHandle Window1_Kanji_Code(ObjectHandle, StringHandle text) {
    return encoded<applogic::kanjiCode>(text, applogic::kanjiCodeCapacity(textSize(text)));
}

int32_t Window1_JSjisToJis(ObjectHandle, int32_t code) { return applogic::jsjisToJis(code); }

StringHandle Window1_JSjisToJisString(ObjectHandle, StringHandle text) {
    return encoded<applogic::jsjisToJisString>(text, applogic::jsjisToJisStringCapacity(textSize(text)));
}

StringHandle Window1_StringToHexString(ObjectHandle, StringHandle text) {
    return encoded<applogic::stringToHexString>(text, applogic::stringToHexStringCapacity(textSize(text)));
}

StringHandle Window1_Win32CRLF(ObjectHandle) { return app::stringOf(applogic::win32Crlf()).release(); }

StringHandle Window1_Tex_Kaigyo(ObjectHandle, StringHandle text) {
    return encoded<applogic::texKaigyo>(text, textSize(text));
}

}  // extern "C"
