// Image fixture: the application's logic compiled for the image and run by
// the runtime. The entry routine encodes a few texts and prints one line per
// result (encoded bytes in hexadecimal where they are not printable) on the
// console, for the test to compare with the results of the native build.
#include "AppString.h"
#include "../../app/logic/AlsImport.h"
#include "../../app/logic/MailMessage.h"
#include "../../app/logic/Melody.h"
#include "../../app/logic/MessageCentres.h"
#include "../../app/logic/MessageEncoding.h"
#include "../../app/logic/ModemDialing.h"
#include "../../app/logic/SmtpReplyReader.h"

extern "C" {
WINAPI_IMPORT void* GetStdHandle_(uint32_t which) APP_LIBRARY_IMPORT("kernel32.dll", "GetStdHandle");
WINAPI_IMPORT int WriteFile_(void* file, const void* bytes, uint32_t count, uint32_t* written, void* overlapped)
    APP_LIBRARY_IMPORT("kernel32.dll", "WriteFile");
}

namespace {

using applogic::Bytes;

void print(Bytes text) {
    constexpr uint32_t kStandardOutput = static_cast<uint32_t>(-11);
    uint32_t written = 0;
    WriteFile_(GetStdHandle_(kStandardOutput), text.data, static_cast<uint32_t>(text.size), &written, nullptr);
}

void printLine(const char* label, Bytes text) {
    int32_t n = 0;
    while (label[n] != 0) ++n;
    print(Bytes::of(label, n));
    print(Bytes("="));
    print(text);
    print(Bytes("\n"));
}

void printHex(const char* label, Bytes text) {
    uint8_t hex[512];
    const int32_t n = applogic::stringToHexString(text, hex, sizeof hex);
    printLine(label, Bytes(hex, n < 0 ? 0 : n));
}

// Shift-JIS: ガパ ABC ｶﾞ 0 / 亜あA / aあbｱ①
constexpr char kKana[] = "\x83\x4B\x83\x70 ABC \xB6\xDE 0";
constexpr char kKanji[] = "\x88\x9F\x82\xA0" "A";
constexpr char kMixed[] = "a\x82\xA0" "b\xB1\x87\x40";

}  // namespace

extern "C" void Entry() {
    uint8_t out[512];
    printLine("bell", Bytes(out, applogic::bellCode(Bytes(kKana), out, sizeof out)));
    printLine("kanji", Bytes(out, applogic::kanjiCode(Bytes(kKanji), out, sizeof out)));
    printHex("jis", Bytes(out, applogic::jsjisToJisString(Bytes(kMixed), out, sizeof out)));

    constexpr int32_t kLengths[] = {29, 30, 65};
    for (int32_t length : kLengths) {
        uint8_t digits[80];
        for (int32_t i = 0; i < length; ++i) digits[i] = static_cast<uint8_t>('0' + i % 10);
        uint8_t line[400];
        applogic::ByteWriter all(line, sizeof line);
        for (int32_t b = 0; b < applogic::modemBlockCount(length); ++b) {
            const int32_t n = applogic::modemBlockCommand(Bytes(digits, length), b, out, sizeof out);
            all.put(Bytes(out, n - 1));  // without the CR
            all.put('|');
        }
        printLine("blocks", all.written());
    }

    printLine("gateway", Bytes(out, applogic::gatewayAddress(Bytes("00001011"), out, sizeof out)));

    uint8_t listing[128], playList[64];
    applogic::ByteWriter listingOut(listing, sizeof listing), playListOut(playList, sizeof playList);
    applogic::MelodyListing melody(Bytes("4415201"), 120, listingOut, playListOut);
    if (melody.start()) {
        while (melody.next()) {
        }
        melody.finish();
    }
    printHex("listing", listingOut.written());
    printLine("playlist", playListOut.written());

    applogic::SmtpReplyReader reader;
    reader.feed(Bytes("250-a\r\n250 b\r\n55"));
    reader.feed(Bytes("4 no\r\n"));
    applogic::ByteWriter codes(out, sizeof out);
    int32_t code = 0;
    while (reader.takeReply(code)) {
        codes.putDecimal(code);
        codes.put(applogic::isSmtpFailure(code) ? '!' : ' ');
    }
    printLine("replies", codes.written());
}
