#include <windows.h>

#include "app/CrashGuard.h"
#include "app/VantrelApp.h"
#include "hosting/SharedInput.h"
#include "ui/Activation.h"

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
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    LoadLibrariesFromSystemOnly();
    InstallCrashGuard();
    // Our windows take the activation only once hosted programs that hang have left our input.
    ui::SetActivationGuard(hosting::LeaveHungInput);
    CVantrelApp app(commandLine != nullptr ? commandLine : L"");
    if (!app.InitInstance()) return 0;
    return app.Run();
}
