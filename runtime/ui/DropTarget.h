// The OLE drop target of a native window. A window takes drops of the kinds
// compiled code accepted for it (formAcceptTextDrop and its relatives); a
// drop becomes a DragItem and a DropObject event, for the control under the
// drop point that handles DropObject, else for the window.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>

namespace runtime {

class NativeWindow;

// The kinds of data a window accepts, as bits of its accepted-drop field.
enum DropKind : uint8_t {
    kDropText = 1,
    kDropPicture = 2,
    kDropFile = 4,
    kDropMacData = 8,
};

class WindowDropTarget final : public IDropTarget {
public:
    explicit WindowDropTarget(NativeWindow* window) : window_(window) {}
    // The window is going: later calls from the system find nothing to do.
    void detach() { window_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    ~WindowDropTarget() = default;
    uint8_t acceptedKinds(IDataObject* data) const;

    LONG references_ = 1;
    NativeWindow* window_;
    DWORD effect_ = DROPEFFECT_NONE;  // what the drag over the window may do
};

// The kinds of data an OLE data object offers.
uint8_t dropKindsOffered(IDataObject* data);

}  // namespace runtime
