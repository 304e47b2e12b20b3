#include "viewer_client.h"

#include <cstdint>

#include "../../tools/viewer/viewer_protocol.h"

using namespace viewer_protocol;

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kPollMs = 5;

bool SameClassName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Quoted the way CommandLineToArgvW reads it back.
std::wstring QuoteArgument(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring HandleArgument(HWND hwnd) {
    return HandleText(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(hwnd)));
}

struct WindowSearch {
    DWORD pid;
    std::wstring className;
    std::vector<HWND> found;
};

void ConsiderWindow(HWND hwnd, WindowSearch& search) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search.pid && SameClassName(WindowClass(hwnd), search.className))
        search.found.push_back(hwnd);
}

BOOL CALLBACK ConsiderChild(HWND hwnd, LPARAM lParam) {
    ConsiderWindow(hwnd, *reinterpret_cast<WindowSearch*>(lParam));
    return TRUE;
}

BOOL CALLBACK ConsiderTopLevel(HWND hwnd, LPARAM lParam) {
    ConsiderWindow(hwnd, *reinterpret_cast<WindowSearch*>(lParam));
    // Descends through every level, whichever process the parents belong to.
    EnumChildWindows(hwnd, ConsiderChild, lParam);
    return TRUE;
}

struct BoxSearch {
    DWORD pid;
    HWND box;
};

BOOL CALLBACK ConsiderBox(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<BoxSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search.pid || !IsWindowVisible(hwnd) || WindowClass(hwnd) != L"#32770")
        return TRUE;
    search.box = hwnd;
    return FALSE;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount64() >= deadline)
            return false;
        // Wakes early for messages, so sent ones are answered promptly.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    }
}

HWND FindMessageBoxOf(DWORD pid) {
    BoxSearch search{pid, nullptr};
    EnumWindows(ConsiderBox, reinterpret_cast<LPARAM>(&search));
    return search.box;
}

bool AnswerMessageBox(HWND box, int buttonId) {
    HWND button = GetDlgItem(box, buttonId);
    if (!button)
        return false;
    // WM_COMMAND rather than BM_CLICK: a click may be ignored while the box
    // is not the active window, which it need not be here.
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                               reinterpret_cast<LPARAM>(button), SMTO_NORMAL, kSendTimeoutMs, &result) != 0;
}

std::wstring MessageBoxText(HWND box) {
    // The text of a message box is the static control with id 0xFFFF.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowTitle(text) : std::wstring();
}

bool AnswersSent(HWND window, UINT timeoutMs) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

std::wstring WindowTitle(HWND hwnd) {
    wchar_t title[1024] = L"";
    GetWindowTextW(hwnd, title, 1024);
    return title;
}

std::wstring WindowClass(HWND hwnd) {
    wchar_t name[260] = L"";
    GetClassNameW(hwnd, name, 260);
    return name;
}

ViewerProcess::~ViewerProcess() {
    if (!m_hProcess)
        return;
    if (!Quit(3000)) {
        TerminateProcess(m_hProcess, 1);
        WaitForSingleObject(m_hProcess, 5000);
    }
    CloseHandle(m_hProcess);
}

bool ViewerProcess::Start(const std::wstring& exePath, const std::vector<std::wstring>& args, int timeoutMs) {
    if (m_hProcess)
        return false;
    std::wstring commandLine = QuoteArgument(exePath);
    for (const std::wstring& argument : args)
        commandLine += L" " + QuoteArgument(argument);
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exePath.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    m_hProcess = process.hProcess;
    m_pid = process.dwProcessId;

    const std::wstring title = ControlTitle(m_pid);
    WaitFor([&] {
        m_hControl = FindWindowW(kControlClass, title.c_str());
        return m_hControl != nullptr || !IsRunning();
    }, timeoutMs);
    return m_hControl != nullptr;
}

HWND ViewerProcess::Open(const std::wstring& title, const std::wstring& className) {
    // Always with a bar, so that a title holding one is not taken for a class.
    const LRESULT result = Send(kOpen, className + L"|" + title);
    return reinterpret_cast<HWND>(result);
}

HWND ViewerProcess::OpenHidden(const std::wstring& title) {
    return reinterpret_cast<HWND>(Send(kOpenHidden, L"|" + title));
}

bool ViewerProcess::Show(HWND document) { return SendToDocument(kShow, document); }

HWND ViewerProcess::OpenAndDestroy(const std::wstring& title) {
    return reinterpret_cast<HWND>(Send(kOpenAndDestroy, title));
}

int ViewerProcess::OpenBurst(int count, const std::wstring& prefix) {
    return static_cast<int>(Send(kOpenBurst, std::to_wstring(count) + L"|" + prefix));
}

bool ViewerProcess::SetTitle(HWND document, const std::wstring& title) {
    return Send(kSetTitle, HandleArgument(document) + L"|" + title) == 1;
}

bool ViewerProcess::MarkModified(HWND document) {
    return SendToDocument(kMarkModified, document);
}

bool ViewerProcess::Close(HWND document) {
    return SendToDocument(kClose, document);
}

bool ViewerProcess::Destroy(HWND document) {
    return SendToDocument(kDestroy, document);
}

int ViewerProcess::HowEnded(HWND document) {
    COPYDATASTRUCT data = {};
    const std::wstring argument = HandleArgument(document);
    data.dwData = kHowEnded;
    data.cbData = static_cast<DWORD>(argument.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(argument.c_str());
    DWORD_PTR result = 0;
    if (!m_hControl || !SendMessageTimeoutW(m_hControl, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                            SMTO_NORMAL, kSendTimeoutMs, &result))
        return -1;
    return static_cast<int>(result);
}

long long ViewerProcess::CreatedAt(HWND document) const {
    return static_cast<long long>(Send(kCreatedAt, HandleArgument(document)));
}

long long ViewerProcess::ReadyAt(HWND document) const {
    return static_cast<long long>(Send(kReadyAt, HandleArgument(document)));
}

bool ViewerProcess::Hang(int milliseconds) {
    return Send(kHang, std::to_wstring(milliseconds)) == 1;
}

bool ViewerProcess::Quit(int timeoutMs) {
    if (!m_hProcess)
        return true;
    if (IsRunning())
        Send(kQuit, L"");
    return WaitForExit(timeoutMs);
}

bool ViewerProcess::WaitForExit(int timeoutMs) {
    return !m_hProcess || WaitFor([this] { return !IsRunning(); }, timeoutMs);
}

bool ViewerProcess::IsRunning() const {
    return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> ViewerProcess::Windows(const std::wstring& className) const {
    WindowSearch search{m_pid, className, {}};
    if (m_pid)
        EnumWindows(ConsiderTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT ViewerProcess::Send(unsigned command, const std::wstring& argument) const {
    if (!m_hControl)
        return 0;
    COPYDATASTRUCT data = {};
    data.dwData = command;
    data.cbData = static_cast<DWORD>(argument.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(argument.c_str());
    DWORD_PTR result = 0;
    // SMTO_NORMAL, not SMTO_BLOCK: while waiting, this thread must still
    // answer messages the viewer's work sends to windows of ours.
    if (!SendMessageTimeoutW(m_hControl, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                             m_nSendTimeout, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

bool ViewerProcess::SendToDocument(unsigned command, HWND document) const {
    return Send(command, HandleArgument(document)) == 1;
}
