// The sample viewer's application: its documents, its control channel and
// the rule for when the process ends.
//
// The process ends when the control channel says "quit", or when its last
// document window is gone, unless --stay was given. A viewer started with no
// document ("--windows 0") keeps running until it has had one and lost it
// again, or until "quit". With --stay only "quit" ends it.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "control_window.h"
#include "document_window.h"
#include "viewer_options.h"

class ViewerApp final : private DocumentHost, private CommandHandler {
public:
    ViewerApp(HINSTANCE instance, ViewerOptions options);
    ~ViewerApp();
    ViewerApp(const ViewerApp&) = delete;
    ViewerApp& operator=(const ViewerApp&) = delete;

    // Creates the start-up documents, then the control window.
    bool Start();
    // Runs the message loop; returns the exit code.
    int Run();

private:
    void NewDocument() override;
    void DocumentDestroyed(DocumentWindow* document, HWND hwnd) override;
    LRESULT OnViewerCommand(viewer_protocol::Command command, const std::wstring& argument) override;

    DocumentWindow* OpenDocument(const std::wstring& className, const std::wstring& name);
    DocumentWindow* OpenDocument(const std::wstring& className, const std::wstring& name, bool show);
    // kOpen and kOpenHidden: "title" or "class|title".
    LRESULT OpenFromArgument(const std::wstring& argument, bool show);
    DocumentWindow* FindDocument(HWND hwnd) const;
    DocumentWindow* FindDocument(const std::wstring& handleText) const;
    void Quit();

    HINSTANCE m_hInstance;
    ViewerOptions m_options;
    ControlWindow m_control;
    HACCEL m_hAccel = nullptr;
    std::vector<DocumentWindow*> m_documents;  // not owned: each frees itself
    // How the documents that went came to their end, oldest first.
    static constexpr std::size_t kEndsKept = 10000;
    std::deque<std::pair<HWND, viewer_protocol::DocumentEnd>> m_ended;
    int m_nNextGenericNumber = 1;
    bool m_bQuitting = false;
};
