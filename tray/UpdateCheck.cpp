#include "tray/UpdateCheck.h"

#include <wininet.h>

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "tray/TrayMessages.h"
#include "core/Log.h"
#include "core/UpdateDecision.h"
#include "core/Version.h"
#include "resource.h"
#include "tray/StartWithWindows.h"
#include "tray/WebServer.h"
#include "ui/Activation.h"
#include "ui/Window.h"

namespace tray {
namespace {
// A server that accepts and never answers ends the check after the receive
// timeout; one that is not there after the connect timeout.
constexpr DWORD kConnectTimeoutMs = 5000;
constexpr DWORD kSendTimeoutMs = 5000;
constexpr DWORD kReceiveTimeoutMs = 10000;

struct InternetHandle {
    HINTERNET handle = nullptr;
    explicit InternetHandle(HINTERNET h) : handle(h) {}
    ~InternetHandle() {
        if (handle != nullptr) ::InternetCloseHandle(handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
};

void SetTimeout(HINTERNET session, DWORD option, DWORD milliseconds) {
    // A refused option leaves the default, which is finite too.
    ::InternetSetOptionW(session, option, &milliseconds, sizeof milliseconds);
}

std::wstring DecodeAnsi(const std::vector<char>& bytes) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    const int written = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), length);
    text.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return text;
}

// What the worker hands to the frame.
struct CheckResult {
    std::optional<std::wstring> body;
};

struct CheckRequest {
    HWND owner = nullptr;
    std::wstring url;
};

DWORD WINAPI CheckWorker(void* parameter) {
    std::unique_ptr<CheckRequest> request(static_cast<CheckRequest*>(parameter));
    // Nothing may leave a thread procedure; running out of memory ends in the
    // error box (a null result), so that the frame knows the check is over.
    auto* result = new (std::nothrow) CheckResult;
    if (result == nullptr) {
        ::PostMessageW(request->owner, WM_VANTREL_UPDATE_RESULT, 0, 0);
        return 0;
    }
    try {
        std::wstring text;
        if (DownloadText(request->url, text)) result->body = std::move(text);
    } catch (...) {
        result->body.reset();
    }
    if (!::PostMessageW(request->owner, WM_VANTREL_UPDATE_RESULT, 0, reinterpret_cast<LPARAM>(result)))
        delete result;  // the frame is gone
    return 0;
}
}  // namespace

bool DownloadText(const std::wstring& url, std::wstring& text) {
    text.clear();
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    if (!::InternetCrackUrlW(url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return false;

    // The user's proxy settings are followed, except for this machine, which no
    // proxy reaches for us (Wine takes a proxy from http_proxy, for instance).
    const DWORD access = vantrel::IsLoopbackAddress(url) ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PRECONFIG;
    InternetHandle session(::InternetOpenW(L"Vantrel", access, nullptr, nullptr, 0));
    if (session.handle == nullptr) return false;
    InternetHandle connection(::InternetConnectW(session.handle, host, parts.nPort, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, 1));
    if (connection.handle == nullptr) return false;
    DWORD flags = INTERNET_FLAG_DONT_CACHE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES |
                  INTERNET_FLAG_NO_AUTH;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    InternetHandle file(::HttpOpenRequestW(connection.handle, L"GET", path[0] != 0 ? path : L"/", nullptr, nullptr,
                                           nullptr, flags, 1));
    if (file.handle == nullptr) return false;
    // On every handle, before anything is sent: not every WinINet passes the
    // session's timeouts down to its requests.
    for (HINTERNET handle : {session.handle, connection.handle, file.handle}) {
        SetTimeout(handle, INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
        SetTimeout(handle, INTERNET_OPTION_SEND_TIMEOUT, kSendTimeoutMs);
        SetTimeout(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
        SetTimeout(handle, INTERNET_OPTION_DATA_SEND_TIMEOUT, kSendTimeoutMs);
        SetTimeout(handle, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
    }
    if (!::HttpSendRequestW(file.handle, nullptr, 0, nullptr, 0)) {
        vantrel::Log("update check: no answer (error %lu)", ::GetLastError());
        return false;
    }

    // An error page is not a version file.
    DWORD status = 0;
    DWORD statusSize = sizeof status;
    const bool answered = ::HttpQueryInfoW(file.handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                                           &statusSize, nullptr) != FALSE;
    vantrel::Log("update check: status %lu", answered ? status : 0ul);
    if (!answered || status != HTTP_STATUS_OK) return false;

    std::vector<char> bytes;
    char chunk[1024];
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(file.handle, chunk, sizeof chunk, &read)) return false;
        if (read == 0) break;
        if (bytes.size() + read > vantrel::kMaxVersionFileBytes) return false;
        bytes.insert(bytes.end(), chunk, chunk + read);
    }
    text = DecodeAnsi(bytes);
    return true;
}

std::wstring GetOwnFileVersion() {
    const std::optional<std::wstring> program = ProgramPath();
    if (!program) return {};
    const std::wstring& path = *program;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> info(size, 0);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return {};
    void* block = nullptr;
    UINT blockSize = 0;
    if (!::VerQueryValueW(info.data(), L"\\", &block, &blockSize) || block == nullptr ||
        blockSize < sizeof(VS_FIXEDFILEINFO))
        return {};
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    return vantrel::FormatFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}

void UpdateCheck::CheckForUpdate(HWND owner) {
    if (m_bRunning) return;
    auto request = std::unique_ptr<CheckRequest>(new (std::nothrow) CheckRequest);
    if (request == nullptr) return;
    request->owner = owner;
    try {
        request->url = AuthorWebAddress(vantrel::WebPage::VersionFile);
    } catch (...) {
        return;  // out of memory: the click does nothing
    }
    HANDLE thread = ::CreateThread(nullptr, 0, CheckWorker, request.get(), 0, nullptr);
    if (thread == nullptr) {
        // No worker: answer as for a failed download, so that the click is not lost.
        auto* result = new (std::nothrow) CheckResult;
        if (result == nullptr) return;
        if (!::PostMessageW(owner, WM_VANTREL_UPDATE_RESULT, 0, reinterpret_cast<LPARAM>(result))) {
            delete result;
            return;
        }
        m_bRunning = true;
        return;
    }
    request.release();      // the worker owns it now
    ::CloseHandle(thread);  // the thread runs on its own; nothing waits for it
    m_bRunning = true;
}

void UpdateCheck::OnResult(HWND owner, LPARAM lParam) {
    std::unique_ptr<CheckResult> result(reinterpret_cast<CheckResult*>(lParam));
    m_bRunning = false;
    const vantrel::UpdateMessage message =
        vantrel::DecideUpdate(result ? result->body : std::nullopt, GetOwnFileVersion(), AuthorWebAddress(vantrel::WebPage::HomePage));
    const std::wstring caption =
        message.caption.empty() ? ui::LoadStringResource(IDS_APP_TITLE) : message.caption;
    vantrel::Log("update check: %s", message.outcome == vantrel::UpdateOutcome::Current ? "up to date"
                                     : message.outcome == vantrel::UpdateOutcome::Newer ? "a newer version"
                                                                                       : "no version read");
    switch (message.outcome) {
    case vantrel::UpdateOutcome::Current:
        ui::GuardedMessageBox(owner, message.text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
        break;
    case vantrel::UpdateOutcome::Newer:
        if (ui::GuardedMessageBox(owner, message.text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
            OpenAuthorWebPage(vantrel::WebPage::DownloadPage, SW_SHOWNORMAL);
        break;
    case vantrel::UpdateOutcome::Error:
        ui::GuardedMessageBox(owner, message.text.c_str(), caption.c_str(), MB_OK);
        break;
    }
}

void UpdateCheck::DiscardPending(HWND owner) {
    MSG msg;
    while (::PeekMessageW(&msg, owner, WM_VANTREL_UPDATE_RESULT, WM_VANTREL_UPDATE_RESULT, PM_REMOVE))
        delete reinterpret_cast<CheckResult*>(msg.lParam);
}

}  // namespace tray
