#include "MessageCentres.h"

namespace applogic {
namespace {

int32_t textLength(const char* text) {
    int32_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

Bytes textBytes(const char* text) { return Bytes::of(text, textLength(text)); }

// Numbers compared without spaces and "-", which are only for reading.
bool sameNumber(Bytes a, Bytes b) {
    int32_t i = 0, j = 0;
    for (;;) {
        while (i < a.size && (a[i] == ' ' || a[i] == '-')) ++i;
        while (j < b.size && (b[j] == ' ' || b[j] == '-')) ++j;
        if (i == a.size || j == b.size) return i == a.size && j == b.size;
        if (a[i++] != b[j++]) return false;
    }
}

constexpr MessageCentre kCentres[kMessageCentreCount] = {
    {1, "\x50\x48\x53\x96\x6B\x8A\x43\x93\xB9", "00001001", "hokkaido"},  // PHS北海道
    {1, "\x50\x48\x53\x93\x8C\x96\x6B", "00001002", "tohoku"},  // PHS東北
    {1, "\x50\x48\x53\x92\x86\x89\x9B\x31", "00001003", "chuo"},  // PHS中央1
    {1, "\x50\x48\x53\x92\x86\x89\x9B\x32", "00001004", "chuo"},  // PHS中央2
    {1, "\x50\x48\x53\x92\x86\x89\x9B\x33", "00001005", "chuo"},  // PHS中央3
    {1, "\x50\x48\x53\x92\x86\x89\x9B\x34", "00001006", "chuo"},  // PHS中央4
    {1, "\x50\x48\x53\x92\x86\x89\x9B\x35", "00001007", "chuo"},  // PHS中央5
    {1, "\x50\x48\x53\x93\x8C\x8A\x43\x31", "00001008", "tokai"},  // PHS東海1
    {1, "\x50\x48\x53\x93\x8C\x8A\x43\x32", "00001009", "tokai"},  // PHS東海2
    {1, "\x50\x48\x53\x93\x8C\x8A\x43\x33", "00001010", "tokai"},  // PHS東海3
    {1, "\x50\x48\x53\x8A\xD6\x90\xBC\x31", "00001011", "kansai"},  // PHS関西1
    {1, "\x50\x48\x53\x8A\xD6\x90\xBC\x32", "00001012", "kansai"},  // PHS関西2
    {1, "\x50\x48\x53\x8A\xD6\x90\xBC\x33", "00001013", "kansai"},  // PHS関西3
    {1, "\x50\x48\x53\x92\x86\x8D\x91\x31", "00001014", "chugoku"},  // PHS中国1
    {1, "\x50\x48\x53\x92\x86\x8D\x91\x32", "00001015", "chugoku"},  // PHS中国2
    {1, "\x50\x48\x53\x8E\x6C\x8D\x91", "00001016", "shikoku"},  // PHS四国
    {1, "\x50\x48\x53\x8B\xE3\x8F\x42", "00001017", "kyusyu"},  // PHS九州
    {2, "\x8B\xA4\x93\xAF\x83\x81\x83\x62\x83\x5A", "00002001", ""},  // 共同メッセ
    {3, "\x83\x81\x83\x62\x83\x5A\x41\x93\x8C\x8B\x9E", "00003001", ""},  // メッセA東京
    {3, "\x83\x81\x83\x62\x83\x5A\x41\x93\x8C\x8A\x43", "00003002", ""},  // メッセA東海
    {3, "\x83\x81\x83\x62\x83\x5A\x41\x8A\xD6\x90\xBC", "00003003", ""},  // メッセA関西
    {4, "\x83\x81\x83\x62\x83\x5A\x42\x96\x6B\x8A\x43\x93\xB9", "00004001", ""},  // メッセB北海道
    {4, "\x83\x81\x83\x62\x83\x5A\x42\x93\x8C\x96\x6B", "00004002", ""},  // メッセB東北
    {4, "\x83\x81\x83\x62\x83\x5A\x42\x96\x6B\x97\xA4", "00004003", ""},  // メッセB北陸
    {4, "\x83\x81\x83\x62\x83\x5A\x42\x92\x86\x8D\x91", "00004004", ""},  // メッセB中国
    {4, "\x83\x81\x83\x62\x83\x5A\x42\x8E\x6C\x8D\x91", "00004005", ""},  // メッセB四国
    {4, "\x83\x81\x83\x62\x83\x5A\x42\x8B\xE3\x8F\x42", "00004006", ""},  // メッセB九州
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x96\x6B\x8A\x43\x93\xB9", "00005001", ""},  // メッセC北海道
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x8A\xD6\x93\x8C\x8D\x62\x90\x4D\x89\x7A\x81\x45\x93\x8C\x96\x6B", "00005002", ""},  // メッセC関東甲信越・東北
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x96\x6B\x97\xA4", "00005003", ""},  // メッセC北陸
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x8A\xD6\x90\xBC\x81\x45\x93\x8C\x8A\x43", "00005004", ""},  // メッセC関西・東海
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x92\x86\x8D\x91", "00005005", ""},  // メッセC中国
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x8E\x6C\x8D\x91", "00005006", ""},  // メッセC四国
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x8B\xE3\x8F\x42", "00005007", ""},  // メッセC九州
    {5, "\x83\x81\x83\x62\x83\x5A\x43\x89\xAB\x93\xEA", "00005008", ""},  // メッセC沖縄
    {6, "\x83\x81\x83\x62\x83\x5A\x44\x93\x8C\x8B\x9E", "00006001", ""},  // メッセD東京
    {6, "\x83\x81\x83\x62\x83\x5A\x44\x93\x8C\x8A\x43", "00006002", ""},  // メッセD東海
    {6, "\x83\x81\x83\x62\x83\x5A\x44\x8A\xD6\x90\xBC", "00006003", ""},  // メッセD関西
};

}  // namespace

const MessageCentre& messageCentre(int32_t index) {
    if (index < 0 || index >= kMessageCentreCount) index = 0;
    return kCentres[index];
}

int32_t messageCentreMenuRow(int32_t index, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    const MessageCentre& centre = messageCentre(index);
    out.put('<');
    out.put(textBytes(centre.name));
    out.put('>');
    out.put(textBytes(centre.number));
    return out.result();
}

Bytes mailRegion(Bytes centreNumber) {
    if (centreNumber.empty()) return Bytes();
    for (const MessageCentre& centre : kCentres) {
        if (centre.group == 1 && sameNumber(centreNumber, textBytes(centre.number))) return textBytes(centre.region);
    }
    return Bytes();
}

int32_t gatewayAddress(Bytes centreNumber, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put(Bytes("phs@gw"));
    out.put(mailRegion(centreNumber));
    out.put(Bytes(".example.jp"));
    return out.result();
}

}  // namespace applogic
