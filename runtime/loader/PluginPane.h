// The pane of a plug-in control: a "VL_Pane" child window whose painting,
// mouse, focus, keys and idle time go to the routines of the control's
// behaviour table. The plug-in draws and hit-tests in window coordinates (the
// control's bounds), so the pane maps its own client coordinates to those.
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

    // Creates the child window over the control's bounds; false when the
    // system refused (the pane is then deleted by the caller).
    bool create();

    bool acceptsFocus() const override;
    void setVisible(bool visible) override;
    void setEnabled(bool enabled) override;
    void windowActivation(bool active) override;
    bool keyDown(StringHandle key, int32_t modifiers) override;

    // Asks for a repaint of the whole pane, or of a rectangle in window coordinates.
    void invalidate();
    void invalidate(const RECT& windowRect);
    // A Graphics object that draws into the pane outside painting (owned by
    // the caller), bound to a device context the pane keeps until it goes.
    ObjectRef clientGraphics();
    // The colour the pane's background is filled with, instead of the window's.
    void setSpecialBackground(bool has, COLORREF colour);
    // Whether the behaviour table has its thirteenth routine.
    bool hasThirteenth() const { return slot(kBehaviourThirteenth) != nullptr; }

    // Calls the idle routine (slot 11) for the pane's periodic task.
    void idleCall();

    static PluginPane* of(ObjectHandle instance);

private:
    friend LRESULT CALLBACK pluginPaneProcedure(HWND, UINT, WPARAM, LPARAM);

    void* slot(int32_t index) const;
    POINT origin() const;  // the control's top-left corner in window coordinates
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void drawInto(HDC dc);
    void eraseBackground(HDC dc);
    void mouseDown(LPARAM lParam, WPARAM keys);
    void mouseDrag(LPARAM lParam);
    void mouseDragAt(POINT client);
    void pollDrag();
    void endTracking();
    void mouseUp(LPARAM lParam);
    void focusChanged(bool gained);
    // Calls a behaviour routine under the event guard: the instance is
    // locked for the call; false when the pane was destroyed meanwhile (the
    // caller must then not touch the pane).
    template <typename Call>
    bool guarded(Call&& call);

    const PluginControlClass& controlClass_;
    WNDPROC previousProcedure_ = nullptr;
    bool capturing_ = false;
    POINT lastMouse_{};  // client coordinates
    bool hasSpecialBackground_ = false;
    COLORREF specialBackground_ = 0;
    HDC clientDC_ = nullptr;
    ObjectRef clientGraphics_;
    std::unique_ptr<PluginIdleTask> idleTask_;
    // Cleared when the pane is destroyed; guards that are running hold a copy.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The pane hooks of the plug-in host: create, destroy and redraw panes.
void createPluginPane(ObjectHandle instance, const PluginControlClass* controlClass);
void destroyPluginPane(ObjectHandle instance);
void redrawPluginPane(ObjectHandle instance);

}  // namespace runtime::plugins
