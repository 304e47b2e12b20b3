#include "app/Diagnostics.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <deque>
#include <string>

#include "core/Log.h"
#include "hosting/Workers.h"

namespace diagnostics {
namespace {

constexpr ULONGLONG kLogCap = 1024 * 1024;  // then vantrel.log becomes vantrel.log.1
constexpr size_t kQueueCap = 512;           // lines waiting; more are dropped, and counted

std::wstring Made(const std::wstring& folder) {
    if (folder.empty()) return folder;
    if (!::CreateDirectoryW(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    return folder;
}

// Never freed: a thread may log while the program ends. The lines are written by a
// worker thread, asked for when the first line comes to an empty queue: a thread of
// the log's own would cost a megabyte under Wine for as long as the program runs.
struct Queue {
    CRITICAL_SECTION lock{};
    std::deque<std::string> lines;
    unsigned long dropped = 0;
    bool writing = false;  // a worker has been asked to write
    bool started = false;
    std::wstring path;
};

Queue& TheQueue() {
    static Queue* queue = [] {
        auto* made = new Queue;
        ::InitializeCriticalSection(&made->lock);
        return made;
    }();
    return *queue;
}

void WriteQueued(void*);

// Stamped where the event happens: local time in ISO 8601, then the thread.
void Enqueue(const std::string& text) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02uT%02u:%02u:%02u.%03u t%lu ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, ::GetCurrentThreadId());
    Queue& queue = TheQueue();
    ::EnterCriticalSection(&queue.lock);
    if (queue.lines.size() < kQueueCap)
        queue.lines.push_back(stamp + text + "\n");
    else
        ++queue.dropped;
    const bool ask = !queue.writing;
    queue.writing = true;
    ::LeaveCriticalSection(&queue.lock);
    // With no thread to be had, the lines wait for the next one.
    if (ask && !hosting::RunOnWorker(WriteQueued, nullptr)) {
        ::EnterCriticalSection(&queue.lock);
        queue.writing = false;
        ::LeaveCriticalSection(&queue.lock);
    }
}

void Append(const std::wstring& path, const std::string& bytes) {
    if (path.empty() || bytes.empty()) return;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
        ((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) + bytes.size() > kLogCap)
        ::MoveFileExW(path.c_str(), (path + L".1").c_str(), MOVEFILE_REPLACE_EXISTING);
    HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;  // a log that cannot be written is no reason to stop
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

// Takes what is queued; the lock is held.
std::string TakeQueued(Queue& queue) {
    std::string bytes;
    if (queue.dropped != 0) {
        bytes = "log: " + std::to_string(queue.dropped) + " lines dropped, the queue was full\n";
        queue.dropped = 0;
    }
    for (const std::string& line : queue.lines) bytes += line;
    queue.lines.clear();
    return bytes;
}

void WriteQueued(void*) {
    Queue& queue = TheQueue();
    ::EnterCriticalSection(&queue.lock);
    while (!queue.lines.empty() || queue.dropped != 0) {
        const std::string bytes = TakeQueued(queue);
        ::LeaveCriticalSection(&queue.lock);
        Append(queue.path, bytes);
        ::EnterCriticalSection(&queue.lock);
    }
    queue.writing = false;
    ::LeaveCriticalSection(&queue.lock);
}

}  // namespace

std::wstring Folder() {
    wchar_t local[MAX_PATH] = {};
    const DWORD size = ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    std::wstring base;
    if (size > 0 && size < MAX_PATH) {
        base = local;
    } else {
        PWSTR known = nullptr;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known))) base = known;
        ::CoTaskMemFree(known);
    }
    if (base.empty()) return base;
    if (base.back() != L'\\') base += L'\\';
    return Made(base + L"Vantrel");
}

std::wstring CrashReportsFolder() {
    const std::wstring folder = Folder();
    return folder.empty() ? folder : Made(folder + L"\\CrashReports");
}

void StartLog() {
    Queue& queue = TheQueue();
    if (queue.started) return;
    const std::wstring folder = Folder();
    if (folder.empty()) return;
    queue.path = folder + L"\\vantrel.log";
    queue.started = true;
    vantrel::SetLogSink(Enqueue);
}

void StopLog() {
    vantrel::SetLogSink(nullptr);
    FlushLog();
}

void FlushLog() {
    Queue& queue = TheQueue();
    // The thread that died may have died holding the lock: then its lines stay unwritten.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (::TryEnterCriticalSection(&queue.lock)) {
            const std::string bytes = TakeQueued(queue);
            ::LeaveCriticalSection(&queue.lock);
            Append(queue.path, bytes);
            return;
        }
        ::Sleep(10);
    }
}

void OpenFolder(const std::wstring& folder) {
    if (folder.empty()) return;
    ::ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace diagnostics
