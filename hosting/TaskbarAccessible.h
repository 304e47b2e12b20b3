#pragma once
// The window taskbar as screen readers see it: a tab list with one tab per window
// button, in button order (child ids 1 to n), the active document's tab selected.
// Readers in other processes ask on our thread, between our messages: nothing here
// waits on a viewer, and switching to a document is posted like a click.

#include <windows.h>

#include <string>

#include "ui/Accessible.h"

namespace hosting {

// What the object reads from the taskbar; indices count buttons in button order.
class TaskbarTabs {
public:
    virtual int TabCount() = 0;
    virtual std::wstring TabName(int index) = 0;
    virtual RECT TabRect(int index) = 0;  // on the screen
    virtual int SelectedTab() = 0;        // the checked button's, or -1
    virtual int FocusedTab() = 0;         // the keyboard focus's, or -1 while it is elsewhere
    // As a click on the button; returns before the document has come forward.
    virtual void ActivateTab(int index) = 0;
    virtual void FocusTab(int index) = 0;

protected:
    ~TaskbarTabs() = default;
};

class TaskbarAccessible final : public ui::ClientAccessible {
public:
    // A new object, with one reference the caller owns.
    static TaskbarAccessible* Make(HWND control, TaskbarTabs& tabs) { return new TaskbarAccessible(control, tabs); }

    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

private:
    TaskbarAccessible(HWND control, TaskbarTabs& tabs) : ui::ClientAccessible(control), m_tabs(tabs) {}

    // The tab a child id names (0-based), or -1 for the object itself or no such tab.
    int TabOf(const VARIANT& child);
    static HRESULT Nothing(VARIANT* out);

    TaskbarTabs& m_tabs;  // read only while connected
};

}  // namespace hosting
