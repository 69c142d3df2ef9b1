// Drops onto windows and controls through the registered drop target.
#include "WindowTestProject.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "objects/ObjectLifetime.h"
#include "ui/FormEntries.h"
#include "ui/NativeWindow.h"
#include "ui/Pane.h"
#include "ui/WindowFields.h"

using namespace runtime;
using namespace window_tests;

namespace {

// A data object offering one format in global memory, as a drag source does.
class DataObject final : public IDataObject {
public:
    DataObject(CLIPFORMAT format, const void* bytes, size_t size) : format_(format) {
        memory_ = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(memory_), bytes, size);
        GlobalUnlock(memory_);
    }
    ~DataObject() { GlobalFree(memory_); }
    static DataObject text(const wchar_t* text) {
        return DataObject(CF_UNICODETEXT, text, (wcslen(text) + 1) * sizeof(wchar_t));
    }
    static DataObject file(const wchar_t* path) {
        std::vector<uint8_t> block(sizeof(DROPFILES) + (wcslen(path) + 2) * sizeof(wchar_t));
        auto* files = reinterpret_cast<DROPFILES*>(block.data());
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        std::memcpy(block.data() + sizeof(DROPFILES), path, wcslen(path) * sizeof(wchar_t));
        return DataObject(CF_HDROP, block.data(), block.size());
    }
    DataObject(DataObject&& other) noexcept : format_(other.format_), memory_(std::exchange(other.memory_, nullptr)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
        const SIZE_T size = GlobalSize(memory_);
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(copy), GlobalLock(memory_), size);
        GlobalUnlock(copy);
        GlobalUnlock(memory_);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == format_ && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    CLIPFORMAT format_;
    HGLOBAL memory_;
};

TEST(Drops, TheRegisteredTargetTakesAcceptedKindsToTheControlOrTheWindow) {
    OpenWindow w(windowLayout(ix.testWindow, {control(ix.traceControl, "Pad", {{"Left", "200"}, {"Top", "100"},
                                                                               {"Width", "60"}, {"Height", "60"}})}));
    ASSERT_NE(w.object, nullptr);
    IDropTarget* target = windowFields(w.object).native->dropTarget();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(RegisterDragDrop(w.handle(), target), DRAGDROP_E_ALREADYREGISTERED);

    DataObject text = DataObject::text(L"dropped");
    auto at = [&](int x, int y) {
        const POINT p = screenPoint(w.handle(), x, y);
        return POINTL{p.x, p.y};
    };
    auto enter = [&](IDataObject* data) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(data, 0, at(20, 30), &effect);
        DWORD over = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragOver(0, at(21, 30), &over);
        EXPECT_EQ(over, effect);
        target->DragLeave();
        return effect;
    };
    auto drop = [&](IDataObject* data, int x, int y) {
        runPasses(3);  // the window's own events first
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        gTrace.clear();
        target->Drop(data, 0, at(x, y), &effect);
        return effect;
    };
    // Nothing accepted yet: the drag is refused and nothing arrives.
    EXPECT_EQ(enter(&text), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drop(&text, 20, 30), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(gTrace, "");

    const int32_t live = liveObjectCount();
    formAcceptTextDrop(w.object);
    EXPECT_EQ(enter(&text), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(drop(&text, 20, 30), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(gTrace, "window-drop:dropped@20,30 ");
    drop(&text, 210, 110);  // on the control, which handles DropObject
    EXPECT_EQ(gTrace, "drop:Pad:dropped@210,110 ");
    EXPECT_EQ(liveObjectCount(), live);  // the drag items went with their events

    // Files only once the window accepts them.
    DataObject file = DataObject::file(L"C:\\windows\\win.ini");
    EXPECT_EQ(enter(&file), static_cast<DWORD>(DROPEFFECT_NONE));
    formAcceptFileDrop(w.object, nullptr);
    EXPECT_EQ(enter(&file), static_cast<DWORD>(DROPEFFECT_COPY));
    drop(&file, 40, 50);
    EXPECT_EQ(gTrace, "window-drop:[file]@40,50 ");
    EXPECT_EQ(liveObjectCount(), live);
}

TEST(Drops, AClosedWindowsTargetRefusesEverything) {
    DataObject text = DataObject::text(L"late");
    IDropTarget* target = nullptr;
    {
        OpenWindow w(windowLayout(ix.testWindow));
        ASSERT_NE(w.object, nullptr);
        formAcceptTextDrop(w.object);
        target = windowFields(w.object).native->dropTarget();
        target->AddRef();  // as a drag loop would hold it
    }
    DWORD effect = DROPEFFECT_COPY;
    gTrace.clear();
    target->DragEnter(&text, 0, POINTL{10, 10}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->Drop(&text, 0, POINTL{10, 10}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(gTrace, "");
    target->Release();
}

}  // namespace
