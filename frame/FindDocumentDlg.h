#pragma once
// The find box: every document hosted in any frame, hidden frames included, listed
// as "title — frame name" and filtered at each key. Modal, owned by the frame it was
// asked from. It changes nothing itself: once it has ended with Go, that frame shows
// the chosen document, so that the activation comes after the box has gone (the
// system gives the activation back to the owner as the box goes).

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/Dialog.h"
#include "ui/Window.h"

class CMainFrame;

namespace frame {
class FrameManager;
}

// The filter's edit box. Up, Down, Page Up and Page Down move the list's selection,
// so that the typing never has to leave the box.
class CFindEdit final : public ui::Window {
public:
    bool Take(HWND edit, HWND list);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_hList = nullptr;
};

class CFindDocumentDlg final : public ui::Dialog {
public:
    explicit CFindDocumentDlg(frame::FrameManager& frames);
    ~CFindDocumentDlg() override;

    // The box open now, in any frame, or null: there is one at a time.
    static HWND Open();
    // The frame whose window is `frameWindow` while it hosts `window` as its own
    // (not on its way to another frame), or null.
    static CMainFrame* HostOf(frame::FrameManager& frames, HWND frameWindow, HWND window);

    // Once the box has ended with Go: the chosen document and the frame that hosted
    // it at that moment.
    HWND m_hChosenWindow = nullptr;
    HWND m_hChosenFrame = nullptr;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnTimer(UINT_PTR id) override;
    void OnOK() override;

private:
    struct Document {
        HWND window;
        HWND frame;
    };

    // Lists the documents hosted now that the text typed finds. After a key the
    // best match is selected; otherwise the document selected stays so, wherever
    // its line went, and one that went is selected no more.
    void Refresh(bool typed);
    std::optional<size_t> SelectedLine() const;
    void OnSelectionChanged();

    frame::FrameManager& m_frames;
    CFindEdit m_edit;
    std::vector<Document> m_shown;  // by line of the list
    std::vector<std::wstring> m_lines;
    HWND m_hSelected = nullptr;  // the document the user has, or had, selected
};
