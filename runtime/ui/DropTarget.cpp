#include "ui/DropTarget.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "files/FolderItems.h"
#include "objects/BuiltinClasses.h"
#include "objects/ClassRegistry.h"
#include "objects/EventLookup.h"
#include "objects/ObjectLifetime.h"
#include "objects/UnwindScope.h"
#include "text/StringValue.h"
#include "text/SystemText.h"
#include "ui/ControlFields.h"
#include "ui/DragItem.h"
#include "ui/NativeWindow.h"
#include "ui/WindowEvents.h"
#include "ui/WindowFields.h"
#include "ui/WindowOperations.h"

namespace runtime {
namespace {

FORMATETC formatOf(CLIPFORMAT format) { return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC f = formatOf(format);
    return data->QueryGetData(&f) == S_OK;
}

// The global memory block of one format, released with the object.
class DataBlock {
public:
    DataBlock(IDataObject* data, CLIPFORMAT format) {
        FORMATETC f = formatOf(format);
        if (data->GetData(&f, &medium_) != S_OK) medium_.hGlobal = nullptr;
    }
    ~DataBlock() {
        if (medium_.hGlobal) ReleaseStgMedium(&medium_);
    }
    DataBlock(const DataBlock&) = delete;
    DataBlock& operator=(const DataBlock&) = delete;
    HGLOBAL handle() const { return medium_.hGlobal; }

private:
    STGMEDIUM medium_{};
};

// The dropped text in the runtime's code page.
std::string droppedText(IDataObject* data) {
    if (DataBlock block(data, CF_UNICODETEXT); block.handle()) {
        const auto* text = static_cast<const wchar_t*>(GlobalLock(block.handle()));
        const size_t limit = GlobalSize(block.handle()) / sizeof(wchar_t);
        std::wstring wide(text, text ? wcsnlen(text, limit) : 0);
        GlobalUnlock(block.handle());
        return fromSystemText(wide);
    }
    if (DataBlock block(data, CF_TEXT); block.handle()) {
        const auto* text = static_cast<const char*>(GlobalLock(block.handle()));
        std::string bytes(text, text ? strnlen(text, GlobalSize(block.handle())) : 0);
        GlobalUnlock(block.handle());
        return bytes;
    }
    return {};
}

// The first dropped file's path.
std::string droppedFile(IDataObject* data) {
    DataBlock block(data, CF_HDROP);
    if (!block.handle()) return {};
    auto drop = static_cast<HDROP>(GlobalLock(block.handle()));
    std::string path;
    if (drop && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        std::vector<wchar_t> buffer(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        DragQueryFileW(drop, 0, buffer.data(), static_cast<UINT>(buffer.size()));
        path = fromSystemText(buffer.data());
    }
    GlobalUnlock(block.handle());
    return path;
}

ObjectRef newDragItem(IDataObject* data, uint8_t kinds, POINT client) {
    ObjectRef item = ObjectRef::adopt(newObject(builtinClass("DragItem")));
    DragItemFields& f = dragItemFields(item.get());
    if (kinds & kDropText) {
        const std::string text = droppedText(data);
        f.text = StringValue::fromBytes(text).release();
    }
    if (kinds & kDropFile) {
        const std::string path = droppedFile(data);
        if (!path.empty()) f.folderItem = newFolderItem(path).release();
    }
    f.left = client.x;
    f.top = client.y;
    return item;
}

// The topmost visible, enabled control under the point that handles
// DropObject (later controls lie above earlier ones), or nil.
ObjectRef controlForDrop(ObjectHandle window, POINT client) {
    const EventDescriptor* dropObject = builtinEvent("Control", "DropObject");
    ClassRecord* rectControl = builtinClass("RectControl");
    std::vector<ObjectRef> controls = windowControls(window);
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        ObjectHandle c = it->get();
        if (!inheritsFrom(c->classRecord, rectControl)) continue;
        const ControlFields& f = controlFields(c);
        const bool inside = client.x >= f.left && client.x < f.left + f.width && client.y >= f.top &&
                            client.y < f.top + f.height;
        if (inside && f.visible && f.enabled && findHandler(c->classRecord, dropObject).code) return *it;
    }
    return {};
}

void deliverDrop(NativeWindow* native, IDataObject* data, uint8_t kinds, POINTL point) {
    POINT client{point.x, point.y};
    ScreenToClient(native->handle(), &client);
    const Unwindable<ObjectRef> window(ObjectRef::borrow(native->windowObject()));
    const Unwindable<ObjectRef> item(newDragItem(data, kinds, client));
    const Unwindable<ObjectRef> control(controlForDrop(window->get(), client));
    if (*control) deliverNamedEvent(control->get(), "Control", "DropObject", item->get());
    else deliverWindowEvent(window->get(), "DropObject", item->get());
}

}  // namespace

uint8_t dropKindsOffered(IDataObject* data) {
    if (!data) return 0;
    uint8_t kinds = 0;
    if (offers(data, CF_UNICODETEXT) || offers(data, CF_TEXT)) kinds |= kDropText;
    if (offers(data, CF_HDROP)) kinds |= kDropFile;
    if (offers(data, CF_DIB) || offers(data, CF_BITMAP)) kinds |= kDropPicture;
    return kinds;
}

uint8_t WindowDropTarget::acceptedKinds(IDataObject* data) const {
    if (!window_ || window_->closed() || !window_->windowObject()) return 0;
    return dropKindsOffered(data) & windowFields(window_->windowObject()).acceptedDrops;
}

HRESULT WindowDropTarget::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG WindowDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG WindowDropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT WindowDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    effect_ = acceptedKinds(data) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    if (effect) *effect &= effect_;
    return S_OK;
}

HRESULT WindowDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (!window_ || window_->closed()) effect_ = DROPEFFECT_NONE;
    if (effect) *effect &= effect_;
    return S_OK;
}

HRESULT WindowDropTarget::DragLeave() {
    effect_ = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT WindowDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    effect_ = DROPEFFECT_NONE;
    const uint8_t kinds = acceptedKinds(data);
    if (!kinds) {
        if (effect) *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (effect) *effect &= DROPEFFECT_COPY;
    // Called from the system's drag loop: a handler's exception is held and
    // raised again once the loop is back in runtime code.
    NativeWindow* native = window_;
    runFromSystem([&] { deliverDrop(native, data, kinds, point); });
    return S_OK;
}

}  // namespace runtime
