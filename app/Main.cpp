#include <windows.h>

#include <string>

#include "app/CrashGuard.h"
#include "app/CrashReport.h"
#include "app/Diagnostics.h"
#include "app/StallTrace.h"
#include "core/Log.h"
#include "app/VantrelApp.h"
#include "hosting/SharedInput.h"
#include "ui/Activation.h"
#include "version.h"

namespace {
// Libraries loaded from here on come from the system folder only: never from the
// current directory, where anybody may have left a file of the same name.
void LoadLibrariesFromSystemOnly() {
    ::SetDllDirectoryW(L"");
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    // Looked up at run time: older systems without it still start.
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault != nullptr) setDefault(0x00000800 /* LOAD_LIBRARY_SEARCH_SYSTEM32 */);
}
// The version the system really is: GetVersionEx answers with what the manifest declares.
RTL_OSVERSIONINFOW WindowsVersion() {
    RTL_OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    using RtlGetVersionFn = LONG(WINAPI*)(RTL_OSVERSIONINFOW*);
    const auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (getVersion != nullptr) getVersion(&version);
    return version;
}

void LogVersions(const char* what, const std::string& more) {
    const RTL_OSVERSIONINFOW version = WindowsVersion();
    vantrel::Log("%s: Vantrel %s on Windows %lu.%lu build %lu%s", what, VANTREL_VERSION_TEXT, version.dwMajorVersion,
                 version.dwMinorVersion, version.dwBuildNumber, more.c_str());
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    LoadLibrariesFromSystemOnly();
    diagnostics::StartLog();
    crashreport::Start();
    InstallCrashGuard();
    LogVersions("start", "");
    stalltrace::StartIfAsked();
    // Our windows take the activation only once hosted programs that hang have left our input.
    ui::SetActivationGuard(hosting::LeaveHungInput);
    CVantrelApp app(commandLine != nullptr ? commandLine : L"");
    const int code = app.InitInstance() ? app.Run() : 0;
    LogVersions("end", ", exit code " + std::to_string(code));
    diagnostics::StopLog();
    return code;
}
