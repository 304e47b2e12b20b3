#include "app/StallTrace.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/Log.h"
#include "hosting/WindowCtrl.h"

namespace stalltrace {
namespace {

constexpr DWORD kLookEvery = 100;     // ms
constexpr DWORD kStalledAfter = 400;  // ms without a capture tick
constexpr std::size_t kStackBytes = 64 * 1024;
constexpr int kMostFrames = 24;

HANDLE g_thread = nullptr;  // the user-interface thread
DWORD g_threadId = 0;

struct Sample {
    std::uintptr_t ip = 0;
    std::uintptr_t stack[kStackBytes / sizeof(std::uintptr_t)];
    std::size_t words = 0;
};
Sample g_sample;  // the trace thread's alone

// The stack is copied while the thread is held and read once it runs again: nothing
// here may take a lock (the heap's, the loader's) the held thread could own.
bool Take(Sample& sample) {
    if (::SuspendThread(g_thread) == static_cast<DWORD>(-1)) return false;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    bool taken = false;
    if (::GetThreadContext(g_thread, &context)) {
#if defined(_M_X64) || defined(__x86_64__)
        const std::uintptr_t sp = context.Rsp;
        sample.ip = context.Rip;
#else
        const std::uintptr_t sp = context.Esp;
        sample.ip = context.Eip;
#endif
        MEMORY_BASIC_INFORMATION region{};
        if (::VirtualQuery(reinterpret_cast<void*>(sp), &region, sizeof region) != 0) {
            const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
            std::size_t bytes = end > sp ? end - sp : 0;
            if (bytes > kStackBytes) bytes = kStackBytes;
            std::memcpy(sample.stack, reinterpret_cast<void*>(sp), bytes);
            sample.words = bytes / sizeof(std::uintptr_t);
            taken = true;
        }
    }
    ::ResumeThread(g_thread);
    return taken;
}

// "vantrel+0x1a2b3": an address inside an executable section of a loaded module.
bool Describe(std::uintptr_t address, std::string& out, bool ownOnly) {
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(address), &module))
        return false;
    if (ownOnly && module != ::GetModuleHandleW(nullptr)) return false;
    MEMORY_BASIC_INFORMATION region{};
    if (::VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof region) == 0) return false;
    if ((region.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE)) == 0) return false;
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    const wchar_t* name = std::wcsrchr(path, L'\\');
    name = name != nullptr ? name + 1 : path;
    char text[96];
    std::snprintf(text, sizeof text, " %ls+0x%llx", name,
                  static_cast<unsigned long long>(address - reinterpret_cast<std::uintptr_t>(module)));
    out += text;
    return true;
}

// "focus 1a2b4 t36 silent": a window the thread's input points at, and whether its
// thread answers now (asked from this thread, which nothing waits on).
void DescribeWindow(const char* what, HWND window, std::string& out) {
    if (window == nullptr) return;
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    DWORD_PTR result = 0;
    const bool answers = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 50, &result) != 0;
    char text[96];
    std::snprintf(text, sizeof text, " %s %llx t%lu%s%s", what,
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(window)), thread,
                  thread == g_threadId ? " ours" : "", answers ? "" : " silent");
    out += text;
}

void Report(const Sample& sample, unsigned stalledMs) {
    std::string where;
    if (!Describe(sample.ip, where, false)) where = " ?";
    // Return addresses among the stack's words: a scan, not an unwinding, so a stale
    // word may show too. Only our own code is listed, which is what says why.
    std::string calls;
    int frames = 0;
    for (std::size_t i = 0; i < sample.words && frames < kMostFrames; ++i) {
        if (Describe(sample.stack[i], calls, true)) ++frames;
    }
    std::string input;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (::GetGUIThreadInfo(g_threadId, &info)) {
        DescribeWindow("active", info.hwndActive, input);
        if (info.hwndFocus != info.hwndActive) DescribeWindow("focus", info.hwndFocus, input);
    }
    DescribeWindow("foreground", ::GetForegroundWindow(), input);
    vantrel::Log("stall: no capture tick for %u ms;%s; at%s", stalledMs, input.c_str(), where.c_str());
    vantrel::Log("stall: calls%s", calls.c_str());
}

DWORD WINAPI Watch(void*) {
    unsigned lastTick = hosting::CWindowCtrl::Tick();
    ULONGLONG movedAt = ::GetTickCount64();
    bool reported = false;
    for (;;) {
        ::Sleep(kLookEvery);
        const unsigned tick = hosting::CWindowCtrl::Tick();
        const ULONGLONG now = ::GetTickCount64();
        if (tick != lastTick || tick == 0) {
            lastTick = tick;
            if (reported) vantrel::Log("stall: over after %llu ms", now - movedAt);
            movedAt = now;
            reported = false;
            continue;
        }
        if (!reported && now - movedAt >= kStalledAfter && Take(g_sample)) {
            Report(g_sample, static_cast<unsigned>(now - movedAt));
            reported = true;
        }
    }
}

}  // namespace

void StartIfAsked() {
    wchar_t value[8] = {};
    if (::GetEnvironmentVariableW(L"VANTREL_STALL_TRACE", value, 8) == 0 || value[0] != L'1') return;
    g_threadId = ::GetCurrentThreadId();
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &g_thread,
                           THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE, 0))
        return;
    if (HANDLE thread = ::CreateThread(nullptr, 64 * 1024, Watch, nullptr, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr))
        ::CloseHandle(thread);
}

}  // namespace stalltrace
