#include "ui/lists/ListboxEntries.h"

#include <memory>
#include <type_traits>
#include <utility>

#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/ObjectLifetime.h"
#include "objects/ObjectRef.h"
#include "text/StringValue.h"
#include "text/arrays/RaiseErrors.h"
#include "ui/ControlFields.h"
#include "ui/lists/ListboxPane.h"

using namespace runtime;
using runtime::lists::validColumn;

namespace {

// A row routine's row must be one of the rows. Called before the routine
// holds anything: the exception leaves its frame at once.
ListboxPane* liveList(ObjectHandle list) { return listboxPaneOf(list); }

void requireRow(const ListboxPane& pane, int32_t row) { arrays::requireAccepted(pane.rows().valid(row)); }

// The cell of a live list for a per-cell routine: null when the list is not
// live or the column is ignored; raises for a row outside the rows.
lists::Row* rowForCell(ObjectHandle list, int32_t row, int32_t column) {
    ListboxPane* pane = liveList(list);
    if (!pane || !validColumn(column)) return nullptr;
    requireRow(*pane, row);
    return &pane->rows()[row];
}

const lists::Cell* existingCell(ObjectHandle list, int32_t row, int32_t column) {
    lists::Row* r = rowForCell(list, row, column);
    return r ? r->find(column) : nullptr;
}

// Changes the cell (creating it) and repaints its row.
template <typename Change>
void changeCell(ObjectHandle list, int32_t row, int32_t column, Change change) {
    lists::Row* r = rowForCell(list, row, column);
    if (!r) return;
    change(r->cell(column));
    liveList(list)->invalidateRow(row);
}

ListColumnTable* columnTable(ObjectHandle list) { return list ? listboxFields(list).columns : nullptr; }

template <typename Change>
void changeColumn(ObjectHandle list, int32_t column, Change change) {
    ListColumnTable* columns = columnTable(list);
    if (!columns || !validColumn(column)) return;
    change(*columns, static_cast<size_t>(column));
    if (ListboxPane* pane = liveList(list)) pane->invalidateAll();
}

template <typename Read>
int32_t readColumn(ObjectHandle list, int32_t column, Read read) {
    const ListColumnTable* columns = columnTable(list);
    return columns && validColumn(column) ? read(*columns, static_cast<size_t>(column)) : 0;
}

void relayout(ObjectHandle list) {
    if (ListboxPane* pane = liveList(list)) pane->layoutColumns();
}

void refont(ObjectHandle list) {
    if (ListboxPane* pane = liveList(list)) pane->fontChanged();
}

void addRow(ObjectHandle list, StringHandle text, bool parent) {
    if (ListboxPane* pane = liveList(list)) pane->addRow(StringValue::borrow(text), parent);
}

// --- The class: instance data, pane, layout properties ---------------------------

void initialiseListbox(ObjectHandle o, ClassRecord*) {
    ListboxFields& f = listboxFields(o);
    f.columnCount = 1;
    f.headingIndex = -1;
    f.lastIndex = -1;
    f.columns = new ListColumnTable;
}

void finaliseListbox(ObjectHandle o, ClassRecord*) {
    ListboxFields& f = listboxFields(o);
    delete std::exchange(f.columns, nullptr);
    for (StringHandle* s : {&f.columnWidths, &f.initialValue, &f.textFont}) StringValue::adopt(std::exchange(*s, nullptr));
}

// The rows given at design time: one per line, cells separated by tabs.
void addInitialRows(ListboxPane& pane, std::string_view text) {
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
        const size_t tab = line.find('\t');
        const int32_t row = pane.addRow(StringValue::fromBytes(line.substr(0, tab)), false);
        for (int32_t column = 1; tab != std::string_view::npos && column < lists::kColumnSlots; ++column) {
            line.remove_prefix(line.find('\t') + 1);
            const size_t next = line.find('\t');
            pane.setCellText(row, column, StringValue::fromBytes(line.substr(0, next)));
            if (next == std::string_view::npos) break;
        }
    }
}

// The Listbox's CreatePane handler: the pane, then the design-time rows.
void createListboxPane(ObjectHandle list) {
    ControlFields& f = controlFields(list);
    if (f.pane || !f.parent) return;
    auto pane = std::make_unique<ListboxPane>(list, f.parent);
    if (!pane->handle()) return;
    ListboxPane* live = pane.release();
    f.pane = live;
    addInitialRows(*live, viewOf(listboxFields(list).initialValue));
}

#define LIST_FIELD(field) (kListboxFieldsOffset + static_cast<int32_t>(offsetof(ListboxFields, field)))

template <int32_t Offset>
bool flagGetter(ObjectHandle o) { return o && *(reinterpret_cast<uint8_t*>(o) + Offset) != 0; }
template <int32_t Offset>
void flagSetter(ObjectHandle o, bool v) { if (o) *(reinterpret_cast<uint8_t*>(o) + Offset) = v; }
template <int32_t Offset>
int32_t intGetter(ObjectHandle o) { return o ? *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(o) + Offset) : 0; }
template <int32_t Offset>
void intSetter(ObjectHandle o, int32_t v) { if (o) *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(o) + Offset) = v; }
template <int32_t Offset>
StringHandle stringGetter(ObjectHandle o) {
    return o ? StringValue::borrow(*reinterpret_cast<StringHandle*>(reinterpret_cast<char*>(o) + Offset)).release() : nullptr;
}
template <int32_t Offset>
void stringSetter(ObjectHandle o, StringHandle v) {
    if (!o) return;
    StringHandle& field = *reinterpret_cast<StringHandle*>(reinterpret_cast<char*>(o) + Offset);
    StringValue kept = StringValue::borrow(v);  // the new reference before the old one goes
    StringValue::adopt(std::exchange(field, kept.release()));
}

template <typename Routine>
CodeAddress routineAddress(Routine routine) {
    if constexpr (std::is_null_pointer_v<Routine>) return nullptr;
    else return reinterpret_cast<CodeAddress>(routine);
}

void add(ClassRecord* cls, const char* name, PropertyType type, auto getter, auto setter) {
    prependProperty(cls, name, type, routineAddress(getter), routineAddress(setter));
}

}  // namespace

void runtime::defineListboxClass() {
    ClassRecord* cls = builtinClass("Listbox");
    if (!cls || cls->initialiser) return;
    cls->initialiser = initialiseListbox;
    cls->finaliser = finaliseListbox;
    prependEventHandler(cls, "CreatePane", reinterpret_cast<CodeAddress>(&createListboxPane), 0);
    using T = PropertyType;
    add(cls, "ListCount", T::kInteger, listCountGetter, nullptr);
    add(cls, "ListIndex", T::kInteger, listSelectionGetter, listSelectionSetter);
    add(cls, "Text", T::kString, listTextGetter, listTextSetter);
    add(cls, "ColumnCount", T::kInteger, listColumnCountGetter, listColumnCountSetter);
    add(cls, "ColumnWidths", T::kString, listColumnWidthsGetter, listColumnWidthsSetter);
    add(cls, "Hierarchical", T::kBoolean, flagGetter<LIST_FIELD(hierarchical)>, flagSetter<LIST_FIELD(hierarchical)>);
    add(cls, "LastIndex", T::kInteger, listLastIndexGetter, nullptr);
    add(cls, "EnableDrag", T::kBoolean, flagGetter<LIST_FIELD(enableDrag)>, listEnableDragSetter);
    add(cls, "SelectionType", T::kInteger, intGetter<LIST_FIELD(selectionType)>, intSetter<LIST_FIELD(selectionType)>);
    add(cls, "SelCount", T::kInteger, listSelCountGetter, nullptr);
    add(cls, "InitialValue", T::kString, stringGetter<LIST_FIELD(initialValue)>, stringSetter<LIST_FIELD(initialValue)>);
    add(cls, "HasHeading", T::kBoolean, flagGetter<LIST_FIELD(hasHeading)>, flagSetter<LIST_FIELD(hasHeading)>);
    add(cls, "UseFocusRing", T::kBoolean, flagGetter<LIST_FIELD(useFocusRing)>, flagSetter<LIST_FIELD(useFocusRing)>);
    add(cls, "HeadingIndex", T::kInteger, listHeadingIndexGetter, listHeadingIndexSetter);
    add(cls, "TextFont", T::kString, listTextFontGetter, listTextFontSetter);
    add(cls, "TextSize", T::kInteger, listTextSizeGetter, listTextSizeSetter);
    add(cls, "Bold", T::kBoolean, listBoldGetter, listBoldSetter);
    add(cls, "Italic", T::kBoolean, listItalicGetter, listItalicSetter);
    add(cls, "Underline", T::kBoolean, listUnderlineGetter, listUnderlineSetter);
}

// --- Properties ----------------------------------------------------------------------

int32_t listCountGetter(ObjectHandle list) {
    ListboxPane* pane = liveList(list);
    return pane ? pane->rows().count() : 0;
}

int32_t listSelectionGetter(ObjectHandle list) {
    ListboxPane* pane = liveList(list);
    return pane ? pane->selection().lowest() : -1;
}

void listSelectionSetter(ObjectHandle list, int32_t row) {
    if (ListboxPane* pane = liveList(list)) pane->selectOnly(row);
}

StringHandle listTextGetter(ObjectHandle list) {
    ListboxPane* pane = liveList(list);
    return pane ? pane->rows().text(pane->selection().lowest(), 0).release() : nullptr;
}

void listTextSetter(ObjectHandle list, StringHandle text) {
    ListboxPane* pane = liveList(list);
    if (pane && pane->rows().valid(pane->selection().lowest())) {
        pane->setCellText(pane->selection().lowest(), 0, StringValue::borrow(text));
    }
}

int32_t listColumnCountGetter(ObjectHandle list) { return list ? lists::clampedColumnCount(listboxFields(list).columnCount) : 0; }

void listColumnCountSetter(ObjectHandle list, int32_t count) {
    if (!list) return;
    listboxFields(list).columnCount = lists::clampedColumnCount(count);
    relayout(list);
}

StringHandle listColumnWidthsGetter(ObjectHandle list) { return stringGetter<LIST_FIELD(columnWidths)>(list); }

void listColumnWidthsSetter(ObjectHandle list, StringHandle widths) {
    stringSetter<LIST_FIELD(columnWidths)>(list, widths);
    relayout(list);
}

int32_t listLastIndexGetter(ObjectHandle list) { return list ? listboxFields(list).lastIndex : -1; }

void listEnableDragSetter(ObjectHandle list, bool enable) { flagSetter<LIST_FIELD(enableDrag)>(list, enable); }

int32_t listSelCountGetter(ObjectHandle list) {
    ListboxPane* pane = liveList(list);
    return pane ? pane->selection().count() : 0;
}

int32_t listHeadingIndexGetter(ObjectHandle list) { return list ? listboxFields(list).headingIndex : -1; }

void listHeadingIndexSetter(ObjectHandle list, int32_t column) {
    if (!list) return;
    if (column != -1 && !validColumn(column)) return;
    listboxFields(list).headingIndex = column;
    if (ListboxPane* pane = liveList(list)) pane->pressHeading(column);
}

StringHandle listTextFontGetter(ObjectHandle list) { return stringGetter<LIST_FIELD(textFont)>(list); }
void listTextFontSetter(ObjectHandle list, StringHandle font) {
    stringSetter<LIST_FIELD(textFont)>(list, font);
    refont(list);
}
int32_t listTextSizeGetter(ObjectHandle list) { return intGetter<LIST_FIELD(textSize)>(list); }
void listTextSizeSetter(ObjectHandle list, int32_t size) {
    intSetter<LIST_FIELD(textSize)>(list, size);
    refont(list);
}
bool listBoldGetter(ObjectHandle list) { return flagGetter<LIST_FIELD(bold)>(list); }
void listBoldSetter(ObjectHandle list, bool value) {
    flagSetter<LIST_FIELD(bold)>(list, value);
    refont(list);
}
bool listItalicGetter(ObjectHandle list) { return flagGetter<LIST_FIELD(italic)>(list); }
void listItalicSetter(ObjectHandle list, bool value) {
    flagSetter<LIST_FIELD(italic)>(list, value);
    refont(list);
}
bool listUnderlineGetter(ObjectHandle list) { return flagGetter<LIST_FIELD(underline)>(list); }
void listUnderlineSetter(ObjectHandle list, bool value) {
    flagSetter<LIST_FIELD(underline)>(list, value);
    refont(list);
}

// --- Cells and headings -------------------------------------------------------------------

StringHandle listGetCell(ObjectHandle list, int32_t row, int32_t column) {
    const lists::Row* r = rowForCell(list, row, column);
    const lists::Cell* cell = r ? r->find(column) : nullptr;
    return cell ? StringValue::borrow(cell->text.get()).release() : nullptr;
}

void listSetCell(ObjectHandle list, int32_t row, int32_t column, StringHandle text) {
    if (!rowForCell(list, row, column)) return;
    liveList(list)->setCellText(row, column, StringValue::borrow(text));
}

StringHandle listGetHeading(ObjectHandle list, int32_t column) {
    const ListColumnTable* columns = columnTable(list);
    if (!columns || !validColumn(column)) return nullptr;
    const StringValue& text = columns->heading[static_cast<size_t>(column)];
    if (!text.empty()) return StringValue(text).release();
    return (StringValue::fromCString("Field") + StringValue::fromInt(column + 1)).release();
}

void listSetHeading(ObjectHandle list, int32_t column, StringHandle text) {
    changeColumn(list, column, [text](ListColumnTable& c, size_t i) { c.heading[i] = StringValue::borrow(text); });
}

bool listGetSelected(ObjectHandle list, int32_t row) {
    ListboxPane* pane = liveList(list);
    return pane && pane->selection().isSelected(row);
}

void listSetSelected(ObjectHandle list, int32_t row, bool selected) {
    if (ListboxPane* pane = liveList(list)) pane->setRowSelected(row, selected);
}

bool listGetExpanded(ObjectHandle list, int32_t row) {
    ListboxPane* pane = liveList(list);
    return pane && pane->rows().valid(row) && pane->rows()[row].expanded;
}

void listSetExpanded(ObjectHandle list, int32_t row, bool expanded) {
    if (ListboxPane* pane = liveList(list)) pane->setRowExpanded(row, expanded);
}

bool listCellCheckGetter(ObjectHandle list, int32_t row, int32_t column) {
    const lists::Cell* c = existingCell(list, row, column);
    return c && c->checked;
}
void listCellCheckSetter(ObjectHandle list, int32_t row, int32_t column, bool checked) {
    changeCell(list, row, column, [checked](lists::Cell& c) { c.checked = checked; });
}
int32_t listCellTypeGetter(ObjectHandle list, int32_t row, int32_t column) {
    const lists::Cell* c = existingCell(list, row, column);
    return c ? c->type : 0;
}
void listCellTypeSetter(ObjectHandle list, int32_t row, int32_t column, int32_t type) {
    changeCell(list, row, column, [type](lists::Cell& c) { c.type = type; });
}
int32_t listCellAlignmentGetter(ObjectHandle list, int32_t row, int32_t column) {
    const lists::Cell* c = existingCell(list, row, column);
    return c ? c->alignment : 0;
}
void listCellAlignmentSetter(ObjectHandle list, int32_t row, int32_t column, int32_t alignment) {
    changeCell(list, row, column, [alignment](lists::Cell& c) { c.alignment = alignment; });
}
int32_t listCellAlignmentOffsetGetter(ObjectHandle list, int32_t row, int32_t column) {
    const lists::Cell* c = existingCell(list, row, column);
    return c ? c->alignmentOffset : 0;
}
void listCellAlignmentOffsetSetter(ObjectHandle list, int32_t row, int32_t column, int32_t offset) {
    changeCell(list, row, column, [offset](lists::Cell& c) { c.alignmentOffset = offset; });
}

int32_t listColumnTypeGetter(ObjectHandle list, int32_t column) {
    return readColumn(list, column, [](const ListColumnTable& c, size_t i) { return c.type[i]; });
}
void listColumnTypeSetter(ObjectHandle list, int32_t column, int32_t type) {
    changeColumn(list, column, [type](ListColumnTable& c, size_t i) { c.type[i] = type; });
}
int32_t listColumnAlignmentGetter(ObjectHandle list, int32_t column) {
    return readColumn(list, column, [](const ListColumnTable& c, size_t i) { return c.alignment[i]; });
}
void listColumnAlignmentSetter(ObjectHandle list, int32_t column, int32_t alignment) {
    changeColumn(list, column, [alignment](ListColumnTable& c, size_t i) { c.alignment[i] = alignment; });
}
int32_t listColumnAlignmentOffsetGetter(ObjectHandle list, int32_t column) {
    return readColumn(list, column, [](const ListColumnTable& c, size_t i) { return c.alignmentOffset[i]; });
}
void listColumnAlignmentOffsetSetter(ObjectHandle list, int32_t column, int32_t offset) {
    changeColumn(list, column, [offset](ListColumnTable& c, size_t i) { c.alignmentOffset[i] = offset; });
}

ObjectHandle listGetRowPicture(ObjectHandle list, int32_t row) {
    ListboxPane* pane = liveList(list);
    if (!pane || !pane->rows().valid(row)) return nullptr;
    return ObjectRef::borrow(static_cast<ObjectHandle>(pane->rows()[row].picture.get())).release();
}

void listSetRowPicture(ObjectHandle list, int32_t row, ObjectHandle picture) {
    ListboxPane* pane = liveList(list);
    if (!pane || !pane->rows().valid(row)) return;
    lockObject(picture);
    pane->rows()[row].picture = picture ? std::shared_ptr<void>(picture, [](void* p) { unlockObject(static_cast<ObjectHandle>(p)); })
                                        : std::shared_ptr<void>();
    pane->invalidateRow(row);
}

namespace {
template <uint8_t Bit>
bool cellStyle(ObjectHandle list, int32_t row, int32_t column) {
    const lists::Cell* c = existingCell(list, row, column);
    return c && (c->style & Bit);
}
template <uint8_t Bit>
void setCellStyle(ObjectHandle list, int32_t row, int32_t column, bool value) {
    changeCell(list, row, column, [value](lists::Cell& c) { c.style = static_cast<uint8_t>(value ? c.style | Bit : c.style & ~Bit); });
}
}  // namespace

bool listGetCellBold(ObjectHandle list, int32_t row, int32_t column) { return cellStyle<lists::kStyleBold>(list, row, column); }
void listSetCellBold(ObjectHandle list, int32_t row, int32_t column, bool value) { setCellStyle<lists::kStyleBold>(list, row, column, value); }
bool listGetCellItalic(ObjectHandle list, int32_t row, int32_t column) { return cellStyle<lists::kStyleItalic>(list, row, column); }
void listSetCellItalic(ObjectHandle list, int32_t row, int32_t column, bool value) { setCellStyle<lists::kStyleItalic>(list, row, column, value); }
bool listGetCellUnderline(ObjectHandle list, int32_t row, int32_t column) { return cellStyle<lists::kStyleUnderline>(list, row, column); }
void listSetCellUnderline(ObjectHandle list, int32_t row, int32_t column, bool value) {
    setCellStyle<lists::kStyleUnderline>(list, row, column, value);
}

void listAddLSNR(ObjectHandle list, ObjectHandle listener) {
    if (ListboxPane* pane = liveList(list)) pane->addListener(listener);
}

void listRemoveLSNR(ObjectHandle list, ObjectHandle listener) {
    if (ListboxPane* pane = liveList(list)) pane->removeListener(listener);
}

// --- Rows -------------------------------------------------------------------------------------

void RuntimeListAddRow(ObjectHandle list, StringHandle text) { addRow(list, text, false); }

void RuntimeListAddParent(ObjectHandle list, StringHandle text) { addRow(list, text, true); }

void RuntimeListInsertRow(ObjectHandle list, int32_t row, StringHandle text) {
    if (ListboxPane* pane = liveList(list)) pane->insertRow(row, StringValue::borrow(text));
}

void RuntimeRemoveRow(ObjectHandle list, int32_t row) {
    ListboxPane* pane = liveList(list);
    if (!pane) return;
    requireRow(*pane, row);
    pane->removeRow(row);
}

void RuntimeListEmpty(ObjectHandle list) {
    if (ListboxPane* pane = liveList(list)) pane->removeAllRows();
}

StringHandle RuntimeGetRow(ObjectHandle list, int32_t row) { return listGetCell(list, row, 0); }

void RuntimeSetRow(ObjectHandle list, int32_t row, StringHandle text) { listSetCell(list, row, 0, text); }
