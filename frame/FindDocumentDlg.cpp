#include "frame/FindDocumentDlg.h"

#include <algorithm>
#include <cstdint>

#include "core/FindDocument.h"
#include "frame/FrameManager.h"
#include "frame/MainFrame.h"
#include "hosting/WindowCtrl.h"
#include "resource.h"

namespace {
const UINT_PTR kRefreshTimerId = 1;
// Documents that close or come while the box is open show in the list this late at
// the most. Reading the buttons asks no other program, so it costs next to nothing.
const UINT kRefreshElapse = 500;

// The box open now. A second one, from the shortcut again or from another frame,
// would run its modal loop inside the first one's.
CFindDocumentDlg* s_open = nullptr;
}  // namespace

// The edit box ------------------------------------------------------------------------

bool CFindEdit::Take(HWND edit, HWND list) {
    m_hList = list;
    return Subclass(edit);
}

LRESULT CFindEdit::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && m_hList != nullptr &&
        (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT)) {
        // The list moves its selection as if it had the focus, and tells the dialog.
        ::SendMessageW(m_hList, WM_KEYDOWN, wParam, lParam);
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

// The dialog ----------------------------------------------------------------------------

CFindDocumentDlg::CFindDocumentDlg(frame::FrameManager& frames) : ui::Dialog(IDD_FIND_DOCUMENT), m_frames(frames) {}

CFindDocumentDlg::~CFindDocumentDlg() {
    if (s_open == this) s_open = nullptr;
}

HWND CFindDocumentDlg::Open() { return s_open != nullptr ? s_open->Hwnd() : nullptr; }

CMainFrame* CFindDocumentDlg::HostOf(frame::FrameManager& frames, HWND frameWindow, HWND window) {
    CMainFrame* host = nullptr;
    frames.ForEachFrame([&](CMainFrame& frame) {
        if (frame.Hwnd() != frameWindow) return;
        const auto& records = frame.WindowCtrl().Windows();
        for (const vantrel::HostedWindowRecord& record : records) {
            if (reinterpret_cast<HWND>(record.hWnd) == window && !record.bMoved && !record.bHanding) host = &frame;
        }
    });
    return host;
}

bool CFindDocumentDlg::OnInitDialog() {
    s_open = this;
    m_edit.Take(Item(IDC_FIND_TEXT), Item(IDC_FIND_LIST));  // without it the arrows stay the edit's
    // Without the timer the list keeps what it showed at the last key.
    ::SetTimer(Hwnd(), kRefreshTimerId, kRefreshElapse, nullptr);
    Refresh(true);
    return true;  // the focus to the edit box, the first control
}

bool CFindDocumentDlg::OnCommand(UINT id, UINT code, HWND) {
    if (id == IDC_FIND_TEXT && code == EN_CHANGE) {
        Refresh(true);
        return true;
    }
    if (id == IDC_FIND_LIST && code == LBN_SELCHANGE) {
        OnSelectionChanged();
        return true;
    }
    if (id == IDC_FIND_LIST && code == LBN_DBLCLK) {
        OnOK();
        return true;
    }
    return false;
}

void CFindDocumentDlg::OnTimer(UINT_PTR id) {
    if (id == kRefreshTimerId) Refresh(false);
}

// Enter, Go or a double click. A document that went or moved meanwhile leaves the
// list, and nothing else happens.
void CFindDocumentDlg::OnOK() {
    const std::optional<size_t> line = SelectedLine();
    if (!line) return;
    const Document chosen = m_shown[*line];
    if (HostOf(m_frames, chosen.frame, chosen.window) == nullptr) {
        Refresh(false);
        return;
    }
    m_hChosenWindow = chosen.window;
    m_hChosenFrame = chosen.frame;
    ui::Dialog::OnOK();
}

std::optional<size_t> CFindDocumentDlg::SelectedLine() const {
    const LRESULT selected = ::SendMessageW(Item(IDC_FIND_LIST), LB_GETCURSEL, 0, 0);
    if (selected < 0 || static_cast<size_t>(selected) >= m_shown.size()) return std::nullopt;
    return static_cast<size_t>(selected);
}

void CFindDocumentDlg::OnSelectionChanged() {
    const std::optional<size_t> line = SelectedLine();
    if (line) m_hSelected = m_shown[*line].window;
    ::EnableWindow(Item(IDOK), line ? TRUE : FALSE);
}

void CFindDocumentDlg::Refresh(bool typed) {
    std::vector<vantrel::FindCandidate> candidates;
    std::vector<Document> documents;  // by candidate
    m_frames.ForEachFrame([&](CMainFrame& frame) {
        const std::optional<unsigned> number = m_frames.NumberOf(frame);
        if (!number) return;
        const std::wstring name = vantrel::FindFrameName(*number, frame.Text());
        const hosting::CWindowCtrl& control = frame.WindowCtrl();
        const auto& records = control.Windows();
        for (size_t i = 0; i < records.size(); ++i) {
            if (records[i].bMoved || records[i].bHanding) continue;  // its new frame lists it
            candidates.push_back({control.ButtonCaption(records[i]), name, *number, static_cast<unsigned>(i)});
            documents.push_back({reinterpret_cast<HWND>(records[i].hWnd), frame.Hwnd()});
        }
    });
    const std::vector<vantrel::FoundDocument> found = vantrel::FindDocuments(candidates, ItemText(IDC_FIND_TEXT));

    std::vector<std::uintptr_t> windowOf;
    windowOf.reserve(documents.size());
    for (const Document& d : documents) windowOf.push_back(reinterpret_cast<std::uintptr_t>(d.window));
    if (typed) m_hSelected = nullptr;
    const std::optional<size_t> keep =
        vantrel::KeptSelection(found, windowOf, reinterpret_cast<std::uintptr_t>(m_hSelected));

    std::vector<Document> shown;
    std::vector<std::wstring> lines;
    for (const vantrel::FoundDocument& f : found) {
        shown.push_back(documents[f.candidate]);
        lines.push_back(f.line);
    }
    const bool same = lines == m_lines && shown.size() == m_shown.size() &&
                      std::equal(shown.begin(), shown.end(), m_shown.begin(), [](const Document& a, const Document& b) {
                          return a.window == b.window && a.frame == b.frame;
                      });
    // A list filled anew would scroll back and flicker at every tick.
    if (same && !typed) return;

    HWND list = Item(IDC_FIND_LIST);
    if (!same) {
        ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        ::SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const std::wstring& line : lines)
            ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(list, nullptr, TRUE);
        m_shown = std::move(shown);
        m_lines = std::move(lines);
    }
    ::SendMessageW(list, LB_SETCURSEL, keep ? static_cast<WPARAM>(*keep) : static_cast<WPARAM>(-1), 0);
    if (keep) m_hSelected = m_shown[*keep].window;
    ::EnableWindow(Item(IDOK), keep ? TRUE : FALSE);
}
