#include "ui/Accessible.h"

namespace ui {
namespace {
// A call on the standard object when there is one, and while the window lives.
template <typename Call>
HRESULT Pass(HWND connected, IAccessible* standard, Call call) {
    if (connected == nullptr) return RPC_E_DISCONNECTED;
    return standard != nullptr ? call(*standard) : E_NOTIMPL;
}
}  // namespace

ClientAccessible::ClientAccessible(HWND hwnd) : m_hwnd(hwnd) {}

ClientAccessible::~ClientAccessible() {
    if (m_standard != nullptr) m_standard->Release();
}

LRESULT ClientAccessible::Answer(WPARAM wParam) {
    // Readers in other processes reach the object through COM, on the thread of our
    // windows, whose message loop serves their calls; joined once, and never left
    // before the process ends. Another model joined before still serves them.
    static const HRESULT joined = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)joined;
    // The system keeps a reference of its own for the reader.
    return m_hwnd != nullptr ? ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this)) : 0;
}

void ClientAccessible::Disconnect() {
    m_hwnd = nullptr;
    if (m_standard != nullptr) m_standard->Release();
    m_standard = nullptr;
}

IAccessible* ClientAccessible::Standard() {
    if (m_hwnd == nullptr) return nullptr;
    if (!m_standardTried) {
        m_standardTried = true;
        void* made = nullptr;
        // Without it the object still answers for itself; the rest says E_NOTIMPL.
        if (SUCCEEDED(::CreateStdAccessibleObject(m_hwnd, OBJID_CLIENT, __uuidof(IAccessible), &made)))
            m_standard = static_cast<IAccessible*>(made);
    }
    return m_standard;
}

long ClientAccessible::ChildOf(const VARIANT& child) {
    if (child.vt == VT_I4) return child.lVal >= 0 ? child.lVal : -1;
    if (child.vt == VT_INT) return child.intVal >= 0 ? child.intVal : -1;
    return -1;
}

HRESULT ClientAccessible::Int(VARIANT* out, long value) {
    if (out == nullptr) return E_POINTER;
    out->vt = VT_I4;
    out->lVal = value;
    return S_OK;
}

HRESULT ClientAccessible::Text(BSTR* out, const std::wstring& text) {
    if (out == nullptr) return E_POINTER;
    *out = ::SysAllocStringLen(text.c_str(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT ClientAccessible::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ClientAccessible::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG ClientAccessible::Release() {
    const LONG left = ::InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT ClientAccessible::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT ClientAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT ClientAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT ClientAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT ClientAccessible::get_accParent(IDispatch** parent) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accParent(parent); });
}

HRESULT ClientAccessible::get_accChildCount(long* count) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accChildCount(count); });
}

HRESULT ClientAccessible::get_accChild(VARIANT child, IDispatch** object) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accChild(child, object); });
}

HRESULT ClientAccessible::get_accName(VARIANT child, BSTR* name) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accName(child, name); });
}

HRESULT ClientAccessible::get_accValue(VARIANT child, BSTR* value) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accValue(child, value); });
}

HRESULT ClientAccessible::get_accDescription(VARIANT child, BSTR* description) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accDescription(child, description); });
}

HRESULT ClientAccessible::get_accRole(VARIANT child, VARIANT* role) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accRole(child, role); });
}

HRESULT ClientAccessible::get_accState(VARIANT child, VARIANT* state) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accState(child, state); });
}

HRESULT ClientAccessible::get_accHelp(VARIANT child, BSTR* help) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accHelp(child, help); });
}

HRESULT ClientAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accHelpTopic(file, child, topic); });
}

HRESULT ClientAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accKeyboardShortcut(child, shortcut); });
}

HRESULT ClientAccessible::get_accFocus(VARIANT* child) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accFocus(child); });
}

HRESULT ClientAccessible::get_accSelection(VARIANT* children) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accSelection(children); });
}

HRESULT ClientAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.get_accDefaultAction(child, action); });
}

HRESULT ClientAccessible::accSelect(long flags, VARIANT child) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.accSelect(flags, child); });
}

HRESULT ClientAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.accLocation(left, top, width, height, child); });
}

HRESULT ClientAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.accNavigate(direction, start, end); });
}

HRESULT ClientAccessible::accHitTest(long left, long top, VARIANT* child) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.accHitTest(left, top, child); });
}

HRESULT ClientAccessible::accDoDefaultAction(VARIANT child) {
    return Pass(m_hwnd, Standard(), [&](IAccessible& s) { return s.accDoDefaultAction(child); });
}

HRESULT ClientAccessible::put_accName(VARIANT, BSTR) { return m_hwnd != nullptr ? E_NOTIMPL : RPC_E_DISCONNECTED; }

HRESULT ClientAccessible::put_accValue(VARIANT, BSTR) { return m_hwnd != nullptr ? E_NOTIMPL : RPC_E_DISCONNECTED; }

NamedAccessible* NamedAccessible::Make(HWND hwnd, std::wstring name, std::wstring description, long role) {
    return new NamedAccessible(hwnd, std::move(name), std::move(description), role);
}

HRESULT NamedAccessible::get_accName(VARIANT child, BSTR* name) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) != CHILDID_SELF || m_name.empty()) return ClientAccessible::get_accName(child, name);
    return Text(name, m_name);
}

HRESULT NamedAccessible::get_accDescription(VARIANT child, BSTR* description) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) != CHILDID_SELF || m_description.empty())
        return ClientAccessible::get_accDescription(child, description);
    return Text(description, m_description);
}

HRESULT NamedAccessible::get_accRole(VARIANT child, VARIANT* role) {
    if (Connected() == nullptr) return RPC_E_DISCONNECTED;
    if (ChildOf(child) != CHILDID_SELF || m_role == 0) return ClientAccessible::get_accRole(child, role);
    return Int(role, m_role);
}

}  // namespace ui
