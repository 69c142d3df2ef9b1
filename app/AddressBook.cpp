// The address book: the list on the second tab, its file beside the
// application, the import of tab-separated files, and the recipient menu of
// the first tab, which mirrors the list row for row.
#include "SafeSave.h"
#include "Window1State.h"
#include "logic/AddressBookText.h"

using namespace app::literals;
using app::Object;
using app::String;
using applogic::Bytes;

namespace {

enum Column : int32_t { kName = 0, kNumber = 1, kCentre = 2 };

Object addressBookFile() {
    return Object::adopt(RuntimeGetFolderItem(app::stringOf(Bytes(applogic::kAddressBookFileName)).get()));
}

Object addressList(ObjectHandle window) { return app::control(window, "ListBox1"_s); }

String cell(ObjectHandle list, int32_t row, int32_t column) {
    return String::adopt(listGetCell(list, row, column));
}

void addEntry(ObjectHandle list, const applogic::AddressEntry& entry) {
    RuntimeListAddRow(list, app::stringOf(entry.name).get());
    const int32_t row = listCountGetter(list) - 1;
    listSetCell(list, row, kNumber, app::stringOf(entry.number).get());
    listSetCell(list, row, kCentre, app::stringOf(entry.centre).get());
}

// Where a line's fields come from: the address book's own file, or another
// program's tab-separated export.
enum class LineFormat { AddressBook, Import };

// Reads every line of a text file into the list as entries; lines without an
// entry are skipped. False when the file cannot be read.
bool readEntries(ObjectHandle file, ObjectHandle list, LineFormat format) {
    const Object stream = Object::adopt(FolderItemOpenTextFile(file));
    if (!stream) return false;
    while (!TextInputStreamEOF(stream.get())) {
        const String line = String::adopt(TextInputStreamReadLine(stream.get()));
        if (applogic::isEmptyEntryLine(app::bytesOf(line))) continue;
        const Bytes bytes = app::bytesOf(line);
        const applogic::AddressEntry entry = format == LineFormat::Import ? applogic::importedEntryFromLine(bytes)
                                                                         : applogic::addressEntryFromLine(bytes);
        if (!applogic::isEmptyEntry(entry)) addEntry(list, entry);
    }
    TextInputStreamClose(stream.get());
    return true;
}

// A cell as it is written: TAB, CR and LF would shift the fields or split
// the line, so they become spaces.
String cleaned(const String& text) {
    if (!applogic::cellNeedsCleaning(app::bytesOf(text))) return text;
    String result = String::adopt(StringReplaceAll(text.get(), "\t"_s, " "_s));
    result = String::adopt(StringReplaceAll(result.get(), "\r"_s, " "_s));
    return String::adopt(StringReplaceAll(result.get(), "\n"_s, " "_s));
}

String recipientRow(const String& name, const String& number) {
    return String::borrow("<"_s) + name + String::borrow(">"_s) + number;
}

int32_t selectedRow(ObjectHandle list) { return list ? listSelectionGetter(list) : -1; }

void storeEditedCell(ObjectHandle field, int32_t column) {
    const ObjectHandle window = app::mainWindow();
    const Object list = addressList(window);
    const int32_t row = selectedRow(list.get());
    if (row < 0) return;
    const String text = String::adopt(editTextGetter(field));
    listSetCell(list.get(), row, column, text.get());
    app::rebuildRecipientMenu(window);
}

}  // namespace

namespace app {

void rebuildRecipientMenu(ObjectHandle window) {
    const Object menu = control(window, "Bevel_Phone"_s);
    const Object list = addressList(window);
    if (!menu || !list) return;
    bevelDeleteAllRows(menu.get());
    const int32_t count = listCountGetter(list.get());
    for (int32_t row = 0; row < count; ++row) {
        const String text = recipientRow(cell(list.get(), row, kName), cell(list.get(), row, kNumber));
        bevelAddRow(menu.get(), text.get());
    }
}

}  // namespace app

extern "C" {

void Window1_Set_AdBook(ObjectHandle window) {
    const Object file = addressBookFile();
    const Object list = addressList(window);
    if (!file || !list) return;
    if (readEntries(file.get(), list.get(), LineFormat::AddressBook)) app::rebuildRecipientMenu(window);
}

// An empty list is never saved: the file keeps what it holds.
void Window1_Save_AdBook(ObjectHandle window) {
    const Object list = addressList(window);
    if (!list) return;
    const int32_t count = listCountGetter(list.get());
    if (count <= 0) return;
    app::rebuildRecipientMenu(window);
    const Object file = addressBookFile();
    if (!file) return;
    app::SafeSave save(file.get());
    if (!save.ready()) return;
    const String tab = String::borrow("\t"_s);
    for (int32_t row = 0; row < count; ++row) {
        save.writeLine(cleaned(cell(list.get(), row, kName)) + tab + cleaned(cell(list.get(), row, kNumber)) + tab +
                       cleaned(cell(list.get(), row, kCentre)));
    }
    save.commit(app::stringOf(Bytes(applogic::kAddressBookFileType)).get(),
                app::stringOf(Bytes(applogic::kAddressBookFileCreator)).get());
}

void Window1_AdBook_Load(ObjectHandle window) {
    const Object list = addressList(window);
    if (!list) return;
    const Object file = Object::adopt(RuntimeGetOpenFolderItem(app::stringOf(Bytes(applogic::kAddressImportFileType)).get()));
    if (!file) return;
    if (readEntries(file.get(), list.get(), LineFormat::Import)) app::rebuildRecipientMenu(window);
}

void ListBox1_Open(ObjectHandle list) {
    listSetHeading(list, kName, "名前"_s);
    listSetHeading(list, kNumber, "電話番号"_s);
    listSetHeading(list, kCentre, "センター番号"_s);
}

// The list keeps the file's order: the recipient menu and the file are in
// that order, and a heading click must not set a row beside another person's
// menu entry.
bool ListBox1_SortColumn(ObjectHandle, int32_t) { return true; }

void ListBox1_Change(ObjectHandle list) {
    const int32_t row = selectedRow(list);
    if (row < 0) return;
    const ObjectHandle window = app::mainWindow();
    const String name = cell(list, row, kName);
    const String number = cell(list, row, kNumber);
    app::setFieldText(window, "EditField1"_s, name.get());
    app::setFieldText(window, "EditField2"_s, number.get());
}

void EditField1_Changed(ObjectHandle field) { storeEditedCell(field, kName); }
void EditField2_Changed(ObjectHandle field) { storeEditedCell(field, kNumber); }

bool EditField1_KeyDown(ObjectHandle field, StringHandle) {
    storeEditedCell(field, kName);
    return false;
}

bool EditField2_KeyDown(ObjectHandle field, StringHandle) {
    storeEditedCell(field, kNumber);
    return false;
}

// "新規": a new entry, selected alone, its name ready to be typed over.
void PushButton9_Action(ObjectHandle) {
    const ObjectHandle window = app::mainWindow();
    const Object list = addressList(window);
    if (!list) return;
    const String name = app::stringOf(Bytes(applogic::kNewEntryName));
    RuntimeListAddRow(list.get(), name.get());
    listSelectionSetter(list.get(), listCountGetter(list.get()) - 1);
    const Object field = app::control(window, "EditField1"_s);
    if (field) {
        editTextSetter(field.get(), name.get());
        RuntimeSetFocus(field.get());
        editSelStartSetter(field.get(), StringDBCSLen(name.get()));
        editSelLengthSetter(field.get(), 0);
    }
    app::rebuildRecipientMenu(window);
}

// "↓" and "↑" move the selection, never the entries.
void PushButton10_Action(ObjectHandle) {
    const Object list = addressList(app::mainWindow());
    if (!list) return;
    const int32_t row = selectedRow(list.get());
    const int32_t next = applogic::rowBelow(row, listCountGetter(list.get()));
    if (next != row) listSelectionSetter(list.get(), next);
}

void PushButton11_Action(ObjectHandle) {
    const Object list = addressList(app::mainWindow());
    if (!list) return;
    const int32_t row = selectedRow(list.get());
    const int32_t previous = applogic::rowAbove(row, listCountGetter(list.get()));
    if (previous != row) listSelectionSetter(list.get(), previous);
}

// "削除"
void PushButton1_Action(ObjectHandle) {
    const ObjectHandle window = app::mainWindow();
    const Object list = addressList(window);
    const int32_t row = selectedRow(list.get());
    if (row < 0) return;
    RuntimeRemoveRow(list.get(), row);
    app::rebuildRecipientMenu(window);
}

// "読込" and "保存"
void PushButton2_Action(ObjectHandle) { Window1_AdBook_Load(app::mainWindow()); }
void PushButton8_Action(ObjectHandle) { Window1_Save_AdBook(app::mainWindow()); }

// The centre menu of the second tab sets the selected entry's centre.
void BevelButton1_Action(ObjectHandle button) {
    const Object list = addressList(app::mainWindow());
    const int32_t row = selectedRow(list.get());
    if (row < 0) return;
    const String chosen = String::adopt(bevelListRow(button, bevelMenuValue(button)));
    if (!chosen.get()) return;
    listSetCell(list.get(), row, kCentre, app::stringOf(applogic::numberOfMenuRow(app::bytesOf(chosen))).get());
}

// The recipient menu: number and centre of the entry the row stands for.
void Bevel_Phone_Action(ObjectHandle button) {
    const ObjectHandle window = app::mainWindow();
    const Object list = addressList(window);
    const int32_t row = bevelMenuValue(button);
    if (!list || row < 0 || row >= listCountGetter(list.get())) return;
    const String number = cell(list.get(), row, kNumber);
    const String centre = cell(list.get(), row, kCentre);
    app::setFieldText(window, "Edit_Phone"_s, number.get());
    app::setFieldText(window, "Edit_Center"_s, centre.get());
}

}  // extern "C"
