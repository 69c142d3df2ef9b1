// The address book's file and the rows it shows: one entry per line, name,
// handset number and message-centre number separated by TAB; the import of
// another program's tab-separated export (name in field 2, number in field
// 4); and the rows of the recipient menu, "<" + name + ">" + number.
//
// TAB, CR, LF and ">" are single bytes that are never the trail byte of a
// Shift-JIS character, so splitting at them byte by byte is safe for
// Japanese names.
#pragma once

#include <cstdint>

#include "ByteText.h"

namespace applogic {

// The file's name (Shift-JIS "PokC電話帳"), its type and creator.
inline constexpr char kAddressBookFileName[] = "PokC\x93\x64\x98\x62\x92\xA0";
inline constexpr char kAddressBookFileType[] = "TEXT";
inline constexpr char kAddressBookFileCreator[] = "XCEL";
// The file type the import dialog offers.
inline constexpr char kAddressImportFileType[] = "text/tab-separated-values";
// The name a new entry starts with (Shift-JIS "新規名前").
inline constexpr char kNewEntryName[] = "\x90\x56\x8B\x4B\x96\xBC\x91\x4F";

// Views into one line of text.
struct AddressEntry {
    Bytes name;
    Bytes number;
    Bytes centre;
};

// Field `n` (1-based) of a line split at TAB; empty when the line has fewer.
Bytes tabField(Bytes line, int32_t n);

// A line without the CR or LF that may end it.
Bytes withoutLineEnd(Bytes line);

// An entry of the address book file: fields 1, 2 and 3. Missing fields are
// empty, further fields are ignored.
AddressEntry addressEntryFromLine(Bytes line);

// An entry of an imported file: name from field 2, number from field 4, no
// centre.
AddressEntry importedEntryFromLine(Bytes line);

// Lines that hold no entry (empty, or only blanks and TABs) are skipped when
// the file is read or imported.
bool isEmptyEntryLine(Bytes line);

// An entry whose name, number and centre are all empty (a line of another
// format, such as one without TABs in an import) is not added.
constexpr bool isEmptyEntry(const AddressEntry& e) { return e.name.empty() && e.number.empty() && e.centre.empty(); }

// A cell as it is written: TAB, CR and LF, which would shift the fields or
// split the line, become spaces. Writes exactly cell.size bytes.
void cleanCell(Bytes cell, uint8_t* out);
bool cellNeedsCleaning(Bytes cell);

// The line written for an entry: name TAB number TAB centre, cells cleaned.
// Returns its length, or -1 when it does not fit.
int32_t addressLine(const AddressEntry& entry, uint8_t* out, int32_t capacity);
constexpr int32_t addressLineLength(const AddressEntry& e) { return e.name.size + e.number.size + e.centre.size + 2; }

// A row of the recipient menu: "<" + name + ">" + number (-1 when it does not fit).
int32_t recipientMenuRow(Bytes name, Bytes number, uint8_t* out, int32_t capacity);
constexpr int32_t recipientMenuRowLength(Bytes name, Bytes number) { return name.size + number.size + 2; }

// The number in a menu row ("<" + name + ">" + number): the text after the
// last ">", so a ">" in a name cannot cut the number. The whole row when it
// has no ">".
Bytes numberOfMenuRow(Bytes row);

// Where the selection goes for "↓" and "↑": the next or previous row, or
// the same row at either end of the list (and -1, no selection, stays -1).
int32_t rowBelow(int32_t selected, int32_t rowCount);
int32_t rowAbove(int32_t selected, int32_t rowCount);

}  // namespace applogic
