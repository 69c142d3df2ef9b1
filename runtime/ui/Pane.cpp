#include "ui/Pane.h"

#include "loader/Instance.h"
#include "text/SystemText.h"
#include "text/StringValue.h"
#include "ui/ControlFields.h"
#include "ui/NativeWindow.h"

namespace runtime {
namespace {
// The window property that ties a child window to its pane.
constexpr wchar_t kInstanceProperty[] = L"VLInstance";
}  // namespace

Pane::~Pane() {
    if (window_) window_->removePane(this);
    // The control keeps no pointer to a pane that is gone.
    if (control_ && controlFields(control_).pane == this) controlFields(control_).pane = nullptr;
    if (handle_) {
        RemovePropW(handle_, kInstanceProperty);
        if (IsWindow(handle_)) DestroyWindow(handle_);
    }
}

HWND Pane::createChild(const wchar_t* systemClass, DWORD style, const RECT& rect, const wchar_t* text) {
    handle_ = CreateWindowExW(0, systemClass, text, WS_CHILD | style, rect.left, rect.top, rect.right - rect.left,
                              rect.bottom - rect.top, window_->handle(), nullptr, instanceHandle(), nullptr);
    if (handle_) {
        SetPropW(handle_, kInstanceProperty, this);
        window_->addPane(this);
    }
    return handle_;
}

void Pane::setVisible(bool visible) {
    if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void Pane::setEnabled(bool enabled) {
    if (handle_) EnableWindow(handle_, enabled);
}

void Pane::setHelpTexts(StringHandle, StringHandle) {}

Pane* paneOfHandle(HWND handle) { return handle ? static_cast<Pane*>(GetPropW(handle, kInstanceProperty)) : nullptr; }

}  // namespace runtime
