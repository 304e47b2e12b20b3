#include "hosting/TaskbarAccessible.h"

namespace hosting {
namespace {
const wchar_t kTaskbarName[] = L"Windows taskbar";
const wchar_t kSwitchAction[] = L"Switch";

// Answers that say "none" for something a tab does not have.
HRESULT NoText(BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return S_FALSE;
}
}  // namespace

HRESULT TaskbarAccessible::Nothing(VARIANT* out) {
    if (out == nullptr) return E_POINTER;
    out->vt = VT_EMPTY;
    return S_FALSE;
}

int TaskbarAccessible::TabOf(const VARIANT& child) {
    const long id = ChildOf(child);
    return id >= 1 && id <= m_tabs.TabCount() ? static_cast<int>(id - 1) : -1;
}

HRESULT TaskbarAccessible::get_accChildCount(long* count) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (count == nullptr) return E_POINTER;
    *count = m_tabs.TabCount();
    return S_OK;
}

// Tabs are simple elements: the tab list answers for them.
HRESULT TaskbarAccessible::get_accChild(VARIANT child, IDispatch** object) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return TabOf(child) >= 0 ? S_FALSE : E_INVALIDARG;
}

HRESULT TaskbarAccessible::get_accName(VARIANT child, BSTR* name) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) return Text(name, kTaskbarName);
    const int tab = TabOf(child);
    return tab >= 0 ? Text(name, m_tabs.TabName(tab)) : E_INVALIDARG;
}

HRESULT TaskbarAccessible::get_accValue(VARIANT child, BSTR* value) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) return ClientAccessible::get_accValue(child, value);
    return TabOf(child) >= 0 ? NoText(value) : E_INVALIDARG;
}

HRESULT TaskbarAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) return ClientAccessible::get_accDescription(child, description);
    return TabOf(child) >= 0 ? NoText(description) : E_INVALIDARG;
}

HRESULT TaskbarAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) return Int(role, ROLE_SYSTEM_PAGETABLIST);
    return TabOf(child) >= 0 ? Int(role, ROLE_SYSTEM_PAGETAB) : E_INVALIDARG;
}

HRESULT TaskbarAccessible::get_accState(VARIANT child, VARIANT* state) {
    const HWND control = Connected();
    if (control == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) {
        // The list itself holds the focus only while no tab does (it has none to give).
        long bits = STATE_SYSTEM_FOCUSABLE;
        if (!::IsWindowVisible(control)) bits |= STATE_SYSTEM_INVISIBLE;
        if (::GetFocus() == control && m_tabs.FocusedTab() < 0) bits |= STATE_SYSTEM_FOCUSED;
        return Int(state, bits);
    }
    const int tab = TabOf(child);
    if (tab < 0) return E_INVALIDARG;
    long bits = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (tab == m_tabs.SelectedTab()) bits |= STATE_SYSTEM_SELECTED;
    if (tab == m_tabs.FocusedTab()) bits |= STATE_SYSTEM_FOCUSED;
    return Int(state, bits);
}

HRESULT TaskbarAccessible::get_accHelp(VARIANT child, BSTR* help) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) return ClientAccessible::get_accHelp(child, help);
    return TabOf(child) >= 0 ? NoText(help) : E_INVALIDARG;
}

HRESULT TaskbarAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) return ClientAccessible::get_accKeyboardShortcut(child, shortcut);
    return TabOf(child) >= 0 ? NoText(shortcut) : E_INVALIDARG;
}

HRESULT TaskbarAccessible::get_accFocus(VARIANT* child) {
    const HWND control = Connected();
    if (control == nullptr) return RPC_E_DISCONNECTED;
    if (child == nullptr) return E_POINTER;
    const int tab = m_tabs.FocusedTab();
    if (tab >= 0) return Int(child, tab + 1);
    return ::GetFocus() == control ? Int(child, CHILDID_SELF) : Nothing(child);
}

HRESULT TaskbarAccessible::get_accSelection(VARIANT* children) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (children == nullptr) return E_POINTER;
    const int tab = m_tabs.SelectedTab();
    return tab >= 0 ? Int(children, tab + 1) : Nothing(children);
}

HRESULT TaskbarAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) == CHILDID_SELF) return NoText(action);
    return TabOf(child) >= 0 ? Text(action, kSwitchAction) : E_INVALIDARG;
}

// One document is active at a time: a tab can take the selection, not add to it.
HRESULT TaskbarAccessible::accSelect(long flags, VARIANT child) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    const int tab = TabOf(child);
    if (tab < 0) return ChildOf(child) == CHILDID_SELF ? ClientAccessible::accSelect(flags, child) : E_INVALIDARG;
    if ((flags & (SELFLAG_ADDSELECTION | SELFLAG_REMOVESELECTION | SELFLAG_EXTENDSELECTION)) != 0) return E_INVALIDARG;
    if ((flags & SELFLAG_TAKEFOCUS) != 0) m_tabs.FocusTab(tab);
    if ((flags & SELFLAG_TAKESELECTION) != 0) m_tabs.ActivateTab(tab);
    return S_OK;
}

HRESULT TaskbarAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    const HWND control = Connected();
    if (control == nullptr) return RPC_E_DISCONNECTED;
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    RECT rc{};
    if (ChildOf(child) == CHILDID_SELF) {
        ::GetClientRect(control, &rc);
        ::MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    } else {
        const int tab = TabOf(child);
        if (tab < 0) return E_INVALIDARG;
        rc = m_tabs.TabRect(tab);
    }
    *left = rc.left;
    *top = rc.top;
    *width = rc.right - rc.left;
    *height = rc.bottom - rc.top;
    return S_OK;
}

// Tabs follow one another in button order; the rows a narrow taskbar wraps them in
// are left to hit testing, as a reader going up or down means the list's neighbours.
HRESULT TaskbarAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (end == nullptr) return E_POINTER;
    const int count = m_tabs.TabCount();
    if (ChildOf(start) == CHILDID_SELF) {
        if (direction == NAVDIR_FIRSTCHILD) return count > 0 ? Int(end, 1) : Nothing(end);
        if (direction == NAVDIR_LASTCHILD) return count > 0 ? Int(end, count) : Nothing(end);
        return ClientAccessible::accNavigate(direction, start, end);
    }
    const int tab = TabOf(start);
    if (tab < 0) return E_INVALIDARG;
    switch (direction) {
    case NAVDIR_NEXT:
    case NAVDIR_RIGHT: return tab + 1 < count ? Int(end, tab + 2) : Nothing(end);
    case NAVDIR_PREVIOUS:
    case NAVDIR_LEFT: return tab > 0 ? Int(end, tab) : Nothing(end);
    case NAVDIR_UP:
    case NAVDIR_DOWN: return Nothing(end);
    default: return E_INVALIDARG;  // first and last child: a tab has no children
    }
}

HRESULT TaskbarAccessible::accHitTest(long left, long top, VARIANT* child) {
    const HWND control = Connected();
    if (control == nullptr) return RPC_E_DISCONNECTED;
    if (child == nullptr) return E_POINTER;
    const POINT at{left, top};
    for (int tab = 0, count = m_tabs.TabCount(); tab < count; ++tab) {
        const RECT rc = m_tabs.TabRect(tab);
        if (::PtInRect(&rc, at)) return Int(child, tab + 1);
    }
    RECT rc{};
    ::GetClientRect(control, &rc);
    ::MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return ::PtInRect(&rc, at) ? Int(child, CHILDID_SELF) : Nothing(child);
}

HRESULT TaskbarAccessible::accDoDefaultAction(VARIANT child) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    const int tab = TabOf(child);
    if (tab < 0) return ChildOf(child) == CHILDID_SELF ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    m_tabs.ActivateTab(tab);
    return S_OK;
}

}  // namespace hosting
