// Progress bars: "msctls_progress32" with a 32-bit range, so maxima above
// 65535 work. A Maximum of 0 or less shows the indeterminate display: an
// overlay the runtime draws, a block that walks to the right end and back.
#include <algorithm>
#include <memory>

#include "objects/EventLoop.h"
#include "ui/NativeWindow.h"
#include "ui/controls/ControlKind.h"
#include "ui/controls/SimpleControlEntries.h"


namespace runtime::controls {
namespace {

// A progress bar has no text style: its fields follow the control's data.
struct ProgressFields {
    int32_t value;
    int32_t maximum;
};

ProgressFields& fields(ObjectHandle c) {
    return *reinterpret_cast<ProgressFields*>(reinterpret_cast<char*>(c) + kControlFontOffset);
}

constexpr UINT kSetRange32 = WM_USER + 6;  // PBM_SETRANGE32
constexpr UINT kSetPosition = WM_USER + 2; // PBM_SETPOS
// Ten ticks of 16 milliseconds between steps of the block.
constexpr DWORD kStepMilliseconds = 10 * 16;

// The moving block over the bar.
class IndeterminateOverlay final : public Pane, public PeriodicTask {
public:
    IndeterminateOverlay(NativeWindow* window, const Bounds& bar, std::unique_ptr<IndeterminateOverlay>& owner)
        : Pane(nullptr, window), owner_(owner) {
        if (!createChild(L"VL_Pane", 0, RECT{bar.left, bar.top, bar.right, bar.bottom})) return;
        // Above the bar, which was made first.
        SetWindowPos(handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        addPeriodicTask(this, kStepMilliseconds);
    }
    // The window deletes every pane it has when it goes, this one among
    // them: the bar then no longer owns it and must not delete it again.
    ~IndeterminateOverlay() override {
        removePeriodicTask(this);
        if (owner_.get() == this) (void)owner_.release();
    }

    bool takesFocus() const override { return false; }
    int32_t position() const { return position_; }

    void run() override {
        const int32_t last = std::max(0, bounds().width() / 8 - 1);
        if (position_ + step_ > last || position_ + step_ < 0) step_ = -step_;
        position_ = std::clamp(position_ + step_, 0, last);
        invalidate();
    }

    void paintPane(HDC dc) override {
        RECT r;
        GetClientRect(handle(), &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        drawLine(dc, COLOR_BTNSHADOW, {0, 0}, {r.right - 1, 0});                       // top
        drawLine(dc, COLOR_BTNSHADOW, {r.right - 1, 0}, {r.right - 1, r.bottom - 1});  // right
        drawLine(dc, COLOR_BTNHIGHLIGHT, {0, r.bottom - 1}, {r.right, r.bottom - 1});  // bottom
        drawLine(dc, COLOR_BTNHIGHLIGHT, {0, 0}, {0, r.bottom - 1});                   // left
        const RECT block{8 * position_, 2, 8 * position_ + 6, r.bottom - 2};
        FillRect(dc, &block, GetSysColorBrush(COLOR_HIGHLIGHT));
    }

private:
    static void drawLine(HDC dc, int colourIndex, POINT from, POINT to) {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colourIndex));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, from.x, from.y, nullptr);
        LineTo(dc, to.x, to.y);
        SelectObject(dc, old);
        DeleteObject(pen);
    }

    std::unique_ptr<IndeterminateOverlay>& owner_;
    int32_t position_ = 0;
    int32_t step_ = 1;
};

class ProgressBarPane final : public Pane {
public:
    ProgressBarPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        if (!createChild(L"msctls_progress32", 0, std::wstring())) return;
        setMaximum(fields(control).maximum);
        setValue(fields(control).value);
    }
    ~ProgressBarPane() override { overlay_.reset(); }

    bool takesFocus() const override { return false; }

    void setMaximum(int32_t maximum) {
        if (maximum > 0) {
            overlay_.reset();
            SendMessageW(handle(), kSetRange32, 0, maximum);
            SendMessageW(handle(), kSetPosition, static_cast<WPARAM>(fields(control()).value), 0);
        } else if (!overlay_) {
            overlay_ = std::make_unique<IndeterminateOverlay>(window(), bounds(), overlay_);
            if (!overlay_->handle()) overlay_.reset();
        }
    }

    void setValue(int32_t value) { SendMessageW(handle(), kSetPosition, static_cast<WPARAM>(value), 0); }

    void setBounds(const Bounds& b, bool redraw) override {
        Pane::setBounds(b, redraw);
        if (overlay_) overlay_->setBounds(b, redraw);
    }
    void setShownByContainer(bool shown) override {
        Pane::setShownByContainer(shown);
        if (overlay_) overlay_->setShownByContainer(shown);
    }
    void setVisible(bool visible) override {
        Pane::setVisible(visible);
        if (overlay_) overlay_->setVisible(visible);
    }

    const IndeterminateOverlay* overlay() const { return overlay_.get(); }

private:
    std::unique_ptr<IndeterminateOverlay> overlay_;
};

void createPane(ObjectHandle c) { createPaneOf<ProgressBarPane>(c); }

}  // namespace

void defineProgressBar() {
    ClassRecord* cls = builtinClass("ProgressBar");
    cls->initialiser = [](ObjectHandle c, ClassRecord*) { fields(c).maximum = 100; };
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Value", PropertyType::kInteger, progressValueGetter, progressValueSetter);
    addProperty(cls, "Maximum", PropertyType::kInteger, progressMaximumGetter, progressMaximumSetter);
}

// Whether the control shows the indeterminate display (for tests and tools).
HWND progressOverlayHandle(ObjectHandle c) {
    auto* pane = paneOf<ProgressBarPane>(c);
    return pane && pane->overlay() ? pane->overlay()->handle() : nullptr;
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

int32_t progressValueGetter(ObjectHandle c) { return c ? fields(c).value : 0; }

void progressValueSetter(ObjectHandle c, int32_t value) {
    if (!c) return;
    fields(c).value = value;
    if (auto* pane = paneOf<ProgressBarPane>(c)) pane->setValue(value);
}

int32_t progressMaximumGetter(ObjectHandle c) { return c ? fields(c).maximum : 0; }

void progressMaximumSetter(ObjectHandle c, int32_t maximum) {
    if (!c) return;
    fields(c).maximum = maximum;
    if (auto* pane = paneOf<ProgressBarPane>(c)) pane->setMaximum(maximum);
}
