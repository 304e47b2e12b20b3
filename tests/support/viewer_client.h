// Drives the sample viewer (tools/viewer) from a test, in another process,
// through its control channel.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Calls `condition` every few milliseconds until it holds or `timeoutMs`
// passes; returns its last result. Meanwhile this thread's messages are
// pumped, so that its windows keep answering messages sent to them (for
// instance by a viewer window re-parented into one of them).
bool WaitFor(const std::function<bool()>& condition, int timeoutMs);

// A visible dialog-class ("#32770") top-level window of process `pid`, such
// as a message box; null when there is none.
HWND FindMessageBoxOf(DWORD pid);
// Presses the button `buttonId` (IDYES, IDNO, IDCANCEL...) of a message box.
// False when the box has no such button or does not answer.
bool AnswerMessageBox(HWND box, int buttonId);
// The question shown in a message box.
std::wstring MessageBoxText(HWND box);

std::wstring WindowTitle(HWND hwnd);
// Whether the window's thread answers a sent message within `timeoutMs`.
bool AnswersSent(HWND window, UINT timeoutMs);
std::wstring WindowClass(HWND hwnd);

class ViewerProcess {
public:
    ViewerProcess() = default;
    // Asks the viewer to quit, and terminates it if it has not ended in a few seconds.
    ~ViewerProcess();
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    // Starts the viewer with `args` (each quoted as needed) and waits for its
    // control window, which the viewer creates after its start-up documents.
    // False if it could not start, exited, or never showed the control window.
    bool Start(const std::wstring& exePath, const std::vector<std::wstring>& args = {},
               int timeoutMs = 10000);

    // Opens a document titled `title`, with the viewer's current class or
    // `className`. Null on failure.
    HWND Open(const std::wstring& title, const std::wstring& className = L"");
    // The same, but the window stays hidden until Show.
    HWND OpenHidden(const std::wstring& title);
    bool Show(HWND document);
    // Creates a document and destroys it before returning; the handle it had.
    HWND OpenAndDestroy(const std::wstring& title);
    // Opens `count` documents in one go, titled "prefix 1"...; how many opened.
    int OpenBurst(int count, const std::wstring& prefix);
    bool SetTitle(HWND document, const std::wstring& title);
    bool MarkModified(HWND document);
    // Asks the document to close and returns at once; a modified one asks first.
    bool Close(HWND document);
    // Destroys the document without asking.
    bool Destroy(HWND document);
    // How a document that is gone came to its end: a viewer_protocol::DocumentEnd,
    // or -1 when the viewer does not answer.
    int HowEnded(HWND document);
    // The QueryPerformanceCounter reading right before the document's CreateWindowEx,
    // or 0.
    long long CreatedAt(HWND document) const;
    // The reading once the viewer had made and shown it, or 0.
    long long ReadyAt(HWND document) const;
    // Makes the viewer stop answering messages for `milliseconds` (its only
    // thread sleeps), starting right after this call returns.
    bool Hang(int milliseconds);
    // Asks the viewer to quit and waits for the process to end.
    bool Quit(int timeoutMs = 5000);

    // How long a command may take before it counts as failed (5 s unless set);
    // HowEnded always waits the 5 s.
    void SetSendTimeout(unsigned milliseconds) { m_nSendTimeout = milliseconds; }

    bool WaitForExit(int timeoutMs);
    bool IsRunning() const;
    DWORD Pid() const { return m_pid; }
    HANDLE Process() const { return m_hProcess; }

    // All windows of the viewer of class `className` (compared without regard
    // to letter case), top-level or re-parented into any other window.
    std::vector<HWND> Windows(const std::wstring& className = L"AcrobatSDIWindow") const;

private:
    LRESULT Send(unsigned command, const std::wstring& argument) const;
    bool SendToDocument(unsigned command, HWND document) const;

    HANDLE m_hProcess = nullptr;
    DWORD m_pid = 0;
    HWND m_hControl = nullptr;
    unsigned m_nSendTimeout = 5000;
};
