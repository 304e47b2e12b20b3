#pragma once
// What screen readers and other assistive tools are told about a window of ours.
// ClientAccessible is the client area of one window as an IAccessible written by
// hand: it answers what a subclass says and leaves the rest (the parent, the
// window's own state, navigation out of it) to the system's standard object for
// the window. A reader may hold it after the window is gone: the window's class
// disconnects it then, and every call fails as a call to a vanished server does.

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <string>
#include <utility>

namespace ui {

// Whether WM_GETOBJECT asks for the client area; the id comes as a 32-bit value,
// sign-extended or not.
inline bool AsksForClient(LPARAM objectId) {
    return static_cast<LONG>(static_cast<DWORD>(objectId)) == static_cast<LONG>(OBJID_CLIENT);
}

class ClientAccessible : public IAccessible {
public:
    ClientAccessible(const ClientAccessible&) = delete;
    ClientAccessible& operator=(const ClientAccessible&) = delete;

    // The answer to WM_GETOBJECT for the client area (OBJID_CLIENT).
    LRESULT Answer(WPARAM wParam);
    // The window is going: from now on every call fails.
    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: readers call IAccessible directly, so late binding is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
    // IAccessible: each passes to the standard object unless a subclass says more.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

protected:
    explicit ClientAccessible(HWND hwnd);
    virtual ~ClientAccessible();

    // The window, or null once it has gone.
    HWND Connected() const { return m_hwnd; }
    // The system's object for the client area, or null where there is none.
    IAccessible* Standard();

    // The child a VARIANT names: 0 for the object itself, -1 for anything malformed.
    static long ChildOf(const VARIANT& child);
    // Answers for VARIANT results.
    static HRESULT Int(VARIANT* out, long value);
    static HRESULT Text(BSTR* out, const std::wstring& text);

private:
    LONG m_refs = 1;
    HWND m_hwnd;
    IAccessible* m_standard = nullptr;
    bool m_standardTried = false;
};

// A client area with a name, a description or a role of our own (an empty one, or
// role 0, is the standard object's), the rest standard: for the small windows whose
// text is kept for tools and tests or says too little, and for the controls that
// not every system knows the role of.
class NamedAccessible final : public ClientAccessible {
public:
    // A new object, with one reference the caller owns.
    static NamedAccessible* Make(HWND hwnd, std::wstring name, std::wstring description = L"", long role = 0);

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;

private:
    NamedAccessible(HWND hwnd, std::wstring name, std::wstring description, long role)
        : ClientAccessible(hwnd), m_name(std::move(name)), m_description(std::move(description)), m_role(role) {}

    std::wstring m_name;
    std::wstring m_description;
    long m_role;
};

// One window's accessible object, made at the first question and disconnected when
// the window goes, as every window class of ours that has one keeps it.
template <typename Object>
class AccessibleSlot {
public:
    AccessibleSlot() = default;
    ~AccessibleSlot() { Reset(); }
    AccessibleSlot(const AccessibleSlot&) = delete;
    AccessibleSlot& operator=(const AccessibleSlot&) = delete;

    Object* Get() const { return m_object; }
    // Keeps `made` (one reference, or null).
    void Keep(Object* made) {
        Reset();
        m_object = made;
    }
    void Reset() {
        if (m_object == nullptr) return;
        m_object->Disconnect();
        m_object->Release();
        m_object = nullptr;
    }

private:
    Object* m_object = nullptr;
};

}  // namespace ui
