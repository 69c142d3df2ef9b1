// The pane of a plug-in control: a "VL_Pane" window whose painting, mouse,
// focus, keys and idle time go to the routines of the control's behaviour
// table. The plug-in draws and hit-tests in window coordinates (the control's
// bounds), so the pane hands it a drawing context whose origin is the
// control's top-left corner in the window.
#pragma once

#include <windows.h>

#include <memory>

#include "loader/PluginHost.h"
#include "objects/ObjectRef.h"
#include "ui/Pane.h"

namespace runtime::plugins {

class PluginIdleTask;

class PluginPane final : public Pane {
public:
    PluginPane(ObjectHandle instance, NativeWindow* window, const PluginControlClass& controlClass);
    ~PluginPane() override;

    // Creates the pane's window over the control's bounds; false when the
    // system refused (the pane is then deleted by the caller).
    bool create();

    bool takesFocus() const override;
    void focusGained() override;
    void focusLost() override;
    void setVisible(bool visible) override;
    void setEnabled(bool enabled) override;
    void windowActivation(bool active) override;
    bool keyDown(StringHandle key, int32_t modifiers) override;
    void paintPane(HDC dc) override;
    bool mouseDownAt(POINT point, int32_t modifiers) override;
    void mouseDragAt(POINT point) override;
    void mouseUpAt(POINT point) override;

    // Asks for a repaint of the whole pane, or of a rectangle in window coordinates.
    using Pane::invalidate;
    void invalidateWindowRect(const RECT& windowRect);
    // A Graphics object that draws into the pane outside painting (owned by
    // the caller), bound to a device context the pane keeps until it goes.
    ObjectRef clientGraphics();
    // The colour the pane's background is filled with, instead of the one behind it.
    void setSpecialBackground(bool has, COLORREF colour);
    // Whether the behaviour table has its thirteenth routine.
    bool hasThirteenth() const { return slot(kBehaviourThirteenth) != nullptr; }

    // Calls the idle routine (slot 11) for the pane's periodic task.
    void idleCall();

    static PluginPane* of(ObjectHandle instance);

private:
    friend LRESULT CALLBACK pluginPaneProcedure(HWND, UINT, WPARAM, LPARAM);

    void* slot(int32_t index) const;
    POINT origin() const { return POINT{bounds().left, bounds().top}; }
    // The messages the pane base leaves to the plug-in's pane; the rest go to
    // the base's procedure.
    bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void drawInto(HDC dc);
    void pollDrag();
    bool tracking() const { return capturePane() == this; }
    // Calls a behaviour routine under the event guard: the instance is
    // locked for the call; false when the pane was destroyed meanwhile (the
    // caller must then not touch the pane).
    template <typename Call>
    bool callBehaviour(Call&& call);

    const PluginControlClass& controlClass_;
    WNDPROC baseProcedure_ = nullptr;
    POINT lastMouse_{};  // window coordinates, from the last mouse message
    bool hasSpecialBackground_ = false;
    COLORREF specialBackground_ = 0;
    HDC clientDC_ = nullptr;
    ObjectRef clientGraphics_;
    std::unique_ptr<PluginIdleTask> idleTask_;
    // Cleared when the pane is destroyed; calls that are running hold a copy.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The pane hooks of the plug-in host: create, destroy and redraw panes.
void createPluginPane(ObjectHandle instance, const PluginControlClass* controlClass);
void destroyPluginPane(ObjectHandle instance);
void redrawPluginPane(ObjectHandle instance);

}  // namespace runtime::plugins
