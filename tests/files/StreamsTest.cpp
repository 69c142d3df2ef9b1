// Text and binary streams against real files: lines across the 1024-byte
// buffer with every kind of line end, reading the rest, writing with the
// delimiter, appending, byte-exact text, both byte orders, Pascal strings,
// positions and lengths, and the failure values of missing or locked files.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "files/FileTestSupport.h"
#include "files/FolderItemEntries.h"
#include "files/StreamEntries.h"
#include "objects/BuiltinClasses.h"
#include "text/StringEntries.h"

using namespace testing_support;
using namespace std::string_literals;

namespace {

class RuntimeEnvironment : public ::testing::Environment {
public:
    void SetUp() override { startRuntimeWithFileTypes(); }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

constexpr int32_t kDelimiterOffset = 28;
constexpr int32_t kLittleEndianOffset = 28;

Result openText(const std::string& path) { return result(FolderItemOpenTextFile(itemAt(path).get())); }

std::vector<std::string> readLines(const Result& in, int max = 10) {
    std::vector<std::string> lines;
    while (!TextInputStreamEOF(in.get()) && max-- > 0) lines.push_back(take(TextInputStreamReadLine(in.get())));
    return lines;
}

TEST(TextInput, EveryKindOfLineEnd) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("mixed.txt"), "a\r\nb\nc\rd");
    Result in = openText(scratch.file("mixed.txt"));
    ASSERT_TRUE(in);
    EXPECT_EQ(in.classRecord(), runtime::builtinClass("TextInputStream"));
    EXPECT_EQ(readLines(in), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(TextInputStreamEOF(in.get()));
    EXPECT_EQ(take(TextInputStreamReadLine(in.get())), "");
}

TEST(TextInput, FinalLineBreakAndEmptyLines) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "x\r\n\r\n\ny\r\n");
    Result in = openText(scratch.file("a.txt"));
    ASSERT_TRUE(in);
    EXPECT_EQ(readLines(in), (std::vector<std::string>{"x", "", "", "y"}));
    EXPECT_TRUE(TextInputStreamEOF(in.get()));
    EXPECT_EQ(take(TextInputStreamReadLine(in.get())), "");
    EXPECT_EQ(take(TextInputStreamReadAll(in.get())), "");

    writeFileBytes(scratch.file("empty.txt"), "");
    Result empty = openText(scratch.file("empty.txt"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(TextInputStreamEOF(empty.get()));
    EXPECT_EQ(take(TextInputStreamReadLine(empty.get())), "");
}

TEST(TextInput, LinesAcrossTheBufferBoundary) {
    ScratchFolder scratch;
    // Byte 1024 is a CR and byte 1025 its LF: one break, not two.
    const std::string first(1023, 'a');
    // A line of 3000 bytes spans three reads of the buffer.
    const std::string longLine(3000, 'z');
    writeFileBytes(scratch.file("edge.txt"), first + "\r\nnext\r\n" + longLine + "\rlast");
    Result in = openText(scratch.file("edge.txt"));
    ASSERT_TRUE(in);
    EXPECT_EQ(readLines(in), (std::vector<std::string>{first, "next", longLine, "last"}));

    // A lone CR that ends the first block is a break of its own.
    writeFileBytes(scratch.file("lone.txt"), first + "\rsecond");
    in = openText(scratch.file("lone.txt"));
    EXPECT_EQ(readLines(in), (std::vector<std::string>{first, "second"}));
}

TEST(TextInput, ReadAllGivesExactlyTheUnreadBytes) {
    ScratchFolder scratch;
    std::string rest;
    for (int i = 0; i < 300; ++i) rest += "line " + std::to_string(i) + "\r\n";
    writeFileBytes(scratch.file("a.txt"), "one\r\ntwo\n" + rest);
    Result in = openText(scratch.file("a.txt"));
    ASSERT_TRUE(in);
    EXPECT_EQ(take(TextInputStreamReadLine(in.get())), "one");
    EXPECT_EQ(take(TextInputStreamReadLine(in.get())), "two");
    EXPECT_EQ(take(TextInputStreamReadAll(in.get())), rest);
    EXPECT_TRUE(TextInputStreamEOF(in.get()));
    EXPECT_EQ(take(TextInputStreamReadAll(in.get())), "");
}

TEST(TextInput, ClosedAndUnopenableStreams) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "a\r\nb");
    Result in = openText(scratch.file("a.txt"));
    ASSERT_TRUE(in);
    TextInputStreamClose(in.get());
    EXPECT_FALSE(TextInputStreamEOF(in.get()));
    EXPECT_EQ(take(TextInputStreamReadLine(in.get())), "");
    EXPECT_EQ(take(TextInputStreamReadAll(in.get())), "");
    TextInputStreamClose(in.get());
    // Closed: the file can be deleted again.
    EXPECT_TRUE(DeleteFileA(scratch.file("a.txt").c_str()));

    EXPECT_FALSE(openText(scratch.file("missing.txt")));
    EXPECT_FALSE(openText(scratch.path()));  // a folder
    EXPECT_EQ(FolderItemOpenTextFile(nullptr), nullptr);
    // A file another program holds without sharing cannot be opened.
    writeFileBytes(scratch.file("locked.txt"), "x");
    HANDLE holder = CreateFileA(scratch.file("locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(openText(scratch.file("locked.txt")));
    EXPECT_FALSE(result(FolderItemOpenBinaryFile(itemAt(scratch.file("locked.txt")).get(), false)));
    EXPECT_FALSE(result(FolderItemCreateTextFile(itemAt(scratch.file("locked.txt")).get())));
    EXPECT_FALSE(result(FolderItemAppendTextFile(itemAt(scratch.file("locked.txt")).get())));
    CloseHandle(holder);
}

TEST(TextInput, DestroyingAnOpenStreamClosesItsFile) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "a");
    Result in = openText(scratch.file("a.txt"));
    ASSERT_TRUE(in);
    EXPECT_FALSE(DeleteFileA(scratch.file("a.txt").c_str()));  // still open
    in = {};
    EXPECT_TRUE(DeleteFileA(scratch.file("a.txt").c_str()));
}

TEST(TextOutput, WriteLineUsesTheDelimiter) {
    ScratchFolder scratch;
    Result out = result(FolderItemCreateTextFile(itemAt(scratch.file("out.txt")).get()));
    ASSERT_TRUE(out);
    EXPECT_EQ(out.classRecord(), runtime::builtinClass("TextOutputStream"));
    Owned x("x"), y("y"), lineFeed("\n"), tab("\t");
    EXPECT_EQ(stringGetter(out.get(), kDelimiterOffset), nullptr);
    TextOutputStreamWriteLine(out.get(), x);
    stringSetter(out.get(), kDelimiterOffset, lineFeed);
    TextOutputStreamWriteLine(out.get(), x);
    TextOutputStreamWrite(out.get(), y);
    stringSetter(out.get(), kDelimiterOffset, tab);
    TextOutputStreamWriteLine(out.get(), nullptr);
    EXPECT_EQ(readFileBytes(scratch.file("out.txt")), "x\r\nx\ny\t");  // unbuffered
    TextOutputStreamClose(out.get());
    TextOutputStreamWrite(out.get(), y);
    TextOutputStreamWriteLine(out.get(), y);
    TextOutputStreamClose(out.get());
    EXPECT_EQ(readFileBytes(scratch.file("out.txt")), "x\r\nx\ny\t");
    out = {};
    EXPECT_EQ(tab.refs(), 1);  // the stream let its delimiter go
}

TEST(TextOutput, CreateEmptiesAndAppendFollows) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.txt"), "old content\r\n");
    Owned more("more");
    {
        Result out = result(FolderItemAppendTextFile(itemAt(scratch.file("a.txt")).get()));
        ASSERT_TRUE(out);
        TextOutputStreamWriteLine(out.get(), more);
    }
    EXPECT_EQ(readFileBytes(scratch.file("a.txt")), "old content\r\nmore\r\n");
    {
        Result out = result(FolderItemAppendTextFile(itemAt(scratch.file("new.txt")).get()));
        ASSERT_TRUE(out);
        TextOutputStreamWrite(out.get(), more);
    }
    EXPECT_EQ(readFileBytes(scratch.file("new.txt")), "more");
    {
        Result out = result(FolderItemCreateTextFile(itemAt(scratch.file("a.txt")).get()));
        ASSERT_TRUE(out);
    }
    EXPECT_EQ(readFileBytes(scratch.file("a.txt")), "");
    EXPECT_FALSE(result(FolderItemCreateTextFile(itemAt(scratch.file("no\\such\\a.txt")).get())));
    EXPECT_FALSE(result(FolderItemAppendTextFile(itemAt(scratch.file("no\\such\\a.txt")).get())));
}

TEST(TextOutput, DoubleByteTextIsByteExact) {
    ScratchFolder scratch;
    // Shift-JIS text whose trail bytes include "\" (0x5C) and "|" (0x7C),
    // then every byte value but the line ends.
    std::string text = "\x83\x5C\x95\x5C\x94\x7C\x82\xA0 ";
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n') text += static_cast<char>(b);
    }
    Owned line(text);
    {
        Result out = result(FolderItemCreateTextFile(itemAt(scratch.file("jp.txt")).get()));
        TextOutputStreamWriteLine(out.get(), line);
        TextOutputStreamWriteLine(out.get(), line);
    }
    EXPECT_EQ(readFileBytes(scratch.file("jp.txt")), text + "\r\n" + text + "\r\n");
    Result in = openText(scratch.file("jp.txt"));
    EXPECT_EQ(readLines(in), (std::vector<std::string>{text, text}));
}

Result createBinary(const std::string& path) { return result(FolderItemCreateBinaryFile(itemAt(path).get())); }

void setLittleEndian(const Result& stream, bool value) { *stream.field<uint8_t>(kLittleEndianOffset) = value ? 1 : 0; }

TEST(BinaryStreams, NumbersInBothByteOrders) {
    ScratchFolder scratch;
    const std::string path = scratch.file("n.bin");
    Result stream = createBinary(path);
    ASSERT_TRUE(stream);
    EXPECT_EQ(stream.classRecord(), runtime::builtinClass("BinaryStream"));
    EXPECT_EQ(*stream.field<uint8_t>(kLittleEndianOffset), 0);

    BinaryStreamWriteLong(stream.get(), 0x01020304);
    BinaryStreamWriteShort(stream.get(), 0x12345);  // the low 16 bits
    BinaryStreamWriteByte(stream.get(), 0x1FF);     // the low 8 bits
    BinaryStreamWriteFloat(stream.get(), 1.5);
    BinaryStreamWriteDouble(stream.get(), 1.0);
    setLittleEndian(stream, true);
    BinaryStreamWriteLong(stream.get(), 0x01020304);
    BinaryStreamWriteShort(stream.get(), -2);
    BinaryStreamWriteFloat(stream.get(), 1.5);
    BinaryStreamWriteDouble(stream.get(), -0.25);
    EXPECT_EQ(readFileBytes(path), "\x01\x02\x03\x04\x23\x45\xFF\x3F\xC0\x00\x00\x3F\xF0\x00\x00\x00\x00\x00\x00"
                                   "\x04\x03\x02\x01\xFE\xFF\x00\x00\xC0\x3F\x00\x00\x00\x00\x00\x00\xD0\xBF"s);

    BinaryStreamSetPosition(stream.get(), 0);
    setLittleEndian(stream, false);
    EXPECT_EQ(BinaryStreamReadLong(stream.get()), 0x01020304);
    EXPECT_EQ(BinaryStreamReadShort(stream.get()), 0x2345);
    EXPECT_EQ(BinaryStreamReadByte(stream.get()), 0xFF);
    EXPECT_EQ(BinaryStreamReadFloat(stream.get()), 1.5);
    EXPECT_EQ(BinaryStreamReadDouble(stream.get()), 1.0);
    setLittleEndian(stream, true);
    EXPECT_EQ(BinaryStreamReadLong(stream.get()), 0x01020304);
    EXPECT_EQ(BinaryStreamReadShort(stream.get()), -2);
    EXPECT_EQ(BinaryStreamReadFloat(stream.get()), 1.5);
    EXPECT_EQ(BinaryStreamReadDouble(stream.get()), -0.25);
    EXPECT_TRUE(BinaryStreamEOF(stream.get()));
    // At the end every read gives 0.
    EXPECT_EQ(BinaryStreamReadByte(stream.get()), 0);
    EXPECT_EQ(BinaryStreamReadLong(stream.get()), 0);
    EXPECT_EQ(BinaryStreamReadDouble(stream.get()), 0.0);
}

TEST(BinaryStreams, ShortReadsGiveZero) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("b.bin"), "\xFF\xFE\x01\x02\x03"s);
    Result stream = result(FolderItemOpenBinaryFile(itemAt(scratch.file("b.bin")).get(), false));
    ASSERT_TRUE(stream);
    EXPECT_EQ(BinaryStreamReadShort(stream.get()), -2);  // FF FE, most significant first
    EXPECT_EQ(BinaryStreamReadLong(stream.get()), 0);    // 3 bytes left
    BinaryStreamSetPosition(stream.get(), 2);
    EXPECT_EQ(BinaryStreamReadDouble(stream.get()), 0.0);
    BinaryStreamSetPosition(stream.get(), 2);
    EXPECT_EQ(BinaryStreamReadFloat(stream.get()), 0.0);
    BinaryStreamSetPosition(stream.get(), 4);
    EXPECT_EQ(BinaryStreamReadShort(stream.get()), 0);
}

TEST(BinaryStreams, PascalStringsAndRawBytes) {
    ScratchFolder scratch;
    const std::string path = scratch.file("p.bin");
    Result stream = createBinary(path);
    std::string long300;
    for (int i = 0; i < 300; ++i) long300 += static_cast<char>('A' + i % 26);
    Owned text(long300), empty(""), abc("abc");
    BinaryStreamWritePString(stream.get(), text);
    BinaryStreamWritePString(stream.get(), nullptr);
    BinaryStreamWrite(stream.get(), abc);
    BinaryStreamWrite(stream.get(), nullptr);
    EXPECT_EQ(readFileBytes(path), "\xFF"s + long300.substr(0, 255) + '\0' + "abc");
    EXPECT_EQ(BinaryStreamGetPosition(stream.get()), 260);

    BinaryStreamSetPosition(stream.get(), 0);
    EXPECT_EQ(take(BinaryStreamReadPString(stream.get())), long300.substr(0, 255));
    EXPECT_EQ(take(BinaryStreamReadPString(stream.get())), "");
    EXPECT_EQ(take(BinaryStreamRead(stream.get(), 0)), "");
    EXPECT_EQ(take(BinaryStreamRead(stream.get(), -1)), "");
    EXPECT_EQ(take(BinaryStreamRead(stream.get(), 100)), "abc");  // fewer at the end
    EXPECT_EQ(take(BinaryStreamRead(stream.get(), 1)), "");
    // A count meant as "the rest" needs no buffer of that size.
    BinaryStreamSetPosition(stream.get(), 257);
    EXPECT_EQ(take(BinaryStreamRead(stream.get(), 0x7FFFFFFF)), "abc");
    BinaryStreamSetPosition(stream.get(), 1000);  // beyond the end
    EXPECT_EQ(take(BinaryStreamRead(stream.get(), 0x7FFFFFFF)), "");

    // A length byte of 10 with only 4 bytes after it gives the empty string.
    writeFileBytes(scratch.file("short.bin"), "\x0A" "abcd");
    Result shortStream = result(FolderItemOpenBinaryFile(itemAt(scratch.file("short.bin")).get(), false));
    EXPECT_EQ(take(BinaryStreamReadPString(shortStream.get())), "");
}

TEST(BinaryStreams, PositionAndLength) {
    ScratchFolder scratch;
    Result stream = createBinary(scratch.file("l.bin"));
    Owned bytes("0123456789");
    BinaryStreamWrite(stream.get(), bytes);
    EXPECT_EQ(BinaryStreamGetLength(stream.get()), 10);
    EXPECT_EQ(BinaryStreamGetPosition(stream.get()), 10);
    EXPECT_TRUE(BinaryStreamEOF(stream.get()));
    BinaryStreamSetPosition(stream.get(), 8);
    EXPECT_FALSE(BinaryStreamEOF(stream.get()));
    // Cutting the file below the position leaves the position where it was.
    BinaryStreamSetLength(stream.get(), 4);
    EXPECT_EQ(BinaryStreamGetLength(stream.get()), 4);
    EXPECT_EQ(BinaryStreamGetPosition(stream.get()), 8);
    EXPECT_TRUE(BinaryStreamEOF(stream.get()));
    BinaryStreamSetLength(stream.get(), 6);
    EXPECT_EQ(readFileBytes(scratch.file("l.bin")), "0123\0\0"s);

    BinaryStreamClose(stream.get());
    EXPECT_TRUE(BinaryStreamEOF(stream.get()));
    EXPECT_EQ(BinaryStreamGetLength(stream.get()), 0);
    EXPECT_EQ(BinaryStreamGetPosition(stream.get()), 0);
    EXPECT_EQ(BinaryStreamReadByte(stream.get()), 0);
    EXPECT_EQ(take(BinaryStreamReadPString(stream.get())), "");
    EXPECT_EQ(take(BinaryStreamRead(stream.get(), 3)), "");
    BinaryStreamWrite(stream.get(), bytes);
    BinaryStreamWriteLong(stream.get(), 1);
    BinaryStreamSetLength(stream.get(), 0);
    BinaryStreamClose(stream.get());
    EXPECT_EQ(readFileBytes(scratch.file("l.bin")), "0123\0\0"s);
}

TEST(BinaryStreams, OpeningForReadingOrReadingAndWriting) {
    ScratchFolder scratch;
    writeFileBytes(scratch.file("a.bin"), "abcdef");
    Owned xy("XY");
    {
        Result readOnly = result(FolderItemOpenBinaryFile(itemAt(scratch.file("a.bin")).get(), false));
        ASSERT_TRUE(readOnly);
        BinaryStreamWrite(readOnly.get(), xy);  // ignored
        EXPECT_EQ(BinaryStreamGetLength(readOnly.get()), 6);
    }
    EXPECT_EQ(readFileBytes(scratch.file("a.bin")), "abcdef");
    {
        Result readWrite = result(FolderItemOpenBinaryFile(itemAt(scratch.file("a.bin")).get(), true));
        ASSERT_TRUE(readWrite);
        BinaryStreamSetPosition(readWrite.get(), 2);
        BinaryStreamWrite(readWrite.get(), xy);
        EXPECT_EQ(take(BinaryStreamRead(readWrite.get(), 5)), "ef");
    }
    EXPECT_EQ(readFileBytes(scratch.file("a.bin")), "abXYef");
    EXPECT_FALSE(result(FolderItemOpenBinaryFile(itemAt(scratch.file("missing.bin")).get(), true)));
    EXPECT_FALSE(result(FolderItemOpenBinaryFile(itemAt(scratch.file("missing.bin")).get(), false)));
    EXPECT_FALSE(createBinary(scratch.file("no\\such\\a.bin")));
    EXPECT_FALSE(fileExists(scratch.file("missing.bin")));
}

}  // namespace
