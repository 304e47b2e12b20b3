#include "url_recorder_client.h"

#include <windows.h>

#include <algorithm>

#include "vantrel_client.h"
#include "viewer_client.h"

namespace {
// Folders too: a folder the program opens for the user is recorded the same way.
const wchar_t* const kSchemes[] = {L"http", L"https", L"mailto", L"Folder", L"Directory"};

bool ReadCommand(const std::wstring& key, std::wstring& command) {
    wchar_t value[2048] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, value,
                       &size) != ERROR_SUCCESS)
        return false;
    command = value;
    return true;
}

void WriteCommand(const std::wstring& key, const std::wstring& command) {
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                     static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}
}  // namespace

// The handlers are the machine's classes: Wine looks protocols up there.
UrlRecorder::UrlRecorder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    m_log = std::wstring(folder) + L"vantrel-urls-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(::GetTickCount64()) + L".log";
    ::DeleteFileW(m_log.c_str());
    const std::wstring command = L"\"" + ProgramFolder() + L"urlrecorder.exe\" \"" + m_log + L"\" \"%1\"";
    for (const wchar_t* scheme : kSchemes) {
        SavedCommand saved;
        saved.key = std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command";
        saved.existed = ReadCommand(saved.key, saved.command);
        m_saved.push_back(saved);
        WriteCommand(saved.key, command);
    }
}

UrlRecorder::~UrlRecorder() {
    for (const SavedCommand& saved : m_saved) {
        if (saved.existed)
            WriteCommand(saved.key, saved.command);
        else
            ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, saved.key.c_str(), nullptr);
    }
    ::DeleteFileW(m_log.c_str());
}

std::vector<std::wstring> UrlRecorder::Urls() const {
    std::vector<std::wstring> urls;
    HANDLE file = ::CreateFileW(m_log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return urls;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    ::CloseHandle(file);
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = bytes.substr(start, end - start);
        const int size = ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0);
        std::wstring url(static_cast<size_t>(size), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), url.data(), size);
        urls.push_back(url);
    }
    return urls;
}

bool UrlRecorder::WaitForUrl(const std::wstring& url, int timeoutMs) const {
    return WaitFor(
        [&] {
            const auto urls = Urls();
            return std::find(urls.begin(), urls.end(), url) != urls.end();
        },
        timeoutMs);
}
