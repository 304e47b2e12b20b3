#include <windows.h>

#include "app/CrashGuard.h"
#include "app/VantrelApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    InstallCrashGuard();
    CVantrelApp app(commandLine != nullptr ? commandLine : L"");
    if (!app.InitInstance()) return 0;
    return app.Run();
}
