#include "app/CrashReport.h"

#include <dbghelp.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Diagnostics.h"
#include "core/Log.h"
#include "version.h"

namespace crashreport {
namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

constexpr DWORD kWriteWait = 10000;
constexpr size_t kKept = 5;
const wchar_t kUnshown[] = L"\\unshown";  // in the reports' folder: a report not yet shown

// Set up at start, never freed: the crash may come at any time, the end included.
HANDLE g_request = nullptr;
HANDLE g_done = nullptr;
EXCEPTION_POINTERS* g_info = nullptr;
DWORD g_thread = 0;

std::wstring NewDumpPath(const std::wstring& folder) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    wchar_t name[96];
    std::swprintf(name, 96, L"\\vantrel-%hs-%04u%02u%02u-%02u%02u%02u", VANTREL_VERSION_TEXT, now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    // Two crashes within a second keep both.
    for (int n = 1; n < 10; ++n) {
        std::wstring path = folder + name + (n == 1 ? L"" : L"-" + std::to_wstring(n)) + L".dmp";
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    }
    return {};
}

void KeepNewest(const std::wstring& folder) {
    struct Report {
        std::wstring name;
        FILETIME written;
    };
    std::vector<Report> reports;
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((folder + L"\\vantrel-*.dmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        reports.push_back({found.cFileName, found.ftLastWriteTime});
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(reports.begin(), reports.end(), [](const Report& a, const Report& b) {
        const LONG order = ::CompareFileTime(&a.written, &b.written);
        return order != 0 ? order > 0 : a.name > b.name;
    });
    for (size_t i = kKept; i < reports.size(); ++i) ::DeleteFileW((folder + L"\\" + reports[i].name).c_str());
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

void WriteDump(MiniDumpWriteDumpFn writeDump) {
    const std::wstring folder = diagnostics::CrashReportsFolder();
    const std::wstring path = folder.empty() ? folder : NewDumpPath(folder);
    if (path.empty()) return;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    MINIDUMP_EXCEPTION_INFORMATION exception{g_thread, g_info, FALSE};
    const BOOL written = writeDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file, MiniDumpNormal, &exception,
                                   nullptr, nullptr);
    ::CloseHandle(file);
    if (!written) {
        ::DeleteFileW(path.c_str());
        return;
    }
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    HANDLE unshown = ::CreateFileW((folder + kUnshown).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (unshown != INVALID_HANDLE_VALUE) ::CloseHandle(unshown);
    KeepNewest(folder);
    vantrel::Log("crash: report %s written", Narrow(name).c_str());
}

DWORD WINAPI Serve(void*) {
    ::WaitForSingleObject(g_request, INFINITE);
    // From the system folder only, and only now: loaded at start, the library and
    // what it brings would cost a megabyte for the program's whole life under Wine.
    // A crash inside the loader itself then gets no dump, only the windows back.
    HMODULE dbghelp = ::LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    const auto writeDump = dbghelp != nullptr ? reinterpret_cast<MiniDumpWriteDumpFn>(reinterpret_cast<void*>(
                                                    ::GetProcAddress(dbghelp, "MiniDumpWriteDump")))
                                              : nullptr;
    vantrel::Log("crash: exception 0x%08lx", g_info != nullptr && g_info->ExceptionRecord != nullptr
                                                 ? g_info->ExceptionRecord->ExceptionCode
                                                 : 0ul);
    if (writeDump != nullptr) WriteDump(writeDump);
    diagnostics::FlushLog();
    ::SetEvent(g_done);
    return 0;
}

}  // namespace

void Start() {
    if (g_request != nullptr) return;
    g_request = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (g_request == nullptr || g_done == nullptr) return;
    HANDLE thread = ::CreateThread(nullptr, 256 * 1024, Serve, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) {
        ::CloseHandle(g_request);
        g_request = nullptr;
        return;
    }
    ::CloseHandle(thread);
}

void Write(EXCEPTION_POINTERS* info) {
    static volatile LONG asked = 0;  // abort after terminate is the same crash
    if (g_request == nullptr || ::InterlockedExchange(&asked, 1) != 0) return;
    EXCEPTION_RECORD record{};
    CONTEXT context{};
    EXCEPTION_POINTERS own{&record, &context};
    if (info == nullptr) {
        // terminate or abort: no exception, the program ends itself
        record.ExceptionCode = 0x40000015;  // STATUS_FATAL_APP_EXIT
        ::RtlCaptureContext(&context);
#if defined(_M_X64) || defined(__x86_64__)
        record.ExceptionAddress = reinterpret_cast<void*>(context.Rip);
#elif defined(_M_IX86) || defined(__i386__)
        record.ExceptionAddress = reinterpret_cast<void*>(context.Eip);
#endif
        info = &own;
    }
    g_info = info;
    g_thread = ::GetCurrentThreadId();
    ::SetEvent(g_request);
    ::WaitForSingleObject(g_done, kWriteWait);
}

bool TakeUnshownReport() {
    const std::wstring folder = diagnostics::CrashReportsFolder();
    if (folder.empty()) return false;
    return ::DeleteFileW((folder + kUnshown).c_str()) != FALSE;
}

}  // namespace crashreport
