#include "app/CrashGuard.h"

#include <windows.h>

#include <csignal>
#include <cstdlib>
#include <exception>

#include "app/CrashReport.h"
#include "hosting/WindowCtrl.h"

namespace {
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

void ReleaseHostedWindows() {
    static volatile LONG released = 0;
    if (::InterlockedExchange(&released, 1) != 0) return;
    hosting::CWindowCtrl::ReleaseEverywhereNow();
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
    ReleaseHostedWindows();
    crashreport::Write(info);
    return g_previousFilter != nullptr ? g_previousFilter(info) : EXCEPTION_CONTINUE_SEARCH;
}

void OnTerminate() {
    ReleaseHostedWindows();
    crashreport::Write(nullptr);
    std::abort();
}

void OnAbortSignal(int) {
    ReleaseHostedWindows();
    crashreport::Write(nullptr);
    std::signal(SIGABRT, SIG_DFL);
    std::abort();
}
}  // namespace

void InstallCrashGuard() {
    g_previousFilter = ::SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate(OnTerminate);
    std::signal(SIGABRT, OnAbortSignal);
}
