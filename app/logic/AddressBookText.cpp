#include "AddressBookText.h"

namespace applogic {

Bytes tabField(Bytes line, int32_t n) {
    if (n < 1) return Bytes();
    int32_t start = 0;
    for (int32_t field = 1; field < n; ++field) {
        while (start < line.size && line[start] != '\t') ++start;
        if (start == line.size) return Bytes();
        ++start;
    }
    int32_t end = start;
    while (end < line.size && line[end] != '\t') ++end;
    return Bytes(line.data + start, end - start);
}

Bytes withoutLineEnd(Bytes line) {
    int32_t n = line.size;
    while (n > 0 && (line[n - 1] == '\r' || line[n - 1] == '\n')) --n;
    return line.first(n);
}

AddressEntry addressEntryFromLine(Bytes line) {
    const Bytes text = withoutLineEnd(line);
    return AddressEntry{tabField(text, 1), tabField(text, 2), tabField(text, 3)};
}

AddressEntry importedEntryFromLine(Bytes line) {
    const Bytes text = withoutLineEnd(line);
    return AddressEntry{tabField(text, 2), tabField(text, 4), Bytes()};
}

bool isEmptyEntryLine(Bytes line) {
    for (int32_t i = 0; i < line.size; ++i) {
        const uint8_t b = line[i];
        if (b != ' ' && b != '\t' && b != '\r' && b != '\n') return false;
    }
    return true;
}

namespace {

bool breaksFields(uint8_t b) { return b == '\t' || b == '\r' || b == '\n'; }

}  // namespace

bool cellNeedsCleaning(Bytes cell) {
    for (int32_t i = 0; i < cell.size; ++i) {
        if (breaksFields(cell[i])) return true;
    }
    return false;
}

void cleanCell(Bytes cell, uint8_t* out) {
    for (int32_t i = 0; i < cell.size; ++i) out[i] = breaksFields(cell[i]) ? ' ' : cell[i];
}

int32_t addressLine(const AddressEntry& entry, uint8_t* buffer, int32_t capacity) {
    if (capacity < addressLineLength(entry)) return -1;
    int32_t at = 0;
    const Bytes cells[3] = {entry.name, entry.number, entry.centre};
    for (int32_t i = 0; i < 3; ++i) {
        if (i > 0) buffer[at++] = '\t';
        cleanCell(cells[i], buffer + at);
        at += cells[i].size;
    }
    return at;
}

int32_t recipientMenuRow(Bytes name, Bytes number, uint8_t* buffer, int32_t capacity) {
    ByteWriter out(buffer, capacity);
    out.put('<');
    out.put(name);
    out.put('>');
    out.put(number);
    return out.result();
}

Bytes numberOfMenuRow(Bytes row) {
    for (int32_t i = row.size - 1; i >= 0; --i) {
        if (row[i] == '>') return row.from(i + 1);
    }
    return row;
}

int32_t rowBelow(int32_t selected, int32_t rowCount) {
    return selected >= 0 && selected < rowCount - 1 ? selected + 1 : selected;
}

int32_t rowAbove(int32_t selected, int32_t rowCount) {
    return selected > 0 && selected < rowCount ? selected - 1 : selected;
}

}  // namespace applogic
