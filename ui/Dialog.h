#pragma once
// A modal dialog from a resource template. The system's dialog manager runs the
// modal loop (timers keep firing meanwhile); this class unpacks its messages into
// OnInitDialog, OnCommand, OnTimer, OnOK and OnCancel.

#include <windows.h>

#include <string>

namespace ui {

class Dialog {
public:
    explicit Dialog(UINT templateId) : m_templateId(templateId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog owned by `owner` and returns what EndDialog was given
    // (IDOK, IDCANCEL...), or -1 when it could not be created.
    INT_PTR DoModal(HWND owner);

    HWND Hwnd() const { return m_hWnd; }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    std::wstring ItemText(int id) const;

protected:
    // True lets the system give the focus to the first control.
    virtual bool OnInitDialog() { return true; }
    // A command from a control or a key; false when not handled. OK and Cancel
    // reach OnOK and OnCancel unless handled here.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // A timer the dialog set on itself.
    virtual void OnTimer(UINT_PTR id) { (void)id; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

private:
    static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    HWND m_hWnd = nullptr;
};

}  // namespace ui
