// Sample viewer: a stand-in for the outside document viewer whose windows
// Vantrel captures. Each document opens in a top-level window of class
// "AcrobatSDIWindow"; tests drive it through the control channel described
// in viewer_protocol.h. When it ends is described in viewer_app.h.
//
// Usage: sampleviewer [--class NAME] [--windows N] [--hidden] [--stay] [document...]
//
// It prints nothing. Exit code: 0 normally, 1 when its windows could not be
// created, 2 for a command line it does not understand.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "viewer_app.h"
#include "viewer_options.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        return 2;
    std::vector<std::wstring> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    LocalFree(argv);

    ViewerOptions options = ParseViewerOptions(args);
    if (!options.strError.empty())
        return 2;

    ViewerApp app(instance, std::move(options));
    if (!app.Start())
        return 1;
    return app.Run();
}
