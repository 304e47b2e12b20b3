#include "viewer_app.h"

#include <algorithm>
#include <cstdint>

#include "viewer_ids.h"

using namespace viewer_protocol;

ViewerApp::ViewerApp(HINSTANCE instance, ViewerOptions options)
    : m_hInstance(instance), m_options(std::move(options)), m_control(*this) {}

ViewerApp::~ViewerApp() {
    // Destroyed here, while this object still answers their last messages.
    m_bQuitting = true;
    const std::vector<DocumentWindow*> remaining = m_documents;
    for (DocumentWindow* document : remaining)
        DestroyWindow(document->Hwnd());
    if (m_hAccel)
        DestroyAcceleratorTable(m_hAccel);
}

bool ViewerApp::Start() {
    ACCEL keys[] = {
        {FCONTROL | FVIRTKEY, 'N', IDM_NEW_DOCUMENT},
        {FCONTROL | FVIRTKEY, 'M', IDM_MARK_MODIFIED},
    };
    m_hAccel = CreateAcceleratorTableW(keys, static_cast<int>(sizeof(keys) / sizeof(keys[0])));
    if (!DocumentWindow::RegisterWindowClass(m_hInstance, m_options.strClassName))
        return false;
    if (m_options.nGenericWindows > 0)
        m_nNextGenericNumber = m_options.nGenericWindows + 1;
    for (const std::wstring& name : StartupDocuments(m_options)) {
        if (!OpenDocument(m_options.strClassName, name))
            return false;
    }
    // Last, so that a test that has found the control window can count on
    // the start-up documents being there.
    return m_control.Create(m_hInstance);
}

int ViewerApp::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Documents have no child windows, so their keys arrive addressed to them.
        if (m_hAccel && FindDocument(msg.hwnd) && TranslateAcceleratorW(msg.hwnd, m_hAccel, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void ViewerApp::NewDocument() {
    OpenDocument(m_options.strClassName, GenericDocumentName(m_nNextGenericNumber++));
}

void ViewerApp::DocumentDestroyed(DocumentWindow* document, HWND hwnd) {
    auto found = std::find(m_documents.begin(), m_documents.end(), document);
    if (found == m_documents.end())
        return;  // died during its own creation
    m_documents.erase(found);
    if (m_ended.size() >= kEndsKept)
        m_ended.pop_front();
    m_ended.emplace_back(hwnd, document->HowEnded());
    if (m_documents.empty() && !m_options.bStay)
        Quit();
}

LRESULT ViewerApp::OnViewerCommand(Command command, const std::wstring& argument) {
    switch (command) {
    case kOpen:
        return OpenFromArgument(argument, !m_options.bHidden);
    case kOpenHidden:
        return OpenFromArgument(argument, false);
    case kShow:
        if (DocumentWindow* document = FindDocument(argument)) {
            ShowWindow(document->Hwnd(), SW_SHOWNORMAL);
            return 1;
        }
        return 0;
    case kOpenAndDestroy: {
        DocumentWindow* document = OpenDocument(m_options.strClassName, argument);
        if (!document)
            return 0;
        HWND hwnd = document->Hwnd();
        DestroyWindow(hwnd);  // frees the document
        return reinterpret_cast<LRESULT>(hwnd);
    }
    case kOpenBurst: {
        const BarArgument parts = SplitAtBar(argument);
        unsigned long count = 0;
        if (!parts.hasBar || !ParseMilliseconds(parts.head, count) || count > 100)
            return 0;
        LRESULT opened = 0;
        for (unsigned long i = 1; i <= count; ++i) {
            if (OpenDocument(m_options.strClassName, parts.rest + L" " + std::to_wstring(i)))
                ++opened;
        }
        return opened;
    }
    case kSetTitle: {
        const BarArgument parts = SplitAtBar(argument);
        DocumentWindow* document = parts.hasBar ? FindDocument(parts.head) : nullptr;
        if (!document)
            return 0;
        document->SetName(parts.rest);
        return 1;
    }
    case kMarkModified:
        if (DocumentWindow* document = FindDocument(argument)) {
            document->MarkModified();
            return 1;
        }
        return 0;
    case kClose:
        if (DocumentWindow* document = FindDocument(argument))
            return PostMessageW(document->Hwnd(), WM_CLOSE, 0, 0) ? 1 : 0;
        return 0;
    case kDestroy:
        if (DocumentWindow* document = FindDocument(argument)) {
            document->Destroy();
            return 1;
        }
        return 0;
    case kHowEnded: {
        std::uint64_t handle = 0;
        if (!ParseHandle(argument, handle))
            return kStillOpen;
        // The latest end of a handle counts: handles may be used again.
        const auto latest = std::find_if(m_ended.rbegin(), m_ended.rend(), [&](const auto& ended) {
            return reinterpret_cast<std::uintptr_t>(ended.first) == handle;
        });
        return latest == m_ended.rend() ? kStillOpen : latest->second;
    }
    case kCreatedAt:
        if (DocumentWindow* document = FindDocument(argument))
            return static_cast<LRESULT>(document->CreatedAt());
        return 0;
    case kReadyAt:
        if (DocumentWindow* document = FindDocument(argument))
            return static_cast<LRESULT>(document->ReadyAt());
        return 0;
    case kQuit:
        Quit();
        return 1;
    case kHang: {
        unsigned long milliseconds = 0;
        return ParseMilliseconds(argument, milliseconds) && m_control.PostHang(milliseconds) ? 1 : 0;
    }
    }
    return 0;
}

LRESULT ViewerApp::OpenFromArgument(const std::wstring& argument, bool show) {
    const BarArgument parts = SplitAtBar(argument);
    std::wstring className = parts.head.empty() ? m_options.strClassName : parts.head;
    if (!DocumentWindow::RegisterWindowClass(m_hInstance, className))
        return 0;
    DocumentWindow* document = OpenDocument(className, parts.rest, show);
    return document ? reinterpret_cast<LRESULT>(document->Hwnd()) : 0;
}

DocumentWindow* ViewerApp::OpenDocument(const std::wstring& className, const std::wstring& name) {
    return OpenDocument(className, name, !m_options.bHidden);
}

DocumentWindow* ViewerApp::OpenDocument(const std::wstring& className, const std::wstring& name, bool show) {
    DocumentWindow* document = DocumentWindow::Create(*this, m_hInstance, className, name, show);
    if (document)
        m_documents.push_back(document);
    return document;
}

DocumentWindow* ViewerApp::FindDocument(HWND hwnd) const {
    if (!hwnd)
        return nullptr;
    for (DocumentWindow* document : m_documents) {
        if (document->Hwnd() == hwnd)
            return document;
    }
    return nullptr;
}

DocumentWindow* ViewerApp::FindDocument(const std::wstring& handleText) const {
    std::uint64_t handle = 0;
    if (!ParseHandle(handleText, handle))
        return nullptr;
    return FindDocument(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(handle)));
}

void ViewerApp::Quit() {
    if (m_bQuitting)
        return;
    m_bQuitting = true;
    PostQuitMessage(0);
}
