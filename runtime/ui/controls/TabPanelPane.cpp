// Tab panels: "SysTabControl32" with one tab per part of TabDefinition
// (split at NUL characters). The controls inside the panel's rectangle are
// shown only on the tab their TabPanelIndex names (1 for the first).
#include <windows.h>
#include <commctrl.h>

#include "ui/NativeWindow.h"
#include "ui/controls/ControlKind.h"
#include "ui/controls/SimpleControlEntries.h"


namespace runtime::controls {
namespace {

struct TabPanelFields {
    StringHandle tabDefinition;
    int32_t facing;
    uint8_t smallTabs;
    uint8_t reserved[3];
    int32_t value;  // kept for a panel without a pane
};

TabPanelFields& fields(ObjectHandle c) { return kindFields<TabPanelFields>(c); }

// The tab captions: every part ended by a NUL, and a last part when it is
// not empty.
std::vector<std::string_view> tabCaptions(std::string_view definition) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i < definition.size(); ++i) {
        if (definition[i] != '\0') continue;
        parts.push_back(definition.substr(start, i - start));
        start = i + 1;
    }
    if (start < definition.size()) parts.push_back(definition.substr(start));
    return parts;
}

class TabPanelPane final : public Pane {
public:
    TabPanelPane(ObjectHandle control, NativeWindow* window) : Pane(control, window) {
        if (!createChild(WC_TABCONTROLW, 0, std::wstring())) return;
        subclass();
        setFont(fontRequestOf(control));
        int index = 0;
        for (std::string_view caption : tabCaptions(viewOf(fields(control).tabDefinition))) {
            std::wstring text = toSystemText(caption);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(handle(), TCM_INSERTITEMW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&item));
        }
        // Below the controls of its pages, whichever was made first: later
        // siblings lie below earlier ones.
        placeBelowContents();
        bodyColour_ = drawnBodyColour();
        if (fields(control).value > 0) SendMessageW(handle(), TCM_SETCURSEL, static_cast<WPARAM>(fields(control).value), 0);
        applyToContents();
    }

    int32_t selected() const { return static_cast<int32_t>(SendMessageW(handle(), TCM_GETCURSEL, 0, 0)); }

    void select(int32_t tab) {
        HWND h = handle();
        callSystem([&] { return SendMessageW(h, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0); });
        changed();
    }

    bool containerDecides(const Pane& pane, bool& shown) const override {
        if (&pane == this || !pane.control() || !handle() || !bounds().contains(pane.bounds())) return false;
        shown = controlFields(pane.control()).tabPanelIndex == selected() + 1;
        return true;
    }

    // The colour of the panel's body, as the system draws it, for the panes
    // drawn on it.
    bool backgroundColour(COLORREF& colour) const override {
        colour = bodyColour_;
        return true;
    }

    bool notify(const NMHDR& header, LRESULT& result) override {
        if (header.code != TCN_SELCHANGE) return false;
        changed();
        result = 0;
        return true;
    }

private:
    COLORREF drawnBodyColour() const {
        RECT r;
        GetClientRect(handle(), &r);
        COLORREF colour = GetSysColor(COLOR_BTNFACE);
        if (r.right < 8 || r.bottom < 8) return colour;
        RECT body = r;
        SendMessageW(handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
        HDC screen = GetDC(handle());
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SendMessageW(handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
        const COLORREF drawn = GetPixel(memory, (body.left + body.right) / 2, (body.top + body.bottom) / 2);
        if (drawn != CLR_INVALID) colour = drawn;
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(handle(), screen);
        return colour;
    }

    COLORREF bodyColour_ = GetSysColor(COLOR_BTNFACE);

    // Shows the controls of the selected tab, hides the others, then Change.
    void changed() {
        fields(control()).value = selected();
        applyToContents();
        ObjectHandle c = control();
        guarded(GuardedEvent::kChange, [c] { raise(c, "TabPanel", "Change"); });
    }

    void applyToContents() {
        const std::vector<Pane*> panes = window()->panes();
        for (Pane* p : panes) {
            bool shown = true;
            if (containerDecides(*p, shown)) p->setShownByContainer(shown);
        }
    }
};

void createPane(ObjectHandle c) { createPaneOf<TabPanelPane>(c); }

StringHandle definitionGetter(ObjectHandle c) { return c ? copyString(fields(c).tabDefinition) : nullptr; }
void definitionSetter(ObjectHandle c, StringHandle text) {
    if (c) storeString(fields(c).tabDefinition, text);
}
int32_t facingGetter(ObjectHandle c) { return c ? fields(c).facing : 0; }
void facingSetter(ObjectHandle c, int32_t v) {
    if (c) fields(c).facing = v;
}
bool smallTabsGetter(ObjectHandle c) { return c && fields(c).smallTabs; }
void smallTabsSetter(ObjectHandle c, bool v) {
    if (c) fields(c).smallTabs = v;
}

}  // namespace

void defineTabPanel() {
    ClassRecord* cls = builtinClass("TabPanel");
    cls->finaliser = finaliseTextControl<TabPanelFields, &TabPanelFields::tabDefinition>;
    setCreatePaneHandler(cls, createPane);
    addProperty(cls, "Value", PropertyType::kInteger, tabPanelValueGetter, tabPanelValueSetter);
    addProperty(cls, "TabDefinition", PropertyType::kString, definitionGetter, definitionSetter);
    addProperty(cls, "Facing", PropertyType::kInteger, facingGetter, facingSetter);
    addProperty(cls, "SmallTabs", PropertyType::kBoolean, smallTabsGetter, smallTabsSetter);
}

}  // namespace runtime::controls

using namespace runtime;
using namespace runtime::controls;

int32_t tabPanelValueGetter(ObjectHandle c) {
    auto* pane = paneOf<TabPanelPane>(c);
    return pane ? pane->selected() : 0;
}

void tabPanelValueSetter(ObjectHandle c, int32_t value) {
    if (!c) return;
    fields(c).value = value;
    if (auto* pane = paneOf<TabPanelPane>(c)) pane->select(value);
}
